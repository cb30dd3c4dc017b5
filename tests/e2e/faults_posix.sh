# Every file-system call of a run, failed in turn and, separately, killed
# at: the game is never lost, a backup is never partial, and no run claims
# a patch it did not make. Also checks the order that makes the backup
# durable before the game is touched.
source "$(dirname "$0")/lib.sh"

# The sweep comes in parts, each a test of its own so that they share the
# machine: GORV_FAULTS_PART is PART, or PART/K/N for the K-th of N slices of
# its calls (all parts when unset). GORV_FAULTS_SAMPLE=sites sweeps fewer
# calls of each part, still every call site (see sample_sites).
IFS=/ read -r only_part slice slices <<<"${GORV_FAULTS_PART:-}"
runs_part() { [ -z "$only_part" ] || [ "$only_part" = "$1" ]; }

# The sanitizers' leak check cannot run under strace.
export ASAN_OPTIONS=detect_leaks=0
readonly traced=execve,openat,read,write,ioctl,copy_file_range,pread64,pwrite64,lseek,newfstatat,fstat,statx,fsync,fdatasync,rename,renameat,renameat2,unlink,unlinkat,close,flock,fchmod,fcntl,ftruncate
printf 'an earlier backup\n' >"$work/earlier.backup"
make_game "$work/patched.template"
printf '\x39\x8e\xe3\x3f' | dd of="$work/patched.template" bs=1 seek="$default_offset" conv=notrunc status=none

command -v strace >/dev/null || { fail "strace is not installed"; finish; }

# What every reading of a trace starts with: fd, the descriptor that the
# line's call is given first (write(3, ...) gives 3).
readonly trace_awk='function fd_of(line) { sub(/^[a-z0-9]+\(/, "", line); sub(/[,)].*/, "", line); return line }
    { fd = fd_of($0) }
'

# A folder with the game as a run may find it ($start: "earlier", the game
# with an earlier backup of something else; "none", the game alone;
# "original", the patched game with the backup of the original); runs the
# tool there under strace with ARGS, its calls logged to $log. The answers
# are $answers, and the tool runs in $from (relative to the case's folder).
log=
answers=$answers_16_9
from=.
start=earlier
traced_run() { # NAME STRACE_ARGS...
    new_case "$start-$1"
    shift
    case $start in
    earlier) make_game gorv.exe && cp "$work/earlier.backup" gorv.exe.backup ;;
    none) make_game gorv.exe ;;
    original) cp "$work/patched.template" gorv.exe && cp "$work/game.template" gorv.exe.backup ;;
    esac
    log="$work/$case_name.log"
    mkdir -p "$from"
    # In a subshell of its own, so that a killed run is not announced.
    (cd "$from" && printf '%s' "$answers" | timeout 60 strace -o "$log" -s 64 -e trace="$traced" "$@" "$patcher" >"$output") 2>/dev/null
}

is_game() { cmp -s "$1" "$work/game.template"; }
is_patched() { cmp -s "$1" "$work/patched.template"; }

# A normal run, whose calls are the ones to fail. Those of the program's
# start (the loader, the sanitizers) come before the update file is
# looked for and are left alone.
traced_run reference
is_patched gorv.exe && is_game gorv.exe.backup || fail "the run without faults did not patch"

