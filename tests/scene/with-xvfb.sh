#!/usr/bin/env bash
# Runs a picture test program under a virtual display of its own, large
# enough for its largest window.
. "$(dirname "$0")/../../tools/xvfb-lib.sh"
kx_start_xvfb 1920x1080x24 || exit 1
"$@"
status=$?
kx_stop_all
exit "$status"
