#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks and runs them; each prints its figures
# (bench/README.md says what they measure). The Win32 ones run under Wine on a display of
# their own with the CUPS PDF printers, the compressor's natively, optimised.
#   bash scripts/bench.sh [name...]    e.g. bash scripts/bench.sh program_bench startup_bench
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/deps.sh"

names=("$@")
[ ${#names[@]} -gt 0 ] || names=(compress_bench store_bench report_bench preview_bench group_bench startup_bench program_bench)
BUILD_NATIVE_BENCH=$ROOT/build/native-bench
PAGES=$ROOT/tests/data/emf

build_win x86_64 bench
if [[ " ${names[*]} " == *" compress_bench "* ]]; then
  cmake -S "$ROOT" -B "$BUILD_NATIVE_BENCH" -DCMAKE_BUILD_TYPE=Release -DBLK_TESTS=OFF -DBLK_BENCH=ON >/dev/null
  cmake --build "$BUILD_NATIVE_BENCH" -j "$JOBS" --target compress_bench
fi

export DISPLAY=${BENCH_DISPLAY:-:93}
started_x=0
if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  started_x=1
  sleep 1
fi
# Wine leaves the display first, then the display goes, where this command started it.
cleanup() {
  [ $started_x = 0 ] && return
  "$WINESERVER" -k 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
bash "$ROOT/scripts/printer.sh" >/dev/null
wine_prefix "$WINEPREFIX"
("$WINESERVER" -p >/dev/null 2>&1 &)
wine_window_manager own
"$WINE64" wineboot >/dev/null 2>&1 </dev/null || true

cd "$ROOT"
for name in "${names[@]}"; do
  echo "== $name"
  case $name in
    compress_bench) "$BUILD_NATIVE_BENCH/bench/compress_bench" "$PAGES" ;;
    store_bench) "$WINE64" "$BUILD_X64/bench/store_bench.exe" "$PAGES" </dev/null ;;
    *) "$WINE64" "$BUILD_X64/bench/$name.exe" </dev/null ;;
  esac
done
