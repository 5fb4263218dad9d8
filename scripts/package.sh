#!/usr/bin/env bash
# Builds the Debian package tidewalker_VERSION_amd64.deb (VST in /usr/lib/lxvst,
# LV2 bundle in /usr/lib/lv2, tidewalker-render in /usr/bin, the manual in
# /usr/share/doc/tidewalker) from a release build in build-deb/.
#   scripts/package.sh && sudo apt install ./build-deb/tidewalker_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-deb}

bash scripts/install-deps.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTIDEWALKER_TESTS=OFF -DTIDEWALKER_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
(cd "$build_dir" && cpack -G DEB)
ls "$build_dir"/tidewalker_*.deb
