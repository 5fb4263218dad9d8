#!/usr/bin/env bash
# Installs the Debian packages Tidewalker builds, tests and renders with.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config        # compiler and build
  libgtest-dev libgmock-dev               # unit tests
  libbenchmark-dev                        # benchmarks (bench/)
  fst-dev                                 # independent VST 2.4 ABI declarations, checked against ours
  nlohmann-json3-dev                      # preference files
  libsndfile1-dev                         # tidewalker-render reads and writes audio files
  libcairo2-dev libpng-dev zlib1g-dev     # editor drawing and the generated pictures
  libx11-dev                              # editor window inside the host's window
  libxtst-dev                             # synthetic mouse input for the real-window tests
  fonts-dejavu-core fontconfig            # editor text
  xvfb xauth                              # editor window tests without a display
  clang libclang-rt-14-dev                # fuzz targets (libFuzzer)
  lv2-dev liblilv-dev lilv-utils          # the LV2 plug-in, and lilv to check its bundle
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
