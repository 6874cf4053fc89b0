#!/usr/bin/env bash
# Makes (once) the Wine prefix the tests and `make run` use; it lives in the build tree.
# Usage: tools/wine-prefix.sh PREFIX-DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
prefix=$(realpath -m "$1")
export WINEPREFIX="$prefix"
# wow64 when 32-bit Wine is installed and this machine really executes 32-bit programs; a
# 64-bit prefix otherwise. A prefix made before 32-bit Wine was installed cannot run 32-bit
# programs, and one made with it stops working for 64-bit programs once it is gone: it is
# made again to match.
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed' &&
   "$here/can-run-32bit.sh"; then
  kind=wow64
else
  kind=win64
fi
if [ -f "$prefix/.orvane-ready" ] && [ "$(cat "$prefix/.orvane-ready")" = "$kind" ]; then exit 0; fi
echo "wine-prefix: creating $prefix ($kind)"
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
mkdir -p "$prefix"
fail() { echo "wine-prefix: the prefix $prefix was not made" >&2; wineserver -k 2>/dev/null; exit 1; }
wine_step wine-prefix wineboot -i || fail
wine_step wine-prefix wineserver -w || fail
# Without a window manager every show/hide waits for one; let Wine manage its own windows.
wine_step wine-prefix wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || fail
# Wine's own fonts make captions, menus and dialogs draw as they should.
if [ -d /usr/share/wine/fonts ]; then
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" || fail
fi
wine_step wine-prefix wineserver -w || fail
echo "$kind" >"$prefix/.orvane-ready"
