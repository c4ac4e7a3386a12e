#!/usr/bin/env bash
# Remakes docs/screenshot.png, the picture the metainfo offers software centres: the game
# itself, headless, plays docs/screenshot.txt from level 50; frame 245 is enlarged 4 times
# with nearest neighbour (1280x800, every game pixel a square) and stored as an 8-bit PNG.
#   scripts/make-screenshot.sh [BUILD_DIR]     (default: build, made by scripts/play.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
frame=245
bash scripts/deps.sh imagemagick
[ -x "$build/qvar" ] || { echo "no $build/qvar: build the game first (scripts/play.sh)" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/user"
# saved.dat: level 50 reached with 4 ships (byte 5), every other tenth level not yet.
{ printf '\0\0\0\0\0\4'; head -c 995 /dev/zero; } >"$tmp/user/saved.dat"
"$build/qvar" --headless --data-dir "$build" --user-dir "$tmp/user" --input docs/screenshot.txt \
  --frames-out "$tmp/frames" --frames "$frame"
convert "$tmp/frames/frame-$(printf %06d "$frame").png" -filter point -resize 400% -strip \
  -define png:compression-level=9 PNG8:docs/screenshot.png
echo "docs/screenshot.png: $(identify -format '%wx%h' docs/screenshot.png), $(stat -c %s docs/screenshot.png) bytes"
