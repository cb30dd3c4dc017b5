#!/usr/bin/env bash
# Builds the small games of this folder (C, and C++ by gcc) in each of
# their versions with the given toolchains and flags, as Windows programs:
# OUT/GAME.SET.vN.exe.
# Each is built a second time with a sentinel in the ratio's stead; where
# the two builds differ in exactly those 4 bytes, OUT/GAME.SET.vN.place
# holds the ratio's true offset, and -1 where the version no longer holds
# it (the sentinel build has no sentinel). A pair that differs elsewhere
# gets no .place file: that build cannot say where the value is.
# Called as: build.sh OUT CC CLANG SET...  (SET: gcc-O2, gcc-Os-lto,
# gcc-O2-g (debug information kept), clang-O2, gcc32-O2 (32 bits, with the
# compiler that $CC32 names), and chains that switch between versions:
# mixed-O2 (odd versions by gcc, even by clang), levels-O2 (odd versions at
# that level, even at -Os); CLANG may be "-" where there is none)
set -euo pipefail
# The games: this folder's, or those of $GORV_MOVED_SOURCES.
here=${GORV_MOVED_SOURCES:-$(cd "$(dirname "$0")" && pwd)}
out=$1 cc=$2 clang=$3
shift 3
mkdir -p "$out"
readonly sentinel=1.73967731f sentinel_bytes=bfadde3f

# The compiler for a source: MinGW's g++ beside $cc for C++ (built by gcc
# alone: sets of other tools leave C++ games out).
compiler_for() { # SOURCE
    case $1 in
    *.cpp) echo "${cc%gcc*}g++${cc##*gcc}" ;;
    *) echo "$cc" ;;
    esac
}

build() { # SET SOURCE VERSION OUTPUT [FLAGS...]
    local set=$1 source=$2 version=$3 output=$4 tool opt extra strip=-s
    shift 4
    IFS=- read -r tool opt extra <<<"$set"
    case $tool in
    mixed) ((version % 2)) && tool=gcc || tool=clang ;;
    levels) ((version % 2)) && tool=gcc || { tool=gcc opt=Os; } ;;
    esac
    local flags=("-$opt" -DVERSION="$version" "$@")
    case $extra in
    lto) flags+=(-flto) ;;
    g) flags+=(-g) strip= ;;
    esac
    case $tool in
    gcc) "$(compiler_for "$source")" "${flags[@]}" $strip -Wl,--no-insert-timestamp -o "$output" "$source" -lm ;;
    gcc32) "$CC32" "${flags[@]}" $strip -Wl,--no-insert-timestamp -o "$output" "$source" -lm ;;
    clang)
        "$clang" --target=x86_64-w64-windows-gnu "${flags[@]}" -c -o "$output.o" "$source"
        "$cc" $strip -Wl,--no-insert-timestamp -o "$output" "$output.o" -lm
        rm -f "$output.o"
        ;;
    esac
}

# The sentinel's one place, where the builds differ only there and in the
# PE header's checksum; -1 where neither build holds a value there.
readonly place_of='
    my ($value, $sentinel) = map { local $/; open my $f, "<:raw", $_ or die; <$f> } @ARGV;
    exit 1 if length $value != length $sentinel;
    my @places;
    for (my $p = index($sentinel, pack("H*", "'$sentinel_bytes'")); $p >= 0; $p = index($sentinel, pack("H*", "'$sentinel_bytes'"), $p + 1)) { push @places, $p }
    my $checksum = unpack("V", substr($value, 0x3c, 4)) + 88;
    for my $i (0 .. length($value) - 1) {
        next if substr($value, $i, 1) eq substr($sentinel, $i, 1);
        next if $i >= $checksum && $i < $checksum + 4;
        next if @places == 1 && $i >= $places[0] && $i < $places[0] + 4;
        exit 1;
    }
    exit 1 if @places > 1;
    print @places ? $places[0] : -1, "\n";'

# Each build in the background, two at a time.
for set in "$@"; do
    case ${set%%-*} in
    clang | mixed) [ "$clang" != - ] || continue ;;
    gcc32) [ -n "${CC32:-}" ] || continue ;;
    esac
    for source in "$here"/*.c "$here"/*.cpp; do
        [ -e "$source" ] || continue
        case $source:${set%%-*} in
        *.cpp:gcc | *.cpp:levels | *.c:*) ;;
        *) continue ;;
        esac
        game=$(basename "${source%.*}")
        for version in 1 2 3 4; do
            name="$out/$game.$set.v$version"
            (
                build "$set" "$source" "$version" "$name.exe"
                build "$set" "$source" "$version" "$name.sentinel" -DVALUE="$sentinel"
                perl -e "$place_of" "$name.exe" "$name.sentinel" >"$name.place" || rm -f "$name.place"
                rm -f "$name.sentinel"
            ) &
            while (($(jobs -rp | wc -l) >= 2)); do wait -n; done
        done
    done
done
wait
