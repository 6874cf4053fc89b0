#!/usr/bin/env bash
# End to end: the user opens Set Location from the menu, types a new city with its values
# and presses Save. The file on disk then holds the city, and the local sidereal time the
# clock shows moves accordingly: the computer's clock is now read as the new city's local
# time, so LST moves by the longitude difference (in hours) less the zone difference.
# Usage: set_location.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings
start_clock

# London is the first city; show its local sidereal time in the caption.
ctl key F8
ctl show minimize
sleep 1.5
before=$(ctl caption)   # "HH:MM LST"
case "$before" in *LST) ;; *) fail "no sidereal caption: '$before'" ;; esac
ctl show restore
sleep 0.5

save_kashgar_test
sleep 1
# Zone 8 against a computer at UTC: the clock asks whether to take UT from Windows; No
# keeps reading the computer's clock as the new city's local time.
ctl dialog "Orvane 2" click 7 || fail "no question after Set Location"
sleep 0.5
grep -q $'^Kashgar Test\r$' "$app/ZORKEL.DAT" || fail "the first line does not name the new city"
grep -q $'^Kashgar Test        | 75|59| 0|E|8.00|0\r$' "$app/ZORKEL.DAT" ||
  fail "ZORKEL.DAT does not hold the new city"
echo "ok: ZORKEL.DAT holds the new city"
cmp -s "$app/ZORKEL.BAK" "$source_dir/resources/ZORKEL.DAT" ||
  fail "ZORKEL.BAK is not the file the save replaced"
echo "ok: ZORKEL.BAK keeps the file the save replaced"

ctl show minimize
sleep 1.5
after=$(ctl caption)
ctl show restore
# From London (0 deg 7 min 39 s West, zone 0) to 75 deg 59 min East, zone 8:
# (76.1275 / 15 - 8) hours = -2 h 55.5 min, plus the minute or so the steps took.
minutes() {  # " 8:41 LST" -> 521
  local t=${1# }
  t=${t%% *}
  echo $(( 10#${t%%:*} * 60 + 10#${t##*:} ))
}
shift_minutes=$(( ( $(minutes "$after") - $(minutes "$before") + 1440 ) % 1440 ))
[ "$shift_minutes" -ge 1263 ] && [ "$shift_minutes" -le 1267 ] ||
  fail "LST moved by $shift_minutes minutes ('$before' -> '$after'), expected about 1265 (-175)"
echo "ok: LST moved from '$before' to '$after'"
ctl close 20 || fail "the clock did not close"
echo "end to end: Set Location passed"
