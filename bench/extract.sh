#!/usr/bin/env bash
# Benchmark: entry extraction. On the mixed payload (bench/gen_payload.py):
#   stubpack extract           against unzip -q of the zip of the same folder;
#   the stub's Extract under Wine (its own "UnCompressTime") against stubpack extract;
#   peak memory of each. Then the same for a payload of one 1 GB file (SKIP_BIG=1 skips).
# Run by hand from the repository root after `make build`: bench/extract.sh [payload-dir]
# The Wine side runs the Wine test tree's build (64-bit where the machine cannot run 32-bit code).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
payload=${1:-build/bench-payload}
work=$root/build/bench-extract
mkdir -p "$work"

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTUB_SANITIZE=OFF -DSTUB_FUZZ=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/bench --target stubpack >/dev/null
sp=build/bench/tools/stubpack/stubpack
tree=build/$(scripts/wine-arch)
driver=$tree/tests/win_unpack_tests.exe
[ -f dist/stub.exe ] || { echo "bench: dist/stub.exe missing (make build)" >&2; exit 1; }
[ -f "$driver" ] || { echo "bench: $driver missing (make build)" >&2; exit 1; }
for tool in zip unzip /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is not installed" >&2; exit 1; }
done

winpath() { echo "Z:${1//\//\\}"; }
# A prefix of the benchmark's own: programs of other Wine runs would reach its
# debug viewer and share its server.
export STUB_WINEPREFIX=$root/build/wineprefix-bench
trap 'scripts/wine-stop' EXIT

measure() { # label, command...: prints label wall-seconds peak-kB
    local label=$1; shift
    /usr/bin/time -v "$@" 2>"$work/$label.time" >"$work/$label.out"
    python3 - "$label" "$work/$label.time" <<'PY'
import sys
label, path = sys.argv[1], sys.argv[2]
wall = rss = None
for line in open(path):
    if 'Elapsed (wall clock)' in line:
        p = [float(x) for x in line.rsplit(' ', 1)[1].split(':')]
        wall = sum(v * 60 ** i for i, v in enumerate(reversed(p)))
    if 'Maximum resident' in line:
        rss = int(line.rsplit(' ', 1)[1])
print(label, wall, rss)
PY
}

run_set() { # name, payload folder
    local name=$1 src=$2
    local pkg=$work/$name.exe zipf=$work/$name.zip
    rm -rf "$pkg" "$pkg".* "$zipf" "$work/$name-"*
    "$sp" build --quiet --stub dist/stub.exe --payload "$src" --out "$pkg"
    (cd "$src" && zip -q -r -6 "$zipf" .)
    # Warm the page cache for all readers.
    cat "$pkg" "$zipf" >/dev/null

    local u s w
    u=$(measure "$name-unzip" unzip -q "$zipf" -d "$work/$name-unzip")
    s=$(measure "$name-stubpack" "$sp" extract "$pkg" "$work/$name-stubpack")
    # The Wine prefix and server are started before the measured run.
    scripts/wine-run cmd /c exit 0 >/dev/null 2>&1 || true
    w=$(STUB_BENCH_PACKAGE=$(winpath "$pkg") STUB_BENCH_TARGET=$(winpath "$work/$name-wine") \
        measure "$name-wine" scripts/wine-run "$driver" --gtest_also_run_disabled_tests \
        --gtest_filter=UnpackBench.* )
    local own
    own=$(grep -o 'UnCompressTime: [0-9]* MS' "$work/$name-wine.out" | tail -1 | awk '{print $2}')
    [ -n "$own" ] || { echo "bench: no UnCompressTime from the Wine run" >&2; cat "$work/$name-wine.out" >&2; exit 1; }
    diff -r "$work/$name-unzip" "$work/$name-stubpack" >/dev/null || { echo "bench: stubpack extract differs from unzip" >&2; exit 1; }
    diff -r "$work/$name-unzip" "$work/$name-wine" >/dev/null || { echo "bench: stub extraction differs from unzip" >&2; exit 1; }

    python3 - "$name" "$u" "$s" "$w" "$own" "$(du -sm "$src" | cut -f1)" <<'PY'
import sys
name, u, s, w, own, mb = sys.argv[1], *[x.split() for x in sys.argv[2:5]], int(sys.argv[5]), sys.argv[6]
ut, st, wt = float(u[1]), float(s[1]), float(w[1])
print(f"== {name}: {mb} MB payload")
print(f"unzip -q          : {ut:7.2f} s wall  peak {int(u[2])/1024:6.1f} MB")
print(f"stubpack extract  : {st:7.2f} s wall  peak {int(s[2])/1024:6.1f} MB")
print(f"stub under Wine   : {own/1000:7.2f} s UnCompressTime ({wt:.2f} s with Wine start)  peak {int(w[2])/1024:6.1f} MB")
print(f"unzip/stubpack ratio {ut/st:.2f} (target >= 1.0); stub/native ratio {own/1000/st:.2f} (target <= 1.5)")
PY
    rm -rf "$work/$name-"*/ "$pkg" "$pkg".* "$zipf"
}

[ -d "$payload" ] || python3 bench/gen_payload.py "$payload"
echo "cores: $(nproc), load average: $(cut -d' ' -f1-3 /proc/loadavg)"
run_set mixed "$payload"

if [ "${SKIP_BIG:-0}" != 1 ]; then
    big=$work/onegb-payload
    if [ ! -f "$big/one.bin" ]; then
        mkdir -p "$big"
        # 1 GB: text and random blocks, so both compressed and stored entries occur.
        python3 - "$big/one.bin" <<'PY'
import random, sys
rng = random.Random(7)
blocks = [rng.randbytes(1 << 20), (b'%08d status ok\n' % 12345678) * (1 << 16)]
with open(sys.argv[1], 'wb') as f:
    for i in range(1024):
        f.write(blocks[i % 2][: 1 << 20])
PY
    fi
    run_set big "$big"
fi
