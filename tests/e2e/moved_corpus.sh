# Updates of small games of our own, built here by each toolchain and flag
# set named, played as a launch plays them: version 1 patched through its
# update file, each later version renamed over the game, and the launch
# run again. Each update is right (patched at the value's true place, or
# refused where the value vanished), refused, or wrong (written anywhere
# else): wrong must never happen, and most updates must be followed.
# Called as: bash moved_corpus.sh PATCHER CC CLANG SET...
set -u
cc=$2 clang=$3
sets=("${@:4}")
set -- "$1"
source "$(dirname "$0")/lib.sh"

"$(dirname "$0")/../moved/build.sh" "$work/corpus" "$cc" "$clang" "${sets[@]}" || { fail "could not build the games"; finish; }
readonly bytes_21_9=$'\x26\xb4\x17\x40'
found=0 refused=0 vanished=0 wrong=0
# Chains that switch compilers or levels between versions: reported, not
# counted in the rate (a wrong write fails all the same).
switched_found=0 switched_refused=0

# The outcome of the launch that just ran on version VERSION (its .place
# says where the value truly is); the game as the launch left it is
# gorv.exe. $counted is the outcome where it counts in the rates, else
# empty.
judge() { # VERSION
    local place expected=$work/expected outcome=wrong
    counted=
    place=$(cat "$1.place")
    if cmp -s gorv.exe "$1.exe"; then
        if [ "$place" = -1 ]; then outcome=vanished; else outcome=refused; fi
        [ -z "${GORV_CORPUS_VERBOSE:-}" ] || echo "refused $(basename "$1")${mode:-} ($place): $(grep 'Not patched' "$output.err")"
    elif [ "$place" != -1 ]; then
        cp "$1.exe" "$expected"
        printf '%s' "$bytes_21_9" | dd of="$expected" bs=1 seek="$place" conv=notrunc status=none
        ! cmp -s gorv.exe "$expected" || outcome=found
    fi
    if [ $outcome = wrong ]; then
        wrong=$((wrong + 1))
        fail "$(basename "$1") written at a wrong place: $(cat "$output.err")"
    elif [[ $(basename "$1") == *.mixed-* || $(basename "$1") == *.levels-* ]]; then
        [ $outcome != found ] || switched_found=$((switched_found + 1))
        [ $outcome != refused ] || switched_refused=$((switched_refused + 1))
    else
        eval "$outcome=\$((\$outcome + 1))"
        counted=$outcome
    fi
}

# A launch in a case of its own: BACKUP as the game's backup, GAME as the
# game, OFFSET in the update file.
play() { # NAME BACKUP GAME OFFSET
    new_case "$1"
    cp "$2" gorv.exe.backup
    cp "$3" gorv.exe
    echo "$4" >GorvPatcherUpdate.dat
    timeout 60 "$patcher" --screen 2560x1080 -- true >"$output" 2>"$output.err"
    checks=$((checks + 1))
}

for first in "$work"/corpus/*.v1.place; do
    chain=${first%.v1.place}
    [ "$(cat "$first")" != -1 ] || continue
    new_case "$(basename "$chain")"
    cp "$chain.v1.exe" gorv.exe
    cat "$first" >GorvPatcherUpdate.dat
    for version in 1 2 3 4; do
        [ -e "$chain.v$version.exe" ] || break
        cp "$chain.v$version.exe" gorv.exe.new && mv gorv.exe.new gorv.exe
        timeout 60 "$patcher" --screen 2560x1080 -- true >"$output" 2>"$output.err"
        # Version 1 is the start; an update whose build cannot say where the
        # value is plays on, uncounted.
        if ((version > 1)) && [ -e "$chain.v$version.place" ]; then
            checks=$((checks + 1))
            judge "$chain.v$version"
        fi
    done
done
# The other way a player meets an update: a new update file made for the
# new version, with the backup of the version before. It must be patched
# at that place (or refused), and a file whose offset is a few bytes off
# (typed wrong, or hostile: across the value) must be refused. (A file that
# names another screen's shape of the game, the next entry of a table, is
# as good as a true one to the tool, which follows what it names.)
new_found=0 new_refused=0
saved="$found $refused $vanished $switched_found $switched_refused"
for place_file in "$work"/corpus/*.v[234].place; do
    chain=${place_file%.v?.place} version=${place_file: -7:1}
    place=$(cat "$place_file")
    [ "$place" != -1 ] && [ -e "$chain.v$((version - 1)).exe" ] || continue
    for offset in "$place" $((place + 1)) $((place - 2)); do
        play "$(basename "$chain").v$version.new$offset" "$chain.v$((version - 1)).exe" "$chain.v$version.exe" "$offset"
        mode=" new file $offset"
        judge "$chain.v$version"
        if [ "$offset" = "$place" ]; then
            [ "$counted" != found ] || new_found=$((new_found + 1))
            [ "$counted" != refused ] || new_refused=$((new_refused + 1))
        fi
    done
done
echo "with a new update file for the new version: found $new_found, refused $new_refused"
# A player who skipped an update: the backup and the update file of a
# version, the game two versions on. Reported; a wrong write fails.
skip_found=0 skip_refused=0
for place_file in "$work"/corpus/*.v[12].place; do
    chain=${place_file%.v?.place} version=${place_file: -7:1}
    [ "$(cat "$place_file")" != -1 ] && [ -e "$chain.v$((version + 2)).place" ] || continue
    play "$(basename "$chain").v$version-v$((version + 2))" "$chain.v$version.exe" "$chain.v$((version + 2)).exe" \
        "$(cat "$place_file")"
    mode=" skipped from v$version"
    judge "$chain.v$((version + 2))"
    [ "$counted" != found ] || skip_found=$((skip_found + 1))
    [ "$counted" != refused ] || skip_refused=$((skip_refused + 1))
done
echo "with a version skipped: found $skip_found, refused $skip_refused"
read -r found refused vanished switched_found switched_refused <<<"$saved"

# Another game of ours in the game's place (an unrelated program, built
# alike), with the first game's backup and update file: never written.
for first in "$work"/corpus/*.gcc-O2.v1.place "$work"/corpus/*.clang-O2.v1.place "$work"/corpus/*.gcc32-O2.v1.place; do
    [ -e "$first" ] || continue
    chain=${first%.v1.place}
    for other in "$work"/corpus/*."${chain#*/corpus/*.}".v2.exe; do
        [ "${other%.v2.exe}" != "$chain" ] || continue
        play "$(basename "$chain")-as-$(basename "$other" .exe)" "$chain.v1.exe" "$other" "$(cat "$first")"
        cmp -s gorv.exe "$other" || fail "$(basename "$other") written as $(basename "$chain"): $(cat "$output.err")"
    done
done
total=$((found + refused + vanished + wrong))
kept=$((total - vanished))
rate=$((kept > 0 ? 100 * found / kept : 0))
echo "updates: $total; found at the true place: $found; vanished and refused: $vanished; refused: $refused; wrong: $wrong"
echo "found rate: $rate% of the $kept updates that kept the value"
echo "switching compilers or levels (not counted): found $switched_found, refused $switched_refused"
# A change that made the search refuse far more would hide behind "never
# wrong": the rate these builds give today, less a margin.
checks=$((checks + 1))
((kept > 0 && rate >= 80)) || fail "the value was found after only $rate% of $kept updates"
new_plays=$((new_found + new_refused))
new_rate=$((new_plays > 0 ? 100 * new_found / new_plays : 0))
checks=$((checks + 1))
((new_rate >= 80)) || fail "a new update file was taken for only $new_rate% of $new_plays updates"
finish
