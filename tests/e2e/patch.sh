# The patch itself: the backup, the four bytes, and every way the write can
# be refused without losing or damaging the game.
source "$(dirname "$0")/lib.sh"

new_case first-patch
make_game gorv.exe
run_patcher "$answers_16_9"
expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
expect_files gorv.exe gorv.exe.backup
expect_same gorv.exe.backup "$work/game.template"
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

# Later runs keep the backup of the game before any patch, and say the same.
run_patcher $'1280\n1000\n\n'
expect_output "$asked$(patching gorv.exe)$(echo_pairs 3F A3 D7 0A)$(summary 16 12.5 1.28)"
expect_patched gorv.exe "$work/game.template" "$default_offset" "0a d7 a3 3f"
run_patcher "$answers_16_9"
expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
expect_files gorv.exe gorv.exe.backup
expect_same gorv.exe.backup "$work/game.template"
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

# The offset moved between runs (an update file came): the backup is still
# the game before any patch, and the game holds only the new patch.
echo 3906600 >GorvPatcherUpdate.dat
run_patcher "$answers_16_9"
expect_output "$updated$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
expect_same gorv.exe.backup "$work/game.template"
rm GorvPatcherUpdate.dat

# A game that an update replaced (same size, other bytes) gets a new backup.
make_game gorv.exe
head -c 100 /dev/zero | dd of=gorv.exe bs=1 seek=100 conv=notrunc status=none
cp gorv.exe "$work/updated"
run_patcher "$answers_16_9"
expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
expect_same gorv.exe.backup "$work/updated"

# A game in a folder named in any script.
new_case "Дмитрий-ゲーム"
make_game gorv.exe
run_patcher "$answers_16_9"
expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

# The four bytes must fit inside the file; the last four can be written.
new_case last-four-bytes
make_game gorv.exe $((default_offset + 4))
run_patcher "$answers_16_9"
expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
expect_patched gorv.exe gorv.exe.backup "$default_offset" "$bytes_16_9"

for size in $((default_offset + 3)) "$default_offset" 1000; do
    new_case "too-short-$size"
    make_game gorv.exe "$size"
    cp gorv.exe "$output.original"
    run_patcher "$answers_16_9"
    expect_output "$asked$(patching gorv.exe)$echo_16_9$(not_patched "offset $default_offset is past the end of gorv.exe")$summary_16_9"
    expect_files gorv.exe gorv.exe.backup
    expect_same gorv.exe "$output.original"
    expect_same gorv.exe.backup "$output.original"
done

# Whatever stands at the temporary name (left by a killed run, or a link
# to the game or elsewhere) is replaced, never written through. Links are
# for the native build: Wine shows a Windows program a Unix link as the
# file it points to.
leftovers=(stale)
((${#emulator[@]} > 0)) || leftovers+=(symlink-to-game hardlink-to-game symlink-elsewhere)
for leftover in "${leftovers[@]}"; do
    new_case "leftover-$leftover"
    make_game gorv.exe
    echo "the last good backup" >gorv.exe.backup
    echo "not ours" >../outside
    case $leftover in
    stale) head -c 5000000 /dev/zero >gorv.exe.backup.tmp ;;
    symlink-to-game) ln -s gorv.exe gorv.exe.backup.tmp ;;
    hardlink-to-game) ln gorv.exe gorv.exe.backup.tmp ;;
    symlink-elsewhere) ln -s ../outside gorv.exe.backup.tmp ;;
    esac
    run_patcher "$answers_16_9"
    expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
    expect_files gorv.exe gorv.exe.backup
    expect_same gorv.exe.backup "$work/game.template"
    expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"
    [ "$(cat ../outside)" = "not ours" ] || fail "a file outside was changed"
done

# A gorv.exe in the working folder that is a link to the game is the game.
if ((${#emulator[@]} == 0)); then
    new_case link-to-game
    make_game ../linked-game/gorv.exe
    ln -s ../linked-game/gorv.exe gorv.exe
    run_patcher "$answers_16_9"
    expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
    expect_patched ../linked-game/gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

    # A link to the tool's own files is no game: refused before anything
    # is copied, removed or written.
    for target in gorv.exe.backup gorv.exe.backup.tmp; do
        new_case "link-to-$target"
        make_game "$target"
        ln -s "$target" gorv.exe
        run_patcher "$answers_16_9"
        expect_output "$asked"$'\nNot patched: gorv.exe leads to '"$folder/$target"$', a file this tool made: only the game itself is patched or restored\n'"$closing$press_enter"
        expect_files gorv.exe "$target"
        expect_same "$target" "$work/game.template"
    done
fi

# A backup that cannot be made stops the run before anything is written,
# and whatever stood at the backup's place is left alone.
new_case backup-is-a-folder
make_game gorv.exe
mkdir gorv.exe.backup
echo keep >gorv.exe.backup/keep
run_patcher "$answers_16_9"
expect_output "$asked"$'\nBacking Up...\n\nBackup failed: could not copy gorv.exe to gorv.exe.backup: '"$reason_is_a_folder"$'\n'"$closing$press_enter"
expect_files gorv.exe gorv.exe.backup gorv.exe.backup/keep
expect_same gorv.exe "$work/game.template"

finish
