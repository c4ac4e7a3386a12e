#!/usr/bin/env bash
# The world soak under AddressSanitizer and UBSan for any number of frames:
#   scripts/soak.sh FRAMES
# FRAMES are shared out over the soak's four start levels (1, 50, 200 and 990); at least
# 18000, what CI runs, since a shorter run may not meet every foe kind the soak requires.
# Each start level runs as its own process, as many at once as there are cores, in an
# optimised sanitizer build (build-soak, -O2 with asserts kept) that plays many times faster
# than the debug one.
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
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
compiler=$(command -v clang++ || command -v g++)
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-soak -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVAR_SANITIZE=ON -DQVAR_BENCH=OFF \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" \
  -DQVAR_FUZZ=OFF -DCMAKE_CXX_COMPILER="$compiler" "${launcher[@]}" >/dev/null
cmake --build build-soak -j"$(nproc)" --target qvar_tests
stamp=$(date +%Y%m%d-%H%M%S)
echo "soak: $(( per_start * 4 )) frames under ASan and UBSan ($compiler), $per_start from each start level," \
  "$(nproc) at a time; logs in build-soak/soak-$stamp-LEVEL.log"
start=$(date +%s)
status=0
printf '%s\n' 1 50 200 990 | xargs -P "$(nproc)" -I{} sh -c \
  "QVAR_SOAK_FRAMES=$per_start QVAR_SOAK_STARTS={} build-soak/tests/qvar_tests --gtest_filter='Soak.*' \
     >build-soak/soak-$stamp-{}.log 2>&1" || status=$?
failed=0
for level in 1 50 200 990; do
  log="build-soak/soak-$stamp-$level.log"
  sed -n 's/^\[ soak     \] /  /p' "$log"
  grep -q '^\[  PASSED  \] 1 test' "$log" || failed=1
done
echo "time: $(( $(date +%s) - start )) s"
if [ "$status" -eq 0 ] && [ "$failed" -eq 0 ]; then
  echo "findings: none"
else
  echo "findings: a run failed (status $status); from the logs:"
  grep -hE 'Failure|ERROR: |runtime error|SUMMARY' build-soak/soak-"$stamp"-*.log | head -n 20 \
    || tail -n 40 build-soak/soak-"$stamp"-*.log
  exit 1
fi
