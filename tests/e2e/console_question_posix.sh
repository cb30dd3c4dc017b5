# Without gorv.exe in the working folder the tool asks for its path on the
# console (the Windows build shows the open-file dialog instead).
source "$(dirname "$0")/lib.sh"

readonly question=$'\nPath to your Gorv Executable (empty line to cancel): '
readonly choose=$'\nNumber or path of your Gorv Executable (empty line to cancel): '
readonly sizes=$'1920\n1080\n'

# A home folder of the tests' own: the tool looks for games in it.
export HOME="$work/home"
mkdir -p "$HOME"

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
    expect_output "$asked$question$(patching "$folder/game/gorv.exe")$echo_16_9$summary_16_9"
    expect_files game game/gorv.exe game/gorv.exe.backup
    expect_patched game/gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"
done

# A wrong path is named and asked again.
new_case wrong-then-right
make_game game/gorv.exe
run_patcher "$sizes"$'nowhere/gorv.exe\ngame/gorv.exe\n\n'
expect_output "$asked$question"$'\nNo such file: nowhere/gorv.exe\n'"$question$(patching "$folder/game/gorv.exe")$echo_16_9$summary_16_9"
expect_patched game/gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

# A NUL in a URL (%00) names no file: the file the system would take the
# path for (Games/victim) is left alone. Control characters are quoted
# back as visible escapes.
new_case nul-in-the-path
make_game Games/victim
cp Games/victim "$work/victim"
run_patcher "$sizes"'file://'"$folder"$'/Games/victim%00/gorv.exe\n\e]0;pwned\a\e[2J/x\n\n\n'
expect_output "$asked$question"$'\nNo such file: file://'"$folder"$'/Games/victim%00/gorv.exe\n'"$question"$'\nNo such file: \\x1B]0;pwned\\x07\\x1B[2J/x\n'"$question$closing$press_enter"
expect_files Games Games/victim
expect_same Games/victim "$work/victim"

