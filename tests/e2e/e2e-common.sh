# What the end-to-end scripts share, sourced after "set -euo pipefail" with
# the build folder in $build: the Xvfb helpers, a temporary folder $T
# (removed at the end unless E2E_KEEP=1) standing in for the user's home and
# XDG folders, fail, and the end of the program started as $pid.
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/xvfb.sh
source "$source_dir/scripts/xvfb.sh"

T=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
  xvfb_stop
  # E2E_KEEP=1 keeps the pictures and logs for a look.
  [ -n "${E2E_KEEP:-}" ] && echo "kept $T" >&2 || rm -rf "$T"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$T/jukebar.log" ] && sed 's/^/  jukebar: /' "$T/jukebar.log" >&2
  exit 1
}

export HOME="$T/home" XDG_CONFIG_HOME="$T/config" XDG_DATA_HOME="$T/data" XDG_CACHE_HOME="$T/cache"
unset QT_QPA_PLATFORM
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$XDG_CACHE_HOME"

# row_y N: the middle of page row N.
row_y() { echo $((20 + 9 * $1 + 4)); }
# shows_render NAME ENV RENDER_ARGS...: the window $win shows what $cli
# render draws of ENV, once it has repainted.
shows_render() {
  local name=$1 of=$2
  shift 2
  "$cli" render "$of" "$T/$name-expected.png" --size "${WIDTH}x$HEIGHT" "$@"
  window_shows "$win" "$T/$name-expected.png" "$T/$name.png" ||
    fail "window '$name' differs from the render in" \
      "$(compare -metric AE "$T/$name.png" "$T/$name-expected.png" null: 2>&1) pixels"
}
# install_program: installs the build into $T/prefix; sets $prefix and $cli.
install_program() {
  prefix="$T/prefix"
  cmake --install "$build" --prefix "$prefix" >"$T/install.log" || fail "cmake --install"
  cli="$prefix/bin/jukebar-cli"
}
# start_program SCREEN: the installed program on a new Xvfb screen, started
# in $T; sets $pid, $win and the window's geometry (X Y WIDTH HEIGHT).
start_program() {
  xvfb_start "$1"
  (cd "$T" && exec "$prefix/bin/jukebar") >"$T/jukebar.log" 2>&1 &
  pid=$!
  win=$(wait_window Jukebar) || fail "no window"
  eval "$(xdotool getwindowgeometry --shell "$win")"
}
# stop_program: ends the program started as $pid.
stop_program() {
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
}
# click_window WINDOW X Y
click_window() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
# window_gone NAME: waits (up to 10 s) until no window is named NAME.
window_gone() {
  for _ in $(seq 200); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  fail "window '$1' did not close"
}
# window_changed BEFORE AFTER: waits (up to 10 s) for the window $win to
# differ from $T/BEFORE.png and to settle; saves it as $T/AFTER.png.
window_changed() {
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
# new_collection ENV FILES: an environment ENV over a generated collection
# of FILES songs in $T/Music, scanned; its top rows in the array rows.
new_collection() {
  "$build/tools/gencollection/gencollection" "$T/Music" --files "$2" >/dev/null
  "$cli" new "$1"
  "$cli" add-dir "$1" "$T/Music"
  "$cli" scan "$1" 2>/dev/null
  mapfile -t rows < <("$cli" tree "$1" --depth 1)
}
# window_at "X,Y WIDTHxHEIGHT": waits (up to 5 s) for $win to be there.
window_at() {
  for _ in $(seq 100); do
    eval "$(xdotool getwindowgeometry --shell "$win")"
    [ "$X,$Y ${WIDTH}x$HEIGHT" = "$1" ] && return 0
    sleep 0.05
  done
  fail "the window is at $X,$Y ${WIDTH}x$HEIGHT, not $1"
}
