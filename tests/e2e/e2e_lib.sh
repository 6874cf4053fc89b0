# Shared by the end-to-end scripts: they run inside the Wine session of the test run
# (tools/wine-session.sh), start the real ZORKEL.EXE from a fresh folder and drive it with
# orvctl.exe from another process.
set -euo pipefail
build=$1
source_dir=$2
ctl() { wine "$build/orvctl.exe" "$@" | tr -d '\r'; }
fail() { echo "FAIL: $*" >&2; exit 1; }
expect_eq() {  # expect_eq WHAT ACTUAL EXPECTED
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
  echo "ok: $1 = '$3'"
}
new_app_folder() {
  app=$(mktemp -d "$build/e2e-app-XXXXXX")
  cp "$build/dist/ZORKEL.EXE" "$source_dir/resources/ZORKEL.DAT" "$app/"
  [ -f "$source_dir/resources/ZORKEL.HLP" ] && cp "$source_dir/resources/ZORKEL.HLP" "$app/"
  trap 'wine "$build/orvctl.exe" close 5 >/dev/null 2>&1 || true; rm -rf "$app"' EXIT
}
forget_settings() {
  wine reg delete 'HKCU\Software\Corvanta\Orvane 2' /f >/dev/null 2>&1 || true
}
start_clock() {  # on a computer at UTC, where the first city, London, agrees: no question
  (cd "$app" && TZ=UTC exec wine ./ZORKEL.EXE) &
  ctl wait 30 >/dev/null || fail "the clock did not open"
  sleep 1  # let the posted start-up commands run
}
screenshot() {  # screenshot FILE: the clock's window as a user sees it
  local r
  read -r -a r <<<"$(ctl rect)"
  mkdir -p "$(dirname "$1")"
  import -window root -crop "$((r[2] - r[0]))x$((r[3] - r[1]))+${r[0]}+${r[1]}" +repage "$1"
}
save_city() {  # save_city NAME DEGREES MINUTES ZONE: Set Location, a new city East, no DST; Save
  ctl command 130
  ctl dialog "Set Location" rect >/dev/null || fail "Set Location did not open"
  ctl dialog "Set Location" type "$1"
  ctl dialog "Set Location" set 127 "$2"
  ctl dialog "Set Location" set 128 "$3"
  ctl dialog "Set Location" set 130 0
  ctl dialog "Set Location" click 133
  ctl dialog "Set Location" set 136 "$4"
  ctl dialog "Set Location" check 199 0
  ctl dialog "Set Location" click 141
}
save_kashgar_test() {  # 75°59'0" E, zone 8
  save_city "Kashgar Test" 75 59 8
}
