#!/usr/bin/env bash
# Installs what the project needs, builds Tidewalker, installs the plug-in into
# ~/.vst/ (VST 2.4) and ~/.lv2/ (LV2), shows what a host sees, and renders
# audio through it.
#   scripts/run.sh                  renders the built-in demo
#   scripts/run.sh in.wav [opts]    renders a file (options of tidewalker-render)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}

bash scripts/install-deps.sh
# Shares build/ with the test command: the same build type and no sanitizers
# (a host cannot load a sanitized plug-in), the test options left as they are,
# and only the targets it installs.
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIDEWALKER_SANITIZE=OFF -DTIDEWALKER_TSAN=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target Tidewalker tidewalker-render tidewalker_lv2_bundle tidewalker-manual

mkdir -p "$HOME/.vst"
install -m 0755 "$build_dir/Tidewalker.so" "$HOME/.vst/Tidewalker.so"
echo "Installed the plug-in: $HOME/.vst/Tidewalker.so"
lv2_bundle="$HOME/.lv2/Tidewalker.lv2"
rm -rf "$lv2_bundle" && mkdir -p "$lv2_bundle"
install -m 0644 "$build_dir"/bundles/Tidewalker.lv2/* "$lv2_bundle/"
echo "Installed the LV2 bundle: $lv2_bundle"
# The Help button looks here first.
manual_dir="${XDG_DATA_HOME:-$HOME/.local/share}/doc/tidewalker"
mkdir -p "$manual_dir"
install -m 0644 "$build_dir"/docs/Tidewalker_Manual.html "$build_dir"/docs/*.png "$manual_dir/"
echo "Installed the manual:  $manual_dir/Tidewalker_Manual.html"
echo

render="$build_dir/tidewalker-render"
"$render" --plugin "$HOME/.vst/Tidewalker.so" --info
echo
"$render" --plugin "$HOME/.vst/Tidewalker.so" --list-params
echo
"$render" --plugin "$HOME/.vst/Tidewalker.so" "$@"
