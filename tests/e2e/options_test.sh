#!/usr/bin/env bash
# The Options sheet of the installed program under Xvfb: the Tree-view page
# repaints the window at once as jukebar-cli renders the saved configuration;
# a Main window page alignment puts the toggled form's strip where it says.
# Usage: options_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
# shellcheck source=e2e-common.sh
source "$(dirname "$0")/e2e-common.sh"
unset JUKEBAR_SPLASH_MS
mkdir -p "$T/-pictures 'n' such"
install_program
# Start-up hands the player an empty play-list: a player that does nothing.
printf 'EnqueueCommand=true\n' >>"$XDG_CONFIG_HOME/Quorvel Software/Jukebar.conf"
env="$T/music.jbe"
new_collection "$env" 40
"$cli" config --environment "$env"
picture="$T/-pictures 'n' such/back ground.bmp"
convert -size 40x30 gradient:'#c04020-#2040c0' -type TrueColor "BMP3:$picture"

start_program 1280x800
window_at "100,100 275x319"
# open_options: the sheet from the title bar's menu, moved off the window.
open_options() {
  click_window "$win" 8 7
  sleep 0.3
  xdotool key o
  sheet=$(wait_window "Jukebar - Options") || fail "no Options sheet"
  xdotool windowmove --sync "$sheet" 420 20
  sleep 0.3
}
close_options() {
  xdotool windowfocus --sync "$sheet" key alt+x
  window_gone "Jukebar - Options"
}
click_window "$win" 60 "$(row_y 1)"
state=(--select "${rows[1]}")
shows_render selected "$env" "${state[@]}"

# Tree-view page (controls placed by the desktop's default style and font).
open_options
xdotool windowfocus --sync "$sheet" key ctrl+Tab
sleep 0.3
import -window "$win" "$T/inactive.png"
click_window "$sheet" 200 353  # left of the selection strength's handle: lighter
window_changed inactive lighter || fail "the selection strength did not repaint the window"
for part in 275x9+0+20 275x9+0+38; do  # the selected row alone changed
  [ "$(convert "$T/lighter.png" -crop "$part" rgb:- | md5sum)" = "$(convert "$T/inactive.png" -crop "$part" rgb:- | md5sum)" ] ||
    fail "more than the selection changed ($part)"
done
click_window "$sheet" 305 280  # the background image box, then browse
click_window "$sheet" 567 315
sleep 0.5
xdotool type --delay 5 "$picture"
xdotool key Return
window_changed lighter pictured || fail "the background picture did not repaint the window"
close_options
"$cli" render "$env" "$T/pictured-expected.png" --size "${WIDTH}x$HEIGHT" --inactive "${state[@]}"
[ "$(pixels "$T/pictured.png")" = "$(pixels "$T/pictured-expected.png")" ] ||
  fail "the window showed other than the saved configuration"

# Main window page: vertical "Bottom" and horizontal "Left" from the lists' keys.
open_options
click_window "$sheet" 210 86
xdotool key End Return
click_window "$sheet" 210 114
xdotool key Home Down Return
sleep 0.3
close_options
click_window "$win" $((WIDTH - 21 + 4)) 7
window_at "100,405 50x14"  # the strip, bottom left
shows_render strip "$env"
stop_program
echo "options end to end: 1 passed, 0 failed"
