#!/usr/bin/env bash
# Common frame of the end-to-end tests: a fresh virtual display, a scratch
# start directory for the logs, a copy of the data set, and small checks.
set -u
KX_BUILD="${KX_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build}"
KX_SOURCE="${KX_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
. "$KX_SOURCE/tools/xvfb-lib.sh"

KX_PROGRAM="$KX_BUILD/kalimbrax"

# python3 may be a version manager's shim, a script that finds the
# interpreter anew at every start (pyenv's costs 0.3 s a start here, the
# interpreter itself 0.04 s): the tests start the interpreter it resolves to,
# KX_PYTHON when ctest gives it (found once, when the build was configured),
# else the same one found at the test's first start of Python (a test that
# starts none pays nothing) and kept in a file for the subshells of $(...).
KX_PYTHON="${KX_PYTHON:-}"
python3() {
  [ -n "$KX_PYTHON" ] || read -r KX_PYTHON 2>/dev/null <"$KX_WORK/python-path" || :
  if [ -z "$KX_PYTHON" ]; then
    KX_PYTHON=$(command python3 -c 'import sys; print(sys.executable)') || return 1
    echo "$KX_PYTHON" >"$KX_WORK/python-path"
  fi
  "$KX_PYTHON" "$@"
}
KX_WORK="$(mktemp -d /tmp/kx-e2e.XXXXXX)"

# The programs draw in their own thread, Mesa's llvmpipe starting no threads
# of its own. While the arm moves a program redraws as fast as it can: with
# llvmpipe's threads it takes 1.6 cores of the two, slowing the test that
# ctest runs beside, and the threads' hand-offs cost CPU of their own (the
# quick suite about 2 s of CPU, 1 s of its time). What is drawn, and when
# the arm is where, stay the same: only the frames per second drop.
export LP_NUM_THREADS=0
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
kx_lacks() { ! grep -qF -- "$2" "$1" || { echo "  [$2] présent dans $1" >&2; return 1; }; }
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

# kx_client_done STATUS WHAT [EXIT_WHAT]: after a Python client whose output
# went to $KX_WORK/client.txt and which told the program to exit: shows that
# output, checks that the client ended with 0, then the program too.
kx_client_done() {
  cat "$KX_WORK/client.txt"
  kx_check "$2" kx_eq "$1" 0
  kx_wait_exit 10
  kx_check "${3:-exit : statut 0}" kx_eq "$KX_EXIT_STATUS" 0
}

# kx_fast_moves DATA FACTOR: every motion of the arm in a data copy FACTOR
# times quicker, for tests whose checks are about where the arm goes and what
# it answers, not about how long it takes. The joints' top speeds, the path's
# and the hand's speeds are multiplied by FACTOR and the accelerations by
# FACTOR squared: a planned move then follows the very same path and speed
# profile in 1/FACTOR of the time (a line slowed near the base axis is slowed
# at the same places), and a real-time chase keeps its shape too. A move
# still takes time: a test can stop one half way. Every key must be in
# robot.opt, so that a renamed key fails here rather than leaving a test slow.
kx_fast_moves() {
  local file="$1/robot.opt"
  # One awk over the file (it is Windows-1252: bytes, LC_ALL=C), a statement
  # rewritten as kx_set_option writes one.
  LC_ALL=C awk -v factor="$2" '
    BEGIN {
      n = split("fAngle12MaxSpeed fAngle23MaxSpeed fAngle34MaxSpeed fAngle45MaxSpeed fAngle56MaxSpeed " \
                "fAngle67MaxSpeed fLinearSpeed fAngularSpeed fAngle12MaxAccel fAngle23MaxAccel " \
                "fAngle34MaxAccel fAngle45MaxAccel fAngle56MaxAccel fAngle67MaxAccel fLinearAccel", keys, " ")
      for (i = 1; i <= n; i++) power[keys[i]] = keys[i] ~ /Accel$/ ? 2 : 1
    }
    match($0, /^[[:space:]]*[A-Za-z0-9_]+[[:space:]]*=/) {
      head = substr($0, 1, RLENGTH)
      key = head; gsub(/[[:space:]=]/, "", key)
      rest = substr($0, RLENGTH + 1)
      if ((key in power) && match(rest, /^[[:space:]]*-?[0-9.]+[[:space:]]*;/)) {
        value = rest; sub(/[[:space:]]*;.*/, "", value)
        printf "%s %.3f;\n", head, value * factor ^ power[key]
        done[key] = 1
        next
      }
    }
    { print }
    END {
      for (key in power)
        if (!(key in done)) { printf "  kx_fast_moves : pas de %s dans %s\n", key, FILENAME > "/dev/stderr"; missing = 1 }
      exit missing
    }' "$file" >"$file.fast" && mv "$file.fast" "$file" || { rm -f "$file.fast"; return 1; }
}

