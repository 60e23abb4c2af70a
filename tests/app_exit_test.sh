#!/usr/bin/env bash
# Starts the real program in a real X server, closes its window with Escape
# as a user would, and expects exit status 0 and no process left behind.
set -u
app=$1
display=:$((200 + RANDOM % 300))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$app" --these --arguments are-ignored &
pid=$!
if ! window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vocaline$' | head -n1) || [ -z "$window" ]; then
  echo "the window never appeared"; kill "$pid"; exit 1
fi
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key Escape
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  echo "still running after Escape"; kill "$pid"; exit 1
fi
wait "$pid"
status=$?
[ "$status" -eq 0 ] || { echo "exit status $status"; exit 1; }
left=$(pgrep -f -- "--these --arguments" || true)
[ -z "$left" ] || { echo "left behind: $left"; exit 1; }
echo "closed with status 0"
