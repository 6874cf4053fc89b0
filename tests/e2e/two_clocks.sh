#!/usr/bin/env bash
# End to end: two clocks run from one folder, both started before either saves. The first
# saves Alpha, the second Beta: ZORKEL.DAT keeps both. Then a line is added to the file by
# hand and Alpha's line changed while the second runs; its next save keeps the added city
# and its own Alpha. Each save leaves ZORKEL.BAK and no CITIES.NEW, and closing asks nothing.
# Usage: two_clocks.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings
dat=$app/ZORKEL.DAT

start_another_clock() {  # prints the new clock's window handle
  local before
  before=$(ctl clocks | sort)
  (cd "$app" && TZ=UTC exec wine ./ZORKEL.EXE) >/dev/null &
  for _ in $(seq 60); do
    local new
    new=$(comm -13 <(echo "$before") <(ctl clocks | sort))
    [ -n "$new" ] && { sleep 1; echo "$new"; return; }
    sleep 0.5
  done
  fail "the clock did not open"
}
first=$(start_another_clock)
second=$(start_another_clock)
trap 'for w in $first $second; do ORVCTL_CLOCK=$w ctl close 5 >/dev/null 2>&1 || true; done
      rm -rf "$app"' EXIT
expect_line() {  # expect_line WHAT LINE: ZORKEL.DAT holds the line (without its CR LF)
  grep -qxF "$2"$'\r' "$dat" || fail "$1: ZORKEL.DAT lacks '$2'"
  echo "ok: $1"
}
saved_cleanly() {
  [ -f "$app/ZORKEL.BAK" ] || fail "$1: no ZORKEL.BAK"
  [ ! -e "$app/CITIES.NEW" ] || fail "$1: CITIES.NEW left behind"
  echo "ok: $1 left ZORKEL.BAK and no CITIES.NEW"
}

ORVCTL_CLOCK=$first save_city Alpha 10 0 0
sleep 1
ORVCTL_CLOCK=$second save_city Beta 20 0 0
sleep 1
expect_line "the second save names its city first" "Beta"
expect_line "the first clock's city is kept" "Alpha               | 10| 0| 0|E|0.00|0"
expect_line "the second clock's city is saved" "Beta                | 20| 0| 0|E|0.00|0"
saved_cleanly "the second save"

# By hand, while the second clock runs: a new city, and Alpha, which that clock now has.
sed -i 's/^Alpha .*/Alpha|11|0|0|E|1.00|0\r/' "$dat"
printf 'Gamma|30|0|0|W|0.00|0\r\n' >>"$dat"
ORVCTL_CLOCK=$second save_city Delta 40 0 0
sleep 1
expect_line "the city added by hand is kept" "Gamma               | 30| 0| 0|W|0.00|0"
expect_line "for a name both have, the clock's row wins" "Alpha               | 10| 0| 0|E|0.00|0"
expect_line "the new city is saved" "Delta               | 40| 0| 0|E|0.00|0"
[ "$(grep -c '^Alpha ' "$dat")" = 1 ] || fail "Alpha is in the file more than once"
saved_cleanly "the save after the hand edit"

for w in $first $second; do
  ORVCTL_CLOCK=$w ctl close 20 || fail "clock $w did not close (a question left open?)"
done
echo "end to end: two clocks passed"