# kx_small_window DATA: the graphics window of a data copy 320 x 240, for
# tests whose checks are not about the picture (or compare pictures with
# each other only): the same scene drawn, in a sixth of the pixels. While
# the arm moves the program redraws as fast as it can, and the fill of the
# ground and the sky is most of a frame's cost.
kx_small_window() {
  kx_set_option "$1/graphics.opt" iScreenWidth 320
  kx_set_option "$1/graphics.opt" iScreenHeight 240
}


# Starts the simulator on DATA (then ARGS) with its logs in a scratch
# directory and waits for the graphics window, whose title the test sets; its
# id goes into KX_WID. Not to be called inside $(...), which would orphan the
# program.
kx_launch() {
  local data="$1" title="${2:-KX-E2E-Scene}"
  shift; shift
  kx_set_option "$data/graphics.opt" sWindowName "\"$title\""
  KX_DATA="$data"
  mkdir -p "$KX_WORK/run"
  kx_start_app "$KX_WORK/run" "$KX_WORK/run/console.txt" "$KX_PROGRAM" "$data" "$@"
  KX_WID=$(kx_wait_window "^$title\$" 30)
}

# --- The command port ---------------------------------------------------------
# A program launched with --port 0 is driven through one connection kept
# open by bash itself (/dev/tcp): no interpreter starts for each command, and
# every reply is read before the next line goes, so the test never runs
# ahead of the program. A key sent with xdotool before a command is seen
# first: xdotool ends only once the X server has passed the event on, and
# the program reads all its pending X events before it polls the port.

# kx_command_port [CONSOLE]: the port the program took, from its console
# output (by default kx_launch's).
kx_command_port() {
  local file="${1:-$KX_WORK/run/console.txt}"
  kx_until 10 grep -q "Port de commande ouvert" "$file" || return 1
  sed -n 's/.*Port de commande ouvert : 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$file" | head -n 1
}

# kx_connect [CONSOLE]: opens the connection to the program just started
# (its file descriptor in KX_PORT_FD), closing any earlier one.
kx_connect() {
  local port
  port=$(kx_command_port "$@") || { echo "  pas de port annoncé" >&2; return 1; }
  [ -n "${KX_PORT_FD:-}" ] && exec {KX_PORT_FD}>&-
  exec {KX_PORT_FD}<>"/dev/tcp/127.0.0.1/$port"
}

# kx_send LINE: sends one command and prints what follows "ok" in its reply;
# false, with the reply on standard error, for "erreur ..." or no reply.
kx_send() {
  local reply
  printf '%s\n' "$1" >&"$KX_PORT_FD" || return 1
  if ! IFS= read -r -t 60 reply <&"$KX_PORT_FD"; then
    echo "  pas de réponse à « $1 »" >&2
    return 1
  fi
  case "$reply" in
    ok) return 0 ;;
    "ok "*) echo "${reply#ok }"; return 0 ;;
  esac
  echo "  « $1 » : $reply" >&2
  return 1
}

# kx_shot NAME: the graphics window as $KX_WORK/NAME.png, through the data
# directory KX_DATA (set by kx_launch). The screenshot command draws the
# frame afresh and replies once the file is written.
kx_shot() {
  kx_send "screenshot $1.png" >/dev/null && mv "$KX_DATA/$1.png" "$KX_WORK/$1.png"
}

