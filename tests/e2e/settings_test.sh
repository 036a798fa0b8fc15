#!/usr/bin/env bash
# The settings sheet end to end: the installed program under Xvfb, driven
# with xdotool. A directory resource is added through the directory dialog
# and the desktop's folder chooser, one extension unticked, and Scan shows
# the folder in the tree exactly as jukebar-cli renders the same resource.
# Then a user type is made and its extensions edited in the Resource types
# dialog, and each change reaches the configuration file.
# Usage: settings_test.sh BUILD_DIR
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

# A folder of songs and a play-list, whose extension will be unticked.
music="$T/My Music -x"
"$build/tools/gencollection/gencollection" "$music" --files 20 >/dev/null
printf '%s\n' "$music"/*/*.mp3 | head -n 3 >"$music/Mix.m3u" || true
env="$T/envs/mine.jbe"
"$cli" new "$env"
"$cli" config --environment "$env" >/dev/null
# What the window must show: the same resource, scanned by the CLI.
expected_env="$T/expected/mine.jbe"
"$cli" new "$expected_env"
"$cli" add-dir "$expected_env" "$music" --exclude M3U
"$cli" scan "$expected_env" 2>/dev/null
"$cli" tree "$expected_env" | grep -q "Mix" && fail "the excluded play-list was scanned by the CLI"

# --- The program -----------------------------------------------------------
xvfb_start 1024x768
(cd "$T" && exec "$prefix/bin/jukebar") >"$T/jukebar.log" 2>&1 &
pid=$!
win=$(wait_window Jukebar) || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$win")"

click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
# key_in NAME KEYS...: waits for the window NAME and types keys into it.
key_in() {
  local id
  id=$(wait_window "$1") || fail "no window '$1'"
  shift
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  sleep 0.2
  xdotool key --delay 60 "$@"
}
# click_in NAME X Y: clicks at (X, Y) in the window NAME; a negative X or Y
# counts from its right or bottom edge.
click_in() {
  local id WIDTH HEIGHT x=$2 y=$3
  id=$(wait_window "$1") || fail "no window '$1'"
  eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(WIDTH|HEIGHT)=')"
  [ "$x" -lt 0 ] && x=$((WIDTH + x))
  [ "$y" -lt 0 ] && y=$((HEIGHT + y))
  xdotool mousemove --window "$id" "$x" "$y" click 1
}
# gone NAME: waits until no window is named NAME.
gone() {
  local _
  for _ in $(seq 200); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  fail "window '$1' did not close"
}
# open_settings: the title bar's menu, Environment, Settings...
open_settings() {
  click 8 7
  sleep 0.5
  xdotool key --delay 80 e Down Down Down Down Return
  wait_window "Jukebar - Settings" >/dev/null || fail "no settings sheet"
}

# --- A directory resource, an extension unticked, Scan ---------------------
open_settings
# The list has the focus: Tab reaches New.
key_in "Jukebar - Settings" Tab space
key_in "New resource" Down alt+n
# A new directory asks for its folder first.
chooser=$(wait_window "Jukebar - Scan path selection") || fail "no folder chooser"
xdotool windowactivate --sync "$chooser" 2>/dev/null || true
sleep 0.3
xdotool type --delay 20 "$music"
xdotool key Return
gone "Jukebar - Scan path selection"
# Path, browse, cloak, sub-directories, hidden files, then the extensions,
# whose first row, once selected, is M3U.
key_in "Jukebar - Directory resource" Tab Tab Tab Tab Tab Down Up space Return
gone "Jukebar - Directory resource"
key_in "Jukebar - Settings" alt+s
gone "Jukebar - Settings"

# The render draws an active window.
xdotool windowfocus --sync "$win"
shows_render scanned "$expected_env"

# --- A user type made, then its extensions edited --------------------------
grep -qa "Films" "$config" && fail "the configuration names Films already"
open_settings
# The page's buttons stand in a column right of the list: New, Resource
# types, Properties, Remove; the types dialog's in a row under its list.
click_in "Jukebar - Settings" -37 105
click_in "Resource types edition" 22 -24
key_in "User resource type properties" ctrl+a F i l m s Tab a v i period m k v Return
gone "User resource type properties"
key_in "Resource types edition" alt+x
gone "Resource types edition"
for _ in $(seq 100); do grep -qa "mkv" "$config" && break; sleep 0.05; done
grep -qa "Films" "$config" && grep -qa "mkv" "$config" || fail "the new type is not in the configuration"

click_in "Jukebar - Settings" -37 105
# Films is the last row.
key_in "Resource types edition" End
click_in "Resource types edition" 60 -24
key_in "User resource type properties" Tab ctrl+a a v i Return
gone "User resource type properties"
key_in "Resource types edition" alt+x
gone "Resource types edition"
for _ in $(seq 100); do grep -qa "mkv" "$config" || break; sleep 0.05; done
grep -qa "mkv" "$config" && fail "the edited extensions did not reach the configuration"
grep -qa "avi" "$config" || fail "the type lost its extension"
key_in "Jukebar - Settings" alt+x
gone "Jukebar - Settings"

echo "settings end to end: 1 passed, 0 failed"
