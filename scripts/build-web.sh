#!/usr/bin/env bash
# Builds the game for the browser into build-web/: index.html, page.js, qvar.js and qvar.wasm
# (the data files packed in). Installs Debian's emscripten when missing, as deps.sh does; the
# data files are compiled by a native build in build-web-native/ first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
command -v emcc >/dev/null || bash scripts/deps.sh emscripten
# Debian's Emscripten finds its JavaScript modules through Debian's Node.js folder; a Node.js
# from elsewhere needs to be told where they are.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
jobs="$(nproc)"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

cmake -S . -B build-web-native -DCMAKE_BUILD_TYPE=Release -DQVAR_TESTS=OFF -DQVAR_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-web-native -j"$jobs" --target qvar_data qvar
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DQVAR_TESTS=OFF -DQVAR_BENCH=OFF \
  -DQVAR_WEB_DATA_DIR="$PWD/build-web-native" "${launcher[@]}" >/dev/null
cmake --build build-web -j"$jobs"
echo "Built: build-web/index.html (serve build-web/ over HTTP and open it)"
ls -l build-web/qvar.js build-web/qvar.wasm
