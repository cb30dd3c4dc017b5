#!/usr/bin/env bash
# Builds the patcher for this machine and starts it in the current folder,
# with the arguments given (a game, or a backup to put back). The folder
# is best the game's folder (the one with gorv.exe); elsewhere it asks.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$source_dir/scripts/packages.sh"
ensure_packages "${native_build_packages[@]}"

build_dir="$source_dir/build/play"
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGORV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" >/dev/null
exec "$build_dir/gorv-patcher" "$@"
