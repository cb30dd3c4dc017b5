# Patching without questions: --screen WIDTHxHEIGHT, and before every launch
# with "-- COMMAND", as a launcher's option (Steam's %command%) runs it. The
# command is a stand-in that writes down how it was started.
# Called as: bash launch.sh PATCHER PROBE EMULATOR...
set -u
probe=$(realpath "$2")
set -- "$1" "${@:3}"
source "$(dirname "$0")/lib.sh"
export XDG_STATE_HOME="$work/state"

# The game as it ships: its own 16:9 at the offset.
printf '\x39\x8e\xe3\x3f' | dd of="$work/game.template" bs=1 seek="$default_offset" conv=notrunc status=none
readonly bytes_21_9="26 b4 17 40"
readonly offset_line="gorv-patcher: Offset $default_offset (built in)"
export GORV_PROBE_OUT="$work/probe" GORV_PROBE_VALUE="kept as it was" GORV_PROBE_STATUS=7
# Steam's %command% for a Proton game, then words that a command line can
# easily break.
readonly hard=(--verb=waitforexitandrun -- /steam/proton waitforexitandrun "two words" "" 'a"quote' 'trailing\'
    'back\\"slash' $'tab\there')

# A word as a POSIX shell reads it back.
shell_word() { # WORD
    if [[ $1 =~ ^[A-Za-z0-9_@%+=:,./-]+$ ]]; then printf '%s' "$1"; else printf "'%s'" "${1//\'/\'\\\'\'}"; fi
}
# The log's first two lines: the tool's version and the time, and the
# command it starts as one line (natively as a shell reads it back; on
# Windows the rest of the tool's command line, as Wine wrote it).
expect_log_head() { # LOG COMMAND...
    local log=$1 line command=
    shift
    checks=$((checks + 1))
    line=$(head -1 "$log" | tr -d '\r')
    [[ $line =~ ^gorv-patcher\ [0-9]+\.[0-9]+\.[0-9]+,\ [0-9]{4}-[0-9]{2}-[0-9]{2}\ [0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] ||
        fail "the log starts [$line]"
    for word in "$@"; do command+="${command:+ }$(shell_word "$word")"; done
    line=$(sed -n 2p "$log" | tr -d '\r')
    checks=$((checks + 1))
    if ((${#emulator[@]} > 0)); then
        [[ $line == "gorv-patcher: starts "?* ]] || fail "the log's second line is [$line]"
    else
        [ "$line" = "gorv-patcher: starts $command" ] || fail "the log's second line is [$line], expected [starts $command]"
    fi
}
# The tool's lines (on standard error, and in the log beside the game,
# which is in the case's folder, after its first two lines) are EXPECTED,
# and the probe ran in the case's folder with exactly ARGUMENTS.
expect_launch() { # EXPECTED ARGUMENT...
    local expected=$1 recorded
    shift
    checks=$((checks + 1))
    [ "$(tr -d '\r' <"$output.err")" = "$expected" ] || fail "told [$(cat "$output.err")], expected [$expected]"
    checks=$((checks + 1))
    [ "$(tail -n +3 "$folder/gorv-patcher.log" | tr -d '\r')" = "$expected" ] || fail "logged [$(cat "$folder/gorv-patcher.log")]"
    recorded=$(
        [ $# -eq 0 ] || printf '[%s]\n' "$@"
        printf 'value=%s\nfolder=%s' "$GORV_PROBE_VALUE" "$(native_path "$folder")"
    )
    checks=$((checks + 1))
    [ "$(cat "$work/probe" 2>/dev/null)" = "$recorded" ] || fail "the command was started as [$(cat "$work/probe" 2>/dev/null)]"
    rm -f "$work/probe"
}
# Inode and modification time of each FILE, to show that nothing wrote it.
stamps() { stat -c '%i %y' "$@"; }

new_case launch
make_game gorv.exe
game=$(native_path "$folder/gorv.exe")
probe=$(native_path "$probe")
arguments=(--screen 2560x1080 -- "$probe" "${hard[@]}" "$game")
expected_status=7
run_patcher ''
expect_launch "$offset_line
gorv-patcher: Patched $game to 16:6.75 (2.37037); the game as it was is in $game.backup" "${hard[@]}" "$game"
expect_log_head gorv-patcher.log "$probe" "${hard[@]}" "$game"
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_21_9"
expect_same gorv.exe.backup "$work/game.template"

# The next launch finds the game set, and writes nothing.
before=$(stamps gorv.exe gorv.exe.backup)
run_patcher ''
expect_launch "$offset_line
gorv-patcher: $game is already set to 16:6.75 (2.37037)" "${hard[@]}" "$game"
checks=$((checks + 1))
[ "$(stamps gorv.exe gorv.exe.backup)" = "$before" ] || fail "a launch of a game that was set wrote it"

# A game update puts back a new game: it is backed up and patched.
head -c 200 /dev/zero | tr '\0' u | dd of="$work/game.template" bs=1 seek=1000 conv=notrunc status=none
make_game gorv.exe
run_patcher ''
expect_launch "$offset_line
gorv-patcher: Patched $game to 16:6.75 (2.37037); the game as it was is in $game.backup" "${hard[@]}" "$game"
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_21_9"
expect_same gorv.exe.backup "$work/game.template"

# A small update (20 bytes) leaves the backup as it was, an earlier version
# then: the launch says so, and so does a restore, which undoes it too.
head -c 20 /dev/zero | tr '\0' v | dd of=gorv.exe bs=1 seek=2000 conv=notrunc status=none
printf '\x39\x8e\xe3\x3f' | dd of=gorv.exe bs=1 seek="$default_offset" conv=notrunc status=none
run_patcher ''
expect_launch "$offset_line
gorv-patcher: Patched $game to 16:6.75 (2.37037); $game.backup holds an earlier version of the game, which differs in 20 more bytes" "${hard[@]}" "$game"
expect_same gorv.exe.backup "$work/game.template"
arguments=("$game.backup")
expected_status=0
run_patcher $'\n'
expect_output "Restored $game from $game.backup
The backup holds an earlier version of the game: 20 more bytes than the patch's were put back too, which undoes the game's last update. Steam's \"Verify integrity of game files\" brings the update back.$press_enter"
expect_same gorv.exe "$work/game.template"
make_game gorv.exe
arguments=(--screen 2560x1080 -- "$probe" "${hard[@]}" "$game")
expected_status=7
run_patcher ''

# An update that moved the value away (no place holds it now): nothing is
# written, and the game starts.
head -c 300 /dev/zero | tr '\0' w | dd of=gorv.exe bs=1 seek=3000 conv=notrunc status=none
printf '\x00\x00\x00\x00' | dd of=gorv.exe bs=1 seek="$default_offset" conv=notrunc status=none
cp gorv.exe "$work/moved"
before=$(stamps gorv.exe gorv.exe.backup)
run_patcher ''
expect_launch "$offset_line
gorv-patcher: Not patched: the game was updated, and its earlier version in $game.backup does not show where the value at offset $default_offset went: no place in the game holds its 4 bytes; a new GorvPatcherUpdate.dat is needed" "${hard[@]}" "$game"
checks=$((checks + 1))
[ "$(stamps gorv.exe gorv.exe.backup)" = "$before" ] || fail "a game whose value moved was written"

# Whatever comes of the patch, the game starts: a mistyped size, no game.
new_case mistyped
expected_status=7
arguments=(--screen 2560*1080 -- "$probe" here)
run_patcher ''
expect_launch "gorv-patcher: --screen 2560*1080: give the screen's width and height in pixels as WIDTHxHEIGHT, such as 2560x1080; the game starts without a patch" here
arguments=(--screen 2560x1080 -- "$probe")
run_patcher ''
expect_launch "gorv-patcher: no gorv.exe in the command or in this folder; the game starts without a patch"

# Only a command that cannot be started fails the launch, as a shell would.
expected_status=127
arguments=(--screen 2560x1080 -- "$(native_path "$folder/no-such-game")")
run_patcher ''
checks=$((checks + 1))
grep -qF "gorv-patcher: could not start $(native_path "$folder/no-such-game"): " "$output.err" gorv-patcher.log ||
    fail "told [$(cat "$output.err")]"

# Whatever stands before "--", the command runs with its status; what was
# wrong is said in one line, and nothing is patched.
new_case spellings
make_game gorv.exe
expected_status=7
while IFS=';' read -r words said; do
    read -ra before <<<"$words"
    arguments=("${before[@]}" -- "$probe" here)
    run_patcher ''
    expect_launch "gorv-patcher: --screen WIDTHxHEIGHT should stand before --, not $said; the game starts without a patch" here
    expect_same gorv.exe "$work/game.template"
done <<'EOF_ROWS'
;nothing
2560x1080;2560x1080
--scren 2560x1080;--scren 2560x1080
--help;--help
--screen;--screen
EOF_ROWS
arguments=(--screen=2560x1080 -- "$probe" here)
run_patcher ''
expect_launch "$offset_line
gorv-patcher: Patched gorv.exe to 16:6.75 (2.37037); the game as it was is in gorv.exe.backup" here
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_21_9"
# A misspelt option after the size is named and left out.
arguments=(--screen 2560x1080 --verbose -- "$probe" here)
run_patcher ''
expect_launch "gorv-patcher: --verbose is not an option of gorv-patcher's, and is left out
$offset_line
gorv-patcher: gorv.exe is already set to 16:6.75 (2.37037)" here
if ((${#emulator[@]} == 0)); then
    # NAME=value words before the program set its environment, as env
    # takes them; with no program after them, the start fails.
    arguments=(--screen 2560x1080 -- "GORV_PROBE_VALUE=set by the line" "$probe" here)
    run_patcher ''
    GORV_PROBE_VALUE="set by the line" expect_launch "$offset_line
gorv-patcher: gorv.exe is already set to 16:6.75 (2.37037)" here
    arguments=(--screen 2560x1080 -- A=1 B_2=x)
    expected_status=127
    run_patcher ''
    checks=$((checks + 1))
    grep -qxF "gorv-patcher: could not start A=1: there is no program after its environment settings" "$output.err" ||
        fail "told [$(cat "$output.err")]"
    # The game inherits no file of the tool's: on the first patch, on a game
    # set already, and after an update, it has the descriptors it has when
    # started without the tool.
    expected_status=0
    printf '' | /bin/sh -c 'ls /proc/$$/fd >"$0"' "$work/descriptors.direct" >/dev/null 2>&1
    for state in first set updated; do
        [ $state != updated ] || make_game gorv.exe 3999000
        [ $state != first ] || rm gorv.exe.backup
        [ $state != first ] || make_game gorv.exe
        arguments=(--screen 2560x1080 -- /bin/sh -c 'ls /proc/$$/fd >"$0"' "$work/descriptors" gorv.exe)
        run_patcher ''
        checks=$((checks + 1))
        cmp -s "$work/descriptors" "$work/descriptors.direct" ||
            fail "$state: the game inherited descriptors $(tr '\n' ' ' <"$work/descriptors")"
    done
    expected_status=7
fi

# Without "--" after the size, everything after it is the command, a "--"
# of its own included (a wrapper's, or Steam's chain), and the log says so;
# but for one game alone, which the console build patches and no more.
new_case forgotten
make_game gorv.exe
game=$(native_path "$folder/gorv.exe")
arguments=(--screen 2560x1080 "$probe" -- "$game" -x)
expected_status=7
run_patcher ''
expect_launch "gorv-patcher: no -- after --screen 2560x1080: all that follows is the command
$offset_line
gorv-patcher: Patched $game to 16:6.75 (2.37037); the game as it was is in $game.backup" -- "$game" -x
expected_status=0
arguments=(--screen 1280x800 "$game")
run_patcher ''
expect_output "gorv-patcher: Patched $game to 14.4:9 (1.6); the game as it was is in $game.backup
"
if ((${#emulator[@]} == 0)); then
    # Steam's chain, for a game in Proton: its reaper runs what follows its
    # own "--", and records that it was there.
    printf '#!/bin/sh\necho reaper "$1" "$2" >"%s"\nshift 3\nexec "$@"\n' "$work/reaper-ran" >"$work/reaper"
    chmod +x "$work/reaper"
    arguments=(--screen 2560x1080 "$work/reaper" SteamLaunch AppId=1 -- "$probe" "$game")
    expected_status=7
    run_patcher ''
    expect_launch "gorv-patcher: no -- after --screen 2560x1080: all that follows is the command
$offset_line
gorv-patcher: Patched $game to 16:6.75 (2.37037); the game as it was is in $game.backup" "$game"
    checks=$((checks + 1))
    [ "$(cat "$work/reaper-ran" 2>/dev/null)" = "reaper SteamLaunch AppId=1" ] || fail "the reaper was not in the chain"
fi

# The log is the tool's own file: a link of that name, or another name of
# a file, is replaced, never written through, and a folder of that name
# stays and costs nothing.
new_case log
make_game gorv.exe
echo "the player's notes" >notes.txt
ln -s notes.txt gorv-patcher.log
arguments=(--screen 2560x1080 -- "$probe")
expected_status=7
run_patcher ''
expect_launch "$offset_line
gorv-patcher: Patched gorv.exe to 16:6.75 (2.37037); the game as it was is in gorv.exe.backup"
checks=$((checks + 1))
[ ! -L gorv-patcher.log ] && [ "$(cat notes.txt)" = "the player's notes" ] || fail "the log was written through its link"
rm gorv-patcher.log
ln notes.txt gorv-patcher.log
run_patcher ''
checks=$((checks + 1))
[ "$(cat notes.txt)" = "the player's notes" ] && [ "$(stat -c %h notes.txt)" = 1 ] || fail "the log was written into another name of a file"
rm gorv-patcher.log
mkdir gorv-patcher.log
run_patcher ''
checks=$((checks + 1))
[ -d gorv-patcher.log ] && [ -z "$(ls -A gorv-patcher.log)" ] && [ "$(tr -d '\r' <"$output.err" | head -2)" = "$offset_line
gorv-patcher: gorv.exe is already set to 16:6.75 (2.37037)" ] ||
    fail "with a folder in the log's place: told [$(cat "$output.err")]"
expect_files gorv.exe gorv.exe.backup notes.txt gorv-patcher.log
# The log then goes to the user's state folder, and says so.
checks=$((checks + 1))
state_log=$(sed -n 's/^gorv-patcher: the log is in \(.*\), as gorv-patcher.log could not be written\r*$/\1/p' "$output.err")
if ((${#emulator[@]} == 0)); then
    [ "$state_log" = "$XDG_STATE_HOME/gorv-patcher/gorv-patcher.log" ] || fail "told [$(cat "$output.err")]"
else
    [[ $state_log == *'\gorv-patcher\gorv-patcher.log' ]] || fail "told [$(cat "$output.err")]"
    state_log=$("${emulator[@]}" winepath -u "$state_log" 2>/dev/null)
fi
checks=$((checks + 1))
[ "$(tail -n +3 "$state_log" | tr -d '\r')" = "$(tr -d '\r' <"$output.err")" ] || fail "the state folder's log holds [$(cat "$state_log")]"

# A game folder where the log cannot be written (here a full disk, and a
# long command line): the log goes to the state folder, and the last
# start's log beside the game goes, so that it tells nothing that did not
# happen.
if ((${#emulator[@]} == 0)) && mkdir full && mount -t tmpfs -o size=9m tmpfs full 2>/dev/null; then
    make_game full/gorv.exe
    arguments=(--screen 2560x1080 -- "$probe" "$folder/full/gorv.exe")
    run_patcher ''
    rm full/gorv-patcher.log
    echo "gorv-patcher: an earlier start's line" >full/gorv-patcher.log
    head -c 10M /dev/zero >full/filler 2>/dev/null
    arguments=(--screen 1280x800 -- "$probe" "$folder/full/gorv.exe" "$(head -c 6000 /dev/zero | tr '\0' x)")
    run_patcher ''
    checks=$((checks + 1))
    [ ! -e full/gorv-patcher.log ] && grep -q "^gorv-patcher: Patched $folder/full/gorv.exe to 14.4:9" "$state_log" ||
        fail "with a full disk: told [$(cat "$output.err")], logged [$(cat "$state_log")]"
    umount full
fi
rm -rf full

# Without a command: the game in the working folder, patched once; "--"
# with nothing after it is no launch.
new_case screen
make_game gorv.exe
expected_status=0
arguments=(--screen 2560X1080)
run_patcher ''
expect_output $'gorv-patcher: Patched gorv.exe to 16:6.75 (2.37037); the game as it was is in gorv.exe.backup\n'
run_patcher ''
expect_output $'gorv-patcher: gorv.exe is already set to 16:6.75 (2.37037)\n'
expected_status=2
arguments=(--screen 2560x1080 --)
run_patcher ''
expect_output ''
if ((${#emulator[@]} == 0)); then
    # A game that is a link to its own backup: neither form writes the
    # backup, and neither says it patched.
    rm gorv.exe
    cp "$work/game.template" gorv.exe.backup
    ln -s gorv.exe.backup gorv.exe
    expected_status=1
    arguments=(--screen 2560x1080 gorv.exe)
    run_patcher ''
    expected_status=0
    arguments=(--screen 2560x1080 -- true gorv.exe)
    run_patcher ''
    expect_same gorv.exe.backup "$work/game.template"
    checks=$((checks + 1))
    ! grep -q "Patched" "$output" "$output.err" gorv-patcher.log || fail "told it patched: $(cat "$output.err")"
fi

# No state of the standard streams reaches the game or stops it: each one
# closed, in both forms (under Wine too, where a closed stream is a missing
# standard handle), and natively standard error a pipe whose reader has
# gone (with SIGPIPE as a launcher leaves it, at its default).
new_case streams
for form in launch screen; do
    for stream in 0 1 2; do
        make_game gorv.exe
        rm -f gorv.exe.backup "$work/probe"
        words=(--screen 2560x1080 gorv.exe) expected=0
        [ "$form" = screen ] || words=(--screen 2560x1080 -- "$probe" gorv.exe) expected=7
        status=0
        case $stream in
        0) "${emulator[@]}" "$patcher" "${words[@]}" <&- >/dev/null 2>&1 ;;
        1) "${emulator[@]}" "$patcher" "${words[@]}" >&- 2>/dev/null ;;
        2) "${emulator[@]}" "$patcher" "${words[@]}" 2>&- >/dev/null ;;
        esac || status=$?
        expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_21_9"
        expect_same gorv.exe.backup "$work/game.template"
        checks=$((checks + 1))
        [ "$status" = "$expected" ] && { [ "$form" = screen ] || [ -e "$work/probe" ]; } ||
            fail "$form with $stream closed: status $status"
    done
done
if ((${#emulator[@]} == 0)); then
    make_game gorv.exe
    rm -f gorv.exe.backup
    status=0
    perl -e 'pipe(my $r, my $w) or die; close $r; open(STDERR, ">&", $w) or die; $SIG{PIPE} = "DEFAULT"; exec @ARGV' \
        "$patcher" --screen 2560x1080 -- "$probe" gorv.exe || status=$?
    checks=$((checks + 1))
    [ "$status" = 7 ] && [ -e "$work/probe" ] || fail "with a broken pipe for standard error: status $status"
    expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_21_9"
fi

# Elsewhere on Linux, the search's one find is taken; with two, nobody is
# there to choose, so they are named and nothing is written.
if ((${#emulator[@]} == 0)); then
    new_case search
    export HOME="$folder/home"
    make_game home/Games/A/gorv.exe
    make_game home/Games/B/gorv.exe
    arguments=(--screen 2560x1080)
    expected_status=1
    run_patcher ''
    expect_output "gorv-patcher: Not patched: gorv.exe is in more than one place:
  $HOME/Games/A/gorv.exe
  $HOME/Games/B/gorv.exe
Name the game: gorv-patcher --screen WIDTHxHEIGHT PATH/gorv.exe
"
    expect_files home home/Games home/Games/A home/Games/B home/Games/A/gorv.exe home/Games/B/gorv.exe
    rm -r home/Games/B
    expected_status=0
    run_patcher ''
    expect_output "gorv-patcher: Patched $HOME/Games/A/gorv.exe to 16:6.75 (2.37037); the game as it was is in $HOME/Games/A/gorv.exe.backup
"
fi

finish
