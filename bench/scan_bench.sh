#!/usr/bin/env bash
# The scan benchmark: jukebar-cli scan of a fresh environment whose one
# directory resource is a synthetic collection, against minimal_scan, the
# least a scan must read (one thread), both on a warm cache. Prints the
# median of several runs after one warm-up run each.
#
# usage: bench/scan_bench.sh BUILD_DIR [--files N] [--seed S] [--runs R]
#
# The collection lives in $JUKEBAR_BENCH_DIR (default $TMPDIR/jukebar-bench,
# else /tmp/jukebar-bench) and is made again only when the arguments or the
# generator's sources change; then the old one is removed.
set -euo pipefail

usage="usage: scan_bench.sh BUILD_DIR [--files N] [--seed S] [--runs R]"
build=${1:?$usage}
shift
files=100000 seed=1 runs=5
while [ $# -gt 0 ]; do
  case $1 in
    --files) files=${2:?$usage}; shift 2 ;;
    --seed) seed=${2:?$usage}; shift 2 ;;
    --runs) runs=${2:?$usage}; shift 2 ;;
    *) echo "scan_bench: unknown argument '$1'" >&2; echo "$usage" >&2; exit 2 ;;
  esac
done
for n in "$files" "$seed" "$runs"; do
  [[ $n =~ ^[0-9]+$ ]] || { echo "scan_bench: '$n' is not a number" >&2; exit 2; }
done
[ "$runs" -ge 1 ] || { echo "scan_bench: --runs must be at least 1" >&2; exit 2; }

source_dir=$(cd "$(dirname "$0")/.." && pwd)
gen=$build/tools/gencollection/gencollection
cli=$build/src/cli/jukebar-cli
minimal=$build/bench/minimal_scan
for program in "$gen" "$minimal"; do
  [ -x "$program" ] || { echo "scan_bench: $program is not built" >&2; exit 1; }
done

work=${JUKEBAR_BENCH_DIR:-${TMPDIR:-/tmp}/jukebar-bench}
# Same arguments and same generator sources: the collection on disk is the one asked for.
generator=$(cat "$source_dir"/tools/gencollection/*.cpp "$source_dir"/tools/gencollection/*.h | cksum | cut -d' ' -f1)
collection=$work/collection-$files-$seed-$generator
stamp=$collection.made
env_file=$work/bench.jbe
mkdir -p "$work/config"
# The program's defaults, whatever the user running this has configured.
export XDG_CONFIG_HOME=$work/config

now_ns() { date +%s%N; }
seconds() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e9 }'; }
per_second() { awk -v n="$1" -v ns="$2" 'BEGIN { printf "%.0f", (ns > 0) ? n * 1e9 / ns : 0 }'; }

if [ -d "$collection" ] && [ -f "$stamp" ]; then
  echo "collection: $(cat "$stamp") (reused)"
else
  rm -rf "$collection"
  t0=$(now_ns)
  summary=$("$gen" "$collection" --files "$files" --seed "$seed")
  t1=$(now_ns)
  echo "$summary" >"$stamp"
  echo "collection: $summary (made in $(seconds $((t1 - t0))) s)"
  # Old collections go only now: ext4 is slow to hand out inodes freed
  # moments ago, which would slow the generator several times over.
  for old in "$work/collection-$files-$seed-"*; do
    [ "$old" = "$collection" ] || [ "$old" = "$stamp" ] || rm -rf "$old"
  done
fi

# A program that fails ends the benchmark with what it printed.
run_logged() {  # LOG PROGRAM [ARGS...]
  local log=$1
  shift
  "$@" >"$log" 2>&1 || { echo "scan_bench: failed: $*" >&2; cat "$log" >&2; exit 1; }
}
# Each sets $elapsed to the nanoseconds of one run.
minimal_once() {
  local t0
  t0=$(now_ns)
  run_logged "$work/minimal.out" "$minimal" "$collection"
  elapsed=$(($(now_ns) - t0))
}
scan_once() {  # extra arguments go to jukebar-cli scan
  local t0
  rm -f "$env_file"
  run_logged "$work/scan.out" "$cli" new "$env_file"
  run_logged "$work/scan.out" "$cli" add-dir "$env_file" "$collection"
  t0=$(now_ns)
  run_logged "$work/scan.out" "$cli" scan "$env_file" "$@"
  elapsed=$(($(now_ns) - t0))
}
median_ns() {  # FUNCTION [ARGS...]: one warm-up run, then $median of $runs
  local times=() i
  "$@"
  for ((i = 0; i < runs; ++i)); do
    "$@"
    times+=("$elapsed")
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
}
report() {  # LABEL NS DETAIL
  printf '%-32s %8s s %10s files/s   %s\n' "$1" "$(seconds "$2")" "$(per_second "$files" "$2")" "$3"
}

echo "median of $runs runs after one warm-up, $files files"
median_ns minimal_once
minimal_ns=$median
report "minimal walk (1 thread)" "$minimal_ns" "$(cat "$work/minimal.out")"

missing=()
if [ -x "$cli" ]; then
  commands=$("$cli" --help 2>/dev/null || true)
  for command in new add-dir scan; do
    grep -qE "^  $command( |$)" <<<"$commands" || missing+=("$command")
  done
else
  missing=("the program $cli")
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "note: jukebar-cli scan not timed: missing ${missing[*]}"
  exit 0
fi

median_ns scan_once
scan_ns=$median
report "jukebar-cli scan" "$scan_ns" "$(cat "$work/scan.out")"
awk -v a="$scan_ns" -v b="$minimal_ns" 'BEGIN { printf "ratio scan / minimal walk: %.2f\n", a / b }'
if "$cli" scan --help 2>/dev/null | grep -q -- '--threads'; then
  median_ns scan_once --threads 1
  single_ns=$median
  report "jukebar-cli scan --threads 1" "$single_ns" "$(cat "$work/scan.out")"
  awk -v a="$single_ns" -v b="$minimal_ns" 'BEGIN { printf "ratio scan --threads 1 / minimal walk: %.2f\n", a / b }'
fi
rm -f "$env_file"
