# Helpers for the end-to-end tests: each case runs the built tool in a fresh
# folder, as a player would, with the answers piped to standard input, and
# compares the whole console output byte for byte.
#
# A case script is called as: bash CASE.sh PATCHER [EMULATOR...]
# and sources this file with the same arguments.

set -u

patcher=$(realpath "$1")
shift
emulator=("$@")

readonly default_offset=3906535
# Big enough to hold the patch at the built-in offset, plus a tail that
# must survive untouched.
readonly game_size=4000000

work=$(mktemp -d "${TMPDIR:-/tmp}/gorv-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Bytes that look random but are the same on every run, so that a failure
# can be reproduced byte for byte.
perl -e 'srand 20261207; print pack "C*", map { int rand 256 } 1 .. $ARGV[0]' "$game_size" >"$work/game.template"

# The system's words for the failures that the cases provoke.
if ((${#emulator[@]} > 0)); then
    readonly reason_is_a_folder="Access denied."
else
    readonly reason_is_a_folder="Is a directory"
fi

failures=0
checks=0
case_name=
folder=
output=

# The fixed texts of the dialogue.
readonly title=$'-Gorv Aspect Ratio Patcher-\nThis tool attempts to automatically patch the game for any aspect ratio.\n'
readonly ask_width=$'\nEnter your screen width: '
readonly ask_height=$'\nEnter your screen height: '
readonly again_width=$'\nEnter valid screen width:'
readonly again_height=$'\nEnter valid screen height:'
readonly closing=$'\nClosing!...'
readonly press_enter=$'\n\nPress Enter to Continue...'
readonly updated=$'\n--Updated Offsets!--\n'

# Pieces of output that depend on the run. Command substitution drops
# trailing newlines, so each piece ends without the newline that closes it
# and the next piece starts with that newline instead.

# A run that backed up PATH (with NOTE after its line) and is about to patch it.
patching() { # PATH [NOTE]
    printf '\nBacking Up...\n\nBacked Up %s%s\n\nPatching: %s' "$1.backup" "${2-}" "$1"
}
# The echo of the four byte pairs, most significant first.
echo_pairs() { # PAIR PAIR PAIR PAIR
    printf '\n\n%s\n%s\n%s\n%s' "$@"
}
# The line that says why the executable was left as it was.
not_patched() { # REASON
    printf '\n\nNot patched: %s' "$1"
}
# The closing summary and the wait for Enter.
summary() { # WIDTH_TERM HEIGHT_TERM RATIO
    printf '\n\nSet Aspect Ratio to %s:%s\t%s\nEnjoy the game!%s' "$1" "$2" "$3" "$press_enter"
}

# The run every case uses unless it tests the sizes themselves: 1920 x 1080,
# then Enter at the end.
readonly answers_16_9=$'1920\n1080\n\n'
readonly asked=$title$ask_width$ask_height
readonly echo_16_9=$(echo_pairs 3F E3 8E 39)
readonly summary_16_9=$(summary 16 9 1.77778)
readonly bytes_16_9="39 8e e3 3f"

# Each check counts once, however many of its parts fail; a failure outside
# any check counts as a check of its own.
failed_check=-1
fail() {
    echo "FAIL [$case_name]: $*"
    if [ "$failed_check" != "$checks" ]; then
        failed_check=$checks
        failures=$((failures + 1))
    fi
    ((checks >= failures)) || checks=$failures
}

# Starts a case in a new, empty folder, which becomes the working folder.
new_case() { # NAME
    case_name=$1
    arguments=()
    expected_status=0
    folder="$work/$1"
    output="$work/$1.out"
    mkdir -p "$folder"
    cd "$folder" || exit 1
}

# A game executable of SIZE bytes (default: the template's size).
make_game() { # PATH [SIZE]
    mkdir -p "$(dirname "$1")"
    head -c "${2:-$game_size}" "$work/game.template" >"$1"
}

# The tool's arguments, and the exit status it must end with, for the runs
# of a case that sets them.
arguments=()
expected_status=0

# A path as the system's programs take it: on Windows with backslashes,
# and on drive Z: (where Wine shows the Unix file system) when absolute.
native_path() { # PATH
    if ((${#emulator[@]} > 0)); then
        [[ $1 != /* ]] || printf 'Z:'
        printf '%s' "${1//\//\\}"
    else
        printf '%s' "$1"
    fi
}

# Runs the tool with INPUT on standard input (bash $'...' text), keeping its
# standard output. With DRIVER, the tool runs in the background while that
# command plays the user at the screen. Windows writes "\r\n" for "\n" to a
# pipe: that is undone.
run_patcher() { # INPUT [DRIVER...]
    local input=$1 status=0 pid
    shift
    printf '%s' "$input" | timeout 120 "${emulator[@]}" "$patcher" "${arguments[@]}" >"$output.raw" 2>"$output.err" &
    pid=$!
    if (($# > 0)) && ! "$@"; then
        fail "could not drive the tool: $*"
        kill "$pid" 2>/dev/null
    fi
    wait "$pid" || status=$?
    if ((${#emulator[@]} > 0)); then
        sed 's/\r$//' "$output.raw" >"$output"
    else
        cp "$output.raw" "$output"
    fi
    checks=$((checks + 1))
    [ "$status" -eq "$expected_status" ] || fail "exit status $status; stderr: $(cat "$output.err")"
}

expect_output() { # EXPECTED
    checks=$((checks + 1))
    if ! printf '%s' "$1" | cmp -s - "$output"; then
        fail "console output differs"
        echo "--- expected"
        printf '%s' "$1" | od -c | head -60
        echo "--- actual"
        od -c "$output" | head -60
    fi
}

# The folder holds exactly these files and folders (paths relative to it).
expect_files() { # NAME...
    checks=$((checks + 1))
    local actual expected
    actual=$(cd "$folder" && find . -mindepth 1 -printf '%P\n' | sort)
    expected=$(printf '%s\n' "$@" | sed '/^$/d' | sort -u)
    [ "$actual" = "$expected" ] || fail "files are [$(echo $actual)], expected [$(echo $expected)]"
}

expect_same() { # FILE FILE
    checks=$((checks + 1))
    cmp -s "$1" "$2" || fail "$1 and $2 differ"
}

# FILE equals REFERENCE except for exactly the four bytes at OFFSET, which
# hold BYTES (hexadecimal, file order, e.g. "39 8e e3 3f").
expect_patched() { # FILE REFERENCE OFFSET BYTES
    checks=$((checks + 1))
    local actual differences
    actual=$(od -An -tx1 -j "$3" -N 4 "$1" | xargs)
    [ "$actual" = "$4" ] || fail "bytes at $3 of $1 are [$actual], expected [$4]"
    [ "$(stat -c %s "$1")" = "$(stat -c %s "$2")" ] || fail "$1 changed size"
    # cmp -l numbers bytes from 1; list the positions that differ.
    differences=$(cmp -l "$1" "$2" | awk -v offset="$3" '$1 - 1 < offset || $1 - 1 > offset + 3 { print $1 - 1 }' | head -5)
    [ -z "$differences" ] || fail "$1 also differs at [$(echo $differences)]"
}

# What a patch run that was failed or killed part-way leaves in a folder
# that held STATE (earlier: the game and $work/earlier.backup, a backup of
# something else; none: the game alone; original: the patched game and the
# original's backup): the game whole or exactly patched, patched only with
# a whole backup, the backup the one the run found or a whole copy, and a
# patch made if the run CLAIMS (true or false) one. is_game and is_patched
# are the case script's own; the caller counts the check.
expect_patch_invariants() { # STATE CLAIMS
    is_game gorv.exe || is_patched gorv.exe || fail "gorv.exe is neither the game nor the patched game"
    is_patched gorv.exe && ! is_game gorv.exe.backup && fail "gorv.exe was patched without a whole backup"
    case $1 in
    earlier) cmp -s gorv.exe.backup "$work/earlier.backup" || is_game gorv.exe.backup ;;
    none) [ ! -e gorv.exe.backup ] || is_game gorv.exe.backup ;;
    original) is_game gorv.exe.backup ;;
    esac || fail "the backup is neither the one the run found nor a whole copy"
    $2 && ! is_patched gorv.exe && fail "claims a patch it did not make"
    return 0
}
# The same after a restore of the patched game from the original's backup.
expect_restore_invariants() { # CLAIMS
    is_game gorv.exe || is_patched gorv.exe || fail "gorv.exe is neither the patched game nor the original"
    is_game gorv.exe.backup || fail "the backup changed"
    $1 && ! is_game gorv.exe && fail "claims a restore it did not make"
    return 0
}

# A virtual screen of the case's own, on the first free display, which
# becomes DISPLAY; it goes when the script ends ($xvfb is its process).
start_virtual_screen() {
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.2
    done
    [ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=":$(head -1 "$work/display")"
}

# Ends the script: a summary line and the exit status.
finish() {
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
    exit
}
