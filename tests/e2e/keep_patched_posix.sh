# Keeping the game patched through its launcher: --keep-patched sets the
# tool's line in Steam's and Heroic's settings under a home folder of the
# case's own, each launcher's stand-in runs the line as the launcher does
# (the game must start, patched), and off takes it all back byte for byte.
set -u
source "$(dirname "$0")/lib.sh"

# The game as it ships: its own 16:9 at the offset.
printf '\x39\x8e\xe3\x3f' | dd of="$work/game.template" bs=1 seek="$default_offset" conv=notrunc status=none
readonly bytes_21_9="26 b4 17 40"

# A home with a space and a letter beyond ASCII, so that the line's program
# must be quoted.
export HOME="$work/home ä"
unset XDG_STATE_HOME
steam="$HOME/.local/share/Steam"
steam_game="$steam/steamapps/common/Gorv/gorv.exe"
heroic_game="$HOME/Games/Heroic/Gorv/gorv.exe"
make_game "$steam_game"
make_game "$heroic_game"
printf '"AppState"\n{\n\t"appid"\t\t"4242"\n\t"installdir"\t\t"Gorv"\n}\n' >"$steam/steamapps/appmanifest_4242.acf"

# Steam's settings of four accounts: earlier options with %command%, none
# at all (CRLF lines, no apps block), options without it (the file a link
# to one elsewhere), a line of the tool's typed by hand.
account() { # NUMBER
    mkdir -p "$steam/userdata/$1/config"
    printf '%s' "$steam/userdata/$1/config/localconfig.vdf"
}
app_block() { # VALVE APPS OPTIONS
    printf '"UserLocalConfigStore"\n{\n\t"Software"\n\t{\n\t\t"%s"\n\t\t{\n\t\t\t"Steam"\n\t\t\t{\n\t\t\t\t"%s"\n' "$1" "$2"
    printf '\t\t\t\t{\n\t\t\t\t\t"4242"\n\t\t\t\t\t{\n\t\t\t\t\t\t"LastPlayed"\t\t"1700000000"\n%s' "$3"
    printf '\t\t\t\t\t}\n\t\t\t\t}\n\t\t\t}\n\t\t}\n\t}\n}\n'
}
app_block Valve apps $'\t\t\t\t\t\t"LaunchOptions"\t\t"env %command% -say \\"hi\\""\n' >"$(account 111)"
printf '"UserLocalConfigStore"\r\n{\r\n\t"friends"\r\n\t{\r\n\t}\r\n}\r\n' >"$(account 222)"
mkdir -p "$work/elsewhere"
app_block valve Apps $'\t\t\t\t\t\t"LaunchOptions"\t\t"-novid"\n' >"$work/elsewhere/localconfig.vdf"
ln -s "$work/elsewhere/localconfig.vdf" "$(account 333)"
app_block Valve apps $'\t\t\t\t\t\t"LaunchOptions"\t\t"/old/gorv-patcher --screen 1920x1080 -- env %command%"\n' \
    >"$(account 555)"
cp -a "$steam/userdata" "$work/userdata.before"
cp "$work/elsewhere/localconfig.vdf" "$work/elsewhere.before"

# Heroic's record of its game and its settings for it.
heroic="$HOME/.config/heroic"
mkdir -p "$heroic/legendaryConfig/legendary" "$heroic/GamesConfig"
printf '{"Gorv": {"install_path": "%s", "title": "Gorv"}}' "$(dirname "$heroic_game")" \
    >"$heroic/legendaryConfig/legendary/installed.json"
printf '{\n  "Gorv": {\n    "wrapperOptions": [],\n    "language": "en"\n  },\n  "version": "v0",\n  "explicit": true\n}' \
    >"$heroic/GamesConfig/Gorv.json"
cp "$heroic/GamesConfig/Gorv.json" "$work/heroic.before"

# The game's command as Proton's is, with a stand-in for Proton that
# writes down its arguments and the game's four bytes.
cat >"$work/proton" <<'SCRIPT'
#!/bin/sh
{ printf '[%s]' "$@"; echo; od -An -tx1 -j "$OFFSET" -N 4 "$2" | xargs; } >"$STARTED"
SCRIPT
chmod +x "$work/proton"
export OFFSET=$default_offset STARTED="$work/started"

