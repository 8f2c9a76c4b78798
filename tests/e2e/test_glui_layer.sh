#!/usr/bin/env bash
# The panel layer end to end, on its demonstration program: the panel opens
# beside the graphics window in two columns, arrows step, typed numbers set,
# drags change continuously, checkboxes toggle, disabled buttons ignore
# clicks, rollouts close and the window shrinks, callbacks run with the
# graphics window current, the idle function starts and stops, and nothing
# uses CPU while idle. Click positions come from the layer's layout dump
# (KALIMBRAX_PANEL_LAYOUT), never from guessed pixels.
. "$(dirname "$0")/lib.sh"

DEMO="$KX_BUILD/tools/glui-demo/kalimbrax-glui-demo"
[ -x "$DEMO" ] || { echo "programme absent: $DEMO"; exit 1; }
kx_start_xvfb || exit 1

LAYOUT="$KX_WORK/layout.txt"
OUT="$KX_WORK/run/out.txt"
mkdir -p "$KX_WORK/run"
export KALIMBRAX_PANEL_LAYOUT="$LAYOUT"
kx_start_app "$KX_WORK/run" "$OUT" "$DEMO"
PANEL=$(kx_wait_window "^GLUI demo panel\$" 30) || { kx_fail "le panneau n'apparaît pas"; cat "$OUT"; kx_finish; }
GFX=$(kx_wait_window "^GLUI demo graphics\$" 5)

# --- helpers -----------------------------------------------------------------

# line KIND LABEL [NTH]: the layout line of the NTH control (1 by default)
# of that kind and label.
line() {
  awk -v k="$1" -v l="$2" -v n="${3:-1}" '$1 == k && $10 == l && ++seen == n { print; exit }' "$LAYOUT"
}
value() { line "$@" | awk '{ print $9 }'; }
enabled() { line "$@" | awk '{ print $8 }'; }
centre() { line "$@" | awk '{ print int($4 + $6 / 2), int($5 + $7 / 2) }'; }
# click KIND LABEL [NTH]: a left click in the middle of the control.
click() {
  local xy
  xy=$(centre "$@")
  [ -n "$xy" ] || { echo "  pas de $1 « $2 » dans la disposition" >&2; return 1; }
  # shellcheck disable=SC2086
  kx_click "$PANEL" $xy
}
calls() { grep -c -- "$1" "$OUT"; }
has() { grep -q -- "$1" "$OUT"; }
window_height() { xdotool getwindowgeometry "$PANEL" | awk '/Geometry/ { split($2, s, "x"); print s[2] }'; }
window_x() { xdotool getwindowgeometry "$PANEL" | awk '/Position/ { split($2, p, ","); print p[1] }'; }
# more_calls PATTERN N: more than N callbacks of that pattern so far.
more_calls() { [ "$(calls "$1")" -gt "$2" ]; }

# --- the panel as built ------------------------------------------------------

kx_check "disposition écrite après la première image" kx_until 10 grep -q "^button .* MGDC$" "$LAYOUT"
kx_check "titre de la fenêtre dans la disposition" kx_contains "$LAYOUT" "GLUI demo panel"
kx_check "panneau placé à droite de la fenêtre graphique (x=$(window_x))" kx_until 5 eval '[ "$(window_x)" = 410 ]'
kx_check "quatre volets" kx_eq "$(grep -c '^rollout ' "$LAYOUT")" 4
kx_check "deux volets « Control » distincts" kx_eq "$(grep '^rollout .* Control$' "$LAYOUT" | awk '{ print $2 }' | sort -u | wc -l)" 2
angles_right=$(line rollout Angles | awk '{ print $4 + $6 }')
control_left=$(line rollout Control | awk '{ print $4 }')
kx_check "seconde colonne à droite de la première" kx_lt "$angles_right" "$control_left"
kx_check "valeur hors limites ramenée à la limite basse" kx_eq "$(value spinner A12)" 0
kx_check "libellé accentué affiché tel quel, min > max accepté" kx_eq "$(value spinner Épaule)" 10
kx_check "GO désactivé" kx_eq "$(enabled button GO)" 0
kx_check "IM coché par set_int_val" kx_eq "$(value checkbox IM)" 1
kx_check "aucun rappel pendant la construction" kx_eq "$(calls '^callback')" 0

# --- spinner: arrow, typed value, refused value, drag -------------------------

# Each event below comes after the callback of the one before: the demo
# prints callbacks in order, so a callback that should not be there would
# already show when the next expected one does.
click spinner-up A12
kx_check "flèche: un pas, fenêtre graphique courante" kx_until 5 has "^callback spinner id=0 live=1 window=gfx$"

click spinner-field A12
xdotool key ctrl+a; xdotool type "2.5"; xdotool key Return
kx_check "saisie 2.5 puis Entrée" kx_until 5 has "^callback spinner id=0 live=2.5 window=gfx$"
kx_check "flèche: un seul rappel" kx_eq "$(calls '^callback spinner id=0 ')" 2
kx_check "valeur 2.5 affichée" kx_until 5 eval '[ "$(value spinner A12)" = 2.5 ]'

