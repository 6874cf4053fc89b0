#!/usr/bin/env bash
# Makes (once) the Wine prefix the tests and `make run` use; it lives in the build tree.
# Usage: tools/wine-prefix.sh PREFIX-DIR
set -euo pipefail
prefix=$(realpath -m "$1")
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
# A prefix made before 32-bit Wine was installed cannot run 32-bit programs, and one made
# with it stops working for 64-bit programs once it is gone: it is made again to match.
kind=$(dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed' && echo wow64 || echo win64)
if [ -f "$prefix/.orvane-ready" ] && [ "$(cat "$prefix/.orvane-ready")" = "$kind" ]; then exit 0; fi
echo "wine-prefix: creating $prefix ($kind)"
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1 || true
wineserver -w
# Without a window manager every show/hide waits for one; let Wine manage its own windows.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# Wine's own fonts make captions, menus and dialogs draw as they should.
if [ -d /usr/share/wine/fonts ]; then
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
fi
wineserver -w
echo "$kind" >"$prefix/.orvane-ready"
