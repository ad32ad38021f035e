#!/usr/bin/env bash
# The settings reader against the size of the settings file:
#   1. natively, an optimised build of the reader and the engine over a tree held in memory;
#   2. the real 64-bit program under Wine: an unattended /nightfly run with a settings file of
#      100,000 keys and one of 20 MB, on a drive Q: of its own, against the same run with a
#      settings file of three lines (the program's own start and end).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cmake -S "$root" -B "$root/build/bench-native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/bench-native" --target settings_bench >/dev/null
"$root/build/bench-native/settings_bench"

cd "$root"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Krelmix >/dev/null
source scripts/wine-env.sh
krelmix_ensure_prefix
krelmix_ensure_display
drive="$root/build/bench-settings"
rm -rf "$drive"
mkdir -p "$drive/prog" "$drive/junk"
cp build/win64/app/Krelmix.exe "$drive/prog/"
ln -sfn "$drive" "$WINEPREFIX/dosdevices/q:"
# A fresh wineserver, so that the drive list has the new drive.
wineserver -k 2>/dev/null || true
wineserver -w || true
python3 - "$drive" <<'PY'
import sys
for name, keys, pad in (("keys100k", 100000, 0), ("mb20", 181818, 88)):
    with open(f"{sys.argv[1]}/{name}.ini", "w", newline="") as f:
        f.write("[Area]\r\nQ=1\r\n[Options]\r\n1=0\r\n[Kill]\r\n")
        for i in range(keys):
            f.write(f"*.{'x' * pad}{i}=0\r\n")
        f.write("*.tmp=1\r\n[ExcludeDir]\r\n")
        for i in range(keys // 10):
            f.write(f"Q:\\excluded\\{i}=0\r\n")
with open(f"{sys.argv[1]}/small.ini", "w", newline="") as f:
    f.write("[Area]\r\nQ=1\r\n[Kill]\r\n*.tmp=1\r\n")
PY
printf '%-12s %8s %10s %s\n' "settings" "MB" "seconds" "(whole /nightfly run, best of three)"
for name in small keys100k mb20; do
  cp "$drive/$name.ini" "$drive/prog/Krelmix.ini"
  best=""
  for _ in 1 2 3; do
    echo x > "$drive/junk/a.tmp"
    start=$(date +%s.%N)
    "$WINELOADER" 'Q:\prog\Krelmix.exe' /nightfly 2>/dev/null
    took=$(echo "$(date +%s.%N) - $start" | bc)
    [ -e "$drive/junk/a.tmp" ] && { echo "error: the run did not clean Q:" >&2; exit 1; }
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc)" = 1 ]; then best=$took; fi
  done
  printf '%-12s %8.1f %10.2f\n' "$name" "$(echo "$(stat -c %s "$drive/$name.ini") / 1000000" | bc -l)" "$best"
done
rm -f "$WINEPREFIX/dosdevices/q:"
