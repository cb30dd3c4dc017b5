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

# Steam's settings of six accounts: earlier options with %command%, none
# at all (CRLF lines, no apps block), options without it (the file a link
# to one elsewhere), a line of the tool's typed by hand in the old order,
# environment settings and a wrapper before %command%, and an account's
# folder that is a link to another disk.
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
readonly env_options='PROTON_LOG=1 WINEDLLOVERRIDES=\"dinput8=n,b\"'
app_block Valve apps $'\t\t\t\t\t\t"LaunchOptions"\t\t"'"$env_options"$' env %command% -novid"\n' >"$(account 666)"
mkdir -p "$work/disk/777/config"
printf '"UserLocalConfigStore"\n{\n}\n' >"$work/disk/777/config/localconfig.vdf"
ln -s "$work/disk/777" "$steam/userdata/777"
cp "$work/disk/777/config/localconfig.vdf" "$work/disk.before"
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
# writes down its arguments, the game's four bytes and the environment
# settings of the line.
cat >"$work/proton" <<'SCRIPT'
#!/bin/sh
{ printf '[%s]' "$@"; echo; od -An -tx1 -j "$OFFSET" -N 4 "$2" | xargs; echo "env=${PROTON_LOG-}:${WINEDLLOVERRIDES-}"; } >"$STARTED"
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
expect_started() { # ARGUMENTS BYTES [ENVIRONMENT]
    checks=$((checks + 1))
    [ "$(cat "$STARTED" 2>/dev/null)" = "$1"$'\n'"$2"$'\nenv='"${3-:}" ] ||
        fail "the game started as [$(cat "$STARTED" 2>/dev/null)]"
}

new_case steam
arguments=(--keep-patched 2560x1080 "$steam_game")
run_patcher ''
copy="$HOME/.local/bin/gorv-patcher"
expect_same "$copy" "$patcher"
line="'$copy' --screen 2560x1080 --"
for entry in "111:env $line %command% -say \\\"hi\\\"" "222:$line %command%" "333:$line %command% -novid" \
    "555:$line env %command%" "666:$env_options env $line %command% -novid" "777:$line %command%"; do
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
# The environment settings reach the game, patched, as without the tool.
cp "$work/game.template" "$steam_game"
steam_start "$(account 666)"
expect_started "[waitforexitandrun][$steam_game][-novid]" "$bytes_21_9" "1:dinput8=n,b"
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
# Snap's Steam writes its pid file in its own folder.
mkdir -p "$HOME/snap/steam/common/.steam"
mv "$HOME/.steam/steam.pid" "$HOME/snap/steam/common/.steam/steam.pid"
run_patcher ''
checks=$((checks + 1))
diff -r "$work/userdata.set" "$steam/userdata" >/dev/null || fail "Steam's settings changed while Snap's Steam ran"
kill %1
wait
rm -r "$HOME/snap"

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
# The player changed a line since: their part stays.
sed -i 's/"PROTON_LOG=1/"MANGOHUD=1 PROTON_LOG=1/' "$(account 666)"
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
    checks=$((checks + 1))
    grep -qF $'\t"LaunchOptions"\t\t"MANGOHUD=1 '"$env_options"' env %command% -novid"' "$(account 666)" ||
        fail "account 666: $(grep LaunchOptions "$(account 666)")"
    expect_same "$work/disk/777/config/localconfig.vdf" "$work/disk.before"
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

# Lines of only the Steam accounts' own files, to compare whole.
steam_files() { for account in 111 222 333 555 666 777; do cat "$(account $account)"; done; }

# A file of the player's where the copy goes, or a link: left alone, and
# nothing written. A program of their own named with --program is what the
# line names then, and the next run without it puts the copy back.
new_case own-program
arguments=(--keep-patched 2560x1080 "$steam_game")
run_patcher ''
steam_files >"$work/steam.set"
mkdir -p "$work/my build"
cp "$patcher" "$work/my build/my-patcher"
for way in file link; do
    rm -f "$copy"
    if [ $way = file ]; then printf '#!/bin/sh\necho mine\n' >"$copy"; else ln -s "$work/my build/my-patcher" "$copy"; fi
    cp -P "$copy" "$work/in-the-way"
    expected_status=1
    run_patcher ''
    checks=$((checks + 1))
    grep -qF "$copy is not a copy that gorv-patcher placed" "$output" || fail "$way: told $(cat "$output")"
    checks=$((checks + 1))
    [ "$(steam_files)" = "$(cat "$work/steam.set")" ] && cmp -s "$copy" "$work/in-the-way" &&
        { [ $way = file ] || [ -L "$copy" ]; } || fail "$way: something was written"
