# Updates that move the value, as a launch option meets them: the versions
# of a small game are built here with MinGW from updated_game.c (16:9 as an
# instruction's immediate, more code, data and strings in each version). A
# launch patches where the earlier version in the backup shows the value
# went and writes that place into the update file beside the game; where
# it does not clearly show, nothing is written, and the game starts all
# the same.
# Called as: bash moved_value.sh PATCHER PROBE CC EMULATOR...
set -u
probe=$(realpath "$2")
cc=$3
source_file="$(cd "$(dirname "$0")" && pwd)/updated_game.c"
set -- "$1" "${@:4}"
source "$(dirname "$0")/lib.sh"

for version in "1 -DVERSION=1" "2 -DVERSION=2" "3 -DVERSION=3" "twice -DVERSION=2 -DTWICE" \
    "away -DVERSION=2 -DMOVED_AWAY"; do
    read -r name flags <<<"$version"
    # shellcheck disable=SC2086
    "$cc" -O2 -s $flags -o "$work/v$name.exe" "$source_file" || { fail "could not build version $name"; finish; }
done
# Where a file holds 16:9, as a decimal offset (the first place).
offset_of() { perl -0777 -ne 'print index($_, "\x39\x8e\xe3\x3f")' "$1"; }
readonly bytes_21_9="26 b4 17 40"
export GORV_PROBE_OUT="$work/probe" GORV_PROBE_STATUS=7
probe=$(native_path "$probe")

# A launch of the game in the case's folder; its lines are EXPECTED.
launch() { # EXPECTED
    arguments=(--screen 2560x1080 -- "$probe" "$game")
    expected_status=7
    rm -f "$work/probe"
    run_patcher ''
    checks=$((checks + 1))
    [ "$(tr -d '\r' <"$output.err")" = "$1" ] && [ -e "$work/probe" ] ||
        fail "told [$(cat "$output.err")], expected [$1]"
}
expect_text() { # FILE TEXT
    checks=$((checks + 1))
    [ "$(tr -d '\r' <"$1" 2>/dev/null)" = "$2" ] || fail "$1 holds [$(cat "$1" 2>/dev/null)], expected [$2]"
}
patched() { # GAME
    printf '%s' "gorv-patcher: Patched $1 to 16:6.75 (2.37037); the game as it was is in $1.backup"
}
# The update file's lines: that it is used, and the offset it gives.
uses() { # OFFSET
    printf 'gorv-patcher: --Updated Offsets!--\ngorv-patcher: Offset %s, from GorvPatcherUpdate.dat\n' "$1"
}
moved() { # FROM TO HOW
    printf '%s' "gorv-patcher: The game was updated: the value moved from offset $1 to offset $2, as its earlier version in $game.backup shows ($3)"
}
# How the place was found: through the code, and the bytes around it.
readonly both="the function that holds it and the bytes around it"

o1=$(offset_of "$work/v1.exe")
o2=$(offset_of "$work/v2.exe")
o3=$(offset_of "$work/v3.exe")

new_case updates
cp "$work/v1.exe" gorv.exe
echo "$o1" >GorvPatcherUpdate.dat
game=$(native_path "$folder/gorv.exe")
dat=$(native_path "$folder/GorvPatcherUpdate.dat")
launch "$(uses "$o1")
$(patched "$game")"
expect_patched gorv.exe "$work/v1.exe" "$o1" "$bytes_21_9"

# An update to VERSION that moves the value from FROM to TO (found as HOW
# says): patched where it went, which the update file beside the game then
# says, and the new version is the backup.
update_moving() { # VERSION FROM TO HOW
    cp "$work/v$1.exe" gorv.exe
    launch "$(uses "$2")
$(moved "$2" "$3" "$4")
gorv-patcher: Offset $3 is written into $dat
$(patched "$game")"
    expect_patched gorv.exe "$work/v$1.exe" "$3" "$bytes_21_9"
    expect_same gorv.exe.backup "$work/v$1.exe"
    expect_text GorvPatcherUpdate.dat "$3"
}
update_moving 2 "$o1" "$o2" "$both"

# The next launch reads 4 bytes and writes nothing; after "Verify
# integrity" it patches again, at the written place.
before=$(stat -c '%i %y' gorv.exe gorv.exe.backup GorvPatcherUpdate.dat)
launch "$(uses "$o2")
gorv-patcher: $game is already set to 16:6.75 (2.37037)"
checks=$((checks + 1))
[ "$(stat -c '%i %y' gorv.exe gorv.exe.backup GorvPatcherUpdate.dat)" = "$before" ] || fail "a set launch wrote"
cp "$work/v2.exe" gorv.exe
launch "$(uses "$o2")
$(patched "$game")"
expect_patched gorv.exe "$work/v2.exe" "$o2" "$bytes_21_9"

