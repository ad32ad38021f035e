#!/usr/bin/env bash
# Builds the benchmarks for the Windows build this host runs (the shipped 32-bit one where the host
# runs 32-bit programs, otherwise the 64-bit one), makes their trees, maps them as drives of the
# build's Wine prefix, runs the benchmarks there and ends with one table of every figure against
# its target:
#   K: 20,420 folders and 200,000 files (search and deletion against the bare file-system work),
#   M: 1,000 folders of 1,000 garbage files each (the real program with a million finds).
# The programs run on the display KRELMIX_DISPLAY names (scripts/wine-env.sh), each engineer's
# own: a display another run shares and then closes ends every Wine program on it. The prefix's
# server is restarted first, which ends whatever runs in this checkout's prefix.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
tree="$root/build/bench-tree"
million="$root/build/bench-million"
log="$root/build/bench-last.log"
limit=2400  # seconds any one benchmark may take before it is ended; they give up sooner themselves

source "$root/scripts/wine-env.sh"
preset=win$KRELMIX_WINE_BITS
echo "Benchmarks of the $KRELMIX_WINE_BITS-bit build. $(krelmix_wine_describe)"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j2 --target search_bench found_list_bench program_bench Krelmix

# Folders and files below a tree, as "FOLDERS FILES".
count_tree() {
  python3 - "$1" <<'PY'
import os, sys
folders = files = 0
stack = [sys.argv[1]]
while stack:
    with os.scandir(stack.pop()) as entries:
        for entry in entries:
            if entry.is_dir(follow_symlinks=False):
                folders += 1
                stack.append(entry.path)
            else:
                files += 1
print(folders, files)
PY
}

# A tree is used only when it holds exactly what it is made with: an interrupted run, or a
# benchmark ended before it put back what it deleted, leaves it short, and it is made again. It is
# made under another name and renamed when whole, so a half-made tree never has the tree's name.
ensure_tree() {
  local path="$1" folders="$2" files="$3" maker="$4"
  rm -f "$path/.complete"  # the mark earlier runs left in a tree they had finished
  rm -rf "$path/.KrelmixRestore"  # what the program's deletions kept: no part of the tree
  if [ -d "$path" ]; then
    local found
    found="$(count_tree "$path")"
    if [ "$found" = "$folders $files" ]; then
      echo "tree $path: $folders folders, $files files, as made"
      return
    fi
    echo "tree $path: $found (folders files) instead of $folders $files: made again"
    rm -rf "$path"
  fi
  rm -rf "$path.making"
  echo "making $path ($folders folders, $files files; a few minutes)"
  python3 - "$path.making" <<<"$maker"
  mv "$path.making" "$path"
}

ensure_tree "$tree" 20420 200000 '
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
'
# Paths of a typical length for a temporary folder of an old profile.
ensure_tree "$million" 1004 1000000 '
import os, sys
base = os.path.join(sys.argv[1], "Documents and Settings", "user", "Local Settings", "Temp")
for d in range(1000):
    folder = os.path.join(base, f"folder{d:04}")
    os.makedirs(folder)
    for f in range(1000):
        os.close(os.open(os.path.join(folder, f"file{d * 1000 + f:07}.tmp"), os.O_CREAT | os.O_WRONLY, 0o644))
'

krelmix_ensure_prefix
ln -sfn "$tree" "$WINEPREFIX/dosdevices/k:"
ln -sfn "$million" "$WINEPREFIX/dosdevices/m:"
krelmix_ensure_display
# A fresh wineserver, so that its desktop is made on this display.
wineserver -k 2>/dev/null || true
wineserver -w || true

load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
bin="$root/build/$preset"
: >"$log"
run() {
  local status=0
  timeout --kill-after=30 "$limit" "$WINELOADER" "$@" 2>/dev/null | tee -a "$log" || status=$?
  if [ "$status" = 124 ] || [ "$status" = 137 ]; then
    echo "$(basename "$1") did not end within $limit s and was ended" | tee -a "$log"
  elif [ "$status" != 0 ]; then
    echo "$(basename "$1") ended with status $status" | tee -a "$log"
  fi
}
run "$bin/bench/search_bench.exe" K:
run "$bin/bench/found_list_bench.exe"
run "$bin/bench/program_bench.exe" "$bin/app/Krelmix.exe" K M
rm -rf "$tree/.KrelmixRestore" "$million/.KrelmixRestore"  # what the real program's deletions kept
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"

cpu="$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo
echo "Figures of $(date '+%Y-%m-%d %H:%M'), host $(uname -n): $cpu, $(nproc) cores, $("$WINELOADER" --version)," \
  "$KRELMIX_WINE_BITS-bit build; load average $load_before before, $load_after after:"
echo
echo "| What | Measured | Target | Met |"
echo "|---|---|---|---|"
# Windows programs end their lines with a carriage return.
tr -d '\r' <"$log" | grep '^FIGURE' | awk -F'\t' '{ printf "| %s | %s | %s | %s |\n", $2, $3, $4, $5 }'
