#!/usr/bin/env bash
# How much agreement the search through the code can meet by chance: the
# code that uses the value in builds of the small games of tests/moved/
# (every third build that holds it) against the code of unrelated Windows
# programs: the builds of the other games and 60 of Wine's Windows
# libraries, at every use there of a screen's shape (the only places the
# search weighs). Prints the
# highest and the 99th percentile of the best agreement per pair; the
# search's floor for code (0.7) must stand above the highest.
#
# Usage: bench/code_chance.sh [BUILD_FOLDER]  (default: build/release)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=$(realpath "${1:-$source_dir/build/release}")
ensure_packages gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix clang wine64
cmake --build "$build" --target code_agreement >/dev/null
CC32=i686-w64-mingw32-gcc-posix "$source_dir/tests/moved/build.sh" corpus x86_64-w64-mingw32-gcc-posix clang \
    gcc-O0 gcc-O2 gcc-O3 gcc-Os gcc-O2-lto clang-O0 clang-O2 clang-Os gcc32-O2

{
    ls corpus/*.exe
    find /usr/lib/x86_64-linux-gnu/wine/x86_64-windows -name '*.dll' | sort | awk 'NR % 7 == 0' | head -60
} >unrelated
echo "unrelated files: $(wc -l <unrelated)"
ls corpus/*.place | sort | awk 'NR % 3 == 1' | while read -r place; do
    offset=$(cat "$place")
    [ "$offset" != -1 ] || continue
    game=$(basename "$place" | cut -d. -f1)
    grep -v "/$game\.[^/]*$" unrelated | xargs "$build/code_agreement" "${place%.place}.exe" "$offset" |
        sed "s|$| from $(basename "$place" .place)|"
done | sort -rn >agreements
echo "pairs: $(wc -l <agreements)"
echo "highest: $(head -3 agreements | sed "s|$folder/||" | xargs)"
echo "99th percentile: $(awk -v n="$(wc -l <agreements)" 'NR == int(n / 100) + 1 { print $1 }' agreements)"
