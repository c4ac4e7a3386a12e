#!/usr/bin/env bash
# The world soak under AddressSanitizer and UBSan for any number of frames:
#   scripts/soak.sh FRAMES
# FRAMES are shared out over the soak's four start levels (1, 50, 200 and 990); at least
# 18000, what CI runs, since a shorter run may not meet every foe kind the soak requires.
# Prints the frames and levels reached from each start and whether anything was found: a
# failed check, a sanitizer report or a leak. Exit status 0 only when nothing was.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 1 ] || ! [[ $1 =~ ^[0-9]+$ ]] || [ "$1" -lt 18000 ]; then
  echo "usage: scripts/soak.sh FRAMES   (at least 18000)" >&2
  exit 2
fi
per_start=$(( ($1 + 3) / 4 ))
bash scripts/deps.sh
source scripts/sanitizer_build.sh
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
configure_sanitizer_build
cmake --build build-asan -j"$(nproc)" --target qvar_tests
log="build-asan/soak-$(date +%Y%m%d-%H%M%S).log"
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' build-asan/CMakeCache.txt)
echo "soak: $(( per_start * 4 )) frames under ASan and UBSan ($compiler), $per_start from each start level; log in $log"
start=$(date +%s)
status=0
QVAR_SOAK_FRAMES=$per_start build-asan/tests/qvar_tests --gtest_filter='Soak.*' >"$log" 2>&1 || status=$?
sed -n 's/^\[ soak     \] /  /p' "$log"
echo "time: $(( $(date +%s) - start )) s"
if [ "$status" -eq 0 ] && grep -q '^\[  PASSED  \] 1 test' "$log"; then
  echo "findings: none"
else
  echo "findings: the run failed (status $status); from the log:"
  grep -E 'Failure|ERROR: |runtime error|SUMMARY' "$log" | head -n 20 || tail -n 40 "$log"
  exit 1
fi
