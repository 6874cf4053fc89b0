#!/usr/bin/env bash
# `make bench`: measures every figure of docs/performance.md in one run and writes the page.
#   - the core tick in ns: Google Benchmark natively, and one self-timing program natively
#     and under Wine (64- and 32-bit)
#   - ZORKEL.EXE's size (stripped) and the DLLs it imports, x86_64 and i686
#   - CPU time over 60 s of running under Wine on Xvfb, beside xclock on the same display
#   - time from start to the first painted clock text, under Wine
#   - how late the shown second changes after the computer's, read back from the screen,
#     for the tick that follows the computer's seconds and for the old free-running timer,
#     after the sidereal second for LST and GST, mean and apparent, and with the shown time
#     corrected by a time server on 127.0.0.1, behind the server's
#   - the shown GST against ERFA's IAU 2006 GMST, 1950 to 2050
#   - apparent GST against ERFA's IAU 2006/2000A apparent sidereal time, 1900 to 2100, and
#     what a reading with apparent time costs
#   - the help engine on large help files, natively and the real window under Wine
# Usage: tools/bench.sh [OUTPUT]   (default docs/performance.md)
#        tools/bench.sh --lags [OUTPUT]   only the lags of the shown second (about five
#        minutes), written over that section of OUTPUT
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
only=
if [ "${1:-}" = --lags ]; then only=lags; shift; fi
out=$(realpath -m "${1:-docs/performance.md}")
work="$top/build/bench-run"

if [ "${ORVANE_BENCH_INSIDE:-}" != 1 ]; then
  if [ "$only" != lags ]; then
    cmake --preset bench >/dev/null && cmake --build --preset bench -j"$(nproc)" >/dev/null
  fi
  for arch in win64 win32; do
    [ "$only" = lags ] && [ "$arch" = win32 ] && continue
    cmake --preset "$arch" >/dev/null && cmake --build --preset "$arch" -j"$(nproc)" >/dev/null
  done
  export ORVANE_BENCH_INSIDE=1
  exec tools/wine-session.sh build/wine-prefix "$0" ${only:+--lags} "$out"
fi

rm -rf "$work" && mkdir -p "$work"
source tools/wine-env.sh
have32=$(orvane_can_run_i686 && echo 1 || echo 0)
say() { echo "bench: $*" >&2; }

# The clock at UTC with London, the first city, which agrees with the computer: no question
# holds up a start.
london=-0.12528  # London's longitude, 0 deg 7 min 31 s West, for LST
# tick_lag EXE OUTPUT KEY APPARENT [SCALE [LONGITUDE]]: the scale of KEY, 40 s. With
# CORRECT=SECONDS, the clock corrected by a responder on 127.0.0.1 that far ahead, and its
# seconds watched against the responder's (SCALE is then that offset).
tick_lag() {
  cp "$1" "$app/ZORKEL.EXE"
  wine reg delete 'HKCU\Software\Corvanta\Orvane 2' /f >/dev/null 2>&1 || true
  if [ "$4" = 1 ]; then
    wine reg add 'HKCU\Software\Corvanta\Orvane 2\Apparent' /ve /d 1 /f >/dev/null
  fi
  local responder=
  if [ -n "${CORRECT:-}" ]; then
    python3 tools/sntp_responder.py --offset "$CORRECT" --seconds 120 >"$work/responder.txt" 2>/dev/null &
    responder=$!
    for _ in $(seq 100); do grep -q '^port ' "$work/responder.txt" && break; sleep 0.1; done
    wine reg add 'HKCU\Software\Corvanta\Orvane 2\ServerCorrection' /ve /d 1 /f >/dev/null
    wine reg add 'HKCU\Software\Corvanta\Orvane 2\TimeServer' /ve \
      /d "127.0.0.1:$(sed -n 's/^port //p' "$work/responder.txt")" /f >/dev/null
  fi
  (cd "$app" && TZ=UTC exec wine ./ZORKEL.EXE) &
  wine build/win64/orvctl.exe wait 30 >/dev/null
  wine build/win64/orvctl.exe key "$3" >/dev/null
  wine build/win64/orvctl.exe move 100 100 480 240 >/dev/null
  sleep 1
  [ -z "$responder" ] || sleep 1  # the start-up measurement: one round trip on 127.0.0.1
  wine build/win64/orvctl.exe tick-lag 40 "${@:5}" | tr -d '\r' >"$2"
  wine build/win64/orvctl.exe close 20
  [ -z "$responder" ] || kill "$responder" 2>/dev/null || true
}
measure_lags() {
  say "lag of the shown second behind the computer's, and behind the sidereal second (40 s each)"
  tick_lag build/win64/dist/ZORKEL.EXE "$work/lag-aligned.txt" F6 0
  tick_lag build/win64/bench/zorkel_free_running.exe "$work/lag-free.txt" F6 0
  tick_lag build/win64/dist/ZORKEL.EXE "$work/lag-lst.txt" F8 0 lst "$london"
  tick_lag build/win64/dist/ZORKEL.EXE "$work/lag-gst.txt" F9 0 gst
  tick_lag build/win64/dist/ZORKEL.EXE "$work/lag-last.txt" F8 1 last "$london"
  tick_lag build/win64/dist/ZORKEL.EXE "$work/lag-gast.txt" F9 1 gast
  CORRECT=3.5 tick_lag build/win64/dist/ZORKEL.EXE "$work/lag-corrected.txt" F6 0 3.5
}
if [ "$only" = lags ]; then
  app=$(mktemp -d "$work/app-XXXXXX")
  cp resources/ZORKEL.DAT resources/ZORKEL.HLP "$app/"
  measure_lags
  rm -rf "$app"
  say "writing the lags into $out"
  /usr/bin/python3 tools/bench_report.py "$work" "$have32" --lags "$out"
  exit 0
