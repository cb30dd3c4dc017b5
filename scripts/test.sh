#!/usr/bin/env bash
# Installs whatever is missing, checks the formatting, then builds and tests
# every preset: native debug with sanitizers, native release, and the
# Windows build under Wine (open-file dialog included), and makes the
# packages of the last two.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$source_dir"
source scripts/packages.sh
ensure_packages "${native_build_packages[@]}" libgtest-dev googletest clang-format strace \
    exfat-fuse exfatprogs fusefat dosfstools fuse3 btrfs-progs xfsprogs xterm desktop-file-utils clang \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix wine wine64 xvfb xdotool xclip

echo "== Formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

for preset in dev release windows; do
    echo "== $preset build"
    cmake --preset "$preset" -DGORV_BUILD_TESTS=ON
    cmake --build --preset "$preset"
    # The packages players download (the sanitized build is not shipped).
    [ "$preset" = dev ] || cmake --build --preset "$preset" --target package
    echo "== $preset tests"
    ctest --preset "$preset"
done
