#!/usr/bin/env bash
# Every example the README shows with its result, run as written
# (readme_examples.py): the shell lines and what they print, the commands
# sent to the port and their replies, and the Python square, whose picture
# must show its four sides of trail and whose record must lie on it.
. "$(dirname "$0")/lib.sh"
kx_one_draw_thread
kx_start_xvfb || exit 1
python3 "$KX_SOURCE/tests/e2e/readme_examples.py" "$KX_SOURCE" "$KX_BUILD" "$KX_WORK" || KX_FAILURES=$((KX_FAILURES + 1))
kx_finish
