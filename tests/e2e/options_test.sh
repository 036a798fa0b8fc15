#!/usr/bin/env bash
# The Options sheet of the installed program under Xvfb. On the Tree-view
# page the selection's strength and a background picture repaint the window
# at once: while the sheet is still open the window shows what jukebar-cli
# render draws with the configuration the sheet saves when it closes. On
# the Main window page a new alignment puts the strip where the sample
# shows it when the form is toggled.
# Usage: options_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
# shellcheck source=e2e-common.sh
source "$(dirname "$0")/e2e-common.sh"
unset JUKEBAR_SPLASH_MS
mkdir -p "$T/-pictures 'n' such"

prefix="$T/prefix"
cmake --install "$build" --prefix "$prefix" >"$T/install.log" || fail "cmake --install"
cli="$prefix/bin/jukebar-cli"
# Start-up hands the player an empty play-list: a player that does nothing.
printf 'EnqueueCommand=true\n' >>"$XDG_CONFIG_HOME/Quorvel Software/Jukebar.conf"

"$build/tools/gencollection/gencollection" "$T/Music" --files 40 >/dev/null
env="$T/music.jbe"
"$cli" new "$env"
"$cli" add-dir "$env" "$T/Music"
"$cli" scan "$env" 2>/dev/null
"$cli" config --environment "$env"
mapfile -t rows < <("$cli" tree "$env" --depth 1)
# A 24-bit bitmap for the background, in a folder with an awkward name.
picture="$T/-pictures 'n' such/back ground.bmp"
convert -size 40x30 gradient:'#c04020-#2040c0' -type TrueColor "BMP3:$picture"

xvfb_start 1280x800
(cd "$T" && exec "$prefix/bin/jukebar") >"$T/jukebar.log" 2>&1 &
pid=$!
win=$(wait_window Jukebar) || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$X,$Y ${WIDTH}x$HEIGHT" = "100,100 275x319" ] || fail "window at $X,$Y ${WIDTH}x$HEIGHT"

# click WINDOW X Y
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
# Where the sheet's controls are, in its client area, with the desktop's
# default style and font.
selection_strength=(200 353)
background_image=(305 280)
browse=(567 315)
vertical_list=(210 86)
horizontal_list=(210 114)
# window_is NAME: the window shows the render with the saved configuration
# and the tree state of the test.
window_is() { shows_render "$1" "$env" "${state[@]}"; }
# open_options: the sheet from the title bar's menu, moved off the window
# so that pictures of the window show the window alone.
open_options() {
  click "$win" 8 7
  sleep 0.3
  xdotool key o
  sheet=$(wait_window "Jukebar - Options") || fail "no Options sheet"
  xdotool windowmove --sync "$sheet" 420 20
  sleep 0.3
}
# changed BEFORE AFTER: waits (up to 10 s) for the window's picture to
# differ from $T/BEFORE.png and to settle; saves it as $T/AFTER.png.
changed() {
  local before last= now deadline=$((SECONDS + 10))
  before=$(pixels "$T/$1.png")
  while [ "$SECONDS" -lt "$deadline" ]; do
    import -window "$win" "$T/$2.png"
    now=$(pixels "$T/$2.png")
    [ "$now" != "$before" ] && [ "$now" = "$last" ] && return 0
    last=$now
    sleep 0.1
  done
  return 1
}
close_options() {
  xdotool windowfocus --sync "$sheet" key alt+x
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^Jukebar - Options\$" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  fail "the sheet did not close"
}

click "$win" 60 "$(row_y 1)"
state=(--select "${rows[1]}")
window_is selected

# --- Tree-view page: repaints while the sheet is open -----------------------
open_options
xdotool windowfocus --sync "$sheet" key ctrl+Tab
sleep 0.3
import -window "$win" "$T/inactive.png"
# A lighter selection: a click left of the selection strength's handle.
click "$sheet" "${selection_strength[@]}"
changed inactive lighter || fail "the selection strength did not repaint the window"
# The selected row alone changed.
for part in 275x9+0+20 275x9+0+38; do
  [ "$(convert "$T/lighter.png" -crop "$part" rgb:- | md5sum)" = "$(convert "$T/inactive.png" -crop "$part" rgb:- | md5sum)" ] ||
    fail "more than the selection changed ($part)"
done
# The background picture: tick it, browse, type the file's name.
click "$sheet" "${background_image[@]}"
click "$sheet" "${browse[@]}"
sleep 0.5
xdotool type --delay 5 "$picture"
xdotool key Return
changed lighter pictured || fail "the background picture did not repaint the window"
close_options
# The sheet saved what the window showed while it was open.
"$cli" render "$env" "$T/pictured-expected.png" --size "${WIDTH}x$HEIGHT" --inactive "${state[@]}"
[ "$(pixels "$T/pictured.png")" = "$(pixels "$T/pictured-expected.png")" ] ||
  fail "the window showed other than the saved configuration in" \
    "$(compare -metric AE "$T/pictured.png" "$T/pictured-expected.png" null: 2>&1) pixels"

# --- Main window page: the strip goes where the sample shows it ------------
open_options
# Vertical "Bottom" and horizontal "Left", from the lists' keys.
click "$sheet" "${vertical_list[@]}"
xdotool key End Return
click "$sheet" "${horizontal_list[@]}"
xdotool key Home Down Return
sleep 0.3
close_options
click "$win" $((WIDTH - 21 + 4)) 7
for _ in $(seq 100); do
  eval "$(xdotool getwindowgeometry --shell "$win")"
  [ "$HEIGHT" = 14 ] && break
  sleep 0.05
done
[ "$X,$Y ${WIDTH}x$HEIGHT" = "100,405 50x14" ] || fail "the strip is at $X,$Y ${WIDTH}x$HEIGHT, not bottom left"
state=()
window_is strip

kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
echo "options end to end: 1 passed, 0 failed"
