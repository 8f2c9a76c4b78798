#!/usr/bin/env bash
# Every example the README shows with its result, run as written
# (readme_examples.py): the shell lines and what they print, the commands
# sent to the port and their replies, and the Python square, whose picture
# must show its four sides of trail and whose record must lie on it.
# The port's examples run on default/ as it is (their replies give
# durations); the square's arm moves eight times quicker: its way, its
# picture and its record are checked, not how long it takes, and at
# default/'s pace the square is seven seconds of frames drawn as fast as
# the program can.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
square=$(kx_data_copy square-data)
kx_fast_moves "$square" 8 || { kx_fail "vitesses du bras"; kx_finish; }
python3 "$KX_SOURCE/tests/e2e/readme_examples.py" "$KX_SOURCE" "$KX_BUILD" "$KX_WORK" "$square" ||
  KX_FAILURES=$((KX_FAILURES + 1))
kx_finish
