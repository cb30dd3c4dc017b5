# A game that another program holds open (the game itself, running) is
# left whole, and the player is told it is in use; so is a read-only one.
# A game that another run is patching is left to that run.
# Called as: bash in_use_wine.sh PATCHER HOLD_FILE EMULATOR...
set -u
hold_file=$(realpath "$2")
set -- "$1" "${@:3}"
source "$(dirname "$0")/lib.sh"

readonly in_use="gorv.exe is in use by another program (is the game running? close it and run again): "

# Runs the tool while HOLD_FILE holds gorv.exe open with SHARING.
run_while_held() { # SHARING
    rm -f "$work/release" "$work/held"
    "${emulator[@]}" "$hold_file" gorv.exe "$1" 'Z:'"${work//\//\\}"'\release' >"$work/held" 2>&1 &
    local holder=$! attempt
    for attempt in $(seq 300); do
        grep -q holding "$work/held" 2>/dev/null && break
        sleep 0.1
    done
    grep -q holding "$work/held" || fail "the file could not be held: $(cat "$work/held")"
    run_patcher "$answers_16_9"
    touch "$work/release"
    wait "$holder"
}

# Shared for reading, as a running program holds its own file: the backup
# is made, the write is refused.
new_case held-for-reading
make_game gorv.exe
run_while_held read
expect_output "$asked$(patching gorv.exe)$echo_16_9$(not_patched "${in_use}Sharing violation.")$summary_16_9"
expect_same gorv.exe "$work/game.template"
expect_same gorv.exe.backup "$work/game.template"

# Nor can the game be put back from its backup while it runs.
printf '\x39\x8e\xe3\x3f' | dd of=gorv.exe bs=1 seek="$default_offset" conv=notrunc status=none
cp gorv.exe "$work/patched"
arguments=(gorv.exe.backup)
expected_status=1
run_while_held read
expect_output "Not restored: ${in_use}Sharing violation.$press_enter"
expect_same gorv.exe "$work/patched"
expect_same gorv.exe.backup "$work/game.template"

# Shared with nobody: not even the backup can be read.
new_case held-alone
make_game gorv.exe
run_while_held none
expect_output "$asked"$'\nBacking Up...\n\nBackup failed: '"${in_use}Sharing violation."$'\n'"$closing$press_enter"
expect_files gorv.exe
expect_same gorv.exe "$work/game.template"

# Another run holds the game's lock: nothing is copied or written.
new_case locked-by-another-run
make_game gorv.exe
run_while_held lock
expect_output "$asked"$'\nBacking Up...\n\nBackup failed: gorv.exe is being patched by another run\n'"$closing$press_enter"
expect_files gorv.exe
expect_same gorv.exe "$work/game.template"

finish
