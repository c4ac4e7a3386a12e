#!/usr/bin/env bash
# Installs what is missing, builds QVAR in build/ and starts it; arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQVAR_TESTS=OFF -DQVAR_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target qvar
exec ./build/qvar "$@"
