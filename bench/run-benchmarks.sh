#!/bin/bash
# Every benchmark of the project, against a build directory (make bench).
set -euo pipefail
build=$(readlink -f "${1:-build-release}")
here=$(dirname "$(readlink -f "$0")")

if [ -x "$build/bench/bench_press" ]; then
    auth=$(mktemp)
    xvfb-run -a -f "$auth" -s "-screen 0 1024x768x24 -noreset" \
        "$build/bench/bench_press" --benchmark_counters_tabular=true 2>/dev/null
    rm -f "$auth"
else
    echo "bench_press was not built: Google Benchmark (libbenchmark-dev) is missing"
fi

"$build/bench/bench_tourloss"
"$here/startup.sh" "$build" "${ROUNDS:-10}"
TARVEL_BENCH_WM=openbox "$here/startup.sh" "$build" "${ROUNDS:-10}"
