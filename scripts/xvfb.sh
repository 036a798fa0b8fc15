# Shell functions for running the desktop program on a virtual X display,
# sourced by scripts/run and the end-to-end test.

# xvfb_start WIDTHxHEIGHT: starts Xvfb on a free display and exports
# DISPLAY; XVFB_PID is the server's process.
xvfb_start() {
  local fifo
  fifo=$(mktemp -u) && mkfifo "$fifo"
  Xvfb -displayfd 9 -screen 0 "${1}x24" -nolisten tcp 9>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  if ! read -r -t 20 number <"$fifo"; then
    rm -f "$fifo"
    echo "Xvfb did not start" >&2
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# xvfb_backdrop COLOUR: a plain desktop of that colour behind the windows
# mapped after it (Xvfb ignores a root window's colour).
xvfb_backdrop() {
  display -backdrop -background "$1" -borderwidth 0 "xc:$1[1x1]" >/dev/null 2>&1 &
  XVFB_BACKDROP_PID=$!
  local _
  for _ in $(seq 100); do
    xdotool search --onlyvisible --class display >/dev/null 2>&1 && return 0
    sleep 0.05
  done
}

xvfb_stop() {
  if [ -n "${XVFB_BACKDROP_PID:-}" ]; then
    kill "$XVFB_BACKDROP_PID" 2>/dev/null || true
    XVFB_BACKDROP_PID=
  fi
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

# wait_window NAME [SECONDS]: prints the id of the first visible window
# named exactly NAME (xdotool's own match ignores case), waiting for it.
wait_window() {
  local deadline=$((SECONDS + ${2:-20})) id
  while [ "$SECONDS" -lt "$deadline" ]; do
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
      if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.05
  done
  echo "no window '$1' after ${2:-20} s" >&2
  return 1
}

# pixels PNG: a digest of the picture's colours alone.
pixels() { convert "$1" -alpha off -depth 8 rgb:- | md5sum | cut -c1-32; }

# window_shows WINDOW EXPECTED.PNG SHOT.PNG: waits (up to 10 s) until the
# window's picture, saved to SHOT.PNG, has exactly the colours of EXPECTED.
window_shows() {
  local expected deadline=$((SECONDS + 10))
  expected=$(pixels "$2")
  while [ "$SECONDS" -lt "$deadline" ]; do
    import -window "$1" "$3"
    [ "$(pixels "$3")" = "$expected" ] && return 0
    sleep 0.05
  done
  return 1
}

# answer_boxes NAME: presses Return in every message box named NAME that
# shows now (its default button).
answer_boxes() {
  local id
  for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
      xdotool windowfocus --sync "$id" key Return 2>/dev/null || true
    fi
  done
}
