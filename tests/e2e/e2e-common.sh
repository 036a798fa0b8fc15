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
