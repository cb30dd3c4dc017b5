#!/usr/bin/env bash
# How much agreement an update's search can meet by chance: the value's
# place in builds of the small games of tests/moved/ (every fifth build
# that holds it, 9 of them) against unrelated files: the builds of the
# other games, 60 of Wine's Windows libraries, and every library and
# program under /usr that holds 16:9's bytes. Prints the highest and the
# 99th percentile of the best agreement per pair; the search's floor
# (kMinAgreement) must stand above the highest with a margin.
#
# Usage: bench/moved_chance.sh [BUILD_FOLDER]  (default: build/release)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=$(realpath "${1:-$source_dir/build/release}")
ensure_packages gcc-mingw-w64-x86-64-posix clang wine64
cmake --build "$build" --target place_agreement >/dev/null
"$source_dir/tests/moved/build.sh" corpus x86_64-w64-mingw32-gcc-posix clang gcc-O0 gcc-O2 gcc-O3 gcc-Os \
    gcc-O2-lto gcc-O3-lto gcc-Os-lto clang-O0 clang-O2 clang-Os

{
    ls corpus/*.exe
    find /usr/lib/x86_64-linux-gnu/wine/x86_64-windows -name '*.dll' | sort | awk 'NR % 7 == 0' | head -60
    find /usr/lib /usr/bin /usr/libexec -type f -size +10k -size -300M -print0 2>/dev/null |
        xargs -0 grep -lP '\x39\x8e\xe3\x3f' 2>/dev/null || true
} >unrelated
echo "unrelated files: $(wc -l <unrelated)"
ls corpus/*.place | sort | awk 'NR % 5 == 1' | head -14 | while read -r place; do
    offset=$(cat "$place")
    [ "$offset" != -1 ] || continue
    game=$(basename "$place" | cut -d. -f1)
    grep -v "/$game\.[^/]*$" unrelated | xargs "$build/place_agreement" "${place%.place}.exe" "$offset"
done | sort -rn >agreements
echo "pairs: $(wc -l <agreements)"
echo "highest: $(head -3 agreements | sed "s|$folder/||" | xargs)"
echo "99th percentile: $(awk -v n="$(wc -l <agreements)" 'NR == int(n / 100) + 1 { print $1 }' agreements)"
