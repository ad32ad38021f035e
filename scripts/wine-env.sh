# Sourced by the scripts that run Windows programs: one scratch Wine prefix per build tree,
# a Russian locale (ANSI code page 1251) and a virtual display when there is none.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${KRELMIX_WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$root/build/locale"
{ export LC_ALL=ru_RU.UTF-8; } 2>/dev/null

krelmix_ensure_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # The one drive tests may tick, search or clean: T: mapped to a scratch folder.
  mkdir -p "$root/build/scratch-t" "$root/build/scratch-s"
  printf 'scratch' > "$root/build/scratch-t/.windows-label"
  ln -sfn "$root/build/scratch-t" "$WINEPREFIX/dosdevices/t:"
  # S: is a CD-ROM drive, which the drive list must leave out.
  ln -sfn "$root/build/scratch-s" "$WINEPREFIX/dosdevices/s:"
  if [ ! -f "$WINEPREFIX/.krelmix-drives" ]; then
    # The drive manager reads the 64-bit view of the key.
    wine reg add 'HKLM\Software\Wine\Drives' /v s: /d cdrom /f /reg:64 >/dev/null 2>&1 &&
      touch "$WINEPREFIX/.krelmix-drives"
    wineserver -k 2>/dev/null || true
    wineserver -w || true
  fi
}

krelmix_ensure_display() {
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    export DISPLAY=:97
    if ! xdpyinfo >/dev/null 2>&1; then
      Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    fi
  fi
}
