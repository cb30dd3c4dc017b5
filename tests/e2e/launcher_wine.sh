# A Windows launcher (Steam, a store's client: a program without a
# console) runs the game through gorv-patcherw.exe, on a virtual screen
# under Wine: no window shows, the game gets no console, its exit code
# reaches the launcher and the log is beside the game. Started on its own,
# it offers to set Steam's launch options for the game (Yes and No), and a
# Steam stand-in runs them. And a build whose
# manifest lacks the UTF-8 code page (Windows before 10 version 1903
# ignores it) patches under a folder that the ANSI code page cannot name.
# Called as: bash launcher_wine.sh PATCHERW LAUNCHER PROBE PATCHER_ANSI LINE_PROBE EMULATOR...
set -u
launcher=$(realpath "$2")
probe=$(realpath "$3")
ansi=$(realpath "$4")
line_probe=$(realpath "$5")
line_probe_file=$line_probe
set -- "$1" "${@:6}"
source "$(dirname "$0")/lib.sh"
patcherw=$patcher
patcherw_file=$patcher

start_virtual_screen
# The prefix's windows go to this screen: a server of its own, left behind by none.
wineserver -k 2>/dev/null
trap 'wineserver -k 2>/dev/null; kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
"${emulator[@]}" wineboot --init >/dev/null 2>&1

# The game as it ships: its own 16:9 at the offset.
printf '\x39\x8e\xe3\x3f' | dd of="$work/game.template" bs=1 seek="$default_offset" conv=notrunc status=none
readonly bytes_21_9="26 b4 17 40"
export GORV_PROBE_OUT="$work/probe" GORV_PROBE_STATUS=7 GORV_PROBE_VALUE=set
probe=$(native_path "$probe")
patcherw=$(native_path "$patcherw")

visible_windows() { xdotool search --onlyvisible --name . 2>/dev/null; }
# The launcher starts COMMAND_LINE in the background ($pid).
launch() { # COMMAND_LINE
    rm -f "$work/status" "$work/probe"
    GORV_LAUNCH_COMMAND=$1 GORV_LAUNCH_STATUS=$(native_path "$work/status") "${emulator[@]}" "$launcher" &
    pid=$!
}
# Waits for the launcher: the exit code it got is EXPECTED.
expect_launcher_got() { # EXPECTED
    wait "$pid"
    checks=$((checks + 1))
    [ "$(tr -d '\r\n' <"$work/status" 2>/dev/null)" = "$1" ] || fail "the launcher got [$(cat "$work/status" 2>/dev/null)]"
}
# Answers the message box titled gorv-patcher, which must show, with KEY,
# and waits until it has gone, so that the next box is another one.
answer_box() { # KEY
    local window
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^gorv-patcher$' | head -1)
    checks=$((checks + 1))
    [ -n "$window" ] || { fail "no message box showed"; return; }
    xdotool windowfocus --sync "$window" 2>/dev/null
    sleep 0.5
    xdotool key "$1"
    for _ in $(seq 150); do
        xdotool search --onlyvisible --name '^gorv-patcher$' 2>/dev/null | grep -qx "$window" || return 0
        sleep 0.2
    done
    fail "the message box stayed after $1"
}
close_message() { answer_box Return; }

