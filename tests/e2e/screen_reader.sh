#!/usr/bin/env bash
# End to end: what a screen reader reads from the real ZORKEL.EXE, asked from another process
# as Narrator or NVDA ask (AccessibleObjectFromWindow on the client area): the time as the
# clock shows it, with the scale its caption names, in each form of the face; and in the
# help window, the page's title and text, with a clean failure once that window is closed.
# Usage: screen_reader.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings
# London, on a computer at UTC in summer: LMT and UT agree. The clock runs on from 09:30:00.
t0=$(date +%s.%N)
(cd "$app" && TZ=UTC NO_FAKE_STAT=1 exec faketime '1999-07-01 09:30:00' wine ./ZORKEL.EXE) &
ctl wait 30 >/dev/null || fail "the clock did not open"
sleep 1

# read_time LABEL SLACK: the name and value are one text, "TIME SCALE"; SCALE is the
# caption's, and TIME what the face shows, within a second or two of the fixed clock run on
# (SLACK more behind: the minimised face shows no seconds).
read_time() {
  local before after out name value caption scale
  before=$(date +%s.%N)
  out=$(ctl accessible) || fail "$1: nothing read"
  after=$(date +%s.%N)
  name=$(sed -n 's/^name: //p' <<<"$out")
  value=$(sed -n 's/^value: //p' <<<"$out")
  caption=$(ctl caption)
  scale=${caption##*(}
  scale=${scale%)}
  scale=${scale##* }
  expect_eq "$1: value" "$value" "$name"
  expect_eq "$1: scale" "${name##* }" "$scale"
  awk -v t="${name% *}" -v lo="$before" -v hi="$after" -v t0="$t0" -v slack="$2" 'BEGIN {
    n = split(t, f, "[: ]"); s = f[1] * 3600 + f[2] * 60 + (f[3] ~ /^[0-9]+$/ ? f[3] : 0)
    if (t ~ /PM$/ && f[1] < 12) s += 43200
    want = 9.5 * 3600
    exit !(s >= want + lo - t0 - 3 - slack && s <= want + hi - t0 + 1)
  }' || fail "$1: '$name' is not the clock's time"
  echo "ok: $1 reads '$name'"
}
# One row per form of the face: the key that shows it, and the slack of its reading.
for row in "F6 0" "F5 0" "F7 0" "minimised 60"; do
  read -r key slack <<<"$row"
  if [ "$key" = minimised ]; then ctl show minimize; else ctl key "$key"; fi
  sleep 1.2
  read_time "$key" "$slack"
done
ctl show restore

# The help: a search leads to a topic; its title is the name, its text the value.
ctl command 31
help() { ctl window "Orvane 2 Help - $1" "${@:2}"; }
help Index search narrator
for k in tab enter; do help 'Topics with all these words: narrator' view-key "$k"; done
help 'Screen Readers' rect >/dev/null || fail "the topic did not open"
out=$(ctl accessible 'Orvane 2 Help - Screen Readers') || fail "nothing read in the help"
expect_eq "help: name" "$(sed -n 's/^name: //p' <<<"$out")" "Screen Readers"
grep -q "^value: The figures of the clock are drawn, not written in a box of text, so the clock" \
  <<<"$out" || fail "help: the value is not the topic's text, joined where it wraps: $out"
grep -q "^The clock does not announce each second by itself" <<<"$out" ||
  fail "help: the second paragraph does not start a line of its own: $out"
# An object kept past its window's end answers that it is no longer connected to anything.
expect_eq "help, once closed" "$(ctl accessible-after-close 'Orvane 2 Help - Screen Readers')" \
  "0x80010108"
expect_eq "the clock still reads" "$(ctl accessible | sed -n 's/^name: .* //p')" "UT"
ctl close 20 || fail "the clock did not close"
echo "end to end: screen reader passed"
