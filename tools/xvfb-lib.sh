#!/usr/bin/env bash
# Shell functions to run Kalimbrax in a virtual X display and drive it like a
# person would: keys with xdotool, pictures through F6 (the end-to-end tests
# also take them with the screenshot command, tests/e2e/lib.sh). Sourced by
# the end-to-end tests and by the headless path of run.sh.

KX_XVFB_PID=""
KX_APP_PID=""

# kx_nap SECONDS: a pause that starts no process, for the polling loops
# below (every start of a process costs several milliseconds of CPU on this
# machine, and a test polls every 50 ms): a read that times out on a pipe
# nobody writes to, opened once here and kept by subshells.
exec {KX_NAP_FD}<> <(:)
kx_nap() { read -r -t "$1" -u "$KX_NAP_FD" _ || :; }

# Starts Xvfb on a free display number and exports DISPLAY. Each caller gets
# a display of its own, so tests may run side by side. Xvfb finds the free
# number itself (-displayfd, its lock files taken in turn) and writes it to
# a pipe once it accepts connections: the read returns then, with no polling
# of the display and no race for a number. -noreset: the server would
# otherwise reset whenever its last client left, and a program connecting
# during the reset fails to start.
kx_start_xvfb() {
  local size="${1:-1280x1024x24}" pipe n=""
  pipe=$(mktemp -u /tmp/kx-xvfb.XXXXXX) && mkfifo "$pipe" || return 1
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3>"$pipe" >/dev/null 2>&1 &
  KX_XVFB_PID=$!
  # The read ends with the number, or empty when Xvfb ends first (the pipe
  # then has no writer left).
  read -r -t 60 n <"$pipe"
  rm -f "$pipe"
  if [ -n "$n" ]; then
    export DISPLAY=":$n"
    return 0
  fi
  kill "$KX_XVFB_PID" 2>/dev/null; wait "$KX_XVFB_PID" 2>/dev/null; KX_XVFB_PID=""
  echo "Impossible de démarrer Xvfb" >&2
  return 1
}

kx_stop_all() {
  [ -n "$KX_APP_PID" ] && kill "$KX_APP_PID" 2>/dev/null && wait "$KX_APP_PID" 2>/dev/null
  [ -n "$KX_XVFB_PID" ] && kill "$KX_XVFB_PID" 2>/dev/null && wait "$KX_XVFB_PID" 2>/dev/null
  KX_APP_PID=""; KX_XVFB_PID=""
}

# kx_start_app START_DIR OUT_FILE PROGRAM [ARGS...]: starts the program in
# START_DIR (where its logs go) with its console output in OUT_FILE.
kx_start_app() {
  local dir="$1" out="$2"; shift 2
  ( cd "$dir" && exec "$@" >"$out" 2>&1 ) &
  KX_APP_PID=$!
}

# kx_until SECONDS COMMAND...: true as soon as the command succeeds, tried
# every 50 ms; false when it has not within SECONDS. Every wait of the tests
# is for something observable (a file, a log line, a window, a value of the
# panel's layout dump), never a fixed time that is too long on a quiet
# machine and too short on a loaded one. Most conditions hold a frame or two
# after what the test did (a click, a key): the second and third tries come
# 10 and 30 ms after the first, where a wait of 50 ms would take 50.
kx_until() {
  local timeout="$1" i; shift
  for ((i = 0; i < timeout * 20; i++)); do
    "$@" && return 0
    case $i in
      0) kx_nap 0.01 ;;
      1) kx_nap 0.02 ;;
      *) kx_nap 0.05 ;;
    esac
  done
  return 1
}

# kx_app_alive: the program this shell started is still running.
kx_app_alive() { [ -n "$KX_APP_PID" ] && kill -0 "$KX_APP_PID" 2>/dev/null; }
kx_app_ended() { ! kx_app_alive; }

# Prints the id of the first window whose title matches, waiting up to
# TIMEOUT seconds (default 20); gives up at once when the program ended.
kx_wait_window() {
  local name="$1" timeout="${2:-20}" wid i
  for ((i = 0; i < timeout * 20; i++)); do
    wid=$(xdotool search --limit 1 --name "$name" 2>/dev/null)
    if [ -n "$wid" ]; then echo "$wid"; return 0; fi
    [ -n "$KX_APP_PID" ] && ! kx_app_alive && return 1
    kx_nap 0.05
  done
  return 1
}

# Waits for the program to end and sets KX_EXIT_STATUS (124 on time-out).
# Call it from the shell that started the program, never inside $(...): only
# the parent can collect a child's status.
kx_wait_exit() {
  local timeout="${1:-20}"
  KX_EXIT_STATUS=124
  kx_until "$timeout" kx_app_ended || return 1
  wait "$KX_APP_PID"; KX_EXIT_STATUS=$?; KX_APP_PID=""
}

# kx_key WID KEY...: keys sent to a window, in order, in one xdotool call,
# without xdotool's 12 ms pause after each (its --delay): GLUT hands the
# scene's window every key as it comes, and the tests wait for what a key
# does (a picture, a line in a log), not for time to pass.
kx_key() {
  local wid="$1"; shift
  xdotool key --delay 0 --window "$wid" "$@" 2>/dev/null
}

# kx_screenshot WID DATA_DIR OUT.png: presses F6 and turns the new
# "screenshot.tga" into an upright PNG (TGA rows are stored bottom first).
# F6 draws the frame afresh before reading it, and the file is written
# aside and renamed: once it is there it is whole, so no settling time is
# needed on either side. Keys sent before F6 reach the program first: each
# xdotool call ends once the X server has passed its events on.
kx_screenshot() {
  local wid="$1" dir="$2" out="$3"
  rm -f "$dir/screenshot.tga"
  kx_key "$wid" F6
  if ! kx_until 20 test -s "$dir/screenshot.tga"; then
    echo "pas de screenshot.tga dans $dir" >&2
    return 1
  fi
  # Light compression: the PNG is only compared, and writes five times faster.
  convert "$dir/screenshot.tga" -flip -define png:compression-level=1 "$out"
}

# Mean brightness (0 to 1) of a region WxH+X+Y of a picture, or of all of it.
kx_mean() {
  local png="$1" region="${2:-}"
  if [ -n "$region" ]; then
    convert "$png" -crop "$region" +repage -colorspace Gray -format "%[fx:mean]" info:
  else
    convert "$png" -colorspace Gray -format "%[fx:mean]" info:
  fi
}

# kx_option_text FILE KEY DEFAULT: the text value of a key of an option file
# (Windows-1252, printed in UTF-8), or the default.
kx_option_text() {
  local value
  value=$(iconv -f WINDOWS-1252 -t UTF-8 "$1" 2>/dev/null | sed -n -E "s/^[[:space:]]*$2[[:space:]]*=[[:space:]]*\"([^\"]*)\".*/\1/p" | head -n 1)
  echo "${value:-$3}"
}
