#!/usr/bin/env bash
# The panel's jog and points in the real program, on default/ with A12's
# lower limit at -40 (15 degrees below its start): a click on a key of the
# "Déplacement manuel" pad moves by the step chosen, along the base's x or
# one joint; with "Continu" a key held down with xdotool moves the arm until
# it stops by itself before the limit, the reason in the status line, the
# angle within the limit, and letting go changes nothing; the "Points"
# rollout stores where the arm stands as P1 and takes it back there by
# "Aller" and by "Ligne"; the pose group names the frame in use; the
# "Points" switch draws the points' axes. Controls are found by their labels
# in the layout dump, a key of the pad from the pad's row height and key
# places (panel/CanvasKeys.h); every wait is for a condition.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_small_window "$data"
kx_set_option "$data/glui.opt" fAngle12MinValue -40.0
kx_launch_panel "$data" KX-E2E-Jog --port 0 || { kx_fail "les fenêtres n'apparaissent pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }

# panel_id KIND LABEL: the id of the control of that kind and label.
panel_id() {
  awk -v k="$1" -v t="$2" '$1 == k { l = $0; for (i = 1; i <= 9; i++) sub(/^[^ ]+ /, "", l); if (l == t) { print $3; exit } }' "$KX_LAYOUT"
}
rollout_open() {
  local r
  r=$(awk -v t="$1" '$1 == "rollout" { l = $0; for (i = 1; i <= 9; i++) sub(/^[^ ]+ /, "", l); if (l == t) { print; exit } }' "$KX_LAYOUT")
  # shellcheck disable=SC2046
  kx_click "$KX_PANEL" $(echo "$r" | awk '{ print int($4 + $6 / 2), int($5 + $7 / 2) }')
  kx_until 10 awk -v i="$(echo "$r" | awk '{ print $2 }')" '$1 == "rollout" && $2 == i && $9 == 1 { f = 1 } END { exit !f }' "$KX_LAYOUT"
}
# The status line sits right after the last pose spinner (id 15).
status() { kx_panel_text $(( $(kx_panel_field spinner 15 2) + 1 )); }
status_has() { case "$(status)" in *"$1"*) return 0 ;; esac; return 1; }
# key AXIS SIGN: "x y" of the middle of a key of the jog pad (canvas 4):
# rows of 22 pixels, the - key from 150, the + key from 222, 64 wide.
key() {
  awk -v a="$1" -v s="$2" '$1 == "canvas" && $3 == 4 { print $4 + (s == "-" ? 150 : 222) + 32, $5 + a * 22 + 11; exit }' "$KX_LAYOUT"
}
# row_key CANVAS ROW N: the middle of key N (0, 1) of a row of a list of points.
row_key() {
  awk -v c="$1" -v r="$2" -v n="$3" '$1 == "canvas" && $3 == c { print $4 + (n == 0 ? 150 : 222) + 32, $5 + r * 22 + 11; exit }' "$KX_LAYOUT"
}
# near A B TOLERANCE: every number of A within TOLERANCE of B's.
near() {
  awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { n = split(a, x, " "); split(b, y, " ")
    for (i = 1; i <= n; ++i) { d = x[i] - y[i]; if (d < 0) d = -d; if (d > t) { print "  " i " : " x[i] " contre " y[i] > "/dev/stderr"; exit 1 } } }'
}
arrived() { [ "$(kx_send "get angles")" = "$(kx_send "get targets")" ]; }
# field N of `get angles` or `get pose`
angle() { kx_send "get angles" | cut -d' ' -f"$1"; }
pose_is() { arrived && near "$(kx_send "get pose")" "$1" 0.01; }
angles_are() { arrived && near "$(kx_send "get angles")" "$1" 0.001; }

kx_check "le volet Déplacement manuel, fermé au départ" \
  awk '$1 == "rollout" && / Déplacement manuel$/ && $9 == 0 { f = 1 } END { exit !f }' "$KX_LAYOUT"
kx_check "s'ouvre" rollout_open "Déplacement manuel"
kx_check "le pavé est là" test -n "$(key 0 +)"
joints=$(panel_id checkbox "Articulations")
base=$(panel_id checkbox "Base")
continuous=$(panel_id checkbox "Continu")
one=$(panel_id checkbox "Pas de 1")
ten=$(panel_id checkbox "Pas de 10")
kx_check "Base et un pas de 1 au départ" eval '[ "$(kx_panel_field checkbox "$base" 9)$(kx_panel_field checkbox "$one" 9)" = 11 ]'

