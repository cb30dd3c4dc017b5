# The Windows program's file calls, failed in turn with Windows errors and,
# separately, ended at as a kill would, through the test build's shim: the
# game is never lost, a backup is never partial, every failure is told with
# the system's reason, and no run claims what it did not do. From each state
# a run can meet, and for a restore.
# Called as: bash faults_wine.sh FAULTY_PATCHER PATCHER EMULATOR...
set -u
patcher_itself=$(realpath "$2")
set -- "$1" "${@:3}"
source "$(dirname "$0")/lib.sh"

# The sweep comes in parts, each a test of its own so that they share the
# machine: GORV_FAULTS_PART is a state, or STATE/K/N for the K-th of N
# slices of its calls (all states when unset).
IFS=/ read -r only_part slice slices <<<"${GORV_FAULTS_PART:-}"
runs_part() { [ -z "$only_part" ] || [ "$only_part" = "$1" ]; }

readonly size=100000 offset=1000
readonly codes=(112 5 32 33 50) # disk full, access denied, sharing and lock violation, not supported
printf 'an earlier backup\n' >"$work/earlier.backup"
head -c "$size" "$work/game.template" >"$work/game"
cp "$work/game" "$work/patched"
printf '\x39\x8e\xe3\x3f' | dd of="$work/patched" bs=1 seek="$offset" conv=notrunc status=none
is_game() { cmp -s "$1" "$work/game"; }
is_patched() { cmp -s "$1" "$work/patched"; }

# A folder with the game as a run may find it (STATE: earlier, none,
# original, or restore: the patched game and the original's backup); runs
# the faulty build there with FAULT ("N:CODE", "N:kill" or empty), its
# calls logged to $log.
log=
run_case() { # STATE NAME FAULT
    new_case "$1-$2"
    printf '%s\n' "$offset" >GorvPatcherUpdate.dat
    case $1 in
    earlier) cp "$work/game" gorv.exe && cp "$work/earlier.backup" gorv.exe.backup ;;
    none) cp "$work/game" gorv.exe ;;
    original | restore) cp "$work/patched" gorv.exe && cp "$work/game" gorv.exe.backup ;;
    esac
    log="$work/$case_name.log"
    local argument=gorv.exe input=$answers_16_9
    [ "$1" != restore ] || { argument=gorv.exe.backup input=$'\n'; }
    printf '%s' "$input" | GORV_FAULT_LOG="$(native_path "$log")" GORV_FAULT=$3 timeout 60 "${emulator[@]}" "$patcher" \
        "$argument" 2>/dev/null | tr -d '\r' >"$output"
}

# The calls of a run without faults; of the many reads and writes of a
# copy, the first two, every 64th and the last.
sampled_calls() { # LOG
    awk '{ name[NR] = $0; seen[$0]++ } END {
        for (i = 1; i <= NR; i++) {
            n[name[i]]++
            if (name[i] !~ /^f(read|write)$/ || n[name[i]] <= 2 || n[name[i]] % 64 == 0 || n[name[i]] == seen[name[i]])
                print i
        } }' "$1"
}

# What a run left, after FAULT: the invariants of its STATE.
check() { # STATE FAULT
    local injected claims=false
    if [ "$1" = restore ]; then
        grep -q '^Restored' "$output" && claims=true
        expect_restore_invariants $claims
    else
        grep -q 'Enjoy the game!' "$output" && ! grep -q 'Not patched\|Backup failed\|Note:' "$output" && claims=true
        expect_patch_invariants "$1" $claims
    fi
    if [[ $2 == *:kill ]]; then
        # The next run, of the program itself, copes with what was left.
        if [ "$1" = restore ]; then
            printf '\n' | timeout 60 "${emulator[@]}" "$patcher_itself" gorv.exe.backup >/dev/null 2>&1
            is_game gorv.exe || fail "the restore after a kill did not restore"
        else
            printf '%s' "$answers_16_9" | timeout 60 "${emulator[@]}" "$patcher_itself" gorv.exe >/dev/null 2>&1
            is_patched gorv.exe && is_game gorv.exe.backup || fail "the run after a kill did not patch"
        fi
        [ ! -e gorv.exe.tmp ] && [ ! -e gorv.exe.backup.tmp ] || fail "a temporary file was left after the next run"
        return
    fi
    [ ! -e gorv.exe.tmp ] && [ ! -e gorv.exe.backup.tmp ] || fail "a temporary file was left"
    # A failure is told with the system's own words for the error. (A lock
    # that another run holds is told as such; an update file that cannot be
    # read is no update file, and the built-in position is used.)
    injected=$(grep -m1 '^injected ' "$log" | tr -d '\r')
    if [ -n "$injected" ] && [[ $injected != "injected LockFileEx"* ]] && ((${2%%:*} > update_file_calls)) &&
        grep -q '^\(Backup failed\|Not patched\|Not restored\): ' "$output"; then
        grep '^\(Backup failed\|Not patched\|Not restored\): ' "$output" | grep -qF -- ": ${injected#*: }" ||
            fail "the failure is told without the system's reason [${injected#*: }]: $(grep 'failed\|Not' "$output")"
    fi
}

for state in earlier none original restore; do
    runs_part "$state" || continue
    run_case "$state" reference ""
    checks=$((checks + 1))
    if [ "$state" = restore ]; then is_game gorv.exe; else is_patched gorv.exe && is_game gorv.exe.backup; fi ||
        fail "the run without faults did not do its work"
    calls=$(sampled_calls "$log")
    # A patch run reads the update file first, and closes it.
    update_file_calls=0
    [ "$state" = restore ] || update_file_calls=$(grep -n -m1 '^fclose' "$log" | cut -d: -f1)
    index=0
    for call in $calls; do
        index=$((index + 1))
        [ -z "$slices" ] || ((index % slices == slice % slices)) || continue
        for how in "${codes[call % ${#codes[@]}]}" kill; do
            run_case "$state" "$call-$how" "$call:$how"
            checks=$((checks + 1))
            check "$state" "$call:$how"
        done
    done
done

# A file system without byte-range locks (a network share) is no failure:
# the run patches as always.
if runs_part no-locks; then
    run_case earlier reference ""
    lock_call=$(grep -n -m1 '^LockFileEx' "$log" | cut -d: -f1)
    for code in 50 1; do # not supported, invalid function
        run_case earlier "no-locks-$code" "$lock_call:$code"
        expect_output "$updated$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
        checks=$((checks + 1))
        is_patched gorv.exe && is_game gorv.exe.backup || fail "not patched with a whole backup"
    done
fi

# A game that cannot be tied to the tool by a job starts all the same, and
# the log says that stopping the tool does not stop it.
if runs_part job; then
    new_case job
    cp "$work/game" gorv.exe
    GORV_FAULT_JOB=5 timeout 60 "${emulator[@]}" "$patcher" --screen 2560x1080 -- cmd /c exit 3 >/dev/null 2>&1
    status=$?
    checks=$((checks + 1))
    [ $status = 3 ] && tr -d '\r' <gorv-patcher.log |
        grep -qE "^gorv-patcher: the game does not stop when gorv-patcher is stopped: Access (is )?denied\.$" ||
        fail "status $status, logged $(cat gorv-patcher.log)"
fi

finish
