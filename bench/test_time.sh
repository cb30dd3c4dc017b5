#!/usr/bin/env bash
# Where the test command's time goes: runs ./scripts/test.sh in a fresh
# clone of this repository's HEAD and prints the wall time of each of its
# phases (installing what is missing, the format check, each preset's
# build and its tests) and the three longest tests. Measure on a quiet
# machine: anything else running shifts every figure.
#
# Usage: bench/test_time.sh
set -euo pipefail
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
clone=$(mktemp -d "${TMPDIR:-/tmp}/gorv-test-time.XXXXXX")
trap 'rm -rf "$clone"' EXIT
git clone -q "$source_dir" "$clone"
cd "$clone"

# Every line of the run with the time it came, in seconds from the start.
start=$(date +%s.%N)
status=0
./scripts/test.sh </dev/null 2>&1 |
    perl -MTime::HiRes=time -ne 'BEGIN { $| = 1; $s = shift } printf "%.2f %s", time - $s, $_' "$start" >log ||
    status=$?

# A phase runs from its "== NAME" line to the next one (the first, the
# install, from the start).
awk '
    function close_phase(at) { if (name != "") printf "%-16s %8.1f s\n", name, at - since }
    BEGIN { name = "install"; since = 0 }
    $2 == "==" { close_phase($1); name = $3 (NF > 3 ? " " $4 : ""); since = $1 }
    { last = $1 }
    END { close_phase(last); printf "%-16s %8.1f s\n", "total", last }' log
echo "longest tests:"
grep -aE 'Test +#[0-9]+: ' log | sed -E 's/^[0-9.]+ +//' |
    awk '{ for (i = 1; i <= NF; i++) if ($i == "sec") print $(i - 1), $4 }' | sort -rn | head -3
if [ "$status" != 0 ]; then
    echo "the test command failed (exit $status); its output is in the log above"
    tail -40 log
    exit "$status"
fi
