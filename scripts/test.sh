#!/usr/bin/env bash
# Installs what the project needs, builds everything and runs the whole test suite.
#   scripts/test.sh            release-style build in build/
#   BUILD_DIR=x scripts/test.sh  somewhere else
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}

bash scripts/install-deps.sh
# Every option the suite depends on is set here, whatever the cache held: with
# tests left off (by hand or by an older run command) there would be nothing
# to run, and CTest fails rather than passes when it finds no tests.
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIDEWALKER_TESTS=ON \
  -DTIDEWALKER_SANITIZE=OFF -DTIDEWALKER_TSAN=OFF "$@"
cmake --build "$build_dir" -j"$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure --no-tests=error -j"$(nproc)"
