#!/usr/bin/env bash
# Builds the game for the browser into build-web/: index.html, page.js, qvar.js and qvar.wasm
# (the data files packed in). Installs what is missing as deps.sh does (Debian's emscripten).
# The data files are compiled natively first, in build-web-native/ or in the native build
# folder given as the argument (scripts/test.sh passes its own).
#   scripts/build-web.sh [NATIVE_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
native="${1:-build-web-native}"
bash scripts/deps.sh emscripten
# Debian's Emscripten finds its JavaScript modules through Debian's Node.js folder; a Node.js
# from elsewhere has to be told where they are.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
jobs="$(nproc)"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release -DQVAR_TESTS=OFF -DQVAR_BENCH=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$native" -j"$jobs" --target qvar qvar_data
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DQVAR_WEB_DATA_DIR="$(realpath "$native")" \
  "${launcher[@]}" >/dev/null
cmake --build build-web -j"$jobs"
echo "build-web/: serve it over HTTP and open index.html, e.g. python3 -m http.server -d build-web"
ls -l build-web/index.html build-web/page.js build-web/qvar.js build-web/qvar.wasm
