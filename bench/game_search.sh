#!/usr/bin/env bash
# Time of the Linux search for the game in a big home folder: 300 Steam
# games in two libraries, 300 games in Heroic's record of its GOG games
# (on an SD card), 50 Proton prefixes, Lutris and Bottles prefixes,
# one of them with a windows folder of 5000 folders, and the game in a
# Lutris prefix. Reports the median time of a whole run that lists the game
# and is cancelled at the question (warm cache), and the number of folders
# that one run opens.
#
# Target: under 50 ms; the windows folders are never opened. Also one
# hostile record (see below).
#
# Usage: bench/game_search.sh [PATCHER] [RUNS]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
runs=${2:-21}

home="$folder/home"
steam="$home/.local/share/Steam"

# A Wine prefix as Wine makes it, with a few programs of its own.
make_prefix() { # DRIVE_C WINDOWS_FOLDERS
    mkdir -p "$1"/{users/steamuser/Documents,ProgramData/Microsoft}
    mkdir -p "$1/Program Files"/{"Common Files/System","Internet Explorer","Windows Media Player","Windows NT/Accessories"}
    mkdir -p "$1/Program Files (x86)"/{"Common Files/System","Internet Explorer","Windows Media Player"}
    (cd "$1" && mkdir -p windows && cd windows && seq -f 'folder%g' "$2" | xargs mkdir -p)
}

mkdir -p "$steam/steamapps" "$home/sd/steamapps"
printf '"libraryfolders" { "0" { "path" "%s" } "1" { "path" "%s" } }' "$steam" "$home/sd" >"$steam/steamapps/libraryfolders.vdf"
for i in $(seq 300); do
    library=$steam
    ((i % 2)) || library=$home/sd
    mkdir -p "$library/steamapps/common/Game $i/bin" "$library/steamapps/common/Game $i/data"
    touch "$library/steamapps/common/Game $i/game.exe"
done
# Heroic's record of 300 GOG games, installed on the SD card.
mkdir -p "$home/.config/heroic/gog_store"
for i in $(seq 300); do
    mkdir -p "$home/sd/Heroic/Game $i"
    printf '%s{"platform": "windows", "appName": "%s", "title": "Game %s", "install_path": "%s"}' \
        "$([ "$i" = 1 ] || echo ,)" "$((1207000000 + i))" "$i" "$home/sd/Heroic/Game $i"
done | { printf '{"installed": ['; cat; printf ']}'; } >"$home/.config/heroic/gog_store/installed.json"
for i in $(seq 50); do make_prefix "$steam/steamapps/compatdata/$((1000 + i))/pfx/drive_c" 20; done
make_prefix "$home/Games/gorv/drive_c" 5000
mkdir -p "$home/Games/gorv/drive_c/GOG Games/Gorv"
head -c 4000000 /dev/zero >"$home/Games/gorv/drive_c/GOG Games/Gorv/gorv.exe"
make_prefix "$home/.local/share/bottles/bottles/Other/drive_c" 200
mkdir -p "$folder/elsewhere"
cd "$folder/elsewhere"

one_run() { printf '1920\n1080\n\n' | HOME="$home" "$@" "$patcher" >"$folder/output"; }
one_run
grep -q 'GOG Games/Gorv/gorv.exe' "$folder/output" || { echo "the game was not listed"; exit 1; }

times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    one_run
    times+=($(( ($(date +%s%N) - start) / 1000 )))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")

one_run strace -f -o "$folder/trace" -e trace=openat
opened=$(grep -c 'O_DIRECTORY.* = [0-9]' "$folder/trace" || true)
windows_opened=$(grep 'O_DIRECTORY.* = [0-9]' "$folder/trace" | grep -c '/windows"' || true)

# A hostile record: Heroic's Epic list, as large as is read (1 MiB), every
# entry naming one folder (with the game) behind a chain of 40 links. Each
# folder is looked at once, so this adds little. Target: under 100 ms in
# all.
mkdir -p "$home/chain/end" "$home/.config/heroic/legendaryConfig/legendary"
touch "$home/chain/end/gorv.exe"
previous=end
for i in $(seq 40); do ln -s "$previous" "$home/chain/link$i" && previous=link$i; done
awk -v folder="$home/chain/link40" 'BEGIN { printf "{"; for (i = 1; i <= 10000; i++) printf "%s\"g%d\": {\"install_path\": \"%s\"}", (i > 1 ? "," : ""), i, folder; printf "}" }' \
    >"$home/.config/heroic/legendaryConfig/legendary/installed.json"
hostile=()
for _ in $(seq 5); do
    start=$(date +%s%N)
    one_run
    hostile+=($(( ($(date +%s%N) - start) / 1000 )))
done
hostile_median=$(printf '%s\n' "${hostile[@]}" | sort -n | sed -n 3p)

printf 'search and run, median of %s: %s ms\n' "$runs" "$(awk -v us="$median" 'BEGIN { printf "%.1f", us / 1000 }')"
printf 'with a hostile record, median of 5: %s ms\n' "$(awk -v us="$hostile_median" 'BEGIN { printf "%.1f", us / 1000 }')"
printf 'folders opened: %s (windows folders: %s)\n' "$opened" "$windows_opened"
