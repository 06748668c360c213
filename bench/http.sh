#!/usr/bin/env bash
# Benchmark: the HTTP downloader (under Wine, 8192-byte reads with a 2 ms
# message pause each) against curl, for one 100 MB file from nginx on
# loopback. Run by hand from the repository root after `make win64`
# (or `make win32` where 32-bit Wine runs): bench/http.sh [megabytes]
# Not part of make test.
set -euo pipefail
cd "$(dirname "$0")/.."
mb=${1:-100}
tree=build/$(scripts/wine-arch)
exe=$tree/tests/win_http_tests.exe
[ -f "$exe" ] || { echo "bench: $exe missing (make win64)" >&2; exit 1; }
command -v curl >/dev/null || { echo "bench: curl is not installed" >&2; exit 1; }

export STUB_SERVERS_DIR=$PWD/build/http-bench
export STUB_SERVERS_TIMEOUT=900
trap 'testing/servers/stop-all >/dev/null 2>&1 || true' EXIT
testing/servers/start-all >/dev/null
. "$STUB_SERVERS_DIR/env"
file=$STUB_HTTP_ROOT/bench.bin
bytes=$((mb * 1048576))
if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" != "$bytes" ]; then
  head -c "$bytes" /dev/urandom >"$file"
fi
url=http://127.0.0.1:$STUB_HTTP_PORT/bench.bin
cat "$file" >/dev/null # into the page cache

out=$STUB_SERVERS_DIR/curl.out
curl_s=$(curl -s -o "$out" -w '%{time_total}' "$url")
[ "$(stat -c %s "$out")" = "$bytes" ] || { echo "bench: curl got a short file" >&2; exit 1; }
rm -f "$out"

log=$STUB_SERVERS_DIR/downloader.log
STUB_BENCH_URL=$url scripts/wine-run "$exe" --gtest_also_run_disabled_tests \
  --gtest_filter=HttpBench.DISABLED_Download >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
stub_s=$(sed -n 's/^BENCH downloader seconds=\([0-9.]*\).*/\1/p' "$log")
nobar_s=$(sed -n 's/^BENCH nobar seconds=\([0-9.]*\).*/\1/p' "$log")
raw_s=$(sed -n 's/^BENCH rawloop seconds=\([0-9.]*\).*/\1/p' "$log")
steps=$(sed -n 's/^BENCH downloader.*steps=\([0-9]*\).*/\1/p' "$log")

python3 - "$mb" "$curl_s" "$stub_s" "$raw_s" "$steps" "$nobar_s" <<'PY'
import sys
mb, curl, stub, raw, steps, nobar = float(sys.argv[1]), *map(float, sys.argv[2:5]), sys.argv[5], float(sys.argv[6])
print(f"file          {mb:.0f} MB over loopback from nginx")
print(f"curl          {curl:8.2f} s  {mb / curl:9.1f} MB/s")
print(f"downloader    {stub:8.2f} s  {mb / stub:9.1f} MB/s  ({steps} chunks)")
print(f"no bar        {nobar:8.2f} s  {mb / nobar:9.1f} MB/s  (downloader without progress events)")
print(f"raw WinINet   {raw:8.2f} s  {mb / raw:9.1f} MB/s  (same 8192-byte reads, no pause)")
print(f"downloader / curl        {stub / curl:8.1f} x slower")
print(f"downloader / raw WinINet {stub / raw:8.1f} x slower")
PY
