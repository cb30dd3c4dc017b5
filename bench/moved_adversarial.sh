#!/usr/bin/env bash
# Updates that neither the bytes around the value nor the code that uses
# it can tell apart from a move, played as the corpus test plays them:
# bench/moved/photo.c, whose update computes the ratio while a new photo
# mode gets a copy of the old code and constant. Every write here is at a
# wrong place; the count is what remains to be mended (kept out of the
# corpus test, which fails on any, until it is none).
#
# Usage: bench/moved_adversarial.sh [PATCHER]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix clang
GORV_MOVED_SOURCES="$source_dir/bench/moved" CC32=i686-w64-mingw32-gcc-posix \
    bash "$source_dir/tests/e2e/moved_corpus.sh" "$patcher" x86_64-w64-mingw32-gcc-posix clang gcc-O0 gcc-O2 gcc-O3 \
    gcc-Os gcc-O2-lto clang-O0 clang-O2 clang-Os gcc32-O0 gcc32-O2 gcc32-Os 2>&1 | grep -E '^updates:' || true
