#!/usr/bin/env bash
# `make run`: starts the freshly built ZORKEL.EXE under Wine. On a desktop ($DISPLAY set) the
# clock runs until you close it (`tools/run.sh --screenshot` takes a picture there too). Without a display it runs on Xvfb, a screenshot is taken
# after a few seconds, the clock is closed with WM_CLOSE and the screenshot's path printed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/win64"
prefix="$top/build/wine-prefix"
app="$build/dist"
export WINEPREFIX="$prefix"
source "$top/tools/wine-env.sh"

if [ -n "${DISPLAY:-}" ] && [ -z "${1:-}" ]; then
  "$top/tools/wine-prefix.sh" "$prefix"
  cd "$app" && exec wine ./ZORKEL.EXE
fi

if [ "${1:-}" != --inside ]; then  # no display, or --screenshot asked for
  exec "$top/tools/wine-session.sh" "$prefix" "$0" --inside
fi

shots="$top/build/screenshots"
mkdir -p "$shots"
shot="$shots/run-$(date +%Y%m%d-%H%M%S).png"
cd "$app"
# At UTC the first city, London, agrees with the computer, so the picture shows the clock and
# not the question a computer in another zone than the city's would bring up.
TZ=UTC wine ./ZORKEL.EXE &
clock=$!
wine_step run wine "$build/orvctl.exe" wait 30 || exit 1
sleep 3
import -window root "$shot"
wine_step run wine "$build/orvctl.exe" close 20 || exit 1
wait $clock || true
echo "$shot"
