# Sourced by the scripts that drive a real window: starts Xvfb on a free display with a
# 1920x1200 screen, exports DISPLAY, makes the work folder $work and removes everything (the
# game in $game_pid too) when the script ends.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
work="$(mktemp -d)"
Xvfb ":$display" -screen 0 1920x1200x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# Waits for the window of the game $game_pid and gives it the focus; sets $window. When it
# never appears, prints the game's stderr (file $1) and exits.
await_game_window() {
  window=""
  for _ in $(seq 100); do
    window="$(xdotool search --onlyvisible --pid "$game_pid" --name 'QVAR' 2>/dev/null | head -n1 || true)"
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the game's window did not appear" >&2; cat "$1" >&2; exit 1; }
  for _ in $(seq 20); do xdotool windowfocus "$window" 2>/dev/null && break; sleep 0.1; done
}
