#!/usr/bin/env bash
# Runs a command inside one Xvfb display and one running Wine session, then stops both.
# Usage: tools/wine-session.sh PREFIX-DIR COMMAND [ARGS...]
# Starting the wine server first spares every test the wait for Wine's helper processes.
# With ORVANE_USE_DISPLAY=1 and a $DISPLAY, the command runs on that display instead.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"

if [ "${1:-}" = --inside ]; then
  shift
  wineserver -k 2>/dev/null || true   # a server started on another display would be wrong
  wine_step wine-session wineserver -p || exit 1
  wine_step wine-session wine cmd /c exit || exit 1
  # Wine's desktop process ends when no window is left and restarts with the next one,
  # inheriting that program's output pipes, which then never close. One hidden window
  # kept open for the whole session keeps it up.
  holder="$here/../build/win64/orvctl.exe"
  if [ -f "$holder" ]; then
    wine "$holder" hold >/dev/null 2>&1 </dev/null &
    for _ in $(seq 1 50); do
      pgrep -f 'explorer.exe /desktop' >/dev/null && break
      sleep 0.1
    done
  fi
  set +e
  "$@"
  rc=$?
  wineserver -k 2>/dev/null
  exit $rc
fi

prefix=$(realpath -m "$1"); shift
"$here/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix"
if [ -n "${ORVANE_USE_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then
  exec "$0" --inside "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$@"
