#!/usr/bin/env bash
# Makes the pictures of the README under Xvfb: the clock in each time scale, the question of
# Universal Time from Windows, the clock and its dialogs and help in Night Colours, the Set
# Location dialog (also at 144 and 192 DPI, to see that it lays out at a larger scale), the About box,
# the Sidereal Time dialog, the help window (its index, a search, a topic) and Check the
# Computer's Clock. The clock reads a fixed time (faketime) so the pictures do not change from
# run to run; the check reads the real one. Usage: tools/screenshots.sh [OUT-DIR]
# (default docs/screenshots)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/win64"
out=$(realpath -m "${1:-$top/docs/screenshots}")
if [ "${ORVANE_INSIDE_SESSION:-}" != 1 ]; then
  export ORVANE_INSIDE_SESSION=1
  exec "$top/tools/wine-session.sh" "$top/build/wine-prefix" "$0" "$out"
fi
mkdir -p "$out"
ctl() { wine "$build/orvctl.exe" "$@" | tr -d '\r'; }
key='HKCU\Software\Corvanta\Orvane 2'
app=$(mktemp -d "$build/shots-XXXXXX")
trap 'wine "$build/orvctl.exe" close 5 >/dev/null 2>&1 || true; rm -rf "$app"' EXIT
cp "$build/dist/ZORKEL.EXE" "$top/resources/ZORKEL.DAT" "$top/resources/ZORKEL.HLP" "$app/"

crop() {  # crop FILE LEFT TOP RIGHT BOTTOM
  import -window root -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage "$1"
}
setting() { wine reg add "$key\\$1" /ve /d "$2" /f >/dev/null; }
start() {
  (cd "$app" && TZ=UTC NO_FAKE_STAT=1 faketime '2026-12-07 21:30:00' wine ./ZORKEL.EXE) &
  ctl wait 30 >/dev/null
  sleep 2
}

wine reg delete "$key" /f >/dev/null 2>&1 || true
setting X 40; setting Y 40; setting Width 480; setting Height 250
names=(lmt12 lmt24 ut lst gst)
for kind in 0 1 2 3 4; do
  setting Time "$kind"
  start
  read -r l t r b <<<"$(ctl rect)"
  crop "$out/clock-${names[$kind]}.png" "$l" "$t" "$r" "$b"
  ctl close 20
done

setting Time 3
# A DUT1 as entered a few days before, for the Sidereal Time dialog.
setting DUT1 -113; setting DUT1Date 20261203
start
ctl command 130
read -r l t r b <<<"$(ctl dialog 'Set Location' rect)"
sleep 0.5
crop "$out/set-location.png" "$l" "$t" "$r" "$b"
ctl dialog 'Set Location' click 2
ctl command 36
read -r l t r b <<<"$(ctl dialog 'Orvane 2' rect)"
sleep 0.5
crop "$out/about.png" "$l" "$t" "$r" "$b"
ctl dialog 'Orvane 2' click 2
shoot_sidereal() {  # shoot_sidereal FILE
  ctl command 156
  read -r l t r b <<<"$(ctl dialog 'Sidereal Time' rect)"
  sleep 0.5
  crop "$out/$1" "$l" "$t" "$r" "$b"
  ctl dialog 'Sidereal Time' click 2
}
shoot_sidereal sidereal.png
# The help: its index (F1), a search, and the topic the search leads to, which has a
# table and bullets.
help() { ctl window "Orvane 2 Help - $1" "${@:2}"; }
shoot_help() {  # shoot_help TITLE FILE
  sleep 0.5
  read -r l t r b <<<"$(help "$1" rect)"
  crop "$out/$2" "$l" "$t" "$r" "$b"
}
ctl command 31
help Index place 40 40 560 540
shoot_help Index help-index.png
help Index search 'menu bar'
shoot_help 'Topics with all these words: menu bar' help-search.png
for k in tab tab enter; do help 'Topics with all these words: menu bar' view-key "$k"; done
shoot_help 'Menus and the Window' help-topic.png
ctl close 20

# The question at start-up on a computer kept in Denver's zone with London as the city.
(cd "$app" && TZ=America/Denver NO_FAKE_STAT=1 faketime '2026-12-07 20:00:00' wine ./ZORKEL.EXE) &
ctl wait 30 >/dev/null
read -r l t r b <<<"$(ctl dialog 'Orvane 2' rect)"
sleep 1
crop "$out/ut-question.png" "$l" "$t" "$r" "$b"
ctl dialog 'Orvane 2' click 7
ctl close 20

# Night Colours: the whole window with its menu bar, Set Location, About and the help.
setting Night 1
start
read -r l t r b <<<"$(ctl rect)"
crop "$out/clock-night.png" "$l" "$t" "$r" "$b"
ctl command 130
read -r l t r b <<<"$(ctl dialog 'Set Location' rect)"
sleep 0.5
crop "$out/set-location-night.png" "$l" "$t" "$r" "$b"
ctl dialog 'Set Location' click 2
ctl command 36
read -r l t r b <<<"$(ctl dialog 'Orvane 2' rect)"
sleep 0.5
crop "$out/about-night.png" "$l" "$t" "$r" "$b"
ctl dialog 'Orvane 2' click 2
shoot_sidereal sidereal-night.png
ctl command 32
help Keyboard place 40 40 560 540
shoot_help Keyboard help-night.png
ctl close 20
wine reg delete "$key\\Night" /f >/dev/null

# Check the Computer's Clock against responders on 127.0.0.1: right, wrong and no answer,
# by day and at night. The clock reads the real time here, as the responders do.
for mode in "right --offset 0.03" "wrong --offset 2.34" "no-answer --mode silent"; do
  python3 "$top/tools/sntp_responder.py" --seconds 120 ${mode#* } >"$app/${mode%% *}" &
done
sleep 1
for night in 0 1; do
  setting Night "$night"
  (cd "$app" && TZ=UTC wine ./ZORKEL.EXE) &
  ctl wait 30 >/dev/null
  sleep 1
  for shot in right wrong no-answer; do
    setting TimeServer "localhost:$(sed -n 's/^port //p' "$app/$shot")"
    ctl command 157
    for _ in $(seq 150); do
      case "$(ctl dialog "Check the Computer's Clock" text 502)" in "Asking "*) sleep 0.1 ;; *) break ;; esac
    done
    read -r l t r b <<<"$(ctl dialog "Check the Computer's Clock" rect)"
    sleep 0.5
    crop "$out/check-clock-$shot$([ "$night" = 1 ] && echo -night).png" "$l" "$t" "$r" "$b"
    ctl dialog "Check the Computer's Clock" click 2
    sleep 0.5
  done
  ctl close 20
done
wine reg delete "$key\\Night" /f >/dev/null

# The same dialog on a 144 DPI screen.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
wineserver -k; sleep 1; wineserver -p; wine cmd /c exit >/dev/null 2>&1 || true
start
ctl command 130
read -r l t r b <<<"$(ctl dialog 'Set Location' rect)"
sleep 0.5
crop "$out/set-location-144dpi.png" "$l" "$t" "$r" "$b"
ctl dialog 'Set Location' click 2
ctl close 20

# And at 192 DPI (200 %).
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null
wineserver -k; sleep 1; wineserver -p; wine cmd /c exit >/dev/null 2>&1 || true
start
ctl command 130
read -r l t r b <<<"$(ctl dialog 'Set Location' rect)"
sleep 0.5
crop "$out/set-location-192dpi.png" "$l" "$t" "$r" "$b"
ctl dialog 'Set Location' click 2
ctl close 20
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
wine reg delete "$key" /f >/dev/null 2>&1 || true
ls "$out"
