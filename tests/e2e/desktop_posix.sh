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

windows() { xdotool search --onlyvisible --class xterm 2>/dev/null; }
wait_until() { # SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}
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
