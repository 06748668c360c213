#!/usr/bin/env bash
# Benchmark: stubpack build against zip -r -6 on the same generated payload.
# Run by hand from the repository root: bench/run.sh [payload-dir]
# Builds a release stubpack (no sanitizers) in build/bench first.
set -euo pipefail
cd "$(dirname "$0")/.."
payload=${1:-build/bench-payload}
work=$PWD/build/bench-out
mkdir -p "$work"

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTUB_SANITIZE=OFF -DSTUB_FUZZ=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/bench --target stubpack >/dev/null
sp=build/bench/tools/stubpack/stubpack
[ -f dist/stub.exe ] || { echo "bench: dist/stub.exe missing (make win32)" >&2; exit 1; }
command -v zip >/dev/null || { echo "bench: zip is not installed" >&2; exit 1; }

[ -d "$payload" ] || python3 bench/gen_payload.py "$payload"
# Warm the page cache so both tools read from memory.
find "$payload" -type f -exec cat {} + >/dev/null

measure() { # label, command...
    local label=$1; shift
    /usr/bin/time -v "$@" 2>"$work/$label.time" >/dev/null
    local wall rss cpu
    wall=$(grep 'Elapsed (wall clock)' "$work/$label.time" | awk '{print $NF}')
    rss=$(grep 'Maximum resident' "$work/$label.time" | awk '{print $NF}')
    cpu=$(awk -F': ' '/User time|System time/ {s += $2} END {print s}' "$work/$label.time")
    echo "$label $wall $rss $cpu"
}

rm -f "$work/payload.zip" "$work/package.exe"
z=$(cd "$payload" && measure zip zip -q -r -6 "$work/payload.zip" . )
s=$(measure stubpack "$sp" build --quiet --stub dist/stub.exe --payload "$payload" --out "$work/package.exe")
zsize=$(stat -c %s "$work/payload.zip")
ssize=$(stat -c %s "$work/package.exe")

python3 - "$z" "$s" "$zsize" "$ssize" "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)" <<'PY'
import sys
def secs(t):
    p = [float(x) for x in t.split(':')]
    return sum(v * 60 ** i for i, v in enumerate(reversed(p)))
z, s = sys.argv[1].split(), sys.argv[2].split()
zs, ss, cores = int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
zt, st = secs(z[1]), secs(s[1])
print(f"cores: {cores}, load average: {sys.argv[6]} (other work on the machine skews wall times)")
print(f"zip -r -6 : {zt:7.2f} s wall {float(z[3]):7.2f} s cpu  {zs/2**20:8.1f} MB  peak {int(z[2])/1024:6.1f} MB")
print(f"stubpack  : {st:7.2f} s wall {float(s[3]):7.2f} s cpu  {ss/2**20:8.1f} MB  peak {int(s[2])/1024:6.1f} MB")
print(f"time ratio {st/zt:.2f} (target <= 0.50), size ratio {ss/zs:.4f} (target <= 1.01)")
PY
