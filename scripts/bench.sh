#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: engine nanoseconds per frame,
# real-time factor at 44.1 kHz and, at the end, each engine case as a multiple
# of the plain reference workload timed in the same run; instance creation
# time, resident memory per instance.
#   scripts/bench.sh                          everything, into build-bench/
#   scripts/bench.sh --benchmark_filter=Heavy any Google Benchmark option
#   BUILD_DIR=x scripts/bench.sh              somewhere else
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-bench}

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DTIDEWALKER_BENCH=ON -DTIDEWALKER_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target tidewalker_bench
"$build_dir/tidewalker_bench" --benchmark_min_time=2 "$@"
