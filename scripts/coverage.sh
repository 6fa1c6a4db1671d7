#!/usr/bin/env bash
# Line coverage of the program's own code (src/ and apps/) by the whole test suite: an
# instrumented build in its own folder, the suite run offscreen, a gcovr summary. It fails only
# when the build or a test fails, never on a figure.
#   scripts/coverage.sh            build, run, report
#   scripts/coverage.sh --report   report on the last run only
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VEX_COVERAGE_BUILD:-build-coverage}
jobs=$(nproc)

if [ "${1:-}" != "--report" ]; then
    # Unoptimised, so that every line maps to code the counters see.
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEX_BENCH=OFF \
        -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage >/dev/null
    cmake --build "$build" -j "$jobs"
    # Counters of an earlier run would add to this one.
    find "$build" -name '*.gcda' -delete
    (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs" --timeout 600)
fi

# The report is information: a tool that cannot make it is said, not a failed run.
if gcovr -r . --object-directory "$build" --filter 'src/' --filter 'apps/' -j "$jobs" \
    --txt "$build/coverage.txt" --print-summary; then
    echo "Per-file figures: $build/coverage.txt"
else
    echo "coverage: gcovr could not make the report (the build and the tests passed)" >&2
fi