done
arguments=(--keep-patched 2560x1080 "$steam_game" --program "$work/my build/my-patcher")
expected_status=0
run_patcher ''
checks=$((checks + 1))
grep -qF $'\t"LaunchOptions"\t\t"MANGOHUD=1 '"$env_options"" env '$work/my build/my-patcher' --screen 2560x1080 -- %command% -novid\"" \
    "$(account 666)" || fail "account 666: $(grep LaunchOptions "$(account 666)")"
cp "$work/game.template" "$steam_game"
steam_start "$(account 666)"
expect_started "[waitforexitandrun][$steam_game][-novid]" "$bytes_21_9" "1:dinput8=n,b"
rm "$copy"
arguments=(--keep-patched 2560x1080 "$steam_game")
run_patcher ''
checks=$((checks + 1))
[ "$(steam_files)" = "$(cat "$work/steam.set")" ] || fail "the line does not name the copy again"

# Steam started while the file is written (each sync made slow): the new
# file goes, the old one stays, and the run says so.
new_case steam-starts
if command -v strace >/dev/null; then
    steam_files >"$work/steam.before"
    arguments=(--keep-patched 1920x1080 "$steam_game")
    expected_status=1
    # Steam starts once the run notes its change, after its first look.
    (
        for _ in $(seq 200); do
            [ -z "$(find "$HOME/.local/state/gorv-patcher" -name '*.tmp')" ] || break
            sleep 0.05
        done
        exec "$work/bin/steam" 60
    ) &
    starter=$!
    emulator=(strace -f -qq -o /dev/null -e inject=fsync:delay_enter=700000)
    run_patcher ''
    emulator=()
    kill "$starter" 2>/dev/null
    pkill -x steam
    wait
    checks=$((checks + 1))
    grep -qF "Steam started while" "$output" && [ "$(steam_files)" = "$(cat "$work/steam.before")" ] &&
        [ -z "$(find "$steam/userdata/" "$work/disk" -name '*.tmp')" ] || fail "told $(cat "$output")"
fi

# Two runs at once: one waits for the other, the record keeps both, and
# off gives every file back.
new_case two-runs
arguments=(--keep-patched off "$steam_game")
expected_status=0
run_patcher ''
steam_files >"$work/steam.off"
for pair in 1 2 3; do
    "$patcher" --keep-patched 2560x1080 "$steam_game" >"$work/first" 2>&1 &
    "$patcher" --keep-patched 1920x1080 "$steam_game" >"$work/second" 2>&1 || fail "the second run: $(cat "$work/second")"
    wait $! || fail "the first run: $(cat "$work/first")"
    run_patcher ''
    checks=$((checks + 1))
    [ "$(steam_files)" = "$(cat "$work/steam.off")" ] || fail "pair $pair: off did not give the files back"
done

# Run as root with the player's home: what the tool writes or makes there
# stays the player's.
new_case owner
if [ "$(id -u)" = 0 ]; then
    rm -r "$copy" "$HOME/.local/state"
    chown -R 4321:4321 "$HOME" "$work/elsewhere" "$work/disk"
    arguments=(--keep-patched 2560x1080 "$steam_game")
    run_patcher ''
    for file in "$(account 111)" "$(account 111).gorv-patcher" "$work/elsewhere/localconfig.vdf" "$copy" \
        "$HOME/.local/state/gorv-patcher" "$HOME/.local/state/gorv-patcher/keep-patched.json" \
        "$HOME/.local/state/gorv-patcher/keep-patched.lock" "$heroic/GamesConfig/Gorv.json"; do
        checks=$((checks + 1))
        [ "$(stat -c %u:%g "$file")" = 4321:4321 ] || fail "$file is $(stat -c %u:%g "$file")'s"
    done
    chown -R 0:0 "$HOME" "$work/elsewhere" "$work/disk"
fi

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
