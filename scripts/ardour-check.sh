#!/usr/bin/env bash
# Loads the built Tidewalker LV2 plug-in into Ardour 7's headless Lua session
# (Debian's ardour package) and saves a session with it; renders a
# level-triggered take from that session, then reloads it in a new process
# and renders again; the two takes must be the same to the last bit. Uses a private home, so your Ardour settings
# and Tidewalker preferences stay untouched. Takes about a minute.
#   scripts/ardour-check.sh            (after a build in build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
bundles="$PWD/$build_dir/bundles"
if [ ! -f "$bundles/Tidewalker.lv2/manifest.ttl" ]; then
  echo "No LV2 bundle in $bundles: build first (cmake --build $build_dir)" >&2
  exit 1
fi
command -v ardour7-lua >/dev/null || { echo "ardour7-lua is missing: apt-get install ardour" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tidewalker-ardour-XXXXXX")
trap '[ -n "${TW_KEEP:-}" ] || rm -rf "$work"' EXIT  # TW_KEEP=1 keeps logs and session
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" LV2_PATH="$bundles"
mkdir -p "$XDG_CONFIG_HOME/ardour7/scripts"
cp scripts/ardour-check-bursts.lua "$XDG_CONFIG_HOME/ardour7/scripts/"
export TW_CHECK_FOLDER="$work/session"

# Prints the take line of one run; the whole log stays in the work folder.
take() {
  TW_CHECK_MODE=$1 ardour7-lua scripts/ardour-check.lua >"$work/$1.log" 2>&1 || true
  if ! grep "^take:" "$work/$1.log"; then
    grep "^ardour-check:" "$work/$1.log" >&2 || tail -n 20 "$work/$1.log" >&2
    echo "FAIL: the $1 run gave no take" >&2
    exit 1
  fi
}

echo "Making a session with Tidewalker, rendering it, then reloading it in a new process..."
TW_CHECK_MODE=create ardour7-lua scripts/ardour-check.lua >"$work/create.log" 2>&1 || true
first=$(take render)
second=$(take reload)
echo "render: ${first#take: }"
echo "reload: ${second#take: }"
if [ "$first" != "$second" ]; then
  echo "FAIL: the reloaded session renders differently" >&2
  exit 1
fi
echo "OK: Ardour loads Tidewalker (LV2), and the saved session renders the same take"