fi

say "core tick, Google Benchmark (native)"
build/bench/bench/core_bench --benchmark_filter='BM_CoreTick/kind:[0-4]/libclock:0' \
  --benchmark_min_time=0.5 --benchmark_format=json >"$work/gbench.json" 2>/dev/null
say "core tick, the same program natively and under Wine"
build/bench/bench/tick_bench >"$work/tick-native.txt"
build/bench/bench/tick_bench --system-clock >"$work/tick-native-clock.txt"
wine build/win64/bench/tick_bench.exe | tr -d '\r' >"$work/tick-wine64.txt"
wine build/win64/bench/tick_bench.exe --system-clock | tr -d '\r' >"$work/tick-wine64-clock.txt"
if [ "$have32" = 1 ]; then
  wine build/win32/bench/tick_bench.exe | tr -d '\r' >"$work/tick-wine32.txt"
fi

say "sizes and imports"
for arch in win64 win32; do
  exe="build/$arch/dist/ZORKEL.EXE"
  stat -c %s "$exe" >"$work/size-$arch.txt"
  objdump=$([ "$arch" = win64 ] && echo x86_64-w64-mingw32-objdump || echo i686-w64-mingw32-objdump)
  "$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u |
    paste -sd' ' >"$work/imports-$arch.txt"
done

app=$(mktemp -d "$work/app-XXXXXX")
cp build/win64/dist/ZORKEL.EXE resources/ZORKEL.DAT resources/ZORKEL.HLP "$app/"
wine reg delete 'HKCU\Software\Corvanta\Orvane 2' /f >/dev/null 2>&1 || true

# At UTC London, the first city, agrees with the computer, so no question holds up a start.
export TZ=UTC
say "time to the first painted text (5 starts each)"
for arch in win64 win32; do
  [ "$arch" = win32 ] && [ "$have32" != 1 ] && continue
  cp "build/$arch/dist/ZORKEL.EXE" "$app/ZORKEL.EXE"
  for i in 1 2 3 4 5; do
    wine build/win64/orvctl.exe time-to-paint "$(winepath -w "$app/ZORKEL.EXE")" | tr -d '\r'
  done >"$work/paint-$arch.txt"
done
cp build/win64/dist/ZORKEL.EXE "$app/ZORKEL.EXE"

say "CPU over 60 s, beside xclock"
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
(cd "$app" && exec wine ./ZORKEL.EXE) &
wine_step bench wine build/win64/orvctl.exe wait 30
xclock -digital -update 1 &
xclock=$!
sleep 2
clock=$(pgrep -n -f 'ZORKEL.EXE')
server=$(pgrep -n -x wineserver64 || pgrep -n wineserver)
c0=$(ticks "$clock"); x0=$(ticks "$xclock"); s0=$(ticks "$server")
sleep 60
c1=$(ticks "$clock"); x1=$(ticks "$xclock"); s1=$(ticks "$server")
kill "$xclock"
wine build/win64/orvctl.exe close 20
hz=$(getconf CLK_TCK)
echo "$(( c1 - c0 )) $(( x1 - x0 )) $(( s1 - s0 )) $hz" >"$work/cpu.txt"

measure_lags
rm -rf "$app"

say "GST against IAU 2006 GMST, 1950-2050"
build/bench/bench/gst_accuracy | /usr/bin/python3 tools/gst_accuracy.py >"$work/gst.txt" 2>/dev/null
say "apparent GST against ERFA's gst06a, 1900-2100, and the reading's cost"
build/bench/bench/gst_accuracy --apparent |
  /usr/bin/python3 tools/gst_accuracy.py --apparent >"$work/gast.txt" 2>/dev/null
build/bench/bench/core_bench --benchmark_filter='BM_ApparentReading' \
  --benchmark_min_time=0.5 --benchmark_format=json >"$work/gbench-apparent.json" 2>/dev/null

say "help engine on large help files"
build/bench/bench/help_bench >"$work/help-native.txt"
wine build/win64/bench/help_bench.exe | tr -d '\r' >"$work/help-wine64.txt"

say "writing $out"
/usr/bin/python3 tools/bench_report.py "$work" "$have32" >"$out"
cat "$out"
