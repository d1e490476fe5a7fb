#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the platform-free core natively with AddressSanitizer and UndefinedBehaviorSanitizer, the
# fuzzers briefly, the 64-bit and the 32-bit Windows builds, and their tests under Wine
# (Xvfb, wineserver, CUPS PDF printer): the 64-bit ones always, the 32-bit ones wherever
# this machine can execute 32-bit code.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/deps.sh"

status=0
built=()
tested=()
untested=()
passed=0
failed=0
cleanup() {
  WINEPREFIX="$WINEPREFIX" "$WINESERVER" -k 2>/dev/null || true
  WINEPREFIX="$NOPRINTER_PREFIX" "$WINESERVER" -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

# $1: build folder, $2: what it is; counts ctest's results into passed/failed.
run_ctest() {
  local log="$1/ctest.log" rc=0
  (cd "$1" && ctest --output-on-failure) 2>&1 | tee "$log" || rc=$?
  local line total bad
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  else
    failed=$((failed + 1))
  fi
  if [ "$rc" -eq 0 ]; then tested+=("$2"); else status=1; tested+=("$2 (with failures)"); fi
}

echo "== native build with sanitizers"
cmake -S "$ROOT" -B "$BUILD_NATIVE" -DCMAKE_BUILD_TYPE=Debug -DBLK_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" >/dev/null
cmake --build "$BUILD_NATIVE" -j "$JOBS"
run_ctest "$BUILD_NATIVE" "native core (sanitizers)"

if [ -f "$ROOT/fuzz/run.sh" ]; then
  echo "== fuzzers"
  bash "$ROOT/fuzz/run.sh" || status=1
fi

for arch in x86_64 i686; do
  echo "== Windows build $arch"
  if build_win "$arch"; then
    built+=("$arch: $(build_dir "$arch")/Blk.exe")
  else
    status=1
  fi
done

# 32-bit tests only where the kernel executes 32-bit code and the 32-bit loader starts.
test32=0
why32=""
if ! runs_32bit_code; then
  why32="this machine cannot execute 32-bit code"
elif ! "$WINE32" --version >/dev/null 2>&1; then
  why32="the 32-bit Wine loader ($WINE32) does not start"
else
  test32=1
fi

echo "== services: Xvfb, CUPS with the PDF queue, Wine"
export DISPLAY=:91
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
bash "$ROOT/scripts/printer.sh"
# The prefix of the printer-less tests hides CUPS from Wine.
noprinter() { WINEPREFIX="$NOPRINTER_PREFIX" CUPS_SERVER=/nonexistent/cups.sock "$@"; }
for which in plain noprinter; do
  run=""
  [ $which = noprinter ] && run=noprinter
  $run wine_prefix "$([ $which = noprinter ] && echo "$NOPRINTER_PREFIX" || echo "$WINEPREFIX")"
  ($run "$WINESERVER" -p >/dev/null 2>&1 &)
  sleep 1
  $run wine_window_manager own
  # A crash ends the test at once with its backtrace, instead of a dialog nobody closes.
  $run "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null || true
  # Start Wine's own services now, with their output going nowhere: started from a test they
  # would inherit ctest's pipes and ctest would wait on them.
  $run "$WINE64" wineboot >/dev/null 2>&1 </dev/null || true
done
export BLK_PDF_DIR="$HOME/PDF"

for arch in x86_64 i686; do
  dir=$(build_dir "$arch")
  if [ ! -f "$dir/Blk.exe" ]; then
    untested+=("$arch: not built")
    continue
  fi
  if [ "$arch" = i686 ] && [ $test32 = 0 ]; then
    untested+=("i686: $why32")
    continue
  fi
  echo "== Windows tests under Wine: $arch"
  if [ "$arch" = i686 ]; then
    WINELOADER="$WINE32" run_ctest "$dir" "i686 under wine"
  else
    run_ctest "$dir" "x86_64 under wine64"
  fi
done

echo "== summary"
printf 'Built: %s\n' "${built[@]:-none}"
printf 'Tested: %s\n' "${tested[@]:-none}"
[ ${#untested[@]} -eq 0 ] || printf 'Not tested: %s\n' "${untested[@]}"
echo "Tests: $passed passed, $failed failed"
echo "Total time: $((SECONDS / 60)) min $((SECONDS % 60)) s"
exit $status
