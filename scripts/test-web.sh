#!/usr/bin/env bash
# Builds the web version (scripts/build-web.sh) and checks it in headless Chromium with
# puppeteer-core (tests/web/page_test.js), against the native build's headless runs.
# Screenshots of the menu and of a game are left in build-web/test-out/.
#   scripts/test-web.sh [NATIVE_BUILD_DIR]     (default: build-web-native)
set -euo pipefail
cd "$(dirname "$0")/.."
native="${1:-build-web-native}"
bash scripts/deps.sh --web
bash scripts/build-web.sh "$native"
export NODE_PATH="$PWD/build-web-node/node_modules"
rm -rf build-web/test-out
node tests/web/page_test.js build-web "$native/qvar" "$native" build-web/test-out
