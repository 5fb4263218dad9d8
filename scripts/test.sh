#!/usr/bin/env bash
# Installs what the project needs, builds everything and runs the whole test suite.
#   scripts/test.sh            release-style build in build/
#   BUILD_DIR=x scripts/test.sh  somewhere else
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}

bash scripts/install-deps.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir" -j"$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
