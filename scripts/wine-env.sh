# Sourced by everything that runs Windows programs: the one place that decides how they start.
# A scratch Wine prefix (build/wineprefix, or KRELMIX_WINEPREFIX) with its scratch drives in folders
# beside it, a Russian locale (ANSI code page 1251) and a virtual display when there is none. Two
# runs with prefixes and displays of their own (scripts/test.sh runs the 32-bit and the 64-bit
# suites so, side by side) share nothing.
#
# Which Wine loader runs the programs:
#   - where the host runs 32-bit programs and wine32 is installed, Wine's 32-bit loader, which
#     starts 32-bit programs itself and hands 64-bit ones to the 64-bit loader;
#   - otherwise Wine's 64-bit loader, called directly with WINELOADER set to it. Debian's `wine`
#     wrapper would still pick the 32-bit loader whenever wine32 is installed, and on a host
#     without 32-bit support that loader fails with "Exec format error", even for 64-bit programs.
# KRELMIX_64BIT_ONLY=1 forces the second path, to try it on a host that runs 32-bit programs too.
#
# After sourcing:
#   krelmix_wine PROGRAM ARGS...   starts a Windows program (never call a bare `wine`)
#   KRELMIX_WINE_BITS              32 when 32-bit Windows programs run here, else 64
#   krelmix_wine_describe          one line saying which loader is used and why
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/host-bits.sh"

export WINEPREFIX="${KRELMIX_WINEPREFIX:-$root/build/wineprefix}"
krelmix_scratch="$(dirname "$WINEPREFIX")"
export WINEDEBUG="${KRELMIX_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$root/build/locale"
{ export LC_ALL=ru_RU.UTF-8; } 2>/dev/null

krelmix_wine32_loader=/usr/lib/wine/wine
krelmix_wine64_loader=/usr/lib/wine/wine64

if [ "${KRELMIX_64BIT_ONLY:-0}" = 1 ]; then
  KRELMIX_WINE_BITS=64
  krelmix_wine_reason="KRELMIX_64BIT_ONLY=1 is set"
elif ! krelmix_host_runs_32bit; then
  KRELMIX_WINE_BITS=64
  krelmix_wine_reason="this host runs no 32-bit programs"
elif [ ! -x "$krelmix_wine32_loader" ]; then
  KRELMIX_WINE_BITS=64
  krelmix_wine_reason="wine32 is not installed"
else
  KRELMIX_WINE_BITS=32
  krelmix_wine_reason="this host runs 32-bit programs and wine32 is installed"
fi
if [ "$KRELMIX_WINE_BITS" = 32 ]; then
  export WINELOADER="$krelmix_wine32_loader"
else
  export WINELOADER="$krelmix_wine64_loader"
fi
export KRELMIX_WINE_BITS
# Wine keeps WINELOADER from the programs it runs; a test that starts the program again through the
# Unix shell (to catch Wine's trace) finds the loader here.
export KRELMIX_WINE_LOADER="$WINELOADER"

krelmix_wine() { "$WINELOADER" "$@"; }

krelmix_wine_describe() {
  if [ "$KRELMIX_WINE_BITS" = 32 ]; then
    echo "Wine: 32-bit and 64-bit programs ($krelmix_wine_reason)"
  else
    echo "Wine: 64-bit programs only, through $WINELOADER ($krelmix_wine_reason)"
  fi
}

krelmix_ensure_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    krelmix_wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  if [ ! -d "$WINEPREFIX/dosdevices" ]; then
    echo "error: Wine made no prefix in $WINEPREFIX ($(krelmix_wine_describe))" >&2
    return 1
  fi
  # The one drive tests may tick, search or clean: T: mapped to a scratch folder.
  mkdir -p "$krelmix_scratch/scratch-t" "$krelmix_scratch/scratch-s"
  printf 'scratch' > "$krelmix_scratch/scratch-t/.windows-label"
  ln -sfn "$krelmix_scratch/scratch-t" "$WINEPREFIX/dosdevices/t:"
  # U: a second scratch drive, for the tests that take a drive away in the middle of a search;
  # the drive manager learns of drives when Wine's server starts, so it is mapped before each run.
  mkdir -p "$krelmix_scratch/scratch-u"
  ln -sfn "$krelmix_scratch/scratch-u" "$WINEPREFIX/dosdevices/u:"
  # S: is a CD-ROM drive, which the drive list must leave out.
  ln -sfn "$krelmix_scratch/scratch-s" "$WINEPREFIX/dosdevices/s:"
  if [ ! -f "$WINEPREFIX/.krelmix-drives" ]; then
    # The drive manager reads the 64-bit view of the key.
    krelmix_wine reg add 'HKLM\Software\Wine\Drives' /v s: /d cdrom /f /reg:64 >/dev/null 2>&1 &&
      touch "$WINEPREFIX/.krelmix-drives"
    wineserver -k 2>/dev/null || true
    wineserver -w || true
  fi
  if [ ! -f "$WINEPREFIX/.krelmix-nodebugger" ]; then
    # A crashing program ends at once instead of waiting for ever in Wine's debugger, which would
    # also keep the prefix's server alive under the next commands.
    local view
    for view in 64 32; do
      krelmix_wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
        /reg:$view >/dev/null 2>&1 || true
    done
    touch "$WINEPREFIX/.krelmix-nodebugger"
    wineserver -k 2>/dev/null || true
    wineserver -w || true
  fi
  if [ ! -f "$WINEPREFIX/.krelmix-nocrashdialog" ]; then
    # Without a debugger set Wine still starts winedbg, whose crash dialog waits for a click for
    # ever; without the dialog it prints the backtrace on standard error and the program ends.
    krelmix_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 &&
      touch "$WINEPREFIX/.krelmix-nocrashdialog"
  fi
}

# KRELMIX_DISPLAY picks the virtual display's number (default :97), so that two checkouts can
# run their window tests side by side without sharing a mouse. The screen is large enough for
# the main window at 192 DPI (1200x926).
# The screen must hold the main window at 200% (1200x926): a display of that number left running
# from an older run with a smaller screen is passed over for the next free number.
krelmix_screen_fits() {
  local size
  size="$(xdpyinfo 2>/dev/null | sed -nE 's/^ *dimensions: *([0-9]+)x([0-9]+) pixels.*/\1 \2/p' | head -1)"
  [ -n "$size" ] && [ "${size% *}" -ge 1920 ] && [ "${size#* }" -ge 1200 ]
}

krelmix_ensure_display() {
  if [ -z "${DISPLAY:-}" ] || ! krelmix_screen_fits; then
    local number="${KRELMIX_DISPLAY:-:97}"
    number="${number#:}"
    for _ in $(seq 20); do
      export DISPLAY=":$number"
      xdpyinfo >/dev/null 2>&1 || break
      krelmix_screen_fits && return 0
      echo "display :$number is running with a smaller screen; using :$((number + 1))" >&2
      number=$((number + 1))
    done
    Xvfb "$DISPLAY" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}
