#!/usr/bin/env bash
# Runs the benchmarks (build/kalimbrax-bench); BM_Frame needs a display, so
# a virtual one of 1920x1080, the size of its largest window, is started
# when there is none. Arguments go to the benchmark program, e.g.
# --benchmark_filter=BM_Frame --benchmark_format=json.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/tools/xvfb-lib.sh"
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  trap kx_stop_all EXIT
  kx_start_xvfb 1920x1080x24 || exit 1
fi
"$root/build/kalimbrax-bench" "$@"
