#!/usr/bin/env bash
# Common frame of the end-to-end tests: a fresh virtual display, a scratch
# start directory for the logs, a copy of the data set, and small checks.
set -u
KX_BUILD="${KX_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build}"
KX_SOURCE="${KX_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
. "$KX_SOURCE/tools/xvfb-lib.sh"

KX_PROGRAM="$KX_BUILD/kalimbrax"
KX_WORK="$(mktemp -d /tmp/kx-e2e.XXXXXX)"
KX_FAILURES=0

kx_cleanup() {
  kx_stop_all
  if [ "$KX_FAILURES" -eq 0 ] && [ -z "${KX_KEEP:-}" ]; then rm -rf "$KX_WORK"; else echo "fichiers gardés dans $KX_WORK"; fi
}
trap kx_cleanup EXIT

# A copy of the default data set, to modify or to receive screenshots.
kx_data_copy() {
  local dir="$KX_WORK/${1:-data}"
  rm -rf "$dir"; cp -r "$KX_SOURCE/default" "$dir"
  echo "$dir"
}

# Ends a program that did not end by itself (after kx_wait_exit timed out).
kx_stop_app() { kill "$KX_APP_PID" 2>/dev/null; wait "$KX_APP_PID" 2>/dev/null; KX_APP_PID=""; }

kx_fail() { echo "ÉCHEC: $*" >&2; KX_FAILURES=$((KX_FAILURES + 1)); }
kx_check() { local what="$1"; shift; if "$@"; then echo "ok: $what"; else kx_fail "$what"; fi; }
kx_eq() { [ "$1" = "$2" ] || { echo "  attendu [$2], obtenu [$1]" >&2; return 1; }; }
kx_contains() { grep -qF -- "$2" "$1" || { echo "  [$2] absent de $1" >&2; return 1; }; }
# kx_lt A B: A < B as real numbers
kx_lt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }' || { echo "  $1 n'est pas < $2" >&2; return 1; }; }

# The error log's messages, without their time field, converted to UTF-8.
kx_log_messages() {
  iconv -f WINDOWS-1252 -t UTF-8 "$1" | sed -E 's/^[0-9]{2}:[0-9]{2}:[0-9]{2}:[0-9]+ - //'
}

kx_finish() {
  if [ "$KX_FAILURES" -ne 0 ]; then echo "$KX_FAILURES vérification(s) en échec"; exit 1; fi
  echo "toutes les vérifications passent"
}

# Sets a key of an option file in a data copy (replacing its statement, or
# adding one).
kx_set_option() {
  local file="$1" key="$2" value="$3"
  if grep -qE "^[[:space:]]*$key[[:space:]]*=" "$file"; then
    sed -i -E "s|^([[:space:]]*$key[[:space:]]*=).*|\1 $value;|" "$file"
  else
    printf '%s = %s;\n' "$key" "$value" >> "$file"
  fi
}

# Starts the simulator on DATA (then ARGS) with its logs in a scratch
# directory and waits for the graphics window, whose title the test sets; its
# id goes into KX_WID. Not to be called inside $(...), which would orphan the
# program.
kx_launch() {
  local data="$1" title="${2:-KX-E2E-Scene}"
  shift; shift
  kx_set_option "$data/graphics.opt" sWindowName "\"$title\""
  mkdir -p "$KX_WORK/run"
  kx_start_app "$KX_WORK/run" "$KX_WORK/run/console.txt" "$KX_PROGRAM" "$data" "$@"
  KX_WID=$(kx_wait_window "^$title\$" 30)
}

