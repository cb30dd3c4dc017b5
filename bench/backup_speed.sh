#!/usr/bin/env bash
# Times a whole patcher run on a large game file against a plain durable copy.
#
# Each pair runs the patcher (backup, fsync, rename, patch) and `cp` of the
# same file followed by `sync` of the copy, which is the same durability,
# in alternating order, in the build's folder (ext4 here). Reports the
# median of the per-pair time ratios and the patcher's peak resident memory
# for a small and a large file. It also times a run that finds the backup
# of the unpatched game in place and keeps it (it reads both files and
# copies nothing).
#
# Then, where root can mount loop images of btrfs and XFS, it times the
# same run on a 1 MiB and on the large game there, where the backup is a
# clone: a large game should cost about as much as a small one.
#
# Targets: median ratio at most 1.1; peak memory at most 8 MiB and
# independent of the file's size; on btrfs and XFS, the large game's run at
# most 2 times the small game's.
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
    measure sh -c 'cp gorv.exe copy && sync copy'
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
echo "median ratio: $ratio (target <= 1.1) $(verdict "$ratio" 1.1)"
echo "peak memory, 1 MiB file: $((small_kib / 1024)).$(((small_kib % 1024) * 10 / 1024)) MiB (target <= 8) $(verdict "$small_kib" 8192)"
echo "peak memory, $size_mib MiB file: $((large_kib / 1024)).$(((large_kib % 1024) * 10 / 1024)) MiB (target <= 8) $(verdict "$large_kib" 8192)"
ok=true
[ "$(verdict "$ratio" 1.1)" = ok ] && [ "$(verdict "$small_kib" 8192)" = ok ] && [ "$(verdict "$large_kib" 8192)" = ok ] ||
    ok=false

# The median time of PAIRS patcher runs that each make the backup anew,
# to the tenth of a millisecond (a clone takes a few).
median_run() {
    local run start
    for ((run = 0; run < pairs; run++)); do
        rm -f gorv.exe.backup
        start=$EPOCHREALTIME
        printf '1920\n1080\n\n' | "$patcher" >/dev/null
        awk -v start="$start" -v end="$EPOCHREALTIME" 'BEGIN { printf "%.4f\n", end - start }'
    done | median
}

if [ "$(id -u)" != 0 ]; then
    echo "btrfs, XFS: skipped (mounting a loop image needs root)"
else
    ensure_packages btrfs-progs xfsprogs
    trap 'umount "$folder/btrfs" "$folder/xfs" 2>/dev/null; rm -rf "$folder"' EXIT
    for kind in btrfs xfs; do
        image="$folder/$kind.img"
        truncate -s $(((size_mib + 512) << 20)) "$image"
        mkdir -p "$folder/$kind"
        if ! "mkfs.$kind" -q "$image" >/dev/null 2>&1 || ! mount -o loop "$image" "$folder/$kind"; then
            echo "$kind: skipped (cannot mount a loop image)"
            continue
        fi
        cd "$folder/$kind"
        head -c $((1 << 20)) /dev/urandom >gorv.exe
        small_s=$(median_run)
        head -c $((size_mib << 20)) /dev/urandom >gorv.exe
        patcher_run >/dev/null
        large_s=$(median_run)
        cd "$folder"
        umount "$folder/$kind"
        clone_ratio=$(awk -v large="$large_s" -v small="$small_s" 'BEGIN { print (small > 0 ? large / small : 0) }')
        echo "$kind: 1 MiB game $small_s s, $size_mib MiB game $large_s s, ratio $clone_ratio (target <= 2)" \
            "$(verdict "$clone_ratio" 2)"
        [ "$(verdict "$clone_ratio" 2)" = ok ] || ok=false
    done
fi
$ok
