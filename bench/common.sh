# The start that every benchmark shares. Sourced by bench/NAME.sh with the
# patcher to measure as its first argument (default: the release build):
# sets source_dir and patcher, installs GNU time (it reports a command's
# peak resident memory) and strace, and makes the benchmark a scratch
# folder of its own, on the build's disk rather than on a memory file
# system, as $folder, the working folder; it goes when the script ends.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$source_dir/scripts/packages.sh"
ensure_packages time strace

patcher=$(realpath "${1:-$source_dir/build/release/gorv-patcher}")

folder="$source_dir/build/bench-$(basename "$0" .sh)"
rm -rf "$folder"
mkdir -p "$folder"
trap 'rm -rf "$folder"' EXIT
cd "$folder"
