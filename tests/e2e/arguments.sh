# The tool started with an argument: a game dropped onto it is patched, a
# backup dropped onto it puts the game back, and the options.
source "$(dirname "$0")/lib.sh"

readonly usage='usage: gorv-patcher [--help | --version | GAME | GAME.backup]
       gorv-patcher --screen WIDTHxHEIGHT [GAME | [--] COMMAND [ARGUMENT...]]
       gorv-patcher --keep-patched [WIDTHxHEIGHT | off] [GAME] [--program PATH]'

# A dropped game gets the dialogue that the dialog would give for its path.
new_case dropped-game
make_game game/gorv.exe
game=$(native_path game/gorv.exe)
arguments=("$game")
run_patcher "$answers_16_9"
expect_output "$asked$(patching "$game")$echo_16_9$summary_16_9"
expect_files game game/gorv.exe game/gorv.exe.backup
expect_patched game/gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

# Its backup dropped onto the tool puts the game back; again, there is
# nothing to do.
arguments=("$game.backup")
run_patcher $'\n'
expect_output "Restored $game from $game.backup$press_enter"
expect_same game/gorv.exe "$work/game.template"
expect_files game game/gorv.exe game/gorv.exe.backup
run_patcher $'\n'
expect_output "$game already equals $game.backup: nothing to restore$press_enter"

# Started with standard input closed (the backup then opens as descriptor
# 0), a restore works all the same.
if ((${#emulator[@]} == 0)); then
    cp "$work/game.template" game/gorv.exe.backup
    cp "$work/game.template" game/gorv.exe
    printf '\x39\x8e\xe3\x3f' | dd of=game/gorv.exe bs=1 seek="$default_offset" conv=notrunc status=none
    checks=$((checks + 1))
    "$patcher" "$game.backup" 0<&- >"$output" 2>&1 || fail "the restore with no standard input failed"
    expect_output "Restored $game from $game.backup$press_enter"
    expect_same game/gorv.exe "$work/game.template"
fi

# A game that an update changed is not the backup's game any more.
printf 'an update that changed more than a few bytes of the game, all over' |
    dd of=game/gorv.exe bs=1 seek=1000 conv=notrunc status=none
cp game/gorv.exe "$work/updated"
expected_status=1
run_patcher $'\n'
expect_output "Not restored: $game has changed since $game.backup was made (a game update?); Steam's \"Verify integrity of game files\" restores the game$press_enter"
expect_same game/gorv.exe "$work/updated"
expect_same game/gorv.exe.backup "$work/game.template"

# A game in a folder of more than 260 characters (Windows' old limit),
# named in any script, patches and restores.
new_case long-folder
long=
for _ in 1 2 3 4 5 6; do long+=ゲームのフォルダゲームのフォルダゲームのフォルダゲームのフォルダゲームのフォルダゲームのフ/; done
make_game "$long/gorv.exe"
game=$(native_path "$folder/${long}gorv.exe")
arguments=("$game")
run_patcher "$answers_16_9"
expect_output "$asked$(patching "$game")$echo_16_9$summary_16_9"
expect_patched "$long/gorv.exe" "$work/game.template" "$default_offset" "$bytes_16_9"
arguments=("$game.backup")
run_patcher $'\n'
expect_output "Restored $game from $game.backup$press_enter"
expect_same "$long/gorv.exe" "$work/game.template"
expect_same "$long/gorv.exe.backup" "$work/game.template"

# Under Windows a path may have forward slashes, as Git Bash and many
# tools hand it over: the game's name and folder are found all the same.
if ((${#emulator[@]} > 0)); then
    new_case forward-slashes
    make_game game/gorv.exe
    echo 320 >game/GorvPatcherUpdate.dat
    game="Z:$folder/game/gorv.exe"
    arguments=("$game")
    run_patcher "$answers_16_9"
    expect_output "$asked$updated$(patching "$game")$echo_16_9$summary_16_9"
    expect_patched game/gorv.exe "$work/game.template" 320 "$bytes_16_9"
fi

# The options, and what is no way to start the tool, answered at once: a
# dropped file that is not the game is refused before anything is read
# or written.
new_case options
make_game gorv.exe
printf 'notes\n' >notes.txt
printf 'notes\n' >gorv.exe.BACKUP
for entry in "0:--version" "0:--help" "2:--patch" "2:gorv.exe:gorv.exe" "2:nothing-here.exe" "2:." "2:notes.txt" \
    "2:gorv.exe.BACKUP"; do
    IFS=: read -r expected_status first second <<<"$entry"
    arguments=("$first" ${second:+"$second"})
    run_patcher ''
    case $first in
    --version) expect_output $'gorv-patcher 1.0.0\n' ;;
    --help) [ "$(head -3 "$output" | tr -d '\r')" = "$usage" ] && grep -q -- '-- %command%' "$output" || fail "--help: $(cat "$output")" ;;
    *) expect_output '' && { [ "$(tail -3 "$output.err" | tr -d '\r')" = "$usage" ] || fail "no usage line for $first"; } ;;
    esac
done
expect_files gorv.exe notes.txt gorv.exe.BACKUP
expect_same gorv.exe "$work/game.template"

finish
