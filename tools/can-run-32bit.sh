#!/usr/bin/env bash
# Exits 0 when this machine executes 32-bit x86 programs, 1 when it cannot. Some machines'
# kernels have no IA-32 emulation; installing 32-bit Wine there is useless and, worse, makes
# Debian's `wine` command fail for every program. The check runs a 93-byte static i386
# program that needs no library, so it costs nothing to install first.
# ORVANE_32BIT=yes|no overrides the check (the rail's own tests use it for both paths).
set -u
case "${ORVANE_32BIT:-}" in
  yes) exit 0 ;;
  no) exit 1 ;;
  '') ;;
  *) echo "can-run-32bit: ORVANE_32BIT must be yes or no, not '$ORVANE_32BIT'" >&2; exit 2 ;;
esac
dir=$(mktemp -d "${TMPDIR:-/tmp}/orvane-probe.XXXXXX") || exit 1
trap 'rm -rf "$dir"' EXIT
# ELF header, one loadable segment, then: xor ebx,ebx; mov bl,42; xor eax,eax; inc eax;
# int 0x80 -- exit(42), a status nothing else would give by chance.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb3\x2a\x31\xc0\x40\xcd\x80' >"$dir/probe"
chmod +x "$dir/probe"
"$dir/probe" 2>/dev/null
[ $? -eq 42 ]
