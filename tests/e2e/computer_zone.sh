#!/usr/bin/env bash
# End to end: the real ZORKEL.EXE with the computer's zone and time set from outside (TZ and
# faketime), showing UT minimised so that the caption holds it. A city on the computer's
# rules (code 2) reads the computer's UTC in London's summer, Sydney's summer and across
# Havana's midnight change; a US-rule city (1) and one without daylight saving (0) read as
# they always have (Reykjavik's zone disagrees with the computer's: No keeps it so).
# Usage: computer_zone.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder

ut_caption() {  # ut_caption CITY TZ LOCAL-TIME [ANSWER]: start the clock there and minimise it
  sed -i "1s/.*/$1\r/" "$app/ZORKEL.DAT"
  forget_settings
  wine reg add 'HKCU\Software\Corvanta\Orvane 2\Time' /ve /d 2 /f >/dev/null
  (cd "$app" && TZ=$2 NO_FAKE_STAT=1 exec faketime "$3" wine ./ZORKEL.EXE) &
  ctl wait 30 >/dev/null || fail "the clock did not open"
  # Where the city's zone disagrees with the computer's, it asks first: 7 is No.
  if [ $# -gt 3 ]; then ctl dialog 'Orvane 2' click "$4" || fail "no question for $1"; fi
  ctl show minimize
  sleep 1.5
}
caption() { local c; c=$(ctl caption); echo "${c# }"; }  # the hour without its leading zero or blank
stop_clock() { ctl close 20 || fail "the clock did not close"; }

ut_caption London Europe/London '2026-07-01 12:00:10'
expect_eq "London (2) at 12:00 BST" "$(caption)" "11:00 UT"
stop_clock
ut_caption Sydney Australia/Sydney '2026-01-15 12:00:10'
expect_eq "Sydney (2) at 12:00 AEDT" "$(caption)" "1:00 UT"
stop_clock
ut_caption Reykjavik Europe/London '2026-07-01 12:00:10' 7
expect_eq "Reykjavik (0) on a computer at 12:00 BST" "$(caption)" "12:00 UT"
stop_clock
ut_caption Denver America/Denver '2026-07-01 12:00:10'
expect_eq "Denver (1) at 12:00 MDT" "$(caption)" "18:00 UT"
stop_clock

# Havana's clocks go from 23:59:59 to 01:00:00 on 8 March 2026: UT runs on without a jump.
ut_caption Havana America/Havana '2026-03-07 23:59:52'
expect_eq "Havana (2) just before its change" "$(caption)" "4:59 UT"
sleep 8
expect_eq "Havana (2) just after its change" "$(caption)" "5:00 UT"
stop_clock
echo "end to end: UT on the computer's rules passed"
