#!/usr/bin/env bash
# The settings sheet under Xvfb: a directory added, an extension unticked, Scan
# shows what jukebar-cli renders of it; a user type made and edited reaches the
# configuration file. Usage: settings_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
# shellcheck source=e2e-common.sh
source "$(dirname "$0")/e2e-common.sh"
mkdir -p "$T/envs" "$T/expected"

prefix="$T/prefix"
cmake --install "$build" --prefix "$prefix" >"$T/install.log" || fail "cmake --install"
cli="$prefix/bin/jukebar-cli"
config="$prefix/share/jukebar/Jukebar.cfg"
# Start-up hands an empty play-list to the player: to one that does nothing.
printf 'EnqueueCommand=true %%f\n' >>"$XDG_CONFIG_HOME/Quorvel Software/Jukebar.conf"

# Songs and a play-list, whose extension will be unticked; the window must
# show what the CLI scans of the same resource.
music="$T/My Music -x"
"$build/tools/gencollection/gencollection" "$music" --files 20 >/dev/null
printf '%s\n' "$music"/*/*.mp3 | head -n 3 >"$music/Mix.m3u" || true
"$cli" new "$T/envs/mine.jbe"
"$cli" config --environment "$T/envs/mine.jbe" >/dev/null
expected_env="$T/expected/mine.jbe"
"$cli" new "$expected_env"
"$cli" add-dir "$expected_env" "$music" --exclude M3U
"$cli" scan "$expected_env" 2>/dev/null
"$cli" tree "$expected_env" | grep -q "Mix" && fail "the excluded play-list was scanned by the CLI"

xvfb_start 1024x768
(cd "$T" && exec "$prefix/bin/jukebar") >"$T/jukebar.log" 2>&1 &
pid=$!
win=$(wait_window Jukebar) || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$win")"

# within 'COMMANDS': true once they succeed, trying for 10 s.
within() { for _ in $(seq 200); do eval "$1" && return 0; sleep 0.05; done; return 1; }
gone() { within "! xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1" || fail "window '$1' did not close"; }
has() { grep -qa "$1" "$config"; }
# key_in NAME KEYS...: types keys into the window NAME once it shows.
key_in() {
  local id
  id=$(wait_window "$1") || fail "no window '$1'"
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  sleep 0.2
  [ $# -eq 1 ] || xdotool key --delay 60 "${@:2}"
}
# click_in NAME X Y: a negative X or Y counts from the right or bottom edge.
click_in() {
  local id WIDTH HEIGHT
  id=$(wait_window "$1") || fail "no window '$1'"
  eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(WIDTH|HEIGHT)=')"
  xdotool mousemove --window "$id" $(($2 < 0 ? WIDTH + $2 : $2)) $(($3 < 0 ? HEIGHT + $3 : $3)) click 1
}
open_settings() {  # the title bar's menu: Environment, Settings...
  xdotool mousemove --window "$win" 8 7 click 1
  sleep 0.5
  xdotool key --delay 80 e Down Down Down Down Return
}

open_settings
# The list has the focus: Tab reaches New; a directory asks for its folder.
key_in "Jukebar - Settings" Tab space
key_in "New resource" Down alt+n
key_in "Jukebar - Scan path selection"
xdotool type --delay 20 "$music"
xdotool key Return
gone "Jukebar - Scan path selection"
# Past path, browse, cloak, sub-directories, hidden files: the extensions, M3U first.
key_in "Jukebar - Directory resource" Tab Tab Tab Tab Tab Down Up space Return
gone "Jukebar - Directory resource"
key_in "Jukebar - Settings" alt+s
gone "Jukebar - Settings"
xdotool windowfocus --sync "$win"  # the render draws an active window
shows_render scanned "$expected_env"

! has Films || fail "the configuration names Films already"
open_settings
# The page's Resource types button, then the types dialog's New under its list.
click_in "Jukebar - Settings" -37 105
click_in "Resource types edition" 22 -24
key_in "User resource type properties" ctrl+a F i l m s Tab a v i period m k v Return
gone "User resource type properties"
key_in "Resource types edition" alt+x
within 'has mkv && has Films' || fail "the new type is not in the configuration"
click_in "Jukebar - Settings" -37 105
key_in "Resource types edition" End  # Films, the last row
click_in "Resource types edition" 60 -24
key_in "User resource type properties" Tab ctrl+a a v i Return
gone "User resource type properties"
key_in "Resource types edition" alt+x
within '! has mkv && has avi' || fail "the edited extensions did not reach the configuration"
key_in "Jukebar - Settings" alt+x
gone "Jukebar - Settings"
echo "settings end to end: 1 passed, 0 failed"
