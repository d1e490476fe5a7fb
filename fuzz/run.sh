#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a while on the seed corpus.
# Fails on any crash, leak, timeout or out-of-memory report.
#   run.sh [build|run]: only one of the two steps (both by default).
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
SECONDS_EACH=${FUZZ_SECONDS:-30}
step=${1:-all}

if [ "$step" != run ]; then
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD_FUZZ" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBLK_FUZZ=ON -DBLK_TESTS=OFF -DBLK_BENCH=OFF >/dev/null
  cmake --build "$BUILD_FUZZ" -j "$JOBS" --target fuzz_make_seeds fuzz_page_file fuzz_expand fuzz_state
  # The seeds are committed; regenerating them is deterministic and keeps them in step
  # with the file format.
  "$BUILD_FUZZ/fuzz/fuzz_make_seeds" "$ROOT/fuzz/corpus"
fi
[ "$step" != build ] || exit 0

status=0
for target in fuzz_page_file fuzz_expand fuzz_state; do
  work="$BUILD_FUZZ/corpus/$target"
  mkdir -p "$work"
  echo "== $target for ${SECONDS_EACH}s"
  if ! "$BUILD_FUZZ/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=10 \
        -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len=16384 -print_final_stats=1 \
        -artifact_prefix="$BUILD_FUZZ/$target-" \
        "$work" "$ROOT/fuzz/corpus/$target" >"$BUILD_FUZZ/$target.log" 2>&1; then
    echo "$target FAILED; log: $BUILD_FUZZ/$target.log"
    tail -n 40 "$BUILD_FUZZ/$target.log"
    status=1
  else
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)|cov:' "$BUILD_FUZZ/$target.log" | tail -n 3
  fi
done
exit $status
