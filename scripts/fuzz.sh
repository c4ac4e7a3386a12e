#!/usr/bin/env bash
# Fuzzes one target for longer than the tests do:   scripts/fuzz.sh TARGET SECONDS
# Builds the Clang sanitizer build (build-asan) when needed. The corpus the run grows is kept
# in build-asan/fuzz-corpus/TARGET, so a later run goes on from it; an input that finds a
# fault is kept in build-asan/fuzz-artifacts/. Targets: see QVAR_FUZZ_TARGETS in fuzz/CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 2 ] || ! [[ $2 =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh TARGET SECONDS" >&2
  exit 2
fi
target=$1 seconds=$2
bash scripts/deps.sh
source scripts/sanitizer_build.sh
command -v clang++ >/dev/null || { echo "fuzzing needs clang++ (Debian: clang, libclang-rt-14-dev)" >&2; exit 1; }
configure_sanitizer_build
cmake --build build-asan -j"$(nproc)" --target "fuzz_$target"
mkdir -p "build-asan/fuzz-corpus/$target"
cd build-asan
bash ../fuzz/run_target.sh "fuzz/fuzz_$target" "$target" "$seconds" "fuzz-corpus/$target"
