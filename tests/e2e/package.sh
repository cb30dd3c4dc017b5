# The package a player downloads: made with CPack, unpacked as the player
# would, and its program run through a whole patch.
# Called as: bash package.sh CPACK BUILD_DIR PACKAGE_NAME PROGRAM [EMULATOR...]
# where PROGRAM is the program's path inside the unpacked package.
set -u
cpack=$1
build_dir=$2
package_name=$3
program=$4
shift 4

unpacked=$(mktemp -d "${TMPDIR:-/tmp}/gorv-package.XXXXXX")
trap 'rm -rf "$unpacked"' EXIT
"$cpack" --config "$build_dir/CPackConfig.cmake" -B "$unpacked/out" >/dev/null || { echo "cpack failed"; exit 1; }
archive=$(ls "$unpacked/out/$package_name".* | grep -v '\.sha256$') || exit 1
# Its checksum file, as players check it.
(cd "$unpacked/out" && sha256sum --quiet -c "$(basename "$archive").sha256") || { echo "no valid checksum file"; exit 1; }
(cd "$unpacked" && cmake -E tar xf "$archive") || { echo "cannot unpack $archive"; exit 1; }
contents=$(cd "$unpacked/$package_name" && find . -type f | sort | xargs)
echo "$(basename "$archive"): $contents"

set -- "$unpacked/$package_name/$program" "$@"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
trap 'rm -rf "$work" "$unpacked"' EXIT

shipped=(README.md LICENSE)
# Beside the console program, the one for launchers, without a console.
[[ $program != *.exe ]] || shipped+=(gorv-patcherw.exe)
for document in "${shipped[@]}"; do
    checks=$((checks + 1))
    [[ " $contents " == *"/$document "* ]] || fail "the package has no $document"
done

# The Linux menu entry is valid, and its command (read as a desktop reads
# it: the file's escapes, then the command's quoting) patches a game with
# the packaged program.
launcher="$unpacked/$package_name/share/applications/gorv-patcher.desktop"
if [[ $program != *.exe ]]; then
    new_case menu-entry
    checks=$((checks + 1))
    if [ ! -f "$launcher" ]; then
        fail "the package has no share/applications/gorv-patcher.desktop"
    else
        desktop-file-validate "$launcher" | grep -v ': hint:' | grep . && fail "the menu entry is not valid"
        exec_line=$(sed -n 's/^Exec=//p' "$launcher" | head -1 | sed 's/\\\\/\\/g')
        exec_line=${exec_line//%k/\"\$launcher\"}
        # Started from the menu (%f gives nothing), then with the game's
        # backup dropped onto the entry.
        eval "set -- ${exec_line//%f/}"
        make_game gorv.exe
        printf '%s' "$answers_16_9" | "$@" >"$output"
        expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
        eval "set -- ${exec_line//%f/\"\$folder/gorv.exe.backup\"}"
        printf '\n' | "$@" >"$output"
        expect_output "Restored $folder/gorv.exe from $folder/gorv.exe.backup$press_enter"
        expect_same gorv.exe "$work/game.template"
        # The action asks for the size, and says where the line goes when no
        # launcher installed the game.
        exec_line=$(sed -n 's/^Exec=//p' "$launcher" | sed -n 2p | sed 's/\\\\/\\/g')
        eval "set -- ${exec_line//%k/\"\$launcher\"}"
        printf '2560\n1080\n\n' | HOME="$folder" "$@" >"$output"
        checks=$((checks + 1))
        grep -qF "$ask_width$ask_height" "$output" && grep -qF "no launcher's records name gorv.exe" "$output" &&
            grep -qF -- "--screen 2560x1080 --" "$output" || fail "the action told [$(cat "$output")]"
    fi
fi

new_case from-the-package
make_game gorv.exe
run_patcher "$answers_16_9"
expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"

finish
