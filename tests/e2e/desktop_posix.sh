# Started from a Linux desktop (a double-click: no terminal, /dev/null for
# its streams), the tool opens a terminal window and the player answers in
# it; piped, it opens none. On a virtual screen with xterm as the only
# terminal there is.
source "$(dirname "$0")/lib.sh"

for tool in Xvfb xterm xdotool; do
    command -v "$tool" >/dev/null || { fail "$tool is not installed"; finish; }
done

start_virtual_screen
unset WAYLAND_DISPLAY TERMINAL GORV_PATCHER_IN_TERMINAL
mkdir "$work/bin"
ln -s "$(command -v xterm)" "$work/bin/xterm"
export PATH="$work/bin:/usr/bin:/bin"
export HOME="$work/home"

wait_until() { # SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

# Which terminal the tool starts, and how: stand-ins write down how they
# were called. A row: TERMINAL, the stand-ins on PATH, the tool's argument,
# and how the first terminal that started was called ("" when none did:
# the tool then says so and runs the dialogue in place).
stand_ins="$work/stand-ins"
mkdir -p "$stand_ins/none"
for name in my-term xterm konsole; do
    mkdir -p "$stand_ins/$name"
    printf '#!/bin/sh\nprintf "%%s|" "${0##*/}" "$@" >"%s.new" && /bin/mv "%s.new" "%s"\n' "$work/called" "$work/called" \
        "$work/called" >"$stand_ins/$name/$name"
    chmod +x "$stand_ins/$name/$name"
done
# Where no terminal is, the message goes on screen: notify-send fails
# here, kdialog is missing, so zenity shows it, and the tool waits for it.
mkdir -p "$stand_ins/messages"
printf '#!/bin/sh\nexit 1\n' >"$stand_ins/messages/notify-send"
printf '#!/bin/sh\n/bin/sleep 0.3\nprintf "%%s|" "${0##*/}" "$@" >"%s"\n' "$work/shown" >"$stand_ins/messages/zenity"
chmod +x "$stand_ins/messages/notify-send" "$stand_ins/messages/zenity"
readonly no_terminal="gorv-patcher runs in a terminal window, and none could be started: install xterm or konsole, or start $patcher from a terminal."
while IFS=';' read -r terminal on_path argument expected; do
    new_case "terminal-$checks"
    rm -f "$work/called"
    status=0
    (
        [ -z "$terminal" ] || export TERMINAL="$terminal"
        DISPLAY=:99 PATH="$stand_ins/$on_path" exec "$patcher" $argument </dev/null >"$output" 2>"$output.err"
    ) || status=$?
    checks=$((checks + 1))
    [ "$status" = 0 ] || fail "exit status $status"
    checks=$((checks + 1))
    # The terminal starts on its own, after the tool has ended.
    [ -z "$expected" ] || wait_until 10 test -e "$work/called"
    called=$(cat "$work/called" 2>/dev/null)
    [ "$called" = "${expected//@/$patcher}" ] || fail "called [$called], expected [$expected]"
    if [ -n "$expected" ]; then
        expect_output ""
    else
        expect_output "$title$ask_width$closing$press_enter"
        checks=$((checks + 1))
        [ "$(cat "$output.err")" = "$no_terminal" ] || fail "told [$(cat "$output.err")]"
    fi
    if [ "$on_path" = messages ]; then
        checks=$((checks + 1))
        [ "$(cat "$work/shown" 2>/dev/null)" = "zenity|--error|--title=gorv-patcher|--text=$no_terminal|" ] ||
            fail "on screen: [$(cat "$work/shown" 2>/dev/null)]"
    fi
done <<'EOF_ROWS'
my-term -fa 'Mono Space' --title "Gorv \"Patcher\"";my-term;;my-term|-fa|Mono Space|--title|Gorv "Patcher"|-e|@|
my-term;xterm;;xterm|-e|@|
;konsole;gorv.exe.backup;konsole|-e|@|gorv.exe.backup|
;none;;
;messages;;
EOF_ROWS

# Steam (Game Mode on the Deck too) starts a launch option as a desktop
# does, with konsole there: the game runs in the tool's place all the same,
# patched, with its own exit status, and no terminal starts.
new_case game-mode
make_game gorv.exe
printf '\x26\xb4\x17\x40' | dd of=gorv.exe bs=1 seek="$default_offset" conv=notrunc status=none
rm -f "$work/called"
status=0
(DISPLAY=:99 PATH="$stand_ins/konsole" exec "$patcher" --screen 1920x1080 -- /bin/sh -c 'echo ran >started; exit 7' \
    </dev/null >"$output" 2>&1) || status=$?
checks=$((checks + 1))
[ "$status" = 7 ] && [ -e started ] && [ ! -e "$work/called" ] || fail "exit status $status, terminal [$(cat "$work/called" 2>/dev/null)]"
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

# The program's own path is quoted as every other text is: a control
# character shows as an escape, and markup reaches the screen as text.
new_case odd-folder
odd_folder="$work/Tom & <b>Jerry</b> "$'\e'"[2J"
mkdir -p "$odd_folder"
cp "$patcher" "$odd_folder/gorv-patcher"
rm -f "$work/shown"
(DISPLAY=:99 PATH="$stand_ins/messages" exec "$odd_folder/gorv-patcher" </dev/null >"$output" 2>"$output.err")
told="gorv-patcher runs in a terminal window, and none could be started: install xterm or konsole, or start $work/Tom & <b>Jerry</b> \\x1B[2J/gorv-patcher from a terminal."
checks=$((checks + 1))
[ "$(cat "$output.err")" = "$told" ] || fail "told [$(cat "$output.err")]"
markup=$(printf '%s' "$told" | sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g')
checks=$((checks + 1))
[ "$(cat "$work/shown" 2>/dev/null)" = "zenity|--error|--title=gorv-patcher|--text=$markup|" ] ||
    fail "on screen: [$(cat "$work/shown" 2>/dev/null)]"

windows() { xdotool search --onlyvisible --class xterm 2>/dev/null; }
no_window() { [ -z "$(windows)" ]; }
is_patched() { od -An -tx1 -j "$default_offset" -N 4 gorv.exe | xargs | grep -qx "$bytes_16_9"; }

new_case double-click
make_game gorv.exe
setsid "$patcher" </dev/null >/dev/null 2>&1 &
window=$(timeout 30 xdotool search --sync --onlyvisible --class xterm | head -1)
checks=$((checks + 1))
if [ -z "$window" ]; then
    fail "no terminal window opened"
else
    xdotool windowfocus --sync "$window" 2>/dev/null
    sleep 0.5
    xdotool type --delay 30 $'1920\n1080\n'
    checks=$((checks + 1))
    wait_until 30 is_patched || fail "the game was not patched through the window"
    expect_same gorv.exe.backup "$work/game.template"
    expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"
    checks=$((checks + 1))
    sleep 0.5
    [ -n "$(windows)" ] || fail "the window closed before Enter"
    xdotool key Return
    checks=$((checks + 1))
    wait_until 30 no_window || fail "the window stayed after Enter"
fi

# Piped, with the screen there, the tool runs in place as always.
new_case piped
make_game gorv.exe
run_patcher "$answers_16_9"
expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
checks=$((checks + 1))
sleep 1
no_window || fail "a window opened for a piped run"

finish
