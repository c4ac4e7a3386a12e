#!/usr/bin/env bash
# Measures the game in a real window on a virtual X display (Xvfb): frame pacing, the cost of
# a present and the processor use of the game's process, in the main menu and in a game at
# level 1, as printed by qvar --stats.
#
#   scripts/measure-window.sh [SCALE] [SECONDS]     (defaults: scale 5, 20 seconds each)
#
# The game is driven as a player would drive it, with xdotool: the pointer rests over the
# menu (its sparks stream from the pointer); for the game, a click on "Start", then the ship
# turns and fires in bursts. Each run ends with SIGTERM, which SDL turns into the window's
# quit request, so the game ends normally and prints its figures. Builds a release build in
# build/ first. Not part of the test command: it needs real time and an X server.
set -euo pipefail
cd "$(dirname "$0")/.."
scale="${1:-5}"
seconds="${2:-20}"
case "$scale" in [1-9] | 1[0-6]) ;; *) echo "SCALE must be 1 to 16" >&2; exit 2 ;; esac
case "$seconds" in '' | *[!0-9]*) echo "SECONDS must be a whole number" >&2; exit 2 ;; esac

# The tools, installed the way deps.sh installs the build's packages.
tools=(xvfb xdotool imagemagick)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  elif command -v sudo >/dev/null; then
    sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    echo "Please install: ${missing[*]}" >&2
    exit 1
  fi
fi
bash scripts/deps.sh
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQVAR_TESTS=OFF -DQVAR_BENCH=OFF "${launcher[@]}" >/dev/null
if ! cmake --build build -j"$(nproc)" --target qvar >"$(mktemp)" 2>&1; then
  cmake --build build -j1 --target qvar  # again, to show what failed
  exit 1
fi

source scripts/virtual_display.sh  # Xvfb, DISPLAY, $work, and the clean-up at exit

# Play-field pixel (x, y) to a position in the window.
field() { echo $(($1 * scale + scale / 2)) $(($2 * scale + scale / 2)); }

# Starts the game, waits for its window and gives it the focus; sets $game_pid and $window.
start_game() {
  ./build/qvar --scale "$scale" --stats --user-dir "$work/user" >"$work/stats.txt" 2>"$work/stderr.txt" &
  game_pid=$!
  await_game_window "$work/stderr.txt"
  sleep 1.5  # "Initialising..." and the first menu frames
}

# Ends the game through the window's quit request and prints its figures under a heading.
finish_game() {
  # A request that arrives while SDL is busy elsewhere can be missed: ask again until it ends.
  for _ in $(seq 5); do
    kill -TERM "$game_pid" 2>/dev/null || break
    for _ in $(seq 30); do kill -0 "$game_pid" 2>/dev/null || break 2; sleep 0.1; done
  done
  wait "$game_pid" || true
  game_pid=""
  echo "== $1, scale $scale ($((320 * scale))x$((200 * scale))), ${seconds} s; load: $(cut -d' ' -f1-3 /proc/loadavg)"
  cat "$work/stats.txt"
}

start_game
# shellcheck disable=SC2046
xdotool mousemove --window "$window" $(field 250 120)
sleep "$seconds"
finish_game "menu"

start_game
# shellcheck disable=SC2046
xdotool mousemove --window "$window" $(field 60 82)
sleep 0.3
xdotool click 1
# One xdotool for the whole run, as one keyboard: a process started twice a second would
# compete with the game for the two cores, which no player's keyboard does.
bursts=()
for _ in $(seq "$seconds"); do
  bursts+=(keydown Left keydown space sleep 0.4 keyup space keyup Left sleep 0.6)
done
xdotool "${bursts[@]}"
finish_game "game at level 1"