# The command port a program started with --port 0 took, from its console.
kx_command_port() {
  local i port
  for i in $(seq 1 50); do
    port=$(sed -n 's/.*Port de commande ouvert : 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$KX_WORK/run/console.txt")
    [ -n "$port" ] && { echo "$port"; return 0; }
    sleep 0.1
  done
  return 1
}

# Fraction of the pixels of a picture for which an fx expression holds, for
# example "r>0.7&&g<0.3&&b<0.3" for pure red.
kx_fraction() {
  convert "$1" -fx "$2" -colorspace Gray -format "%[fx:mean]" info:
}

# Mean absolute difference of two pictures of the same size (0 to 1).
kx_difference() {
  convert "$1" "$2" -compose difference -composite -colorspace Gray -format "%[fx:mean]" info:
}

# Pixels darker in A than in B by more than 8 % become white in OUT.
kx_darker_mask() {
  convert "$2" "$1" -compose minus_src -composite -colorspace Gray -threshold 8% "$3"
}

# "x y" centroid of the white pixels of a mask.
kx_centroid() {
  identify -verbose -moments "$1" | sed -n 's/.*Centroid: \([0-9.]*\),\([0-9.]*\).*/\1 \2/p' | head -n 1
}

# Mean of picture A over the white pixels of MASK (0 to 1).
kx_masked_mean() {
  local white
  white=$(convert "$2" -format "%[fx:mean]" info:)
  convert "$1" -colorspace Gray "$2" -compose multiply -composite -format "%[fx:mean/$white]" info:
}

# Fraction of pixels that are pure red, green or blue: the axes' colours.
kx_axis_colour_fraction() {
  kx_fraction "$1" "r>0.7&&g<0.3&&b<0.3 || g>0.7&&r<0.3&&b<0.3 || b>0.7&&r<0.3&&g<0.3"
}

# Presses a mouse button at (X1, Y1) of a window, drags to (X2, Y2), releases.
kx_drag() {
  local wid="$1"
  xdotool mousemove --window "$wid" "$2" "$3" mousedown 1 2>/dev/null
  sleep 0.2
  xdotool mousemove --window "$wid" "$4" "$5" 2>/dev/null
  sleep 0.2
  xdotool mouseup 1 2>/dev/null
}

# --- The control panel, driven through its layout dump -----------------------
# Click positions and values come from the panel layer's dump
# (KALIMBRAX_PANEL_LAYOUT), never from guessed pixels. Layout lines:
# kind index id x y w h enabled value label...

# kx_launch_panel DATA [TITLE]: kx_launch with the layout dump on, then waits
# for the panel window (its id in KX_PANEL) and its first complete layout.
kx_launch_panel() {
  KX_LAYOUT="$KX_WORK/layout.txt"
  export KALIMBRAX_PANEL_LAYOUT="$KX_LAYOUT"
  kx_launch "$@" || return 1
  local title i
  title=$(kx_option_text "$1/glui.opt" strGLUIWindowName "Kalimbrax Controls")
  KX_PANEL=$(kx_wait_window "^$title\$" 10) || return 1
  for i in $(seq 1 50); do grep -q '^checkbox ' "$KX_LAYOUT" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}
# kx_panel_row KIND ID: the layout line of the control of that kind and id.
kx_panel_row() { awk -v k="$1" -v id="$2" '$1 == k && $3 == id { print; exit }' "$KX_LAYOUT"; }
# kx_panel_field KIND ID N: field N of that line (8 enabled, 9 value).
kx_panel_field() { kx_panel_row "$1" "$2" | awk -v n="$3" '{ print $n }'; }
# kx_panel_text INDEX: the text of the static text of that creation index.
kx_panel_text() { awk -v i="$1" '$1 == "statictext" && $2 == i { $1 = $2 = $3 = $4 = $5 = $6 = $7 = $8 = $9 = ""; sub(/^ +/, ""); print; exit }' "$KX_LAYOUT"; }
# kx_panel_click KIND ID: a left click in the middle of the control.
kx_panel_click() {
  local r; r=$(kx_panel_row "$1" "$2")
  [ -n "$r" ] || { echo "  pas de $1 $2 dans la disposition" >&2; return 1; }
  # shellcheck disable=SC2046
  xdotool mousemove --window "$KX_PANEL" $(echo "$r" | awk '{ print int($4 + $6 / 2), int($5 + $7 / 2) }') click 1
  sleep 0.4
}
# kx_panel_type SPINNER_ID TEXT: types a value into a spinner and presses Enter.
kx_panel_type() {
  kx_panel_click spinner-field "$1" || return 1
  xdotool key ctrl+a; xdotool type -- "$2" 2>/dev/null; xdotool key Return
  sleep 0.4
}
# kx_panel_angles: the six joint-angle spinners' values, space-separated.
kx_panel_angles() {
  local id out=""
  for id in 0 1 2 3 4 5; do out="$out $(kx_panel_field spinner "$id" 9)"; done
  echo "${out# }"
}
