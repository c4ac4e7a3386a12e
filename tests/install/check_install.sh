#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR under the prefix /usr and checks what a player
# would get: exactly the expected files, icons of their sizes, a desktop entry, metainfo and
# manual page that validate (when the tools are there), and an installed qvar that finds its
# data from another working folder, plays a scripted game to the high-score table, and names
# every folder it tried when its data is gone.
#   check_install.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 app_id=$2 version=$3
script="$(cd "$(dirname "$0")" && pwd)/game_over.txt"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$tmp/root/usr"

# The tree, file by file.
expected="bin/qvar
share/applications/$app_id.desktop
share/doc/qvar/changelog.gz
share/doc/qvar/copyright
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man6/qvar.6.gz
share/metainfo/$app_id.metainfo.xml"
for size in 16 32 48 64 128 256; do expected+=$'\n'"share/icons/hicolor/${size}x${size}/apps/$app_id.png"; done
for file in boni.dat c2.dat lets.dat nums.dat qvar.dat; do expected+=$'\n'"share/qvar/$file"; done
actual=$(cd "$usr" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual") || fail "the installed tree differs (< expected, > installed)"
[ -x "$usr/bin/qvar" ] || fail "bin/qvar is not executable"

# Each PNG icon is as wide and as high as its folder says (the IHDR fields at bytes 16-23).
for size in 16 32 48 64 128 256; do
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "the ${size}x${size} icon is ${w}x${h}"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
else echo "note: desktop-file-validate is not installed; the desktop entry was not validated"; fi
# --no-net: the screenshot is fetched from the project's home, which this check must not need.
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$usr/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
  appstreamcli validate-tree --no-net "$tmp/root" || fail "appstreamcli validate-tree"
else echo "note: appstreamcli is not installed; the metainfo was not validated"; fi
if command -v groff >/dev/null; then
  warnings=$(gzip -dc "$usr/share/man/man6/qvar.6.gz" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "the manual page has faults: $warnings"
fi

[ "$("$usr/bin/qvar" --version)" = "qvar $version" ] || fail "--version does not say $version"

# The installed game, started from elsewhere, finds ../share/qvar and plays to the scores.
mkdir -p "$tmp/elsewhere" "$tmp/empty"
cd "$tmp/elsewhere"
env -u QVAR_DATA_DIR XDG_DATA_DIRS="$tmp/empty" XDG_DATA_HOME="$tmp/home" \
  "$usr/bin/qvar" --headless --input "$script" 2>"$tmp/run.log" || { cat "$tmp/run.log"; fail "the headless game failed"; }
grep -q installed "$tmp/home/qvar/hiscores.dat" || fail "the name typed at game over is not in hiscores.dat"
[ -z "$(ls -A "$tmp/elsewhere")" ] || fail "the game wrote into its working folder"

# Moved away from its data, it ends with status 1 and names each folder it tried.
mkdir -p "$tmp/lonely"
cp "$usr/bin/qvar" "$tmp/lonely/qvar"
status=0
env -u QVAR_DATA_DIR XDG_DATA_DIRS="$tmp/empty" XDG_DATA_HOME="$tmp/home" \
  "$tmp/lonely/qvar" --headless 2>"$tmp/lonely.log" || status=$?
[ "$status" = 1 ] || fail "without data the exit status is $status, not 1"
grep -qF "(looked in $tmp/lonely, $tmp/share/qvar, $tmp/empty/qvar)" "$tmp/lonely.log" ||
  fail "the message does not list the folders tried: $(cat "$tmp/lonely.log")"
echo "install check passed: $(echo "$actual" | wc -l) files under $usr"
