#!/usr/bin/env bash
# What following a moved value costs: a launch of a game whose update
# moved the value (one pass over the game to find it, then the backup and
# the patch) against a launch that patches the same game where the update
# file already says (the backup and the patch alone), for games of 4 MiB
# and 256 MiB. The value and its surroundings come from two MinGW builds
# of tests/e2e/updated_game.c, set into bytes that stand for the rest
# ("bytes": the search by the bytes alone), or followed by them as a
# loaded section of the program ("program": the search through the code
# too).
#
# Target: the search costs one pass over the game, in memory that does not
# grow with it.
#
# Usage: bench/moved_value.sh [PATCHER] [RUNS]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
runs=${2:-5}
ensure_packages gcc-mingw-w64-x86-64-posix
for version in 1 2; do
    x86_64-w64-mingw32-gcc-posix -O2 -s -DVERSION=$version -o "v$version.exe" "$source_dir/tests/e2e/updated_game.c"
done
offset_of() { perl -0777 -ne 'print index($_, "\x39\x8e\xe3\x3f")' "$1"; }

# A version of SIZE_MIB MiB: BUILD's bytes at AT, random bytes (SEED) around.
make_version() { # OUT SIZE_MIB BUILD AT SEED
    perl -e 'srand $ARGV[1]; my $n = $ARGV[0] << 20; my $b = ""; $b .= pack "N", int rand 4294967296 while length $b < $n;
             print substr $b, 0, $n' "$2" "$5" >"$1"
    dd if="$3" of="$1" bs=1M seek="$4" oflag=seek_bytes conv=notrunc status=none
}

# BUILD followed by SIZE_MIB MiB of random bytes (SEED) that its last
# section, made loaded data, covers: a program of that size.
make_program() { # OUT SIZE_MIB BUILD SEED
    make_version "$1.tail" "$2" /dev/null 0 "$4"
    cat "$3" "$1.tail" >"$1"
    rm "$1.tail"
    perl -e 'open my $f, "+<:raw", $ARGV[0] or die; local $/; my $b = <$f>;
             my $pe = unpack "V", substr $b, 0x3c, 4; my $n = unpack "v", substr $b, $pe + 6, 2;
             my $h = $pe + 24 + unpack("v", substr $b, $pe + 20, 2) + 40 * ($n - 1);
             my $raw = length($b) - unpack("V", substr $b, $h + 20, 4);
             substr($b, $h + 8, 4) = pack "V", $raw; substr($b, $h + 16, 4) = pack "V", $raw;
             substr($b, $h + 36, 4) = pack "V", 0x40000040; seek $f, 0, 0; print $f $b' "$1"
}

printf '%-8s %-8s %-22s %10s %10s\n' size kind run median "peak KiB"
for size in 4 256; do
  for kind in bytes program; do
    if [ $kind = bytes ]; then
        at=$(((size << 20) / 2))
        make_version earlier "$size" v1.exe "$at" 1
        make_version later "$size" v2.exe "$((at + 4096))" 2
        from=$((at + $(offset_of v1.exe)))
        to=$((at + 4096 + $(offset_of v2.exe)))
    else
        make_program earlier "$size" v1.exe 1
        make_program later "$size" v2.exe 2
        from=$(offset_of v1.exe)
        to=$(offset_of v2.exe)
    fi
    for run in moved known; do
        times=()
        for _ in $(seq "$runs"); do
            cp later gorv.exe
            cp earlier gorv.exe.backup
            if [ "$run" = moved ]; then echo "$from" >GorvPatcherUpdate.dat; else echo "$to" >GorvPatcherUpdate.dat; fi
            sync
            /usr/bin/time -f '%e %M' -o measure "$patcher" --screen 2560x1080 gorv.exe >output 2>&1
            grep -q Patched output || { cat output; exit 1; }
            times+=("$(cat measure)")
        done
        printf '%s\n' "${times[@]}" | sort -n | awk -v size="$size MiB" -v kind="$kind" -v run="$run" \
            '{ t[NR] = $1; m[NR] = $2 } END { printf "%-8s %-8s %-22s %9.3fs %10d\n", size, kind, run, t[int((NR + 1) / 2)], m[NR] }'
    done
  done
done
