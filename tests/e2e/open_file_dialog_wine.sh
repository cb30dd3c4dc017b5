# The Windows open-file dialog, driven as a player would: under Wine on a
# virtual screen, typing a path or pressing Escape.
source "$(dirname "$0")/lib.sh"

readonly title_text="Locate your Gorv Executable"

start_virtual_screen

# Wine ties a prefix's windows to the screen its server started with: start
# a new server here, on this screen, and leave none behind.
wineserver -k 2>/dev/null
trap 'wineserver -k 2>/dev/null; [ -z "$clipboard" ] || kill "$clipboard" 2>/dev/null; kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
"${emulator[@]}" wineboot --init >/dev/null 2>&1

# Waits for the dialog to be on screen, gives it the keyboard and sends it
# KEYS. A window can be found a moment before it can take the focus.
answer_dialog() { # xdotool ARGS...
    local window attempt
    for attempt in 1 2 3 4 5; do
        window=$(timeout 60 xdotool search --sync --onlyvisible --name "$title_text" | head -1)
        [ -n "$window" ] || return 1
        if xdotool windowfocus --sync "$window" 2>/dev/null; then
            sleep 0.5
            xdotool "$@"
            return
        fi
        sleep 0.5
    done
    return 1
}
# The path is pasted, not typed: typing letters outside the keyboard's
# layout drops one now and then on a loaded machine. Should the dialog
# still stay open (with a message about the file), that message is closed
# and the path pasted again. xclip serves the clipboard until the next
# path takes it over.
clipboard=
type_path() { # WINDOWS_PATH
    local attempt
    [ -z "$clipboard" ] || kill "$clipboard" 2>/dev/null
    printf '%s' "$1" | xclip -quiet -selection clipboard >/dev/null 2>&1 &
    clipboard=$!
    for attempt in 1 2 3; do
        answer_dialog key ctrl+a BackSpace && answer_dialog key ctrl+v && xdotool key Return || return 1
        for _ in $(seq 50); do
            [ -z "$(xdotool search --onlyvisible --name "$title_text" 2>/dev/null)" ] && return 0
            sleep 0.2
        done
        xdotool key Return
        sleep 0.5
    done
    return 1
}

# Folder names in any script: the path reaches the tool, and its output,
# as UTF-8. Two folders of 49 Japanese letters each make a path of more
# than 260 bytes, though of fewer than 260 characters.
japanese=
for _ in 1 2 3 4 5 6 7; do japanese+="ゲームのフォルダ"; done
japanese=${japanese:0:49}
for game_folder in game "Дмитрий/ゲーム" "$japanese/$japanese"; do
    new_case "typed-path-$checks"
    make_game "$game_folder/gorv.exe"
    windows_path=$(native_path "$folder/$game_folder/gorv.exe")
    run_patcher "$answers_16_9" type_path "$windows_path"
    expect_output "$asked$(patching "$windows_path")$echo_16_9$summary_16_9"
    expect_files "${game_folder%%/*}" "$game_folder" "$game_folder/gorv.exe" "$game_folder/gorv.exe.backup"
    expect_same "$game_folder/gorv.exe.backup" "$work/game.template"
    expect_patched "$game_folder/gorv.exe" "$work/game.template" "$default_offset" "$bytes_16_9"
done

# Steam's folder in the registry, as Steam writes it (lower case, forward
# slashes), and its library list naming a second library with the game:
# the dialog opens in the game's folder, so the name alone picks it.
new_case steam-library
steam_home="$work/steam-home"
make_game "$steam_home/SteamLibrary/steamapps/common/Gorv/gorv.exe"
mkdir -p "$steam_home/Steam/steamapps/common"
steam_path=$(native_path "$steam_home/Steam")
library_path=$(native_path "$steam_home/SteamLibrary")
printf '"libraryfolders"\n{\n\t"0"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n\t"1"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n}\n' \
    "${steam_path//\\/\\\\}" "${library_path//\\/\\\\}" >"$steam_home/Steam/steamapps/libraryfolders.vdf"
