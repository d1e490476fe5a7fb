#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the Windows build under Wine (Xvfb, wineserver, CUPS PDF printer), the platform-free
# core natively with AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzzers briefly.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/deps.sh"

status=0
cleanup() {
  wineserver -k 2>/dev/null || true
  WINEPREFIX="$BUILD_WIN/wineprefix-noprinter" wineserver -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

echo "== native build with sanitizers"
cmake -S "$ROOT" -B "$BUILD_NATIVE" -DCMAKE_BUILD_TYPE=Debug -DBLK_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" >/dev/null
cmake --build "$BUILD_NATIVE" -j "$JOBS"
(cd "$BUILD_NATIVE" && ctest --output-on-failure) || status=1

if [ -f "$ROOT/fuzz/run.sh" ]; then
  echo "== fuzzers"
  bash "$ROOT/fuzz/run.sh" || status=1
fi

echo "== Windows build"
build_win

echo "== services: Xvfb, CUPS with the PDF queue, Wine"
export DISPLAY=:91
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
bash "$ROOT/scripts/printer.sh"
wine_prefix
(wineserver -p >/dev/null 2>&1 &)
sleep 1
wine_window_manager own
# Start Wine's own services now, with their output going nowhere: started from a test they
# would inherit ctest's pipes and ctest would wait on them.
wineboot >/dev/null 2>&1 </dev/null || true
# The same for the prefix of the printer-less tests, where CUPS is hidden from Wine.
noprinter() {
  WINEPREFIX="$BUILD_WIN/wineprefix-noprinter" CUPS_SERVER=/nonexistent/cups.sock "$@"
}
if [ ! -f "$BUILD_WIN/wineprefix-noprinter/system.reg" ]; then
  mkdir -p "$BUILD_WIN/wineprefix-noprinter"
  noprinter wineboot -i >/dev/null 2>&1 </dev/null || true
  noprinter wineserver -w
fi
(noprinter wineserver -p >/dev/null 2>&1 &)
sleep 1
noprinter wine_window_manager own
noprinter wineboot >/dev/null 2>&1 </dev/null || true
export BLK_PDF_DIR="$HOME/PDF"

echo "== Windows tests under Wine"
(cd "$BUILD_WIN" && ctest --output-on-failure) || status=1
exit $status
