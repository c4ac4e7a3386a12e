#!/usr/bin/env bash
# Installs the Debian packages QVAR builds with, when any is missing (apt-get as root).
# Extra package names given as arguments are installed too (scripts/package-deb.sh).
set -euo pipefail
packages=(g++ cmake make pkg-config ccache libsdl2-dev libpng-dev libinih-dev libgtest-dev libbenchmark-dev)
# clang and libclang-rt-14-dev: the sanitizer build and its libFuzzer fuzz targets.
packages+=(clang libclang-rt-14-dev)
# The install test validates the menu entry, the metainfo and the manual page with these.
packages+=(desktop-file-utils appstream groff-base)
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
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
