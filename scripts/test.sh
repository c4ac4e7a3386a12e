#!/usr/bin/env bash
# Builds and runs every test twice: a normal build, then under AddressSanitizer and UBSan.
# The sanitizer build uses Clang when it is there, and then also builds the fuzz targets and
# fuzzes each for 20 s; without Clang it is built with GCC and the fuzzing is left out.
# Between the two, the web build is made and checked in headless Chromium (scripts/test-web.sh)
# when Emscripten, Chromium and puppeteer-core are there (deps.sh --web installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --web
source scripts/sanitizer_build.sh
jobs="$(nproc)"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j"$jobs")

if command -v emcc >/dev/null && command -v chromium >/dev/null && [ -d build-web-node/node_modules/puppeteer-core ]; then
  bash scripts/test-web.sh build-test
else
  echo "Emscripten, Chromium or puppeteer-core is missing: the web build is not tested" >&2
fi

configure_sanitizer_build
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j"$jobs")
