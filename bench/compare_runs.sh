#!/usr/bin/env bash
# Plays the scripted games of bench/runs/ with two builds of qvar and requires the same trace
# and the same frames, byte for byte: a change made for speed must not change the game.
# Each run starts from a saved.dat that has reached levels 990 and 9990.
#
# Usage: bench/compare_runs.sh OLD_BUILD NEW_BUILD [--plain-cpu]
#   OLD_BUILD, NEW_BUILD  build folders holding qvar and its data files
#   --plain-cpu           runs the new build under qemu-x86_64 as a plain x86-64 processor
#                         (no AVX2, FMA or SSE4): the other width of the hot loops
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
old="$(cd "$1" && pwd)"
new="$(cd "$2" && pwd)"
wrap=()
if [ "${3:-}" = "--plain-cpu" ]; then wrap=(qemu-x86_64 -cpu qemu64); fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# 1001 bytes: ships on arrival at every tenth level; 9 at level 990, 7 at level 9990.
head -c 1001 /dev/zero > "$work/saved.dat"
printf '\011' | dd of="$work/saved.dat" bs=1 seek=99 conv=notrunc status=none
printf '\007' | dd of="$work/saved.dat" bs=1 seek=999 conv=notrunc status=none

play() {  # play SIDE SCRIPT [WRAPPER...]: the run's trace and frames land in $work/SIDE
    local side="$1" script="$2"
    shift 2
    mkdir -p "$work/$side/user"
    cp "$work/saved.dat" "$work/$side/user/"
    "$@" --headless --user-dir "$work/$side/user" --input "$script" --trace "$work/$side/trace.txt" \
        --frames-out "$work/$side/frames" --frames all > "$work/$side/log.txt" 2>&1
}

for script in "$here"/runs/*.txt; do
    name="$(basename "$script" .txt)"
    rm -rf "$work/old" "$work/new"
    start=$(date +%s)
    play old "$script" "$old/qvar"
    play new "$script" "${wrap[@]}" "$new/qvar"
    frames=$(ls "$work/new/frames" | wc -l)
    if cmp -s "$work/old/trace.txt" "$work/new/trace.txt" && diff -rq "$work/old/frames" "$work/new/frames" > /dev/null &&
       [ "$frames" -gt 0 ]; then
        echo "$name: same trace ($(wc -l < "$work/new/trace.txt") game frames) and same $frames frames ($(( $(date +%s) - start )) s)"
    else
        echo "$name: DIFFERENT trace or frames; both runs are kept in $work" >&2
        trap - EXIT
        exit 1
    fi
done
