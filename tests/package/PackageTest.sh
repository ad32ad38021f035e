#!/usr/bin/env bash
# The portable package as a user gets it: made with cpack, unpacked into a folder whose path holds
# a space and a Cyrillic name, started from there. It must read its own Krelmix.ini and play the
# start sound that file names from the sounds folder beside it (seen in Wine's file trace).
#   PackageTest.sh BUILD-DIR BITS
set -euo pipefail
build="$1"; bits="$2"
source "$(dirname "$0")/../../scripts/wine-env.sh"
if [ "$bits" = 32 ] && [ "$KRELMIX_WINE_BITS" != 32 ]; then
  echo "skipped: 32-bit program not run ($krelmix_wine_reason)"
  exit 77
fi

out="$build/package"
rm -rf "$out"
cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
zip="$(ls "$out"/Krelmix-*-win"$bits".zip)"
name="$(basename "$zip" .zip)"
echo "package: $zip"

dest="$build/package-test/Мой Krelmix"
rm -rf "$build/package-test"
mkdir -p "$dest"
(cd "$dest" && cmake -E tar xf "$zip")
folder="$dest/$name"
for f in Krelmix.exe Krelmix.ini sounds/start.wav sounds/exit.wav sounds/tmp.wav sounds/nothing.wav \
         sounds/found.wav sounds/killed.wav; do
  [ -f "$folder/$f" ] || { echo "FAIL: the package has no $f"; exit 1; }
done
keys=$(sed -n '/^\[Soundz\]/,/^\[/p' "$folder/Krelmix.ini" | grep -c '=')
[ "$keys" = 6 ] || { echo "FAIL: the packaged Krelmix.ini has $keys Soundz keys, not 6"; exit 1; }

krelmix_ensure_display
krelmix_ensure_prefix
trace="$build/package-test/trace.txt"
# The loader itself, not a shell function, so that $! is the program's own process.
WINEDEBUG=+file "$WINELOADER" "$folder/Krelmix.exe" >"$trace" 2>&1 &
program=$!
# Whether CreateFileW of a path ending in `tail` (escaped as Wine's trace writes it) succeeded.
opened() {
  TAIL="$1" awk '
    BEGIN { tail = ENVIRON["TAIL"] }
    index($0, "trace:file:CreateFileW L\"") && index($0, tail "\"") { want = 1; next }
    want && index($0, "trace:file:CreateFileW returning") {
      if ($NF !~ /^F+$/) { found = 1; exit } want = 0 }
    END { exit !found }' "$trace"
}
settings="\\\\package-test\\\\"
ok=0
splash=0
for _ in $(seq 150); do
  if opened "\\\\$name\\\\sounds\\\\start.wav"; then ok=1; break; fi
  # The installed settings show the About window as a splash first; the start sound follows its
  # closing, so close it as a user would: a click on its button "Угу!".
  about=$(xdotool search --name 'О программе' 2>/dev/null | head -1 || true)
  if [ "$splash" = 0 ] && [ -n "$about" ]; then
    sleep 0.5
    xdotool mousemove --window "$about" 56 185 click 1
    splash=1
  fi
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
# Wine's process ignores SIGTERM; a program left running would hold the single-instance mutex
# and every later start of Krelmix in this prefix would only bring it forward.
kill -9 "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
if ! opened "\\\\$name\\\\Krelmix.ini"; then
  echo "FAIL: the program did not open the Krelmix.ini beside it"; exit 1
fi
if [ "$ok" != 1 ]; then
  echo "FAIL: the program did not open sounds\\start.wav from its own folder"; exit 1
fi
grep -a 'CreateFileW L".*sounds\\\\start.wav"' "$trace" | grep -q "$settings" ||
  { echo "FAIL: the start sound was not taken from the unpacked folder"; exit 1; }
echo "The unpacked $bits-bit package read its settings and opened its start sound."
