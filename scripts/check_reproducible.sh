#!/usr/bin/env bash
# Builds the committed sources twice, in two fresh clones in folders of
# different names, and checks that the programs players download come out
# byte for byte the same, that the packages do too, and that each package
# has a SHA-256 file that matches it. Takes a few minutes; not part of the
# test command. Usage: scripts/check_reproducible.sh [COMMIT]
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
commit=${1:-HEAD}
work=$(mktemp -d "${TMPDIR:-/tmp}/gorv-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The packages' file times come from the commit (see
# cmake/cpack_project_config.cmake.in), not from the environment.
unset SOURCE_DATE_EPOCH

build() { # FOLDER
    git clone -q "$source_dir" "$1"
    git -C "$1" checkout -q "$commit"
    for preset in release windows; do
        (cd "$1" && cmake --preset "$preset" -DGORV_BUILD_TESTS=OFF >/dev/null &&
            cmake --build --preset "$preset" --target package >/dev/null)
    done
}
build "$work/first"
build "$work/second-clone-elsewhere"

status=0
same() { # PATH (inside the build folders)
    if cmp -s "$work/first/$1" "$work/second-clone-elsewhere/$1"; then
        echo "same:    $1"
    else
        echo "DIFFERS: $1"
        status=1
    fi
}
same build/release/gorv-patcher
same build/windows/gorv-patcher.exe
for package in "$work"/first/build/{release,windows}/gorv-patcher-*.{tar.gz,zip}; do
    [ -e "$package" ] || continue
    relative=${package#"$work/first/"}
    same "$relative"
    if (cd "$(dirname "$package")" && sha256sum --quiet -c "$(basename "$package").sha256"); then
        echo "checked: $relative.sha256"
    else
        echo "MISSING or WRONG: $relative.sha256"
        status=1
    fi
done
exit "$status"
