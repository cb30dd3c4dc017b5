#!/usr/bin/env bash
# Peak memory of the patcher when a player's answer is one huge line (a
# pasted file, a stuck key): a line of SIZE_MIB MiB at the width prompt,
# at the height prompt and, on Linux, at the question for the game's path.
#
# Target: peak memory at most 8 MiB, whatever the line's length.
#
# Usage: bench/long_answers.sh [PATCHER] [SIZE_MIB]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
size_mib=${2:-100}
mkdir elsewhere
head -c 4000000 /dev/zero >gorv.exe
export HOME="$folder/home" # no games to find from elsewhere: the path is asked for

huge_line() { head -c "$((size_mib << 20))" /dev/zero | tr '\0' 7; echo; }

# Prints "SECONDS PEAK_KIB" for the patcher run on the answers that the
# command prints.
measure() { # COMMAND...
    "$@" | /usr/bin/time -f '%e %M' -o "$folder/measure" "$patcher" >/dev/null
    cat "$folder/measure"
}

printf '%-8s %10s %14s\n' prompt seconds "peak memory"
report() { # PROMPT SECONDS PEAK_KIB
    printf '%-8s %10s %10.1f MiB\n' "$1" "$2" "$(awk -v kib="$3" 'BEGIN { print kib / 1024 }')"
}
report none $(measure printf '1920\n1080\n\n')
report width $(measure eval 'huge_line; printf "1920\n1080\n\n"')
report height $(measure eval 'printf "1920\n"; huge_line; printf "1080\n\n"')
cd elsewhere
report path $(measure eval 'printf "1920\n1080\n"; huge_line; printf "\n"')
