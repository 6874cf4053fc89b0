#!/usr/bin/env bash
# End to end: the clock kept in a folder whose name the ANSI code page cannot spell (here
# Cyrillic and Chinese on a Western system, as in many a user's own folder name) still
# loads its city file, saves it, and opens its help.
# Usage: foreign_folder.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
outer=$app
trap 'wine "$build/orvctl.exe" close 5 >/dev/null 2>&1 || true; rm -rf "$outer"' EXIT
app="$app/Обсерватория-天文台"
mkdir "$app"
mv "$app/../ZORKEL.EXE" "$app/../ZORKEL.DAT" "$app/../ZORKEL.HLP" "$app/"
forget_settings
start_clock

save_kashgar_test
# Zone 8 is not this computer's: the clock asks about Universal Time from Windows.
ctl dialog 'Orvane 2' click 7 || fail "no question about Universal Time"
sleep 1
# Every shipped city came through the load and the save, and the new one was added.
shipped=$(wc -l <"$source_dir/resources/ZORKEL.DAT")
expect_eq "lines saved" "$(wc -l <"$app/ZORKEL.DAT")" "$((shipped + 1))"
grep -q $'^Kashgar Test        | 75|59| 0|E|8.00|0\r$' "$app/ZORKEL.DAT" ||
  fail "ZORKEL.DAT does not hold the new city"
cmp -s "$app/ZORKEL.BAK" "$source_dir/resources/ZORKEL.DAT" || fail "no ZORKEL.BAK of the old file"
[ ! -e "$app/CITIES.NEW" ] || fail "CITIES.NEW left behind"
echo "ok: loaded, saved and backed up"

ctl key F1
ctl find-window "Orvane 2 Help - Index" >/dev/null || fail "the help did not show its index"
echo "ok: the help shows its index"
ctl close 20 || fail "the clock did not close"
echo "end to end: a folder outside the code page passed"
