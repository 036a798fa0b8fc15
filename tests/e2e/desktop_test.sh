#!/usr/bin/env bash
# The installed desktop program under Xvfb, end to end: installed into a
# temporary prefix, started on a generated collection's environment, driven
# with xdotool. Each picture of the window must equal what jukebar-cli
# render draws for the same tree state, pixel for pixel.
# Usage: desktop_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
# shellcheck source=e2e-common.sh
source "$(dirname "$0")/e2e-common.sh"
mkdir -p "$T/bin" "$T/my envs"

# --- Installation ----------------------------------------------------------
prefix="$T/pre fix"
cmake --install "$build" --prefix "$prefix" >"$T/install.log" || fail "cmake --install"
dir="$prefix/share/jukebar"
cli="$prefix/bin/jukebar-cli"
for f in "$prefix/bin/jukebar" "$cli" "$dir/jukebar" "$dir/Jukebar.skn" "$dir/res/cursor134.png" \
         "$prefix/share/applications/jukebar.desktop" "$prefix/share/icons/hicolor/32x32/apps/jukebar.png"; do
  [ -e "$f" ] || fail "not installed: $f"
done
grep -qxF "InstallDir=$dir" "$XDG_CONFIG_HOME/Quorvel Software/Jukebar.conf" || fail "InstallDir not recorded"

# --- A collection and its environment ---------------------------------------
"$build/tools/gencollection/gencollection" "$T/Music" --files 100 >/dev/null
env="$T/my envs/rock's.jbe"
: >"$T/Slow.m3u"
"$cli" new "$env"
"$cli" add-dir "$env" "$T/Music"
"$cli" add-file "$env" "$T/Slow.m3u"
"$cli" scan "$env" 2>/dev/null
"$cli" config --environment "$env"
mapfile -t rows < <("$cli" tree "$env" --depth 1)
[ "${#rows[@]}" -ge 6 ] || fail "too few rows: ${rows[*]}"

# A player that records the play-lists it is handed: registered as the
# desktop's default for play-lists (playing) and named as the command that
# adds to its list (enqueueing, which start-up does with an empty list).
cat >"$T/bin/fake-player" <<PLAYER
#!/bin/sh
cp "\$2" "$T/received-\$1.tmp" && mv "$T/received-\$1.tmp" "$T/received-\$1"
PLAYER
chmod +x "$T/bin/fake-player"
printf '[Desktop Entry]\nType=Application\nName=Fake player\nExec=%s play %%f\nMimeType=audio/x-mpegurl;\n' \
  "$T/bin/fake-player" >"$XDG_DATA_HOME/applications/fake-player.desktop"
printf '[Default Applications]\naudio/x-mpegurl=fake-player.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
printf 'EnqueueCommand=%s enqueue %%f\n' "$T/bin/fake-player" >>"$XDG_CONFIG_HOME/Quorvel Software/Jukebar.conf"

# received MODE NAME: waits for the fake player's copy of what it was
# handed to MODE (play, enqueue) and moves it to $T/NAME.
received() {
  local deadline=$((SECONDS + 10))
  while [ ! -e "$T/received-$1" ] && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.05; done
  [ -e "$T/received-$1" ] || fail "the player was not started to $1"
  mv "$T/received-$1" "$T/$2"
}

# --- The window ------------------------------------------------------------
xvfb_start 800x600
(cd "$T" && exec "$prefix/bin/jukebar") >"$T/jukebar.log" 2>&1 &
pid=$!
win=$(wait_window Jukebar) || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH"x"$HEIGHT" = 275x319 ] || fail "window is ${WIDTH}x$HEIGHT"
# Start-up started the player with an emptied play-list.
received enqueue auto-load.m3u
[ -f "$T/auto-load.m3u" ] && [ ! -s "$T/auto-load.m3u" ] || fail "auto-load did not hand over an empty play-list"

# expect_window NAME RENDER_ARGS...: the window shows the render of $shown.
expect_window() { shows_render "$1" "$shown" "${@:2}"; }