# kx_import WINDOW OUT.png: the X picture of a window (or of "root", the
# whole screen). Light compression, as kx_screenshot's: the picture is only
# compared or kept for a look, and ImageMagick's default level takes half a
# second on a window of the scene.
kx_import() { import -window "$1" -define png:compression-level=1 "$2"; }

# kx_fraction PICTURE CONDITION: the fraction of its pixels for which
# CONDITION holds, a test on r, g and b from 0 to 1 written with && and ||
# ("r>0.75&&b<0.25"). Read once as raw bytes by Python: ImageMagick's per-pixel
# -fx takes seconds on a picture.
kx_fraction() {
  convert "$1" -depth 8 rgb:- | python3 -c '
import sys
test = eval("lambda r, g, b: " + sys.argv[1].replace("&&", " and ").replace("||", " or "))
data = sys.stdin.buffer.read()
count = sum(1 for i in range(0, len(data), 3) if test(data[i] / 255, data[i + 1] / 255, data[i + 2] / 255))
print(count / max(1, len(data) // 3))' "$2"
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

# Mean of picture A over the white pixels of MASK (0 to 1): the mean of A
# in grey times MASK, over MASK's own mean, both in one convert.
kx_masked_mean() {
  convert "$2" \( "$1" -colorspace Gray "$2" -compose multiply -composite \) -print "%[fx:u[1].mean/u[0].mean]" null:
}

# Fraction of pixels that are pure red, green or blue, the axes' colours: a
# channel above 0.7 and the other two below 0.3. Built from thresholds of the
# separated channels (above 0.7: H; below 0.3: L, the negated threshold;
# 8-bit values never sit on either bound), a minimum for "and" and a maximum
# for "or": per-pixel -fx takes seconds on a picture, this a tenth of one.
kx_axis_colour_fraction() {
  convert "$1" -separate \
    \( -clone 0 -threshold 70% \) \( -clone 1 -threshold 70% \) \( -clone 2 -threshold 70% \) \
    \( -clone 0 -threshold 30% -negate \) \( -clone 1 -threshold 30% -negate \) \( -clone 2 -threshold 30% -negate \) \
    -delete 0-2 \
    \( -clone 0,4,5 -evaluate-sequence min \) \( -clone 1,3,5 -evaluate-sequence min \) \
    \( -clone 2,3,4 -evaluate-sequence min \) \
    -delete 0-5 -evaluate-sequence max -format "%[fx:mean]" info:
}

# kx_click WID X Y [BUTTON [COUNT]]: COUNT clicks (1) of a button (1, the
# left) at (X, Y) of a window, in one xdotool call. xdotool's click sleeps
# 100 ms after every click, the last one too (its --delay): the tests wait
# for a click's effect instead. What that sleep also did is kept: a click
# comes at least 100 ms after the one before, as a person's would. The panel
# layer hands ImGui a press and its release a frame apart, but a release and
# the next press that reach it within one frame cancel out (ImGui sees the
# button held), and a click whose control acts on the press (an arrow) or
# changes nothing shows no sign of its release. Most clicks come later than
# that anyway, after the test has waited for the effect of the one before;
# only the ones that follow at once wait for the rest.
KX_CLICK_AT=0  # microseconds
kx_click() {
  local since=$(( ${EPOCHREALTIME/./} - KX_CLICK_AT )) nap
  if (( since < 100000 )); then
    printf -v nap "0.%06d" $(( 100000 - since ))
    kx_nap "$nap"
  fi
  xdotool mousemove --window "$1" "$2" "$3" click --delay 0 --repeat "${5:-1}" "${4:-1}" 2>/dev/null
  KX_CLICK_AT=${EPOCHREALTIME/./}
}

# Presses a mouse button at (X1, Y1) of a window, drags to (X2, Y2),
# releases: one xdotool call, so the events arrive in that order.
kx_drag() {
  xdotool mousemove --window "$1" "$2" "$3" mousedown 1 mousemove --window "$1" "$4" "$5" mouseup 1 2>/dev/null
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
  local title
  title=$(kx_option_text "$1/glui.opt" strGLUIWindowName "Kalimbrax Controls")
  KX_PANEL=$(kx_wait_window "^$title\$" 10) || return 1
  kx_until 10 grep -q '^checkbox ' "$KX_LAYOUT" 2>/dev/null
}
# kx_panel_row KIND ID: the layout line of the control of that kind and id.
kx_panel_row() { awk -v k="$1" -v id="$2" '$1 == k && $3 == id { print; exit }' "$KX_LAYOUT"; }
# kx_panel_centre KIND ID: "x y", the middle of that control.
kx_panel_centre() { awk -v k="$1" -v id="$2" '$1 == k && $3 == id { print int($4 + $6 / 2), int($5 + $7 / 2); exit }' "$KX_LAYOUT"; }
# kx_panel_field KIND ID N: field N of that line (8 enabled, 9 value), in
# one awk (the panel tests poll it every 50 ms).
kx_panel_field() { awk -v k="$1" -v id="$2" -v n="$3" '$1 == k && $3 == id { print $n; exit }' "$KX_LAYOUT"; }
# kx_panel_text INDEX: the text of the static text of that creation index.
kx_panel_text() { awk -v i="$1" '$1 == "statictext" && $2 == i { $1 = $2 = $3 = $4 = $5 = $6 = $7 = $8 = $9 = ""; sub(/^ +/, ""); print; exit }' "$KX_LAYOUT"; }
# kx_panel_is KIND ID N VALUE: field N of that control's line is VALUE (for
# kx_until: the dump is rewritten after every panel frame that changes it).
kx_panel_is() { [ "$(kx_panel_field "$1" "$2" "$3")" = "$4" ]; }
kx_panel_is_not() { ! kx_panel_is "$@"; }
# kx_panel_click KIND ID: a left click in the middle of the control. It
# does not wait: the caller waits for the effect it expects.
kx_panel_click() {
  local xy; xy=$(kx_panel_centre "$1" "$2")
  [ -n "$xy" ] || { echo "  pas de $1 $2 dans la disposition" >&2; return 1; }
  # shellcheck disable=SC2086
  kx_click "$KX_PANEL" $xy
}
# kx_panel_set KIND ID N VALUE: a click on the control, then waits until
# field N of the line KIND ID shows VALUE; false when it never does.
kx_panel_set() {
  kx_panel_click "$1" "$2" || return 1
  kx_until 10 kx_panel_is "$1" "$2" "$3" "$4"
}
# kx_panel_enter SPINNER_ID TEXT KEY: types a text into a spinner's field and
# leaves it with KEY (Return, Tab), without waiting.
kx_panel_enter() {
  kx_panel_click spinner-field "$1" || return 1
  xdotool key ctrl+a; xdotool type -- "$2" 2>/dev/null; xdotool key "$3"
}
# kx_panel_type SPINNER_ID TEXT [VALUE]: types a value into a spinner, presses
# Enter and waits until the spinner shows VALUE, by default the number typed
# as the dump writes it ("%g").
kx_panel_type() {
  kx_panel_enter "$1" "$2" Return || return 1
  kx_until 10 kx_panel_is spinner "$1" 9 "${3:-$(LC_ALL=C printf '%g' "$2")}"
}
# kx_panel_click_changes KIND ID N: a click on the control, then waits until
# field N of its own line changes (an arrow's value).
kx_panel_click_changes() {
  local before; before=$(kx_panel_field "$1" "$2" "$3")
  kx_panel_click "$1" "$2" || return 1
  kx_until 10 kx_panel_is_not "$1" "$2" "$3" "$before"
}
# kx_panel_values KIND ID...: the values (field 9) of the controls of that
# kind and ids, space-separated in the order asked, read by one awk (the
# panel tests poll them).
kx_panel_values() {
  awk -v k="$1" -v ids="${*:2}" '
    BEGIN { n = split(ids, id, " "); for (i = 1; i <= n; i++) wanted[id[i]] = 1 }
    $1 == k && ($3 in wanted) && !($3 in value) { value[$3] = $9 }
    END { for (i = 1; i <= n; i++) printf "%s%s", value[id[i]], (i < n ? " " : "\n") }' "$KX_LAYOUT"
}
# kx_panel_angles: the six joint-angle spinners' values, space-separated.
kx_panel_angles() { kx_panel_values spinner 0 1 2 3 4 5; }