click spinner-field A12
xdotool key ctrl+a; xdotool type "1e39"; xdotool key Return
kx_check "nombre non fini refusé: refus noté" kx_until 5 grep -q "^refused $(line spinner A12 | awk '{ print $2 }') " "$LAYOUT"
kx_check "nombre non fini refusé: pas de rappel" kx_eq "$(calls '^callback spinner id=0 ')" 2
kx_check "nombre non fini refusé: valeur gardée" kx_eq "$(value spinner A12)" 2.5

read -r ux uy <<<"$(centre spinner-up A12)"
before=$(calls '^callback spinner id=0 ')
xdotool mousemove --window "$PANEL" "$ux" "$uy" mousedown 1
# Each step waits for its callback, so that ImGui sees every position in a
# frame of its own (two moves in one frame make one step).
for dy in 4 8 12 16 20 24 28; do
  n=$(calls '^callback spinner id=0 ')
  xdotool mousemove --window "$PANEL" "$ux" $(( uy - dy ))
  kx_until 5 more_calls '^callback spinner id=0 ' "$n"
done
xdotool mouseup 1
# Dragging up from the arrow raises the value at every step, one callback
# per step, and the last step (furthest from the start) is larger than the
# first. (The spinner sits near the top of the window: uy - 28 stays inside.)
steps=$(grep '^callback spinner id=0 ' "$OUT" | tail -n +$(( before + 1 )) | sed -E 's/.*live=([^ ]*).*/\1/')
kx_check "glisser: plusieurs rappels" kx_lt 3 "$(echo "$steps" | wc -l)"
kx_check "glisser vers le haut: la valeur monte, de plus en plus vite" \
  awk -v start=2.5 'BEGIN { prev = start; ok = 1 }
       { d = $1 - prev; if (d <= 0) ok = 0; if (NR == 1) first = d; last = d; prev = $1 }
       END { exit !(ok && last > first) }' <<<"$steps"
kx_check "valeur finale du glisser affichée" kx_until 5 eval '[ "$(value spinner A12)" = "$(echo "$steps" | tail -n 1)" ]'

# --- disabled button, checkbox, buttons, idle function ------------------------

click button GO
click checkbox RT
kx_check "case cochée: variable liée puis rappel" kx_until 5 has "^callback checkbox id=1 live=1 window=gfx$"
kx_check "bouton désactivé: clic ignoré" kx_eq "$(calls '^callback button id=1 ')" 0
kx_check "case RT cochée dans la disposition" kx_until 5 eval '[ "$(value checkbox RT)" = 1 ]'
kx_check "GO activé par le rappel" kx_until 5 eval '[ "$(enabled button GO)" = 1 ]'

click button GO
kx_check "GO: rappel" kx_until 5 has "^callback button id=1 live=0 window=gfx$"
kx_check "fonction d'attente lancée puis retirée" kx_until 10 has "^idle end calls=20$"

a12=$(value spinner A12)
click button MGDC
kx_check "MGDC: rappel" kx_until 5 has "^callback button id=2 "
kx_check "set_float_val change X" kx_until 5 eval 'awk -v a="$a12" -v x="$(value spinner X)" "BEGIN { d = 2 * a - x; exit !(d < 0.01 && d > -0.01) }"'
kx_check "set_float_val sans rappel" kx_eq "$(calls '^callback spinner id=10 ')" 0

click checkbox WF
kx_check "case sans variable liée: rappel" kx_until 5 has "^callback checkbox id=4 live=-1 window=gfx$"

# --- rollouts ---------------------------------------------------------------

kx_import root "$KX_WORK/panel-open.png"
h_open=$(window_height)
click rollout Control 2
kx_until 10 eval '[ "$(value rollout Control 2)" = 0 ]'
click rollout Control 1
kx_check "volets fermés: contenu masqué" kx_until 10 eval '[ -z "$(line checkbox RT)" ]'
kx_check "volets fermés: fenêtre réduite ($h_open px avant)" kx_until 10 eval 'kx_lt "$(window_height)" "$h_open" 2>/dev/null'
kx_import root "$KX_WORK/panel-closed.png"
click rollout Control 1
kx_check "volet rouvert" kx_until 10 eval '[ "$(value checkbox RT)" = 1 ]'

# --- idle CPU -----------------------------------------------------------------

xdotool mousemove --window "$GFX" 200 150
# CPU time over two seconds of rest: a measurement over a span, not a wait.
t0=$(awk '{ print $14 + $15 }' "/proc/$KX_APP_PID/stat")
sleep 2
t1=$(awk '{ print $14 + $15 }' "/proc/$KX_APP_PID/stat")
ticks=$(( t1 - t0 ))
echo "CPU au repos: $ticks tops de $(getconf CLK_TCK) par seconde en 2 s"
# A redraw loop would burn a whole core (200 ticks); allow scheduling noise
# up to 5 % of a core.
kx_check "pas de boucle active au repos" kx_lt "$ticks" 10

kx_check "pas d'imgui.ini" test ! -e "$KX_WORK/run/imgui.ini"
kx_check "aucun avertissement de freeglut" kx_eq "$(grep -ci freeglut "$OUT")" 0
kx_key "$GFX" Escape
kx_wait_exit 10
kx_check "Escape: statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_finish