# open_menu: clicks the title bar's menu button and waits for the menu.
open_menu() {
  local before
  before=$(xdotool search --onlyvisible --class jukebar | wc -l)
  click 8 7
  for _ in $(seq 100); do
    [ "$(xdotool search --onlyvisible --class jukebar | wc -l)" -gt "$before" ] && return 0
    sleep 0.05
  done
  fail "the menu did not open"
}

click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }

shown=$env
expect_window start
xdotool windowfocus --sync "$win" key Down
expect_window down --select "${rows[1]}"
click 60 "$(row_y 3)"
expect_window click --select "${rows[3]}"
xdotool keydown ctrl mousemove --window "$win" 60 "$(row_y 5)" click 1 keyup ctrl
expect_window ctrl-click --select "${rows[3]}" --select "${rows[5]}" --focus "${rows[5]}"
xdotool key Right
state=(--select "${rows[3]}" --select "${rows[5]}" --open "${rows[5]}" --focus "${rows[5]}")
expect_window expand "${state[@]}"

# Play: the player receives the selection's play-list, byte for byte.
"$cli" play "$env" "${rows[3]}" "${rows[5]}" --m3u "$T/expected.m3u" >/dev/null
received play cli.m3u
cmp -s "$T/cli.m3u" "$T/expected.m3u" || fail "the fake player did not get the play-list"
xdotool key Return
received play played.m3u
cmp "$T/played.m3u" "$T/expected.m3u" || fail "the play-list handed over differs"

# Scan from the menu. New songs appear, and a long play-list of comments,
# last in the catalogue, holds the scan with its progress bar near the end.
# The program runs in short slices between pictures, so the picture is
# taken while that state shows, however fast the machine.
"$build/tools/gencollection/gencollection" "$T/Music/More" --files 12 --seed 9 >/dev/null
# Files are described in batches, in order; with a multiple of 64 files
# before it, the play-list is alone in the last batch, so every other file
# shows as described while the play-list is read.
"$cli" new "$T/count.jbe" && "$cli" add-dir "$T/count.jbe" "$T/Music"
count=$("$cli" scan "$T/count.jbe" 2>&1 | grep -o "^[0-9]*")
mkdir "$T/Music/Filler"
for i in $(seq $(((64 - count % 64) % 64 + (count < 64 ? 64 : 0)))); do : >"$T/Music/Filler/$i.mp3"; done
yes "#$(printf '%01000d' 0)" | head -c 100000000 >"$T/Slow.m3u" || true
cp "$env" "$T/rescanned.jbe"
"$cli" scan "$T/rescanned.jbe" 2>/dev/null
declare -A progress_of
for p in $(seq 100 120); do
  "$cli" render "$env" "$T/progress.png" --size "${WIDTH}x$HEIGHT" --progress "$p" "${state[@]}"
  progress_of[$(pixels "$T/progress.png")]=$p
done
open_menu
kill -STOP "$pid"
xdotool key s
progress=
for _ in $(seq 500); do
  kill -CONT "$pid"
  sleep 0.01
  kill -STOP "$pid"
  import -window "$win" "$T/scanning.png"
  progress=${progress_of[$(pixels "$T/scanning.png")]:-}
  [ -n "$progress" ] && break
done
kill -CONT "$pid"
[ -n "$progress" ] || fail "no progress bar near the end during the scan"
shown="$T/rescanned.jbe"
expect_window rescanned
shown=$env

# Exit from the menu: the scanned environment is modified, so the close
# check asks to save it; Yes saves it and the configuration names it.
open_menu
xdotool key x
box=$(wait_window jukebar) || fail "no question to save"
xdotool windowfocus --sync "$box" key y
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end"
wait "$pid" || fail "the program ended with status $?"
pid=
"$cli" config | grep -qxF "environment: $env" || fail "the configuration does not name the environment"
cmp -s <("$cli" tree "$env") <("$cli" tree "$T/rescanned.jbe") || fail "the saved environment lacks the scan"
echo "desktop end to end: 1 passed, 0 failed"