# Version 3 moves it again: the file follows, and stays read-only.
((${#emulator[@]} > 0)) || chmod 444 GorvPatcherUpdate.dat
update_moving 3 "$o2" "$o3" "$both"
checks=$((checks + 1))
((${#emulator[@]} > 0)) || [ "$(stat -c %a GorvPatcherUpdate.dat)" = 444 ] || fail "the update file lost its mode"

# A copy of the value's code elsewhere (a mirror camera's): the value's
# own function tells its place.
new_case twice
cp "$work/v1.exe" gorv.exe.backup
echo "$o1" >GorvPatcherUpdate.dat
game=$(native_path "$folder/gorv.exe")
dat=$(native_path "$folder/GorvPatcherUpdate.dat")
update_moving twice "$o1" "$(offset_of "$work/vtwice.exe")" "the function that holds it"

# Where the earlier version does not clearly point (the one place in other
# surroundings), nothing is written, the backup keeps the earlier version,
# and the game starts.
for version in away; do
    new_case "refused-$version"
    cp "$work/v1.exe" gorv.exe
    cp "$work/v1.exe" gorv.exe.backup
    echo "$o1" >GorvPatcherUpdate.dat
    cp "$work/v$version.exe" gorv.exe
    game=$(native_path "$folder/gorv.exe")
    before=$(stat -c '%i %y' gorv.exe gorv.exe.backup GorvPatcherUpdate.dat)
    arguments=(--screen 2560x1080 -- "$probe" "$game")
    expected_status=7
    run_patcher ''
    checks=$((checks + 1))
    grep -q "^gorv-patcher: Not patched: the game was updated, and its earlier version in .* does not show where the value at offset $o1 went: " \
        "$output.err" || fail "told [$(cat "$output.err")]"
    checks=$((checks + 1))
    [ "$(stat -c '%i %y' gorv.exe gorv.exe.backup GorvPatcherUpdate.dat)" = "$before" ] || fail "a refused launch wrote"
done

# A new version shorter than the earlier one's offset is looked through
# too; so is a version whose update file names its own place (a new update
# file, or one that a cut-short launch wrote): the earlier version shows
# the value there.
new_case shorter
{ head -c 100000 /dev/zero && cat "$work/v1.exe"; } >gorv.exe.backup
cp "$work/v2.exe" gorv.exe
echo $((100000 + o1)) >GorvPatcherUpdate.dat
game=$(native_path "$folder/gorv.exe")
dat=$(native_path "$folder/GorvPatcherUpdate.dat")
update_moving 2 $((100000 + o1)) "$o2" "the bytes around it"
new_case own-place
cp "$work/v1.exe" gorv.exe.backup
cp "$work/v2.exe" gorv.exe
echo "$o2" >GorvPatcherUpdate.dat
game=$(native_path "$folder/gorv.exe")
launch "$(uses "$o2")
$(patched "$game")"
expect_patched gorv.exe "$work/v2.exe" "$o2" "$bytes_21_9"

# Without an earlier version that reaches the offset (none, or one cut
# short), an update file is trusted only where the game holds a screen's
# shape there as data or an instruction's immediate: not 1:1, not bytes
# written over an instruction. Nothing is written then.
new_case hostile
cp "$work/v2.exe" gorv.exe
printf '\x39\x8e\xe3\x3f' | dd of=gorv.exe bs=1 seek=$((o2 - 2)) conv=notrunc status=none
head -c 100 "$work/v1.exe" >gorv.exe.backup
printf '\x00\x00\x80\x3f' | dd of=gorv.exe bs=1 seek=$((o2 + 4)) conv=notrunc status=none
game=$(native_path "$folder/gorv.exe")
for entry in "$((o2 - 2)):is no value of the game's" "$((o2 + 4)):no screen's shape"; do
    echo "${entry%%:*}" >GorvPatcherUpdate.dat
    cp gorv.exe "$work/hostile.exe"
    arguments=(--screen 2560x1080 -- "$probe" "$game")
    expected_status=7
    run_patcher ''
    checks=$((checks + 1))
    grep -q "^gorv-patcher: Not patched: .*${entry#*:}" "$output.err" || fail "told [$(cat "$output.err")]"
    expect_same gorv.exe "$work/hostile.exe"
done

# A game whose 4 bytes at the offset hold the player's ratio, but which
# the tool did not patch (an update put a table there): looked at in
# full, and patched where the value went.
new_case stale-set
cp "$work/v2.exe" gorv.exe.backup
cp "$work/v3.exe" gorv.exe
printf '\x26\xb4\x17\x40' | dd of=gorv.exe bs=1 seek="$o2" conv=notrunc status=none
echo "$o2" >GorvPatcherUpdate.dat
game=$(native_path "$folder/gorv.exe")
arguments=(--screen 2560x1080 -- "$probe" "$game")
expected_status=7
run_patcher ''
checks=$((checks + 1))
grep -q "the value moved from offset $o2 to offset $o3" "$output.err" && grep -q "^gorv-patcher: Patched" "$output.err" ||
    fail "told [$(cat "$output.err")]"

# An update file in use in another folder (the working folder) is never
# replaced: the launch says what to put there, and patches this once.
new_case working-folder
mkdir game
cp "$work/v1.exe" game/gorv.exe.backup
cp "$work/v2.exe" game/gorv.exe
echo "$o1" >GorvPatcherUpdate.dat
game=$(native_path "$folder/game/gorv.exe")
launch "$(uses "$o1")
$(moved "$o1" "$o2" "$both")
gorv-patcher: GorvPatcherUpdate.dat is out of date: put $o2 on its first line, or remove it, or the next launch patches nothing
$(patched "$game")"
expect_patched game/gorv.exe "$work/v2.exe" "$o2" "$bytes_21_9"
expect_text GorvPatcherUpdate.dat "$o1"
expect_files GorvPatcherUpdate.dat game game/gorv.exe game/gorv.exe.backup game/gorv-patcher.log

finish