# A path of several megabytes (a pasted file) is no path: it is named cut
# to 200 characters, and the question comes again. 4096 bytes still are a
# path.
new_case huge-path
make_game game/gorv.exe
huge=$(head -c 4000000 /dev/zero | tr '\0' a)
longest=" $(printf './%.0s' $(seq 2041))game/gorv.exe"
((${#longest} == 4096)) || fail "the longest answer is ${#longest} bytes long"
run_patcher "$sizes$huge"$'\n'"$longest"$'\n\n'
expect_output "$asked$question"$'\nNo such file: '"${huge:0:200}…"$'\n'"$question$(patching "$folder/game/gorv.exe")$echo_16_9$summary_16_9"

# Any other file name is backed up but never written: a backslash is part
# of a name here, and a file named like the cancel word is just a file.
for name in GORV.EXE 'old\gorv.exe' FAILED; do
    new_case "other-name-$checks"
    make_game "game/$name"
    run_patcher "$sizes'game/$name'"$'\n\n'
    expect_output "$asked$question$(patching "$folder/game/$name")$(not_patched "only a file named gorv.exe is patched")$summary_16_9"
    expect_files game "game/$name" "game/$name.backup"
    expect_same "game/$name" "$work/game.template"
    expect_same "game/$name.backup" "$work/game.template"
done

# Another file's backup is made only where its name is free: the player's
# own files of those names are left as they are.
new_case other-name-beside-its-own-copies
make_game game/save.dat
printf 'the player%ss copy\n' "'" | tee game/save.dat.backup game/save.dat.tmp game/save.dat.backup.tmp >"$work/copy"
run_patcher "$sizes'game/save.dat'"$'\n\n'
expect_output "$asked$question"$'\nBacking Up...\n\nBackup failed: could not copy '"$folder/game/save.dat to $folder/game/save.dat.backup"$': a file of that name is there already, and only the backup of gorv.exe is ever replaced\n'"$closing$press_enter"
expect_files game game/save.dat game/save.dat.backup game/save.dat.tmp game/save.dat.backup.tmp
for copy in game/save.dat.backup game/save.dat.tmp game/save.dat.backup.tmp; do expect_same "$copy" "$work/copy"; done

# Paths as people type or paste them.
game="$HOME/My Games/Gorv/gorv.exe"
for answer in "~/My Games/Gorv/gorv.exe" "~/My\\ Games/Gorv/gorv.exe" "file://$HOME/My%20Games/Gorv/gorv.exe" \
    "'$game' " "  $game  " "$game"$'\r'; do
    new_case "pasted-$checks"
    make_game "$game"
    run_patcher "$sizes$answer"$'\n\n'
    expect_output "$asked$question$(patching "$game")$echo_16_9$summary_16_9"
    expect_patched "$game" "$work/game.template" "$default_offset" "$bytes_16_9"
    rm -r "$HOME/My Games"
done

# Games where Steam, Heroic and Lutris keep them are listed, each once
# however many links lead to it, and one is picked by its number.
new_case steam-libraries
steam="$HOME/.local/share/Steam"
sd_card="$folder/sd card"
make_game "$steam/steamapps/common/Gorv/gorv.exe"
make_game "$sd_card/steamapps/common/Gorv/gorv.exe"
make_game "$HOME/Games/Heroic/Gorv/gorv.exe"
make_game "$steam/steamapps/common/Other/game.exe"
mkdir -p "$HOME/.steam" && ln -s ../.local/share/Steam "$HOME/.steam/steam"
printf '"libraryfolders"\n{\n\t"0"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n\t"1"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n}\n' \
    "$steam" "$sd_card" >"$steam/steamapps/libraryfolders.vdf"
run_patcher "$sizes"$'2\n\n'
listing=$'\nFound gorv.exe in:\n'"  1) $steam/steamapps/common/Gorv/gorv.exe"$'\n'"  2) $sd_card/steamapps/common/Gorv/gorv.exe"$'\n'"  3) $HOME/Games/Heroic/Gorv/gorv.exe"$'\n'
expect_output "$asked$listing$choose$(patching "$sd_card/steamapps/common/Gorv/gorv.exe")$echo_16_9$summary_16_9"
expect_patched "$sd_card/steamapps/common/Gorv/gorv.exe" "$work/game.template" "$default_offset" "$bytes_16_9"
expect_same "$steam/steamapps/common/Gorv/gorv.exe" "$work/game.template"
rm -r "$HOME" && mkdir "$HOME"

# A folder or a pipe named gorv.exe in the working folder is not the game:
# the question follows, and nothing waits on the pipe.
for kind in folder pipe; do
    new_case "not-a-file-$kind"
    if [ "$kind" = folder ]; then mkdir gorv.exe; else mkfifo gorv.exe; fi
    run_patcher "$sizes"$'\n\n'
    expect_output "$asked$question$closing$press_enter"
done

# The backup keeps the game's permission bits, whatever the umask.
new_case permissions
make_game gorv.exe
chmod 0775 gorv.exe
(umask 077 && run_patcher "$answers_16_9")
[ "$(stat -c %a gorv.exe.backup)" = 775 ] || fail "backup has mode $(stat -c %a gorv.exe.backup), not 775"

# While another run holds the game (or merely reads it under a shared
# lock), a run writes nothing and says so.
for how in exclusive shared; do
    new_case "locked-$how"
    make_game gorv.exe
    exec {held}<gorv.exe
    flock "--$how" "$held"
    run_patcher "$answers_16_9"
    exec {held}<&-
    expect_output "$asked"$'\nBacking Up...\n\nBackup failed: gorv.exe is being patched by another run\n'"$closing$press_enter"
    expect_files gorv.exe
    expect_same gorv.exe "$work/game.template"
done

# At the end the tool waits for Enter (a console window would close
# before it could be read), and no longer holds the game, or anything
# else, while it waits: after a patch, and after a backup that failed (a
# folder stands at its name).
for backup in file folder; do
new_case "waits-for-enter-$backup"
make_game gorv.exe
[ "$backup" = file ] || mkdir -p gorv.exe.backup/inside
rm -f "$work/answers"
mkfifo "$work/answers"
"$patcher" <"$work/answers" >"$output" 2>"$output.err" &
pid=$!
exec {answers}>"$work/answers"
printf '1920\n1080\n' >&"$answers"
for _ in $(seq 300); do
    [[ $(cat "$output") == *"$press_enter" ]] && break
    sleep 0.1
done
sleep 0.5 # time enough for a run that does not wait to end
checks=$((checks + 1))
kill -0 "$pid" 2>/dev/null || fail "ended without waiting for Enter"
checks=$((checks + 1))
flock --nonblock --exclusive gorv.exe true || fail "still holds the game while it waits for Enter"
# Nor any file or folder: an SD card or USB drive could not be ejected.
checks=$((checks + 1))
# (Descriptors that the test runner passed on are no concern of the tool.)
open_files=$(find "/proc/$pid/fd" -mindepth 1 -printf '%f %l\n' | awk -v work="$work" '$1 > 2 && index($2, work) == 1')
[ -z "$open_files" ] || fail "holds more than its standard streams: $open_files"
printf '\n' >&"$answers"
exec {answers}>&-
wait "$pid"
if [ "$backup" = file ]; then
    expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
else
    expect_output "$asked"$'\nBacking Up...\n\nBackup failed: could not copy gorv.exe to gorv.exe.backup: '"$reason_is_a_folder"$'\n'"$closing$press_enter"
fi
done

# A game file the player may not write is backed up, and the reason why
# it was not patched is given. (Root may write anything: run as nobody.)
new_case write-protected
make_game gorv.exe
chmod 0444 gorv.exe
if [ "$(id -u)" = 0 ]; then
    chmod 0755 "$work"
    chown -R nobody "$folder"
    emulator=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run_patcher "$answers_16_9"
expect_output "$asked$(patching gorv.exe)$echo_16_9$(not_patched "could not write gorv.exe: Permission denied")$summary_16_9"
expect_same gorv.exe "$work/game.template"

finish
