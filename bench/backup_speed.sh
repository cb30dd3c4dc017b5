#!/usr/bin/env bash
# Times a whole patcher run on a large game file against a plain durable copy.
#
# Each pair runs the patcher (backup, fsync, rename, patch) and
# `cp --reflink=never` of the same file followed by `sync` of the copy, which
# is the same durability, in alternating order. Reports the median of the
# per-pair time ratios and the patcher's peak resident memory for a small and
# a large file. It also times a run that finds the backup of the unpatched
# game in place and keeps it (it reads both files and copies nothing).
#
# Targets: median ratio at most 1.5; peak memory at most 8 MiB and
# independent of the file's size.
#
# Usage: bench/backup_speed.sh [PATCHER] [SIZE_MIB] [PAIRS]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
size_mib=${2:-256}
pairs=${3:-9}

# Prints "SECONDS PEAK_KIB" for one command.
measure() {
    /usr/bin/time -f '%e %M' -o "$folder/measure" "$@" >/dev/null
    cat "$folder/measure"
}
patcher_run() {
    rm -f gorv.exe.backup
    printf '1920\n1080\n\n' | measure "$patcher"
}
keep_run() {
    printf '1920\n1080\n\n' | measure "$patcher"
}
copy_run() {
    rm -f copy
    measure sh -c 'cp --reflink=never gorv.exe copy && sync copy'
}

head -c $((1 << 20)) /dev/urandom >gorv.exe
read -r _ small_kib < <(patcher_run)

head -c $((size_mib << 20)) /dev/urandom >gorv.exe
patcher_run >/dev/null # warms the page cache for both

large_kib=0
: >"$folder/times"
for ((pair = 0; pair < pairs; pair++)); do
    if ((pair % 2 == 0)); then
        read -r patch_s patch_kib < <(patcher_run)
        read -r copy_s _ < <(copy_run)
    else
        read -r copy_s _ < <(copy_run)
        read -r patch_s patch_kib < <(patcher_run)
    fi
    ((patch_kib > large_kib)) && large_kib=$patch_kib
    read -r keep_s keep_kib < <(keep_run)
    ((keep_kib > large_kib)) && large_kib=$keep_kib
    echo "$patch_s $copy_s $keep_s" >>"$folder/times"
done

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio=$(awk '{ print ($2 > 0 ? $1 / $2 : 0) }' "$folder/times" | median)
patch_median=$(cut -d' ' -f1 "$folder/times" | median)
copy_median=$(cut -d' ' -f2 "$folder/times" | median)
keep_median=$(cut -d' ' -f3 "$folder/times" | median)

verdict() { awk -v value="$1" -v limit="$2" 'BEGIN { print (value <= limit) ? "ok" : "MISSED" }'; }
echo "file: $size_mib MiB, pairs: $pairs"
echo "patcher run: median $patch_median s"
echo "cp + sync:   median $copy_median s"
echo "patcher run keeping the backup: median $keep_median s"
echo "median ratio: $ratio (target <= 1.5) $(verdict "$ratio" 1.5)"
echo "peak memory, 1 MiB file: $((small_kib / 1024)).$(((small_kib % 1024) * 10 / 1024)) MiB (target <= 8) $(verdict "$small_kib" 8192)"
echo "peak memory, $size_mib MiB file: $((large_kib / 1024)).$(((large_kib % 1024) * 10 / 1024)) MiB (target <= 8) $(verdict "$large_kib" 8192)"
[ "$(verdict "$ratio" 1.5)" = ok ] && [ "$(verdict "$small_kib" 8192)" = ok ] && [ "$(verdict "$large_kib" 8192)" = ok ]