# Durability: every byte of the copy (of the game, or for a restore of the
# backup) is written before the copy is synced, then it is renamed into
# place and the game's own folder (FOLDER, as the tool names it) is synced,
# all before the game is written, which is synced in turn.
durability_steps() { # FOLDER
    awk -v folder="$1" "$trace_awk"'
        /^openat\(/ && / = [0-9]+$/ {
            path = $0; sub(/^[^"]*"/, "", path); sub(/".*/, "", path)
            copy[$NF] = path ~ /gorv\.exe(\.backup)?\.tmp$/; game[$NF] = path ~ /gorv\.exe$/ && /O_RDWR/
            dir[$NF] = /O_DIRECTORY/ ? path : ""
        }
        /^write\(/ && copy[fd] && synced[fd] { print "write-after-sync" }
        /^write\(/ && game[fd] && !written++ { print "write-game" }
        /^fsync\(/ && game[fd] { print "sync-game" }
        /^fsync\(/ && copy[fd] { synced[fd] = 1; print "sync-copy" }
        /^fsync\(/ && dir[fd] != "" { print "sync-folder:" (dir[fd] == folder ? "game" : dir[fd]) }
        /^rename\(/ { print "rename" }
        /^close\(/ { copy[fd] = game[fd] = 0; dir[fd] = "" }' "$log" | xargs
}
if runs_part basics; then
    order=$(durability_steps .)
    [ "$order" = "sync-copy rename sync-folder:game write-game sync-game" ] || fail "durability steps in the order [$order]"
fi

# A power cut after any call of the run loses whatever was not synced by
# then: a file's data since its last sync, and the names in a folder since
# that folder's last sync. At each cut, the game on disk is whole or
# exactly patched, patched only beside a whole backup, and whatever the run
# has already reported (KIND: patch or restore) is on disk. Files are told
# by their names in the one folder; their contents are named: the game,
# patched, earlier (an earlier backup), partial (a copy not yet synced).
power_cut_model() { # KIND GAME BACKUP
    awk -v kind="$1" -v game_start="$2" -v backup_start="$3" "$trace_awk"'
        function base(path) { sub(/^[^"]*"/, "", path); sub(/".*/, "", path); sub(/.*\//, "", path); return path }
        function check(   game, backup) {
            game = content[disk_name["gorv.exe"]]; backup = content[disk_name["gorv.exe.backup"]]
            if (game != "game" && game != "patched") return "the game is " game
            if (game == "patched" && backup != "game") return "patched beside a backup that is " backup
            if (kind == "patch" && claimed && game != "patched") return "reported a patch that is not on disk"
            if (kind == "restore" && claimed && game != "game") return "reported a restore that is not on disk"
            return ""
        }
        BEGIN {
            name["gorv.exe"] = disk_name["gorv.exe"] = "G"; data["G"] = content["G"] = game_start
            name["gorv.exe.backup"] = disk_name["gorv.exe.backup"] = "B"; data["B"] = content["B"] = backup_start
        }
        / = -1 / { next }
        /^openat\(/ {
            path = base($0)
            if (/O_CREAT/) { file = "new" NR; name[path] = file; data[file] = "partial"; content[file] = "partial" }
            else file = name[path]
            of[$NF] = file; folder[$NF] = /O_DIRECTORY/
        }
        /^read\(/ && of[fd] != "" { copying = data[of[fd]] }
        # A copy in the kernel, or a clone: copy_file_range(IN, NULL, OUT, ...), ioctl(OUT, FICLONE, IN).
        /^(copy_file_range|ioctl\(.*FICLONE)/ {
            split($0, args, /[(,)] */); from = args[2]; to = args[4]
            if (/^ioctl/) { from = args[4]; to = args[2] }
            if (of[to] ~ /^new/) { data[of[to]] = data[of[from]]; if (synced[of[to]]) content[of[to]] = "partial" }
        }
        /^write\(1,/ && (/Enjoy the game!/ || /^write\(1, "Restored /) { claimed = 1 }
        /^write\(/ && of[fd] != "" {
            file = of[fd]
            data[file] = file ~ /^new/ ? copying : kind == "restore" ? "game" : "patched"
            if (synced[file]) content[file] = "partial"
        }
        /^fsync\(/ && folder[fd] { for (n in name) disk_name[n] = name[n] }
        /^fsync\(/ && of[fd] != "" && !folder[fd] { content[of[fd]] = data[of[fd]]; synced[of[fd]] = 1 }
        /^rename\(/ { split($0, q, "\""); from = base("\"" q[2]); name[base("\"" q[4])] = name[from]; delete name[from] }
        /^unlink\(/ { delete name[base($0)] }
        /^close\(/ { of[fd] = ""; folder[fd] = 0 }
        { problem = check(); if (problem != "") { print "cut after line " NR ": " problem; exit } }' "$log"
}
export HOME="$work/home"
if runs_part basics; then
    problem=$(power_cut_model patch game earlier)
    [ -z "$problem" ] || fail "power cut: $problem"

    # The same with the game named by its full path, from another folder.
    answers=$'1920\n1080\n'"$work/earlier-absolute/gorv.exe"$'\n\n'
    from=elsewhere
    traced_run absolute
    is_patched gorv.exe && is_game gorv.exe.backup || fail "the run by full path did not patch"
    order=$(durability_steps "$folder")
    [ "$order" = "sync-copy rename sync-folder:game write-game sync-game" ] || fail "durability steps in the order [$order]"
    answers=$answers_16_9
    from=.
fi

# What a file system cannot do is no failure when the copy is whole and on
# disk: permission bits (FAT, exFAT), a folder sync, or locks (NFS without
# its lock service). A folder sync that fails otherwise comes with a note.
# The folder is opened just before the rename, so its openat is the last
# one before it.
# Nor is a copy that the file system leaves to the program: no clone
# (FICLONE), no copy in the kernel (copy_file_range).
if runs_part basics; then
    folder_open=$(awk -F'(' '/^openat\(/ { n++ } /^openat\(.*O_DIRECTORY/ { at = n } END { print at }' "$work/earlier-reference.log")
    clone=$(awk -F'(' '/^ioctl\(/ { n++ } /FICLONE/ { print n; exit }' "$work/earlier-reference.log")
    for fault in fchmod:EPERM fchmod:ENOSYS fchmod:EOPNOTSUPP fsync:EINVAL:2 fsync:ENOSYS:2 fsync:EIO:2:note \
        "openat:EACCES:$folder_open" flock:ENOLCK flock:EOPNOTSUPP flock:ENOSYS "ioctl:EXDEV:$clone" \
        copy_file_range:EOPNOTSUPP copy_file_range:EXDEV copy_file_range:ENOSYS; do
        IFS=: read -r name errno nth with_note <<<"$fault"
        expected_note=
        [ -z "$with_note" ] || expected_note=$'\nNote: could not sync the folder of gorv.exe.backup: Input/output error'
        traced_run "unsupported-$name-$errno" -e inject="$name:error=$errno:when=${nth:-1}"
        expect_output "$asked$(patching gorv.exe "$expected_note")$echo_16_9$summary_16_9"
        is_patched gorv.exe && is_game gorv.exe.backup || fail "not patched with a whole backup"
    done

    # A disk that is full part-way through the copy fails the backup, and
    # the game is left as it was.
    traced_run copy-disk-full -e inject=copy_file_range:error=ENOSPC
    expect_output "$asked"$'\nBacking Up...\n\nBackup failed: could not copy gorv.exe to gorv.exe.backup: No space left on device\n'"$closing$press_enter"
    is_game gorv.exe && cmp -s gorv.exe.backup "$work/earlier.backup" || fail "the game or the earlier backup changed"
fi

# Did the call that failed belong to writing: a file opened for writing,
# or a call that changes a name, syncs or locks? Then the run must not
# claim success. The launch's log, the note of what was last patched (a
# launch without it looks at the game in full) and the null device that
# stands in for a closed stream are no such files: their failures change
# nothing and go unsaid.
failed_write_call() {
    awk "$trace_awk"'/gorv-patcher\.log|patched\.json|\/dev\/null/ { next }
        /^openat\(/ && / = [0-9]+$/ { writing[$NF] = ($0 ~ /O_WRONLY|O_RDWR/); written[$NF] = 0 }
        /^(write|pwrite64)\(/ { if (writing[fd]) written[fd] = 1 }
        /INJECTED/ {
            name = $0; sub(/\(.*/, "", name)
            if (name ~ /^(rename|unlink|fsync|flock|fchmod|copy_file_range)/ || $0 ~ /FICLONE/) found = 1
            if (name == "openat" && $0 ~ /O_WRONLY|O_RDWR/) found = 1
            if (name ~ /^(write|pwrite64|lseek)$/ && writing[fd]) found = 1
            if (name == "close" && written[fd]) found = 1
        }
        # A closed descriptor number may come back for something else.
        /^close\(/ { writing[fd] = written[fd] = 0 }
        END { exit !found }' "$log"
}

# Fails each of CALLS in turn (NAME:NTH) and kills the run at it, with
# RUN_CASE making and running each case and CHECK_CASE checking what it
# left; a run that claims success (SUCCESS, a pattern of its output) after
# a failed call that belongs to writing is an error.
sweep() { # RUN_CASE CHECK_CASE SUCCESS CALLS...
    local run_case=$1 check_case=$2 success=$3 call name nth how claims_success
    shift 3
    local index=0
    for call in "$@"; do
        index=$((index + 1))
        [ -z "$slices" ] || ((index % slices == slice % slices)) || continue
        name=${call%:*}
        nth=${call#*:}
        for how in error=EIO signal=KILL; do
            "$run_case" "$name-$nth-${how%%=*}" -e inject="$name:$how:when=$nth"
            checks=$((checks + 1))
            claims_success=false
            if grep -q "$success" "$output" && ! grep -q 'Not patched\|Backup failed\|Note:\|Could not write' "$output"; then
                claims_success=true
            fi
            "$check_case" "$how" "$claims_success"
            if [ "$how" = error=EIO ]; then
                [ ! -e gorv.exe.backup.tmp ] && [ ! -e gorv.exe.tmp ] || fail "a temporary file was left"
                $claims_success && failed_write_call && fail "a failed write went unreported"
            fi
        done
    done
}

# After a patch run: the game is whole or exactly patched, and patched only
# with a whole backup; the backup is the one the run found (the original
# stays the original) or a whole copy.
check_patch() { # HOW CLAIMS_SUCCESS
    expect_patch_invariants "$start" "$2"
    if [ "$1" = signal=KILL ]; then
        # A killed run may leave its temporary file: the next run copes.
        printf '%s' "$answers_16_9" | timeout 60 "$patcher" >"$output.next" 2>/dev/null
        grep -q 'Not patched\|Backup failed' "$output.next" && fail "the run after a kill failed"
        is_patched gorv.exe && is_game gorv.exe.backup && [ ! -e gorv.exe.backup.tmp ] ||
            fail "the run after a kill did not patch cleanly"
    fi
}
# The calls of the LOG from the first that names PATTERN on, as NAME:NTH
# (the NTH call of that name in the whole run). Those of the program's
# start (the loader, the sanitizers) come before and are left alone.
calls_from() { # PATTERN LOG
    awk -F'(' -v pattern="$1" '$0 ~ pattern { started = 1 }
        { count[$1]++ } started && $1 ~ /^[a-z0-9]+$/ { print $1 ":" count[$1] }' "$2"
}

# Every call of a run from each state it can meet; of a long run of reads
# or writes of one kind, the first few, every 16th and the last.
# With GORV_FAULTS_SAMPLE=sites, one call of each site: the first call of
# each kind between the same two kinds of call (the build that sweeps
# every call is another, and the same code).
sample() { awk -F: -v sites="${GORV_FAULTS_SAMPLE:-}" '{ name[NR] = $1; line[NR] = $0 }
    END { for (i = 1; i <= NR; i++) {
        if (name[i] == name[i - 1]) run++; else run = 0
        if (sites == "sites") { if (!seen[name[i - 1] " " name[i] " " name[i + 1]]++) print line[i] }
        else if (name[i] !~ /^(read|write)$/ || run < 3 || run % 16 == 0 || name[i] != name[i + 1]) print line[i] } }'; }
for start in earlier none original; do
    runs_part "patch-$start" || continue
    [ "$start" = earlier ] || traced_run reference
    sweep traced_run check_patch 'Enjoy the game!' $(calls_from GorvPatcherUpdate.dat "$work/$start-reference.log" | sample)
done

# Restoring the game from its backup, which writes the patched bytes back
# in place: the game is the patched one or the whole original, never
# anything between, and the backup is untouched.
# A case's folder with the files GAME and BACKUP as gorv.exe and its
# backup; its calls go to $log.
new_case_with() { # NAME GAME BACKUP
    new_case "$1"
    cp "$2" gorv.exe
    cp "$3" gorv.exe.backup
    log="$work/$case_name.log"
}
restore_run() { # NAME STRACE_ARGS...
    new_case_with "restore-$1" "$work/patched.template" "$work/game.template"
    shift
    (printf '\n' | timeout 60 strace -o "$log" -s 64 -e trace="$traced" "$@" "$patcher" gorv.exe.backup >"$output") 2>/dev/null
}
check_restore() { # HOW CLAIMS_SUCCESS
    expect_restore_invariants "$2"
    if [ "$1" = signal=KILL ]; then
        # The next run of either kind removes what the killed one left.
        printf '%s' "$answers_16_9" | timeout 60 "$patcher" >"$output.next" 2>/dev/null
        is_patched gorv.exe && [ ! -e gorv.exe.tmp ] || fail "the patch run after a kill did not patch cleanly"
        printf '\n' | timeout 60 "$patcher" gorv.exe.backup >"$output.next" 2>/dev/null ||
            fail "the restore after a kill failed: $(cat "$output.next")"
        is_game gorv.exe && [ ! -e gorv.exe.tmp ] || fail "the restore after a kill did not restore cleanly"
    fi
}
if runs_part restore; then
    restore_run reference
    is_game gorv.exe || fail "the restore without faults did not restore"
    order=$(durability_steps "$(realpath .)")
    [ "$order" = "write-game sync-game" ] || fail "restore's durability steps in the order [$order]"
    problem=$(power_cut_model restore patched game)
    [ -z "$problem" ] || fail "power cut in a restore: $problem"
    # Its calls from the open of the backup on.
    restore_calls=$(calls_from 'gorv.exe.backup"' "$log" | if [ "${GORV_FAULTS_SAMPLE:-}" = sites ]; then sample; else cat; fi)
    sweep restore_run check_restore '^Restored' $restore_calls
fi

# One launch, as a launcher's option runs it, from a game as it ships (its
# own 16:9 at the offset) with an earlier backup: the patch to 21:9 keeps
# the same invariants, whatever call fails, and the command runs after it.
# Only the patch's calls are failed, up to the start of the command.
make_game "$work/wide.template"
printf '\x26\xb4\x17\x40' | dd of="$work/wide.template" bs=1 seek="$default_offset" conv=notrunc status=none
is_game() { cmp -s "$1" "$work/patched.template"; }
is_patched() { cmp -s "$1" "$work/wide.template"; }
launch_run() { # NAME STRACE_ARGS...
    new_case_with "launch-$1" "$work/patched.template" "$work/earlier.backup"
    shift
    (timeout 60 strace -o "$log" -s 64 -e trace="$traced" "$@" "$patcher" --screen 2560x1080 -- true 2>"$output") 2>/dev/null
}
# Started with standard error closed, as some launchers start it: then what
# it says is only in its log.
launch_closed_run() { # NAME STRACE_ARGS...
    new_case_with "launch-closed-$1" "$work/patched.template" "$work/earlier.backup"
    shift
    (timeout 60 strace -o "$log" -s 64 -e trace="$traced" "$@" "$patcher" --screen 2560x1080 -- true 2>&- || :) 2>/dev/null
    cp gorv-patcher.log "$output" 2>/dev/null || : >"$output"
}
check_launch() { # HOW CLAIMS_SUCCESS
    expect_patch_invariants earlier "$2"
    if [ "$1" = signal=KILL ]; then
        timeout 60 "$patcher" --screen 2560x1080 >"$output.next" 2>&1 || fail "the launch after a kill failed: $(cat "$output.next")"
        is_patched gorv.exe && is_game gorv.exe.backup && [ ! -e gorv.exe.backup.tmp ] ||
            fail "the launch after a kill did not patch cleanly"
    fi
}
if runs_part launch; then
    launch_run reference
    is_patched gorv.exe && is_game gorv.exe.backup || fail "the launch without faults did not patch"
    grep -q '^execve("/usr/bin/true"' "$log" || fail "the launch did not start its command"
    sweep launch_run check_launch '^gorv-patcher: Patched ' $(calls_from GorvPatcherUpdate.dat "$log" | sed '/^execve:/q' | sample)
fi
if runs_part launch-closed; then
    launch_closed_run reference
    is_patched gorv.exe && is_game gorv.exe.backup || fail "the launch with standard error closed did not patch"
    sweep launch_closed_run check_launch '^gorv-patcher: Patched ' $(calls_from /dev/null "$log" | sed '/^execve:/q' | sample)
fi

# A launch after an update that moved the value: the earlier version (the
# backup) holds 16:9 at the update file's offset amid code of a real build;
# the new one has 1,000 bytes more before it, and that code as the next
# build compiled it. Whatever call fails: the update file names the old
# place or the new one, the game is patched at the new place only beside a
# whole backup of the new version, and a kill is mended by the next launch.
window() { # HEX_BEFORE HEX_AFTER
    perl -e 'print pack "H*", "$ARGV[0]398ee33f$ARGV[1]"' "$1" "$2"
}
if runs_part moved; then
    readonly moved_from=$default_offset moved_to=$((default_offset + 1000))
    cp "$work/game.template" "$work/moved-v1"
    window 8d159d7a00004889c1e8e51000004883c4305bc366662e0f1f8400000000000f1f4000660fefc0488b058d7a0000f30f2ac2f30f5805897a000048894108c701 \
        f30f114104c39090909090909090904883ec28488b05556a0000488b004885c074220f1f440000ffd0488b053f6a0000488d5008488b4008488915306a000048 |
        dd of="$work/moved-v1" bs=1 seek=$((moved_from - 64)) conv=notrunc status=none
    { head -c 1000000 "$work/moved-v1" && head -c 1000 /dev/zero | tr '\0' u && tail -c +1000001 "$work/moved-v1"; } >"$work/moved-v2"
    window fae8a56600004883f80183deff4883c3084839eb75e589f04883c4285b5e5f5dc36690660fefc0488b05b57a0000f30f2ac2f30f5805b17a000048894108c701 \
        f30f114104c39090909090909090904883ec28488b05156a0000488b004885c074220f1f440000ffd0488b05ff690000488d5008488b4008488915f069000048 |
        dd of="$work/moved-v2" bs=1 seek=$((moved_to - 64)) conv=notrunc status=none
    cp "$work/moved-v2" "$work/moved-v2-patched"
    printf '\x26\xb4\x17\x40' | dd of="$work/moved-v2-patched" bs=1 seek="$moved_to" conv=notrunc status=none
    moved_run() { # NAME STRACE_ARGS...
        new_case_with "moved-$1" "$work/moved-v2" "$work/moved-v1"
        echo "$moved_from" >GorvPatcherUpdate.dat
        shift
        (timeout 60 strace -o "$log" -s 64 -e trace="$traced" "$@" "$patcher" --screen 2560x1080 -- true 2>"$output" || :) 2>/dev/null
    }
    check_moved() { # HOW CLAIMS_SUCCESS
        local offset
        offset=$(cat GorvPatcherUpdate.dat)
        cmp -s gorv.exe "$work/moved-v2" || cmp -s gorv.exe "$work/moved-v2-patched" ||
            fail "gorv.exe is neither the new version nor that patched at the new place"
        cmp -s gorv.exe "$work/moved-v2-patched" && ! cmp -s gorv.exe.backup "$work/moved-v2" &&
            fail "the new version was patched without a whole backup of it"
        cmp -s gorv.exe.backup "$work/moved-v1" || cmp -s gorv.exe.backup "$work/moved-v2" ||
            fail "the backup is neither the earlier version nor a whole copy of the new one"
        [ "$offset" = "$moved_from" ] || [ "$offset" = "$moved_to" ] || fail "the update file holds [$offset]"
        $2 && ! cmp -s gorv.exe "$work/moved-v2-patched" && fail "claims a patch it did not make"
        if [ "$1" = signal=KILL ]; then
            timeout 60 "$patcher" --screen 2560x1080 >"$output.next" 2>&1 || fail "the launch after a kill failed: $(cat "$output.next")"
            cmp -s gorv.exe "$work/moved-v2-patched" && cmp -s gorv.exe.backup "$work/moved-v2" &&
                [ "$(cat GorvPatcherUpdate.dat)" = "$moved_to" ] || fail "the launch after a kill did not patch cleanly"
        fi
    }
    moved_run reference
    check_moved reference true
    grep -q "^gorv-patcher: Offset $moved_to is written into GorvPatcherUpdate.dat" "$output" || fail "the move was not followed: $(cat "$output")"
    sweep moved_run check_moved '^gorv-patcher: Patched ' $(calls_from GorvPatcherUpdate.dat "$log" | sed '/^execve:/q' | sample)
fi

finish
