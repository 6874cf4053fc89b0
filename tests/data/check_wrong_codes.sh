#!/usr/bin/env bash
# The city check must catch a wrong daylight-saving code: a copy of the shipped file with four
# codes changed (London 2 -> 1, Paris 2 -> 0, Apia 0 -> 2, Denver 1 -> 2) must fail, naming
# exactly those four lines.
# Usage: check_wrong_codes.sh PYTHON CHECK-SCRIPT ZORKEL.DAT
set -euo pipefail
python=$1 check=$2 file=$3
[ -f /usr/share/zoneinfo/zone.tab ] || exit 77
copy=$(mktemp --suffix=.DAT)
trap 'rm -f "$copy"' EXIT
sed -e 's/^\(London  *|.*\)|2\r$/\1|1\r/' -e 's/^\(Paris  *|.*\)|2\r$/\1|0\r/' \
    -e 's/^\(Apia  *|.*\)|0\r$/\1|2\r/' -e 's/^\(Denver  *|.*\)|1\r$/\1|2\r/' "$file" >"$copy"
[ "$(cmp -l "$file" "$copy" | wc -l)" = 4 ] || { echo "FAIL: the copy did not get 4 changes"; exit 1; }
set +e
out=$("$python" "$check" "$copy")
rc=$?
set -e
echo "$out"
[ "$rc" = 1 ] || { echo "FAIL: the check exited $rc on wrong codes"; exit 1; }
for city in London Paris Apia Denver; do
  grep -q "($city): DST" <<<"$out" || { echo "FAIL: the wrong code of $city went unnoticed"; exit 1; }
done
[ "$(grep -c ': DST' <<<"$out")" = 4 ] || { echo "FAIL: other lines were blamed"; exit 1; }
echo "ok: all four wrong codes caught"
