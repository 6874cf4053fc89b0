# Sourced by every script of the rail that runs Windows programs. Sets the quiet, headless-safe
# Wine settings and makes `wine` (and `wineboot`, `winepath`) mean Wine's 64-bit loader, through
# tools/wine64 first on PATH: Debian's own commands prefer the 32-bit loader whenever wine32 is
# installed, which fails for every program on a machine that cannot execute 32-bit code.
# Also offers wine_step, which runs one step and, when it fails, says which and why.
orvane_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ORVANE_WINE64="${ORVANE_WINE64:-/usr/lib/wine/wine64}"
if [ ! -x "$ORVANE_WINE64" ]; then
  echo "wine: Wine's 64-bit loader $ORVANE_WINE64 is missing (Debian package wine64; run tools/setup.sh)" >&2
  exit 1
fi
case ":$PATH:" in
  *":$orvane_tools/wine64:"*) ;;
  *) export PATH="$orvane_tools/wine64:$PATH" ;;
esac
# Wine starts its helper programs through WINELOADER; a 32-bit program started from a 64-bit
# one gets the same name less "64", which is Debian's 32-bit loader.
export WINELOADER="$ORVANE_WINE64"
export WINEDEBUG="${WINEDEBUG:--all}"
# No .NET or Gecko installers, and no debugger that would hang a crashing program headless.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"

# wine_step WHAT COMMAND [ARGS...]: runs the command with its output kept aside; on failure
# prints WHAT, the command, its exit status and the end of what it printed, and returns the
# status.
wine_step() {
  local what=$1 log rc
  shift
  log=$(mktemp "${TMPDIR:-/tmp}/orvane-step.XXXXXX")
  "$@" >"$log" 2>&1
  rc=$?
  if [ $rc -ne 0 ]; then
    {
      echo "$what: '$*' failed with exit status $rc"
      [ $rc -eq 126 ] && echo "$what: (126: the program could not be executed at all)"
      [ -s "$log" ] && { echo "$what: its last output:"; tail -n 15 "$log" | sed 's/^/    /'; }
    } >&2
  fi
  rm -f "$log"
  return $rc
}

# True when i686 programs can be run here: 32-bit Wine is installed and the machine executes
# 32-bit programs at all.
orvane_can_run_i686() {
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed' &&
    "$orvane_tools/can-run-32bit.sh"
}
