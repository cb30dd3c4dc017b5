# Without gorv.exe in the working folder the tool asks for its path on the
# console (the Windows build shows the open-file dialog instead).
source "$(dirname "$0")/lib.sh"

readonly question=$'\nPath to your Gorv Executable (empty line to cancel): '
readonly sizes=$'1920\n1080\n'

# Cancelling, by an empty answer or by the end of input, writes nothing.
for input in $'\n\n' ''; do
    new_case "cancel-$checks"
    make_game game/gorv.exe
    run_patcher "$sizes$input"
    expect_output "$asked$question$closing$press_enter"
    expect_files game game/gorv.exe
done

# A quoted path, as terminals paste a dropped file, and a folder.
for answer in "'game/gorv.exe'" '"game/gorv.exe"' game game/; do
    new_case "answer-$checks"
    make_game game/gorv.exe
    run_patcher "$sizes$answer"$'\n\n'
    path=game/gorv.exe
    expect_output "$asked$question$(patching "$path")$echo_16_9$summary_16_9"
    expect_files game game/gorv.exe game/gorv.exe.backup
    expect_patched game/gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"
done

# A wrong path is named and asked again.
new_case wrong-then-right
make_game game/gorv.exe
run_patcher "$sizes"$'nowhere/gorv.exe\ngame/gorv.exe\n\n'
expect_output "$asked$question"$'\nNo such file: nowhere/gorv.exe\n'"$question$(patching game/gorv.exe)$echo_16_9$summary_16_9"
expect_patched game/gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

# Any other file name is backed up but never written.
new_case other-name
make_game game/GORV.EXE
run_patcher "$sizes"$'game/GORV.EXE\n\n'
expect_output "$asked$question$(patching game/GORV.EXE)$(not_patched "only a file named gorv.exe is patched")$summary_16_9"
expect_files game game/GORV.EXE game/GORV.EXE.backup
expect_same game/GORV.EXE "$work/game.template"
expect_same game/GORV.EXE.backup "$work/game.template"

finish
