# Game folders on the file systems of SD cards and USB drives, which keep
# no permission bits and sync no folders: exFAT (on a loop device) and FAT,
# through their FUSE drivers; and on btrfs and XFS, where the backup is a
# clone that shares the game's blocks and still holds the original once
# the game is patched. Each patched by root and by a plain user. Needs
# root and /dev/fuse; skipped (exit 77) elsewhere.
source "$(dirname "$0")/lib.sh"

if [ "$(id -u)" != 0 ] || [ ! -c /dev/fuse ] ||
    ! command -v mount.exfat-fuse fusefat mkfs.exfat mkfs.fat mkfs.btrfs mkfs.xfs filefrag losetup >/dev/null; then
    echo "skipped: needs root, /dev/fuse, exfat-fuse, exfatprogs, fusefat, dosfstools, btrfs-progs and xfsprogs"
    exit 77
fi

mounts=()
loops=()
cleanup() {
    local mount loop
    for mount in "${mounts[@]}"; do fusermount -u "$mount" 2>/dev/null || umount "$mount" 2>/dev/null || umount -l "$mount" 2>/dev/null; done
    for loop in "${loops[@]}"; do losetup -d "$loop" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
chmod 0755 "$work"
# A plain user runs the patcher from a folder of its own.
as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

# Mounts an empty image of KIND at MOUNT, for everybody (no uid=).
mount_image() { # KIND MOUNT
    local image="$work/$1.img" loop
    mkdir -p "$2"
    truncate -s 320M "$image"
    case $1 in
    btrfs | xfs)
        "mkfs.$1" -q "$image" >/dev/null 2>&1 || return
        mount -o loop "$image" "$2" || return
        ;;
    exfat)
        mkfs.exfat "$image" >/dev/null || return
        loop=$(losetup -f --show "$image") || return
        loops+=("$loop")
        mount.exfat-fuse -o allow_other "$loop" "$2" >/dev/null 2>&1 || return
        ;;
    fat)
        mkfs.fat "$image" >/dev/null || return
        fusefat -o rw+,allow_other "$image" "$2" >/dev/null 2>&1 || return
        ;;
    esac
    mounts+=("$2")
}

for kind in exfat fat btrfs xfs; do
    new_case "$kind"
    mount_image "$kind" "$folder/drive" || { fail "cannot mount a $kind image"; continue; }
    for user in root nobody; do
        mkdir "$folder/drive/$user"
        cd "$folder/drive/$user" || exit 1
        make_game gorv.exe
        # Where the file system keeps owners, the user's folder is its own.
        [ "$user" = root ] || chown -R nobody . 2>/dev/null
        emulator=()
        [ "$user" = root ] || emulator=("${as_user[@]}")
        run_patcher "$answers_16_9"
        expect_output "$asked$(patching gorv.exe)$echo_16_9$summary_16_9"
        expect_same gorv.exe.backup "$work/game.template"
        expect_patched gorv.exe "$work/game.template" "$default_offset" "$bytes_16_9"
        checks=$((checks + 1))
        [ ! -e gorv.exe.backup.tmp ] || fail "a temporary file was left"
        if [ "$kind" = btrfs ] || [ "$kind" = xfs ]; then
            checks=$((checks + 1))
            filefrag -v gorv.exe.backup | grep -q shared || fail "the backup is no clone of the game"
        fi
    done
    cd "$work" || exit 1
done

finish
