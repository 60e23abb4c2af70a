#!/usr/bin/env bash
# Starts the real program in a real X server with a folder to look in,
# closes its window with Ctrl+Q as a user would (Escape leaves it open), and expects exit status 0,
# no process left behind, and the folder remembered for the next start in a
# configuration folder of its own.
set -u
app=$1
display=:$((200 + RANDOM % 300))
scratch=$(mktemp -d)
mkdir "$scratch/pictures"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$scratch"' EXIT
export DISPLAY=$display
export XDG_CONFIG_HOME=$scratch/config
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$app" --an-ignored-option "$scratch/pictures" &
pid=$!
if ! window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vocaline$' | head -n1) || [ -z "$window" ]; then
  echo "the window never appeared"; kill "$pid"; exit 1
fi
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key Escape
sleep 0.5
kill -0 "$pid" 2>/dev/null || { echo "Escape closed the window"; exit 1; }
xdotool key ctrl+q
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  echo "still running after Ctrl+Q"; kill "$pid"; exit 1
fi
wait "$pid"
status=$?
[ "$status" -eq 0 ] || { echo "exit status $status"; exit 1; }
left=$(pgrep -f -- "--an-ignored-option $scratch" || true)
[ -z "$left" ] || { echo "left behind: $left"; exit 1; }
grep -qxF "lookIn=$scratch/pictures" "$XDG_CONFIG_HOME/vocaline/vocaline.conf" \
  || { echo "the folder was not remembered"; cat "$XDG_CONFIG_HOME/vocaline/vocaline.conf"; exit 1; }

# A settings file that is a FIFO is named on standard error and left alone;
# the window still opens and closes.
rm "$XDG_CONFIG_HOME/vocaline/vocaline.conf" && mkfifo "$XDG_CONFIG_HOME/vocaline/vocaline.conf"
"$app" "$scratch/pictures" 2>"$scratch/stderr" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vocaline$' | head -n1)
[ -n "$window" ] || { echo "the window never appeared with a FIFO for settings"; kill "$pid"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key ctrl+q
timeout 10 tail --pid="$pid" -f /dev/null || { echo "still running with a FIFO for settings"; kill "$pid"; exit 1; }
grep -q "vocaline.conf is not a regular file" "$scratch/stderr" || { echo "no warning"; cat "$scratch/stderr"; exit 1; }

# The same for a FIFO where Qt takes the settings' lock while saving, made
# while the window is open.
rm "$XDG_CONFIG_HOME/vocaline/vocaline.conf"
"$app" "$scratch/pictures" 2>"$scratch/stderr" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vocaline$' | head -n1)
[ -n "$window" ] || { echo "the window never appeared"; kill "$pid"; exit 1; }
mkfifo "$XDG_CONFIG_HOME/vocaline/vocaline.conf.lock"
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key ctrl+q
timeout 10 tail --pid="$pid" -f /dev/null || { echo "still running with a FIFO for the lock"; kill "$pid"; exit 1; }
grep -q "vocaline.conf.lock is not a regular file" "$scratch/stderr" || { echo "no lock warning"; cat "$scratch/stderr"; exit 1; }
echo "closed with status 0"
