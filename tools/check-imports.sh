#!/usr/bin/env bash
# Fails unless the given executable imports only DLLs that every Windows system has.
# Usage: tools/check-imports.sh OBJDUMP EXE
set -euo pipefail
objdump=$1 exe=$2
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+|ntdll|ole32|winmm|ws2_32)\.dll$'
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no imports found in $exe" >&2; exit 1; }
echo "$exe imports:" $dlls
bad=$(echo "$dlls" | grep -v -E "$allowed" || true)
if [ -n "$bad" ]; then echo "not a system DLL: $bad" >&2; exit 1; fi
# Functions that not every supported Windows has are looked up at run time, never imported:
# an import of one would stop the exe from starting there.
late=$("$objdump" -p "$exe" |
  grep -E -o 'ShutdownBlockReason[A-Za-z]+|SetDefaultDllDirectories|DwmSetWindowAttribute|GetDpiForWindow|SystemParametersInfoForDpi' |
  sort -u || true)
if [ -n "$late" ]; then echo "imported, but not on every system: $late" >&2; exit 1; fi