steam_value=$(tr 'A-Z\\' 'a-z/' <<<"$steam_path")
"${emulator[@]}" reg add 'HKCU\Software\Valve\Steam' /v SteamPath /t REG_SZ /d "$steam_value" /f >/dev/null 2>&1 ||
    fail "could not set SteamPath"
run_patcher "$answers_16_9" type_path gorv.exe
game="$library_path\\steamapps\\common\\Gorv\\gorv.exe"
expect_output "$asked$(patching "$game")$echo_16_9$summary_16_9"
expect_patched "$steam_home/SteamLibrary/steamapps/common/Gorv/gorv.exe" "$work/game.template" "$default_offset" "$bytes_16_9"
expect_files

# Without a Steam game, a game that GOG Galaxy recorded in the registry,
# then one that the Epic Games Launcher's manifest records (beside a
# broken one), then one that Ubisoft Connect recorded: the dialog opens
# in its folder, so the name alone picks it.
"${emulator[@]}" reg delete 'HKCU\Software\Valve\Steam' /v SteamPath /f >/dev/null 2>&1
readonly gog_key='HKLM\SOFTWARE\WOW6432Node\GOG.com\Games\1207658924'
readonly ubisoft_key='HKLM\SOFTWARE\WOW6432Node\Ubisoft\Launcher\Installs\4311'
manifests="$WINEPREFIX/drive_c/ProgramData/Epic/EpicGamesLauncher/Data/Manifests"
for store in gog epic ubisoft; do
    new_case "$store"
    make_game "$work/$store/Gorv/gorv.exe"
    game_folder=$(native_path "$work/$store/Gorv")
    if [ "$store" = gog ]; then
        "${emulator[@]}" reg add "$gog_key" /v path /t REG_SZ /d "$game_folder" /f >/dev/null 2>&1 ||
            fail "could not add GOG Galaxy's key"
    elif [ "$store" = ubisoft ]; then
        rm -rf "$manifests"
        "${emulator[@]}" reg add "$ubisoft_key" /v InstallDir /t REG_SZ /d "$game_folder" /f >/dev/null 2>&1 ||
            fail "could not add Ubisoft Connect's key"
    else
        "${emulator[@]}" reg delete "$gog_key" /f >/dev/null 2>&1
        mkdir -p "$manifests"
        printf '{"InstallLocation": "' >"$manifests/0.item"
        printf '{"DisplayName": "Gorv", "InstallLocation": "%s", "LaunchExecutable": "gorv.exe"}' \
            "${game_folder//\\/\\\\}" >"$manifests/8AB3.item"
    fi
    run_patcher "$answers_16_9" type_path gorv.exe
    expect_output "$asked$(patching "$game_folder\\gorv.exe")$echo_16_9$summary_16_9"
    expect_patched "$work/$store/Gorv/gorv.exe" "$work/game.template" "$default_offset" "$bytes_16_9"
done
rm -rf "$manifests"

# A Steam game in a folder longer than the dialog's buffers (MAX_PATH)
# opens the dialog in a folder that fits, and Escape cancels it.
new_case escape
make_game game/gorv.exe
long_steam="$work/long"
for _ in 1 2 3 4 5 6; do long_steam+=/a-folder-name-of-forty-eight-letters-in-a-Steam-path; done
make_game "$long_steam/Steam/steamapps/common/Gorv/gorv.exe"
"${emulator[@]}" reg add 'HKCU\Software\Valve\Steam' /v SteamPath /t REG_SZ /d "$(native_path "$long_steam/Steam")" /f \
    >/dev/null 2>&1 || fail "could not set SteamPath"
run_patcher "$answers_16_9" answer_dialog key Escape
expect_output "$asked$closing$press_enter"
expect_files game game/gorv.exe
expect_same game/gorv.exe "$work/game.template"

finish
