# GorvPatcherUpdate.dat: its first line moves the patch; a first line that
# is not a positive number is refused and the built-in offset stays.
source "$(dirname "$0")/lib.sh"

readonly update_file=GorvPatcherUpdate.dat

# Each of these files puts the patch at 320.
accepted=(
    $'320\n'
    $' 320abc\n'
    $'320\r\n7\r\n'
    $'320\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n'
    '320'
)
for contents in "${accepted[@]}"; do
    new_case "offset-320-$checks"
    make_game gorv.exe
    printf '%s' "$contents" >"$update_file"
    run_patcher "$answers_16_9"
    expect_output "$updated$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
    expect_patched gorv.exe "$work/game.template" 320 "$bytes_16_9"
done

# Each of these first lines would send the write to the file's start or
# nowhere: the notice says so and the built-in offset is used.
refused=(
    '0:'
    '0:0'
    '-5:-5'
    '0:0x3B9BE7'
    $'0:\xEF\xBB\xBF320'
    '0:words'
    $'0:\n320'
)
for entry in "${refused[@]}"; do
    value=${entry%%:*}
    new_case "refused-$checks"
    make_game gorv.exe
    printf '%s\n' "${entry#*:}" >"$update_file"
    run_patcher "$answers_16_9"
    expect_output "$updated""Ignored offset $value from $update_file"$'\n'"$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
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
