#!/usr/bin/env bash
# End to end: a dwmapi.dll put beside ZORKEL.EXE, with Wine told to prefer a DLL found on the
# search path over its own (as Windows takes the first dwmapi.dll it finds), is never loaded,
# although Night Colours asks for dwmapi's dark title bar.
# Usage: planted_dll.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings
cp "$build/tests/dwmapi.dll" "$app/"

# The plant marks its loading: shown by loading it by its path, then the mark is removed.
# A 32-bit plant needs the 32-bit rundll32, which a wow64 prefix keeps in syswow64.
for loader in rundll32.exe 'C:\windows\syswow64\rundll32.exe'; do
  (cd "$app" && wine "$loader" "$(winepath -w "$app/dwmapi.dll")",None) >/dev/null 2>&1 || true
  [ -f "$app/PLANTED.TXT" ] && break
done
[ -f "$app/PLANTED.TXT" ] || fail "the planted DLL leaves no mark when it is loaded"
rm "$app/PLANTED.TXT"

export WINEDLLOVERRIDES="dwmapi=n,b"
start_clock
ctl command 153   # Night Colours: the dark title bar is asked of dwmapi.dll
sleep 1
expect_eq "Night Colours on" "$(ctl setting Night)" "1"
ctl close 20 || fail "the clock did not close"
[ ! -f "$app/PLANTED.TXT" ] || fail "the clock loaded the dwmapi.dll beside it"
echo "end to end: the planted dwmapi.dll was not loaded"
