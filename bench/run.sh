#!/usr/bin/env bash
# Builds the benchmarks for the Windows build this host runs (the shipped 32-bit one where the host
# runs 32-bit programs, otherwise the 64-bit one), generates their trees once on the Unix side, maps them as drives
# of the build's Wine prefix and runs the benchmarks there:
#   K: 20,420 folders and 200,000 files (search and deletion against the bare file-system work),
#   M: 1,000 folders of 1,000 garbage files each (the real program with a million finds).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
tree="$root/build/bench-tree"
million="$root/build/bench-million"
display="${KRELMIX_BENCH_DISPLAY:-:91}"

source "$root/scripts/wine-env.sh"
preset=win$KRELMIX_WINE_BITS
echo "Benchmarks of the $KRELMIX_WINE_BITS-bit build. $(krelmix_wine_describe)"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j2 --target search_bench found_list_bench program_bench Krelmix

if [ ! -f "$tree/.complete" ]; then
  rm -rf "$tree"
  python3 - "$tree" <<'PY'
import os, sys
tree = sys.argv[1]
for a in range(20):
    for b in range(20):
        for c in range(50):
            leaf = os.path.join(tree, f"top{a}", f"mid{b}", f"leaf{c}")
            os.makedirs(leaf)
            for f in range(10):
                ext = ".tmp" if f == 3 else ".bak" if f == 7 else ".dat"
                open(os.path.join(leaf, f"file{f}{ext}"), "w").close()
open(os.path.join(tree, ".complete"), "w").close()
PY
fi

if [ ! -f "$million/.complete" ]; then
  rm -rf "$million"
  python3 - "$million" <<'PY'
import os, sys
# Paths of a typical length for a temporary folder of an old profile.
base = os.path.join(sys.argv[1], "Documents and Settings", "user", "Local Settings", "Temp")
for d in range(1000):
    folder = os.path.join(base, f"folder{d:04}")
    os.makedirs(folder)
    for f in range(1000):
        os.close(os.open(os.path.join(folder, f"file{d * 1000 + f:07}.tmp"), os.O_CREAT | os.O_WRONLY, 0o644))
open(os.path.join(sys.argv[1], ".complete"), "w").close()
PY
fi

krelmix_ensure_prefix
ln -sfn "$tree" "$WINEPREFIX/dosdevices/k:"
ln -sfn "$million" "$WINEPREFIX/dosdevices/m:"
if ! DISPLAY="$display" xdpyinfo >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
# A fresh wineserver, so that its desktop is made on this display.
wineserver -k 2>/dev/null || true
wineserver -w || true
bin="$root/build/$preset"
DISPLAY="$display" krelmix_wine "$bin/bench/search_bench.exe" K: 2>/dev/null
DISPLAY="$display" krelmix_wine "$bin/bench/found_list_bench.exe" 2>/dev/null
DISPLAY="$display" krelmix_wine "$bin/bench/program_bench.exe" "$bin/app/Krelmix.exe" K M 2>/dev/null