new_case launch
make_game gorv.exe
game=$(native_path "$folder/gorv.exe")
GORV_PROBE_WAIT=4000 launch "\"$patcherw\" --screen 2560x1080 -- \"$probe\" \"$game\""
# While the game runs, nothing of the tool or the game shows.
for _ in $(seq 30); do [ -e "$work/probe" ] && break; sleep 0.2; done
sleep 1
checks=$((checks + 1))
[ -e "$work/probe" ] && [ -z "$(visible_windows)" ] || fail "the game did not run, or a window showed while it ran"
expect_launcher_got 7
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_21_9"
expect_same gorv.exe.backup "$work/game.template"
checks=$((checks + 1))
[ "$(tail -n +2 gorv-patcher.log | tr -d '\r')" = "gorv-patcher: starts \"$probe\" \"$game\"
gorv-patcher: Offset $default_offset (built in)
gorv-patcher: Patched $game to 16:6.75 (2.37037); the game as it was is in $game.backup" ] ||
    fail "logged [$(cat gorv-patcher.log)]"

# A command that cannot start: one message box gives the reason, and the
# launcher gets 127.
launch "\"$patcherw\" --screen 2560x1080 -- \"$(native_path "$folder/no-such-game.exe")\""
close_message
expect_launcher_got 127
checks=$((checks + 1))
grep -qF "could not start $(native_path "$folder/no-such-game.exe"): " gorv-patcher.log || fail "logged [$(cat gorv-patcher.log)]"

# The game gets its command line exactly as the launcher wrote it, and so
# the same arguments as without the tool, with "--" after the size or
# without: two quotes in quotes, lone surrogates, empty arguments, tabs,
# trailing backslashes.
new_case exact
make_game gorv.exe
line_probe=$(native_path "$line_probe")
while IFS= read -r words; do
    GORV_PROBE_OUT=$(native_path "$work/direct") launch "\"$line_probe\" $words"
    expect_launcher_got 7
    for form in "--screen 2560x1080 --" "--screen 2560x1080"; do
        GORV_PROBE_OUT=$(native_path "$work/through") launch "\"$patcherw\" $form \"$line_probe\" $words"
        expect_launcher_got 7
        checks=$((checks + 1))
        [ -s "$work/direct" ] && cmp -s "$work/direct" "$work/through" ||
            fail "through [$form], [$words] came as [$(cat "$work/through")], not [$(cat "$work/direct")]"
    done
done <<'EOF_LINES'
-name "John ""Rock"" Smith" -x
"a""b" """c""" "d""
\uD800lone "\uDC00x" \uDBFF
"" a ""  ""
"tab	here"	x	"	"
"C:\a b\\" trailing\ "end\\\\" \\"q\"
EOF_LINES

# The windowed build with the game alone (Steam's %command% without "--"),
# named in any case: patched, started, and its status passed on. The game
# is a program here, with room for the value at the offset.
new_case lone-game
cp "$line_probe_file" gorv.exe
# The probe's own 16:9, in its data, is the game's value.
aspect=$(perl -0777 -ne 'print index($_, "\x39\x8e\xe3\x3f")' gorv.exe)
echo "$aspect" >GorvPatcherUpdate.dat
cp gorv.exe "$work/lone-game.template"
GORV_PROBE_OUT=$(native_path "$work/lone") GORV_PROBE_STATUS=5 launch "\"$patcherw\" --screen 2560x1080 \"$(native_path "$folder/GORV.EXE")\""
expect_launcher_got 5
expect_patched gorv.exe "$work/lone-game.template" "$aspect" "$bytes_21_9"
checks=$((checks + 1))
[ -s "$work/lone" ] || fail "the game did not start"

# A launcher's Stop ends the tool: the game goes with it.
GORV_PROBE_OUT=$(native_path "$work/stopped") GORV_PROBE_WAIT=5000 GORV_PROBE_DONE=$(native_path "$work/done") \
    GORV_LAUNCH_STOP_AFTER=2000 launch "\"$patcherw\" --screen 2560x1080 -- \"$line_probe\""
expect_launcher_got 1
sleep 5
checks=$((checks + 1))
[ -s "$work/stopped" ] && [ ! -e "$work/done" ] || fail "the game did not start, or ran on after the tool was stopped"

# The console build, started by a launcher, gets a console of its own: the
# game gets that console back with the code page it had, not the tool's
# UTF-8.
GORV_PROBE_OUT=$(native_path "$work/console") launch "\"${patcherw%w.exe}.exe\" --screen 2560x1080 -- \"$line_probe\""
expect_launcher_got 7
checks=$((checks + 1))
grep -q '^code page=' "$work/console" && ! grep -q '^code page=65001' "$work/console" ||
    fail "the game saw [$(grep 'code page' "$work/console")]"

# Double-clicked, it says what it is for, in a message box.
new_case double-click
("${emulator[@]}" "$patcher" >"$output" 2>&1) &
pid=$!
close_message
status=0
wait "$pid" || status=$?
checks=$((checks + 1))
[ "$status" = 2 ] && grep -qF "gorv-patcherw.exe is for launch options" "$output" &&
    grep -qF "\"$patcherw\" --screen 2560x1080 -- %command%" "$output" || fail "status $status, told [$(cat "$output")]"

# Without the UTF-8 code page, under a folder in Cyrillic letters: a launch,
# and a game dropped onto the program.
new_case ansi
patcher=$ansi
make_game Игры/gorv.exe
game=$(native_path "$folder/Игры/gorv.exe")
arguments=(--screen 2560x1080 -- "$probe" "$game")
expected_status=7
run_patcher ''
expect_patched Игры/gorv.exe "$work/game.template" "$default_offset" "$bytes_21_9"
checks=$((checks + 1))
[ "$(tail -n 1 Игры/gorv-patcher.log | tr -d '\r')" = "gorv-patcher: Patched $game to 16:6.75 (2.37037); the game as it was is in $game.backup" ] ||
    fail "logged [$(cat Игры/gorv-patcher.log)], told [$(cat "$output.err")]"
make_game Игры/gorv.exe
rm Игры/gorv.exe.backup
arguments=("$game")
expected_status=0
run_patcher "$answers_16_9"
expect_output "$asked$(patching "$game")$echo_16_9$summary_16_9"
expect_patched Игры/gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

# Steam's launch options for the game that the registry's Steam install
# holds: refused while Steam runs; set with a Yes to the windowed build
# started on its own (for the virtual screen's 1024x768); run as Steam runs
# them (the game starts, patched); a No shows what the program is for; and
# the console build's off puts the file back byte for byte.
new_case keep-patched
steam="$folder/Steam"
steam_game="$steam/steamapps/common/Gorv/gorv.exe"
make_game "$steam_game"
printf '"AppState"\r\n{\r\n\t"appid"\t\t"4242"\r\n\t"installdir"\t\t"Gorv"\r\n}\r\n' \
    >"$steam/steamapps/appmanifest_4242.acf"
settings="$steam/userdata/7/config/localconfig.vdf"
mkdir -p "$(dirname "$settings")"
printf '"UserLocalConfigStore"\r\n{\r\n\t"Software"\r\n\t{\r\n\t\t"Valve"\r\n\t\t{\r\n\t\t\t"Steam"\r\n\t\t\t{\r\n\t\t\t\t"apps"\r\n\t\t\t\t{\r\n\t\t\t\t\t"4242"\r\n\t\t\t\t\t{\r\n\t\t\t\t\t\t"LaunchOptions"\t\t"-novid"\r\n\t\t\t\t\t}\r\n\t\t\t\t}\r\n\t\t\t}\r\n\t\t}\r\n\t}\r\n}\r\n' >"$settings"
cp "$settings" "$work/settings.before"
"${emulator[@]}" reg add 'HKCU\Software\Valve\Steam' /v SteamPath /t REG_SZ /d "$(native_path "$steam")" /f >/dev/null 2>&1
console=$(native_path "$(dirname "$patcherw_file")/gorv-patcher.exe")
GORV_LAUNCH_AS_STEAM=1 launch "\"$console\" --keep-patched 2560x1080"
expect_launcher_got 1
expect_same "$settings" "$work/settings.before"
# The program's copy goes under a folder with a space and a letter beyond
# ASCII, as a Windows user's name may have them (the next wineboot puts
# the prefix's own folder back; so does the end of this case).
local_data=$(native_path "$folder/Local Data ä")
own_local_data=$("${emulator[@]}" reg query 'HKCU\Volatile Environment' /v LOCALAPPDATA 2>/dev/null | tr -d '\r' |
    sed -n 's/.*REG_SZ *//p')
"${emulator[@]}" reg add 'HKCU\Volatile Environment' /v LOCALAPPDATA /d "$local_data" /f >/dev/null 2>&1
# Yes (Enter: the default button), then the box that says what was done.
("${emulator[@]}" "$patcherw_file" >"$output" 2>&1) &
pid=$!
close_message
close_message
wait "$pid"
options=$(sed -n 's/^[[:space:]]*"LaunchOptions"[[:space:]]*"\(.*\)"[[:space:]]*$/\1/p' "$settings" | tr -d '\r' |
    sed 's/\\\(.\)/\1/g')
checks=$((checks + 1))
[ "$options" = "\"$local_data\\Programs\\gorv-patcher\\gorv-patcherw.exe\" --screen 1024x768 -- %command% -novid" ] ||
    fail "the launch options are [$options]"
launch "${options//%command%/\"$probe\" \"$(native_path "$steam_game")\"}"
expect_launcher_got 7
expect_patched "$steam_game" "$work/game.template" "$default_offset" "ab aa aa 3f"
checks=$((checks + 1))
grep -q '^\[-novid\]' "$work/probe" || fail "the game started as [$(cat "$work/probe")]"
cp "$settings" "$work/settings.set"
# No: what the program is for.
("${emulator[@]}" "$patcherw_file" >"$output" 2>&1) &
pid=$!
answer_box n
close_message
wait "$pid"
checks=$((checks + 1))
grep -qF "gorv-patcherw.exe is for launch options" "$output" || fail "after No, told [$(cat "$output")]"
expect_same "$settings" "$work/settings.set"
arguments=(--keep-patched off)
patcher=$(dirname "$patcherw_file")/gorv-patcher.exe
run_patcher ''
expect_same "$settings" "$work/settings.before"
"${emulator[@]}" reg add 'HKCU\Volatile Environment' /v LOCALAPPDATA /d "$own_local_data" /f >/dev/null 2>&1

finish
