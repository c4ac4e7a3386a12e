#!/usr/bin/env bash
# Installs the Debian packages QVAR builds with, when any is missing (apt-get as root).
# Extra package names given as arguments are installed too (scripts/package-deb.sh).
# --web adds what the web build and its browser test need (scripts/test.sh gives it).
set -euo pipefail
cd "$(dirname "$0")/.."
web=0
if [ "${1:-}" = --web ]; then web=1; shift; fi
packages=(g++ cmake make pkg-config ccache libsdl2-dev libpng-dev libinih-dev libgtest-dev libbenchmark-dev)
# clang and libclang-rt-14-dev: the sanitizer build and its libFuzzer fuzz targets.
packages+=(clang libclang-rt-14-dev)
# The install test validates the menu entry, the metainfo and the manual page with these.
packages+=(desktop-file-utils appstream groff-base)
# The web build and its browser test: Emscripten, headless Chromium, and npm for puppeteer-core.
if [ $web -eq 1 ]; then
  packages+=(emscripten chromium)
  command -v npm >/dev/null || packages+=(npm)
fi
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  elif command -v sudo >/dev/null; then
    sudo apt-get update -qq
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    echo "Please install: ${missing[*]}" >&2
    exit 1
  fi
fi
# puppeteer-core drives Chromium in the browser test; it is not packaged by Debian, so it comes
# from npm into build-web-node/ (once).
if [ $web -eq 1 ] && [ ! -d build-web-node/node_modules/puppeteer-core ]; then
  npm install --prefix build-web-node --no-audit --no-fund --loglevel=error puppeteer-core@25.19.0
fi