# A click on + of x, by 10 along the base's x: the orientation kept.
kx_check "pas de 10 choisi" kx_panel_set checkbox "$ten" 9 1
kx_check "pas de 1 ne l'est plus" kx_panel_is checkbox "$one" 9 0
read -r x y z a b g <<<"$(kx_send "get pose")"
# shellcheck disable=SC2046
kx_click "$KX_PANEL" $(key 0 +)
kx_check "x + 10 dans la base ($(status))" kx_until 20 pose_is "$(awk -v x="$x" 'BEGIN { print x + 10 }') $y $z $a $b $g"
kx_check "la ligne d'état dit le déplacement" status_has "Déplacement manuel Base x"

# A click on - of A23, by one degree.
kx_check "articulations choisies" kx_panel_set checkbox "$joints" 9 1
kx_check "pas de 1" kx_panel_set checkbox "$one" 9 1
before=$(kx_send "get angles")
# shellcheck disable=SC2046
kx_click "$KX_PANEL" $(key 1 -)
kx_check "A23 - 1" kx_until 20 angles_are "$(echo "$before" | awk '{ $2 -= 1; print }')"

# Held down: A12 turns toward its limit of -40 and stops before it, by
# itself, the reason shown; let go, nothing changes.
kx_check "continu choisi" kx_panel_set checkbox "$continuous" 9 1
start=$(angle 1)
# shellcheck disable=SC2046
xdotool mousemove --window "$KX_PANEL" $(key 0 -) mousedown 1
kx_check "le bras tourne tant que la touche est tenue" kx_until 10 eval 'kx_lt "$(angle 1)" "$start" 2>/dev/null'
kx_check "il s'arrête de lui-même" kx_until 20 status_has " arrêté : "
stopped=$(kx_send "get angles")
a12=$(echo "$stopped" | cut -d' ' -f1)
kx_check "avant la limite : A12 = $a12 >= -40" kx_lt -40.000001 "$a12"
kx_check "tout près d'elle" kx_lt "$a12" -39
kx_check "la raison nomme A12 et ses limites ($(status))" eval 'status_has "A12" && status_has "limites"'
xdotool mouseup 1
reason=$(status)
kx_check "le bras arrêté, il n'avance plus" kx_eq "$(kx_send "get angles")" "$stopped"
kx_check "la touche lâchée garde la raison" kx_eq "$(status)" "$reason"

# Points: stored from the panel, gone back to by Aller and by Ligne.
rollout_open "Points" || kx_fail "le volet Points ne s'ouvre pas"
store=$(panel_id button "Enregistrer le point")
kx_panel_click button "$store"
kx_check "P1 enregistré" kx_until 10 eval '[ "$(kx_send "get points")" = P1 ]'
p1=$(kx_send "get point P1")
kx_check "aux angles du bras" near "$p1" "$stopped" 0.001
kx_check "la liste a sa ligne" kx_until 10 awk '$1 == "canvas" && $3 == 3 && $7 == 22 { f = 1 } END { exit !f }' "$KX_LAYOUT"
for move in Aller Ligne; do
  kx_send "angles 0 40 20 10 50 10" >/dev/null
  # The status line says how the arm now holds itself: a line more or less
  # above the list moves it, so its keys are read once the panel shows it.
  kx_until 10 status_has "Configuration : " || kx_fail "la ligne d'état ne suit pas ($(status))"
  n=0; [ "$move" = Ligne ] && n=1
  # shellcheck disable=SC2046
  kx_click "$KX_PANEL" $(row_key 3 0 "$n")
  kx_check "$move ramène le bras en P1" eval 'kx_until 30 angles_are "$p1" 2>/dev/null || { echo "  $(status)" >&2; false; }'
done

# The frame of poses over the pose group.
frame_text() { grep -q "^statictext [0-9]* -1 [0-9 ]*Repère des poses : $1\$" "$KX_LAYOUT"; }
kx_check "repère de la base au départ" frame_text base
kx_send "frame f1 100 0 0 0 0 0" >/dev/null && kx_send "frame use f1" >/dev/null
kx_check "le repère f1 nommé" kx_until 10 frame_text f1

# The points' axes, with the switch "Points" of "Affichage" only.
points=$(panel_id checkbox "Points")
kx_send "camera look 200 35 16" >/dev/null
kx_shot off
kx_check "case Points cochée" kx_panel_set checkbox "$points" 9 1
kx_shot on
kx_check "les axes du point paraissent" \
  kx_lt "$(awk -v f="$(kx_axis_colour_fraction "$KX_WORK/off.png")" 'BEGIN { print f + 0.0005 }')" "$(kx_axis_colour_fraction "$KX_WORK/on.png")"
kx_check "case Points décochée" kx_panel_set checkbox "$points" 9 0
kx_shot off-again
kx_check "et disparaissent" kx_lt "$(kx_difference "$KX_WORK/off.png" "$KX_WORK/off-again.png")" 0.000001

kx_send exit >/dev/null
kx_wait_exit 10
kx_check "statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_finish
