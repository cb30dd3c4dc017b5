#!/usr/bin/env bash
# What the launch option costs a game that is set already: the launch
# (--screen WIDTHxHEIGHT -- COMMAND, which also writes its log) side by
# side with the command started directly, through env (the cheapest
# wrapper there is) and the patcher's own start (--version), each run RUNS
# times in turn; and how the launch reads the game (strace).
#
# Target: the set launch costs no more than env's (median), and reads the
# game with one positioned read of 4 bytes.
#
# Usage: bench/launch_speed.sh [PATCHER] [RUNS]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
runs=${2:-400}
command=$(command -v true)
# A 4 MB game with 2560x1080's value at the offset: set already.
head -c 4000000 /dev/zero >gorv.exe
printf '\x26\xb4\x17\x40' | dd of=gorv.exe bs=1 seek=3906535 conv=notrunc status=none
"$patcher" --screen 2560x1080 -- "$command" gorv.exe 2>/dev/null

# Each command RUNS times, the four in turn, so that the machine's load
# falls on all alike; prints each one's minimum and median in milliseconds.
perl -MTime::HiRes=time -e '
    my ($runs, @commands) = @ARGV;
    my @names = ("direct", "env", "--version", "set launch");
    my @argv = ([$commands[0]], ["env", $commands[0]], [$commands[1], "--version"],
                [$commands[1], "--screen", "2560x1080", "--", $commands[0], "gorv.exe"]);
    my @times;
    open(my $out, ">&", \*STDOUT) or die;
    open(STDOUT, ">", "/dev/null"); open(STDERR, ">", "/dev/null");
    for my $run (1 .. $runs) {
        for my $i (0 .. $#argv) {
            my $start = time;
            system { $argv[$i][0] } @{ $argv[$i] };
            push @{ $times[$i] }, (time - $start) * 1000;
        }
    }
    my @median;
    for my $i (0 .. $#argv) {
        my @sorted = sort { $a <=> $b } @{ $times[$i] };
        $median[$i] = $sorted[@sorted / 2];
        printf { $out } "%-11s min %6.3f ms  median %6.3f ms\n", $names[$i], $sorted[0], $median[$i];
    }
    printf { $out } "set launch / env (median): %.2f\n", $median[3] / $median[1];
' "$runs" "$command" "$patcher"

# The game's reads in a set launch: which calls, of how many bytes.
strace -f -o trace -e trace=openat,read,pread64,close "$patcher" --screen 2560x1080 -- "$command" gorv.exe 2>/dev/null
awk '/openat\(.*"gorv\.exe"/ { fd = $NF; next }
     fd != "" && $0 ~ "^[0-9]+ +(read|pread64)\\(" fd "," { sub(/^[0-9]+ +/, ""); print "game read: " $0 }
     fd != "" && $0 ~ "^[0-9]+ +close\\(" fd "\\)" { fd = "" }' trace