# Starts the game as Steam does with the launch options in FILE: read back
# and unescaped, %command% (else before them) replaced by the command, run
# by /bin/sh -c.
steam_start() { # FILE
    local options command
    options=$(sed -n 's/^[[:space:]]*"LaunchOptions"[[:space:]]*"\(.*\)"[[:space:]]*$/\1/p' "$1" | tr -d '\r' |
        sed 's/\\\(.\)/\1/g')
    command="'$work/proton' waitforexitandrun '$steam_game'"
    [[ $options == *%command%* ]] || options="%command% $options"
    rm -f "$STARTED"
    /bin/sh -c "${options//%command%/$command}" >/dev/null 2>&1
}
expect_started() { # ARGUMENTS BYTES
    checks=$((checks + 1))
    [ "$(cat "$STARTED" 2>/dev/null)" = "$1"$'\n'"$2" ] || fail "the game started as [$(cat "$STARTED" 2>/dev/null)]"
}

new_case steam
arguments=(--keep-patched 2560x1080 "$steam_game")
run_patcher ''
copy="$HOME/.local/bin/gorv-patcher"
expect_same "$copy" "$patcher"
line="'$copy' --screen 2560x1080 --"
for entry in "111:$line env %command% -say \\\"hi\\\"" "222:$line %command%" "333:$line %command% -novid" \
    "555:/old/gorv-patcher --screen 2560x1080 -- env %command%"; do
    checks=$((checks + 1))
    grep -qF $'\t"LaunchOptions"\t\t"'"${entry#*:}"'"' "$steam/userdata/${entry%%:*}/config/localconfig.vdf" ||
        fail "account ${entry%%:*}: $(grep LaunchOptions "$steam/userdata/${entry%%:*}/config/localconfig.vdf")"
done
checks=$((checks + 1))
[ -L "$(account 333)" ] && [ -f "$work/elsewhere/localconfig.vdf.gorv-patcher" ] || fail "the link is no longer one"
expect_same "$steam/userdata/111/config/localconfig.vdf.gorv-patcher" "$work/userdata.before/111/config/localconfig.vdf"
checks=$((checks + 1))
[ "$(grep -c $'\r$' "$(account 222)")" = "$(wc -l <"$(account 222)")" ] || fail "account 222's lines end otherwise"
# Every start through Steam patches the game first, whatever stood before.
steam_start "$(account 111)"
expect_started "[waitforexitandrun][$steam_game][-say][hi]" "$bytes_21_9"
cp "$work/game.template" "$steam_game"
steam_start "$(account 222)"
expect_started "[waitforexitandrun][$steam_game]" "$bytes_21_9"
steam_start "$(account 333)"
expect_started "[waitforexitandrun][$steam_game][-novid]" "$bytes_21_9"
cp -a "$steam/userdata" "$work/userdata.set"
run_patcher ''
checks=$((checks + 1))
diff -r "$work/userdata.set" "$steam/userdata" >/dev/null || fail "a second run changed Steam's settings"

new_case steam-running
mkdir -p "$work/bin"
cp /bin/sleep "$work/bin/steam"
"$work/bin/steam" 60 &
mkdir -p "$HOME/.steam" && echo $! >"$HOME/.steam/steam.pid"
arguments=(--keep-patched 1920x1080 "$steam_game")
expected_status=1
run_patcher ''
expect_output "Game: $steam_game
Steam is running and writes its settings over this change when it exits: exit Steam (Steam menu, Exit) and run this again
"
checks=$((checks + 1))
diff -r "$work/userdata.set" "$steam/userdata" >/dev/null || fail "Steam's settings changed while it ran"
kill %1
wait

new_case steam-broken
printf '"UserLocalConfigStore"\n{\n\t"Software"\n\t{\n' >"$(account 444)"
cp "$(account 444)" "$work/broken.before"
arguments=(--keep-patched 2560x1080 "$steam_game")
expected_status=1
run_patcher ''
expect_same "$(account 444)" "$work/broken.before"
checks=$((checks + 1))
grep -qF "Steam (account 444): $(account 444) is left as it is: it is not in Steam's settings form" "$output" ||
    fail "told $(cat "$output")"
rm -r "$steam/userdata/444"

new_case steam-off
for run in 1 2; do
    arguments=(--keep-patched off "$steam_game")
    run_patcher ''
    for file in 111 222; do
        expect_same "$(account $file)" "$work/userdata.before/$file/config/localconfig.vdf"
    done
    expect_same "$work/elsewhere/localconfig.vdf" "$work/elsewhere.before"
    # The part typed by hand goes; what followed it stays.
    checks=$((checks + 1))
    grep -qF $'\t"LaunchOptions"\t\t"env %command%"' "$(account 555)" || fail "account 555: $(grep LaunchOptions "$(account 555)")"
