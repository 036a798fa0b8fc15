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
