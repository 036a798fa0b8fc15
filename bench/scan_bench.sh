#!/usr/bin/env bash
# The scan benchmark: jukebar-cli scan of a fresh environment whose one
# directory resource is a synthetic collection (default threads and
# --threads 1), beside minimal_scan, the least a scan must read, on 1, 2 and
# 16 threads; warm (after one warm-up run) and cold (the page cache dropped
# before each run, which needs root). Runs go in rounds, one of each kind a
# round, so a load that changes on the way weighs on all alike; each figure
# is the median. Prints the table, the two ratios and the peak resident
# memory of the default scan.
#
# usage: bench/scan_bench.sh BUILD_DIR [--files N] [--seed S] [--runs R] [--warm-only]
#
# The collection lives in $JUKEBAR_BENCH_DIR (default $TMPDIR/jukebar-bench,
# else /tmp/jukebar-bench) and is made again only when the arguments or the
# generator's sources change; then the old one is removed.
set -euo pipefail

usage="usage: scan_bench.sh BUILD_DIR [--files N] [--seed S] [--runs R] [--warm-only]"
build=${1:?$usage}
shift
files=100000 seed=1 runs=3 cold=1
while [ $# -gt 0 ]; do
  case $1 in
    --files) files=${2:?$usage}; shift 2 ;;
    --seed) seed=${2:?$usage}; shift 2 ;;
    --runs) runs=${2:?$usage}; shift 2 ;;
    --warm-only) cold=0; shift ;;
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

missing=()
if [ -x "$cli" ]; then
  commands=$("$cli" --help 2>/dev/null || true)
  for command in new add-dir scan; do
    grep -qE "^  $command( |$)" <<<"$commands" || missing+=("$command")
  done
  "$cli" scan --help 2>/dev/null | grep -q -- '--threads' || missing+=("scan --threads")
else
  missing=("the program $cli")
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "scan_bench: jukebar-cli cannot be timed: missing ${missing[*]}" >&2
  exit 1
fi

if [ "$cold" = 1 ]; then
  if [ "$(id -u)" -ne 0 ] || ! [ -w /proc/sys/vm/drop_caches ]; then
    echo "note: cold figures need root to drop the page cache (/proc/sys/vm/drop_caches); warm figures only"
    cold=0
  fi
fi
drop_caches() { sync && echo 3 >/proc/sys/vm/drop_caches; }

# The runs, by key: label, then the command.
keys=(scan scan1 min1 min2 min16)
declare -A label=(
  [scan]="jukebar-cli scan (default threads)" [scan1]="jukebar-cli scan --threads 1"
  [min1]="minimal loop, 1 thread" [min2]="minimal loop, 2 threads" [min16]="minimal loop, 16 threads")
declare -A extra=([scan]="" [scan1]="--threads 1" [min1]=1 [min2]=2 [min16]=16)
declare -A times_warm times_cold

# Sets $elapsed to the nanoseconds of one run of KEY; COLD=1 drops the cache
# first. The environment is made before the cache is dropped: only the
# scan is timed.
run_once() {  # KEY COLD
  local key=$1 t0
  if [[ $key == scan* ]]; then
    rm -f "$env_file"
    run_logged "$work/scan.out" "$cli" new "$env_file"
    run_logged "$work/scan.out" "$cli" add-dir "$env_file" "$collection"
    [ "$2" = 1 ] && drop_caches
    t0=$(now_ns)
    # shellcheck disable=SC2086
    run_logged "$work/$key.out" "$cli" scan "$env_file" ${extra[$key]}
  else
    [ "$2" = 1 ] && drop_caches
    t0=$(now_ns)
    run_logged "$work/$key.out" "$minimal" -j "${extra[$key]}" "$collection"
  fi
  elapsed=$(($(now_ns) - t0))
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for key in "${keys[@]}"; do run_once "$key" 0; done  # warm-up
for ((r = 0; r < runs; ++r)); do
  for key in "${keys[@]}"; do
    run_once "$key" 0
    times_warm[$key]+="$elapsed "
  done
done
if [ "$cold" = 1 ]; then
  for ((r = 0; r < runs; ++r)); do
    for key in "${keys[@]}"; do
      run_once "$key" 1
      times_cold[$key]+="$elapsed "
    done
  done
fi

# Peak resident memory of one more default scan, warm.
peak=""
if [ -x /usr/bin/time ]; then
  rm -f "$env_file"
  run_logged "$work/scan.out" "$cli" new "$env_file"
  run_logged "$work/scan.out" "$cli" add-dir "$env_file" "$collection"
  run_logged "$work/scan.out" /usr/bin/time -f 'peak %M' "$cli" scan "$env_file"
  peak=$(sed -n 's/^peak \([0-9]*\)$/\1/p' "$work/scan.out")
fi
rm -f "$env_file"

echo "scan: $(grep -v '^peak' "$work/scan.out"); minimal loop: $(cat "$work/min1.out")"
echo "median of $runs runs each, in rounds; warm after one warm-up run$([ "$cold" = 1 ] && echo "; cold: page cache dropped before each run")"
echo "load before: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '| %-36s | %10s | %10s |\n' run "warm cache" "cold cache"
printf '|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..38})" "$(printf -- '-%.0s' {1..12})" "$(printf -- '-%.0s' {1..12})"
declare -A warm_ns cold_ns
for key in "${keys[@]}"; do
  # shellcheck disable=SC2086
  warm_ns[$key]=$(median ${times_warm[$key]})
  cold_text=-
  if [ "$cold" = 1 ]; then
    # shellcheck disable=SC2086
    cold_ns[$key]=$(median ${times_cold[$key]})
    cold_text="$(seconds "${cold_ns[$key]}") s"
  fi
  printf '| %-36s | %10s | %10s |\n' "${label[$key]}" "$(seconds "${warm_ns[$key]}") s" "$cold_text"
done
fastest=min1
for key in min2 min16; do
  [ "${warm_ns[$key]}" -lt "${warm_ns[$fastest]}" ] && fastest=$key
done
awk -v a="${warm_ns[scan]}" -v b="${warm_ns[$fastest]}" -v l="${label[$fastest]}" \
  'BEGIN { printf "warm: scan / fastest minimal loop (%s) = %.2f (target <= 1.3)\n", l, a / b }'
if [ "$cold" = 1 ]; then
  awk -v a="${cold_ns[scan]}" -v b="${cold_ns[min16]}" \
    'BEGIN { printf "cold: scan / minimal loop, 16 threads = %.2f (target <= 1.2)\n", a / b }'
fi
if [ -n "$peak" ]; then
  awk -v k="$peak" 'BEGIN { printf "peak resident memory of the default scan: %.1f MB (target < 150 MB)\n", k / 1024 }'
else
  echo "peak resident memory: not measured (no /usr/bin/time)"
fi
