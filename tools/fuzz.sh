#!/usr/bin/env bash
# Runs the libFuzzer targets of the sanitizer build (tools/sanitize.sh), one
# after the other, each for DURATION seconds, or with --runs N for its seed
# corpus and then N new inputs (the test suite's fixed amount of work):
#
#   tools/fuzz.sh [--no-build] [--scratch] [--build-dir DIR] (DURATION | --runs N) [TARGET...]
#
# TARGET is options, tga, mesh, kin, command or urdf (default: all six). Inputs that add
# coverage go to DIR/fuzz-corpus/TARGET (kept between runs, so the runs add
# up); --scratch uses a fresh directory instead, as the short runs of the
# test suite do. The committed seeds of tests/fuzz/corpus/TARGET are read,
# never written. A finding is saved as DIR/fuzz-findings/TARGET/crash-*
# (or leak-*, oom-*, timeout-*) and makes the script fail.
# Each run is single-process (no -jobs/-workers), so two runs may share a
# two-core machine.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build/asan"
build=1 scratch=0
while [ $# -gt 0 ]; do
  case "$1" in
    --no-build) build=0; shift ;;
    --scratch) scratch=1; shift ;;
    --build-dir) dir="$2"; shift 2 ;;
    *) break ;;
  esac
done
duration="" runs=""
if [ "${1:-}" = --runs ]; then
  runs="${2:-}"; shift 2 2>/dev/null
else
  duration="${1:-}"; shift
fi
[[ "$duration$runs" =~ ^[0-9]+$ ]] || {
  echo "usage : tools/fuzz.sh [--no-build] [--scratch] [--build-dir DIR] (DURÉE | --runs N) [CIBLE...]" >&2; exit 2; }
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(options tga mesh kin command urdf)

if [ "$build" -eq 1 ]; then
  "$root/tools/sanitize.sh" build "$dir" || exit 1
fi

# Per target: the longest input tried. The kin batch runs the inverse model
# on every line, so its inputs stay short enough to run quickly; the command
# language's inputs reach past its 4096-byte line limit, so that over-long
# lines are framed too; a robot description's seeds are a few kilobytes.
max_len() {
  case "$1" in
    options|urdf) echo 8192 ;;
    command) echo 12288 ;;
    kin) echo 512 ;;
    *) echo 4096 ;;
  esac
}

status=0
for target in "${targets[@]}"; do
  program="$dir/tests/fuzz/fuzz-$target"
  if [ ! -x "$program" ]; then
    echo "pas de cible $program (clang et son runtime libFuzzer sont nécessaires)" >&2
    exit 77
  fi
  seeds="$root/tests/fuzz/corpus/$target"
  if [ "$scratch" -eq 1 ]; then
    work="$(mktemp -d "$dir/fuzz-scratch-$target.XXXXXX")"
  else
    work="$dir/fuzz-corpus/$target"
  fi
  findings="$dir/fuzz-findings/$target"
  mkdir -p "$work" "$findings" "$dir/fuzz-logs"
  log="$dir/fuzz-logs/$target-$(date +%Y%m%d-%H%M%S).log"
  # libFuzzer counts the replay of the starting inputs in -runs (and always
  # finishes it): the seeds, what the work directory holds, and the empty
  # input it tries first come on top of the N new ones.
  if [ -n "$runs" ]; then
    limit=-runs=$(( $(find "$seeds" "$work" -type f | wc -l) + 1 + runs ))
    what="$runs nouvelles entrées"
  else
    limit=-max_total_time="$duration"
    what="${duration} s"
  fi
  # -rss_limit_mb: the whole process; -malloc_limit_mb: any single block.
  # No reader may allocate much more than its input holds: the TGA reader's
  # block may exceed the file by at most 64 MiB, the mesh reader checks the
  # data holds its counts, the option reader's tokens are bounded. An input
  # of a few kilobytes that makes any of them ask for over 128 MiB is a
  # finding.
  "$program" "$limit" -rss_limit_mb=2048 -malloc_limit_mb=128 -timeout=25 \
    -max_len="$(max_len "$target")" -print_final_stats=1 -artifact_prefix="$findings/" \
    "$work" "$seeds" >"$log" 2>&1
  rc=$?
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  echo "fuzz-$target : $what, ${executed:-?} exécutions, statut $rc (journal : $log)"
  if [ "$rc" -ne 0 ]; then
    status=1
    grep -E "ERROR|SUMMARY|runtime error|Test unit written" "$log" | head -n 20
  fi
  [ "$scratch" -eq 1 ] && rm -rf "$work"
done
exit $status
