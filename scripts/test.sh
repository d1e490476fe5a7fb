#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the platform-free core natively with AddressSanitizer and UndefinedBehaviorSanitizer, the
# fuzzers briefly, the 64-bit and the 32-bit Windows builds, and their tests under Wine
# (Xvfb, wineserver, CUPS PDF printer): the 64-bit ones always, the 32-bit ones wherever
# this machine can execute 32-bit code (elsewhere the 32-bit program alone is built).
# The benchmarks are not built here: scripts/bench.sh.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/deps.sh"

status=0
built=()
tested=()
untested=()
passed=0
failed=0
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for prefix in "$WINEPREFIX" "$NOPRINTER_PREFIX" "$SECOND_PREFIX"; do
    WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null || true
  done
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  [ -n "${XVFB2_PID:-}" ] && kill "$XVFB2_PID" 2>/dev/null || true
}
trap cleanup EXIT
LOGS="$ROOT/build/logs"
mkdir -p "$LOGS"

# $1: build folder, $2: what it is, then ctest's options; counts its results into passed/failed.
run_ctest() {
  local dir=$1 what=$2 log="$1/ctest.log" rc=0
  shift 2
  (cd "$dir" && ctest --output-on-failure "$@") 2>&1 | tee "$log" || rc=$?
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
  if [ "$rc" -eq 0 ]; then tested+=("$what"); else status=1; tested+=("$what (with failures)"); fi
}

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

# The services come up while the builds run: Wine's prefixes take half a minute each.
echo "== services (in the background): Xvfb, CUPS with the PDF queues, Wine"
export DISPLAY=:91
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
Xvfb "$SECOND_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB2_PID=$!
services() {
  bash "$ROOT/scripts/printer.sh"
  local prefix display
  # One prefix is made; the others are copies of it, made in seconds instead of half a minute.
  wine_prefix "$WINEPREFIX"
  for prefix in "$NOPRINTER_PREFIX" "$SECOND_PREFIX"; do
    [ -f "$prefix/system.reg" ] || { rm -rf "$prefix"; cp -a "$WINEPREFIX" "$prefix"; }
  done
  for prefix in "$WINEPREFIX" "$NOPRINTER_PREFIX" "$SECOND_PREFIX"; do
    (
      export WINEPREFIX=$prefix
      display=$DISPLAY
      [ "$prefix" = "$SECOND_PREFIX" ] && display=$SECOND_DISPLAY
      export DISPLAY=$display
      # The prefix of the printer-less tests hides CUPS from Wine (which then drops the
      # printers it had listed there).
      [ "$prefix" = "$NOPRINTER_PREFIX" ] && export CUPS_SERVER=/nonexistent/cups.sock
      ("$WINESERVER" -p >/dev/null 2>&1 &)
      sleep 1
      wine_window_manager own
      # A crash ends the test at once with its backtrace, instead of a dialog nobody closes.
      "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null || true
      # Wine's own services now, their output going nowhere: started from a test they would
      # inherit ctest's pipes and ctest would wait on them.
      "$WINE64" wineboot >/dev/null 2>&1 </dev/null || true
    )
  done
}
services >"$LOGS/services.log" 2>&1 </dev/null &
services_pid=$!
pids+=("$services_pid")

echo "== native build with sanitizers"
cmake -S "$ROOT" -B "$BUILD_NATIVE" -DCMAKE_BUILD_TYPE=Debug -DBLK_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" >/dev/null
cmake --build "$BUILD_NATIVE" -j "$JOBS"
run_ctest "$BUILD_NATIVE" "native core (sanitizers)"

if [ -f "$ROOT/fuzz/run.sh" ]; then
  echo "== fuzzers: build"
  bash "$ROOT/fuzz/run.sh" build || status=1
fi

second=(-DBLK_SECOND_DISPLAY="$SECOND_DISPLAY" -DBLK_SECOND_PREFIX="$SECOND_PREFIX")
echo "== Windows build x86_64"
if build_win x86_64 tests "${second[@]}"; then
  built+=("x86_64: $BUILD_X64/Blk.exe")
else
  status=1
fi

# While the 64-bit tests run, mostly waiting on Wine and X, the fuzzers run beside them.
rm -f "$LOGS/fuzzers.failed"
fuzzers() { bash "$ROOT/fuzz/run.sh" run || touch "$LOGS/fuzzers.failed"; }
fuzzers >"$LOGS/fuzzers.log" 2>&1 </dev/null &
fuzzers_pid=$!
pids+=("$fuzzers_pid")

wait "$services_pid" || true
export BLK_PDF_DIR="$HOME/PDF"
if [ -f "$BUILD_X64/Blk.exe" ]; then
  echo "== Windows tests under Wine: x86_64"
  run_ctest "$BUILD_X64" "x86_64 under wine64" -j 2
else
  untested+=("x86_64: not built")
fi

echo "== fuzzers (run meanwhile)"
wait "$fuzzers_pid" || true
cat "$LOGS/fuzzers.log"
[ ! -f "$LOGS/fuzzers.failed" ] || status=1
echo "== Windows build i686"
if [ $test32 = 1 ]; then what32=tests; else what32=program; fi
if build_win i686 $what32 "${second[@]}"; then
  built+=("i686: $BUILD_X86/Blk.exe")
  if [ $test32 = 1 ]; then
    echo "== Windows tests under Wine: i686"
    WINELOADER="$WINE32" run_ctest "$BUILD_X86" "i686 under wine" -j 2
  else
    untested+=("i686: $why32 (only the program was built)")
  fi
else
  status=1
  untested+=("i686: not built")
fi

echo "== summary"
printf 'Built: %s\n' "${built[@]:-none}"
printf 'Tested: %s\n' "${tested[@]:-none}"
[ ${#untested[@]} -eq 0 ] || printf 'Not tested: %s\n' "${untested[@]}"
echo "Tests: $passed passed, $failed failed"
echo "Total time: $((SECONDS / 60)) min $((SECONDS % 60)) s"
exit $status
