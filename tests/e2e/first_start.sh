#!/usr/bin/env bash
# End to end: a clock with no settings opens at the default place in LMT; F7 switches it to
# UT and stores Time = 2; closing stores the geometry; a second start comes back there, in UT,
# and a third at the place left flush with the screen's left edge.
# Usage: first_start.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings

start_clock
expect_eq "first caption" "$(ctl caption)" "Orvane 2 (LMT)"
read -r left top right bottom <<<"$(ctl rect)"
[ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le 1024 ] && [ "$bottom" -le 768 ] ||
  fail "default window not on the screen: $left $top $right $bottom"
expect_eq "no geometry stored yet" "$(ctl setting X)" ""

ctl key F7
expect_eq "caption after F7" "$(ctl caption)" "Orvane 2 (UT)"
expect_eq "stored Time" "$(ctl setting Time)" "2"

ctl move 130 70 520 300
sleep 0.5
screenshot "$build/screenshots/e2e-clock-ut.png"
ctl close 20 || fail "the clock did not close"
expect_eq "stored X" "$(ctl setting X)" "130"
expect_eq "stored Y" "$(ctl setting Y)" "70"
expect_eq "stored Width" "$(ctl setting Width)" "520"
expect_eq "stored Height" "$(ctl setting Height)" "300"

start_clock
expect_eq "second caption" "$(ctl caption)" "Orvane 2 (UT)"
expect_eq "second place" "$(ctl rect)" "130 70 650 370"
# Flush with the screen's left edge, where Windows 10 puts the invisible frame at -7.
ctl move -7 70 520 300
sleep 0.5
ctl close 20 || fail "the clock did not close"
expect_eq "stored X at the left edge" "$(ctl setting X)" "-7"
start_clock
expect_eq "third place" "$(ctl rect)" "-7 70 513 370"
ctl close 20 || fail "the clock did not close"
echo "end to end: first start and restart passed"