done
checks=$((checks + 1))
[ -L "$(account 333)" ] || fail "the link is no longer one"

new_case heroic
arguments=(--keep-patched 2560x1080 "$heroic_game")
run_patcher ''
checks=$((checks + 1))
grep -qF '"wrapperOptions": [
      {
        "exe": "'"$copy"'",
        "args": "--screen 2560x1080 --"
      }
    ],
    "language": "en"' "$heroic/GamesConfig/Gorv.json" || fail "Heroic's settings are $(cat "$heroic/GamesConfig/Gorv.json")"
# Heroic runs its wrappers' programs with their arguments, then the game's
# command.
rm -f "$STARTED"
"$copy" --screen 2560x1080 -- "$work/proton" waitforexitandrun "$heroic_game" 2>/dev/null
expect_started "[waitforexitandrun][$heroic_game]" "$bytes_21_9"
cp /bin/sleep "$work/bin/heroic"
"$work/bin/heroic" 60 &
arguments=(--keep-patched off "$heroic_game")
expected_status=1
run_patcher ''
checks=$((checks + 1))
grep -qF "Heroic is running and writes its settings over this change when it exits: exit Heroic and run this again" \
    "$output" || fail "told $(cat "$output")"
kill %1
wait
expected_status=0
run_patcher ''
expect_same "$heroic/GamesConfig/Gorv.json" "$work/heroic.before"

# Without a size (the menu entry's action): the dialogue's questions, then
# the game among those found.
new_case asked
arguments=(--keep-patched)
run_patcher $'2560\n1080\n2\n\n'
checks=$((checks + 1))
grep -qF "$ask_width$ask_height" "$output" && grep -qF "  2) $heroic_game" "$output" &&
    grep -qF '"args": "--screen 2560x1080 --"' "$heroic/GamesConfig/Gorv.json" && grep -qF "$press_enter" "$output" ||
    fail "told $(cat "$output")"

# Steam as a Flatpak: the line names a copy in the sandbox's own folder,
# which Steam sees at the same path.
new_case flatpak
sandbox="$HOME/.var/app/com.valvesoftware.Steam"
flatpak_steam="$sandbox/.local/share/Steam"
mkdir -p "$flatpak_steam/steamapps/common" "$flatpak_steam/userdata/5/config"
cp -r "$(dirname "$steam_game")" "$flatpak_steam/steamapps/common/"
cp "$steam/steamapps/appmanifest_4242.acf" "$flatpak_steam/steamapps/"
printf '"UserLocalConfigStore"\n{\n}\n' >"$flatpak_steam/userdata/5/config/localconfig.vdf"
arguments=(--keep-patched 2560x1080 "$flatpak_steam/steamapps/common/Gorv/gorv.exe")
# Its steam.pid counts in the sandbox's own process ids: a program named
# steam is Steam running.
mkdir -p "$sandbox/.steam" && echo 2 >"$sandbox/.steam/steam.pid"
"$work/bin/steam" 60 &
expected_status=1
run_patcher ''
kill %1
wait
checks=$((checks + 1))
grep -q LaunchOptions "$flatpak_steam/userdata/5/config/localconfig.vdf" && fail "written while Steam ran"
rm "$sandbox/.steam/steam.pid"
expected_status=0
run_patcher ''
expect_same "$sandbox/gorv-patcher/gorv-patcher" "$patcher"
checks=$((checks + 1))
grep -qF "\"'$sandbox/gorv-patcher/gorv-patcher' --screen 2560x1080 -- %command%\"" \
    "$flatpak_steam/userdata/5/config/localconfig.vdf" || fail "told $(cat "$output")"

# A game that no launcher installed: the line to paste, and nothing written.
new_case no-launcher
make_game gorv.exe
find "$HOME" -printf '%P %s\n' | sort >"$work/home.before"
arguments=(--keep-patched 2560x1080)
expected_status=1
run_patcher ''
checks=$((checks + 1))
grep -qF "$(printf '%s' "'$patcher'" | sed "s/'/'\\\\''/g; 1s/^/'/; \$s/\$/'/") --screen 2560x1080 --" "$output" ||
    grep -qF "$patcher --screen 2560x1080 --" "$output" || fail "told $(cat "$output")"
checks=$((checks + 1))
[ "$(find "$HOME" -printf '%P %s\n' | sort)" = "$(cat "$work/home.before")" ] || fail "the home folder changed"

finish
