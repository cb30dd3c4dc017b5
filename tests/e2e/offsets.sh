# GorvPatcherUpdate.dat: its first line moves the patch; a first line that
# is not a positive number is refused and the built-in offset stays.
source "$(dirname "$0")/lib.sh"

readonly update_file=GorvPatcherUpdate.dat

# Each of these files puts the patch at 320 (printf escapes): text as
# editors on Linux and Windows save it, Notepad's UTF-8 with a byte-order
# mark, and PowerShell's UTF-16 in either byte order.
accepted=(
    '320\n'
    ' 320abc\n'
    '320\r\n7\r\n'
    '320\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n'
    '320'
    '\xEF\xBB\xBF320\r\n'
    '\xFF\xFE3\x002\x000\x00\r\x00\n\x00'
    '\xFE\xFF\x003\x002\x000\x00\r\x00\n'
    '3\x002\x000\x00\r\x00\n\x00'
    '320\r7\r'
)
for contents in "${accepted[@]}"; do
    new_case "offset-320-$checks"
    make_game gorv.exe
    printf '%b' "$contents" >"$update_file"
    run_patcher "$answers_16_9"
    expect_output "$updated$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
    expect_patched gorv.exe "$work/game.template" 320 "$bytes_16_9"
done

# Each of these first lines would send the write to the file's start or
# nowhere, a number in groups included (it is no offset of 3): the notice
# quotes the line (its first 40 characters, with control characters made
# visible) and the built-in offset is used.
long_line="offset = 3906600, as the notes of version 1.2 say"
refused=(
    ''
    '0'
    '-5'
    '0x3B9BE7'
    'words'
    "$long_line"
    '3,906,600'
    '3.906.600'
    '3 906 600'
    $'3\u00a0906\u00a0600'
    '39 06600'
    $'\e]0;pwned\a\e[2J3'
)
for line in "${refused[@]}" $'\n320'; do
    quoted=${line%%$'\n'*}
    [ "$line" != "$long_line" ] || quoted="${long_line:0:40}…"
    [[ $line != $'\e'* ]] || quoted='\x1B]0;pwned\x07\x1B[2J3'
    new_case "refused-$checks"
    make_game gorv.exe
    printf '%s\n' "$line" >"$update_file"
    run_patcher "$answers_16_9"
    expect_output "$updated""Ignored offset \"$quoted\" from $update_file"$'\n'"$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
    expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"
done

# UTF-16 without a byte-order mark is read as such, however its number is
# cut by the zero bytes; the NUL bytes of a file that is no UTF-16 make a
# number in pieces, which is refused.
new_case nul-in-the-number
make_game gorv.exe
printf '3\0009\0000\0006\0006\0000\0000\n' >"$update_file"
run_patcher "$answers_16_9"
expect_output "$updated"'Ignored offset "3\x009\x000\x006\x006\x000\x000" from '"$update_file"$'\n'"$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

# The game's own folder has an update file, the working folder none: it is
# read once the game is known. The working folder's wins over it, unless
# that cannot be read (here a folder of that name): then it is named, and
# the game folder's is used.
for working_offset in "" 640 unreadable; do
    new_case "beside-the-game-$checks"
    make_game game/gorv.exe
    echo 320 >"game/$update_file"
    expected_offset=320
    announced=$asked$updated
    if [ "$working_offset" = unreadable ]; then
        mkdir "$update_file"
        reason="Is a directory"
        ((${#emulator[@]} == 0)) || reason="Not a regular file"
        announced=$'\nNot used: could not read '"$update_file: $reason"$'\n'$asked$updated
    elif [ -n "$working_offset" ]; then
        echo "$working_offset" >"$update_file"
        expected_offset=$working_offset
        announced=$updated$asked
    fi
    game=$(native_path game/gorv.exe)
    arguments=("$game")
    run_patcher "$answers_16_9"
    expect_output "$announced$(patching "$game")$echo_16_9$summary_16_9"
    expect_patched game/gorv.exe "$work/game.template" "$expected_offset" "$bytes_16_9"
done

# An update file that is there but cannot be read is named with the
# system's reason, and the built-in offset is used when the game's folder
# has none.
unreadable=(folder)
((${#emulator[@]} > 0)) || unreadable+=(pipe)
for kind in "${unreadable[@]}"; do
    new_case "unreadable-$kind"
    make_game gorv.exe
    reason="Not a regular file"
    if [ "$kind" = folder ]; then
        mkdir "$update_file"
        ((${#emulator[@]} > 0)) || reason="Is a directory"
    else
        mkfifo "$update_file"
    fi
    run_patcher "$answers_16_9"
    expect_output $'\nNot used: could not read '"$update_file: $reason"$'\n'"$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
    expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"
done

# The smallest offset there is, 1, is taken.
new_case offset-1
make_game gorv.exe
echo 1 >"$update_file"
run_patcher "$answers_16_9"
expect_output "$updated$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
expect_patched gorv.exe "$work/game.template" 1 "$bytes_16_9"

# An offset beyond the executable leaves it exactly as it was.
new_case past-the-end
make_game gorv.exe
echo 5000000 >"$update_file"
run_patcher "$answers_16_9"
expect_output "$updated$asked$(patching gorv.exe)$echo_16_9$(not_patched "offset 5000000 is past the end of gorv.exe")$summary_16_9"
expect_same gorv.exe "$work/game.template"
expect_files gorv.exe gorv.exe.backup "$update_file"

finish
