#!/usr/bin/env bash
# Planned moves, configurations and singularities through the panel, on
# default/: the kind of move is a choice of one; the speed override is the
# port's; "Vérifier" plans without moving and "Aller à la pose" moves the arm
# to the pose fields; a pose out of reach is refused with the arm unmoved; a
# row of the configurations' table moves the arm to that configuration with
# its pose kept; the singularity readout turns orange near the wrist's
# singularity only. Controls are found by their labels in the layout dump.
# Where the arm goes is checked, not when: it moves eight times quicker than
# default/'s.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_fast_moves "$data" 8 || { kx_fail "vitesses du bras"; kx_finish; }
kx_launch_panel "$data" KX-E2E-Scene --port 0 || { kx_fail "les fenêtres n'apparaissent pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }

# panel_id KIND LABEL: the id of the control of that kind and label.
panel_id() {
  awk -v k="$1" -v t="$2" '$1 == k { l = $0; for (i = 1; i <= 9; i++) sub(/^[^ ]+ /, "", l); if (l == t) { print $3; exit } }' "$KX_LAYOUT"
}
# rollout_open LABEL: a click on a closed rollout's title, waited for.
rollout_open() {
  local index
  index=$(awk -v t="$1" '$1 == "rollout" { l = $0; for (i = 1; i <= 9; i++) sub(/^[^ ]+ /, "", l); if (l == t) { print $2; exit } }' "$KX_LAYOUT")
  local r; r=$(awk -v i="$index" '$1 == "rollout" && $2 == i' "$KX_LAYOUT")
  # shellcheck disable=SC2046
  kx_click "$KX_PANEL" $(echo "$r" | awk '{ print int($4 + $6 / 2), int($5 + $7 / 2) }')
  kx_until 10 awk -v i="$index" '$1 == "rollout" && $2 == i && $9 == 1 { f = 1 } END { exit !f }' "$KX_LAYOUT"
}
# The status line sits right after the last pose spinner (id 15).
status() { kx_panel_text $(( $(kx_panel_field spinner 15 2) + 1 )); }
status_starts() { case "$(status)" in "$1"*) return 0 ;; esac; return 1; }
# near A B TOLERANCE: every number of A within TOLERANCE of B's.
near() {
  awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { n = split(a, x, " "); split(b, y, " ")
    for (i = 1; i <= n; ++i) { d = x[i] - y[i]; if (d < 0) d = -d; if (d > t) { print "  " i " : " x[i] " contre " y[i] > "/dev/stderr"; exit 1 } } }'
}
# A planned move ends on its targets.
arrived() { [ "$(kx_send "get angles")" = "$(kx_send "get targets")" ]; }
pose_xyz() { kx_send "get pose" | awk '{ print $1, $2, $3 }'; }
at_pose() { arrived && near "$(pose_xyz)" "$1" 0.01; }

joint=$(panel_id checkbox "Articulaire synchronisé")
linear=$(panel_id checkbox "Linéaire")
move=$(panel_id button "Aller à la pose")
check=$(panel_id button "Vérifier")
speed=$(panel_id spinner "Vitesse (%)")
kx_check "le volet Trajectoire est là" test -n "$joint" -a -n "$linear" -a -n "$move" -a -n "$check" -a -n "$speed"

# The kind of move: one of two, a click on the one chosen keeps it.
kx_check "articulaire choisi au départ" kx_panel_is checkbox "$joint" 9 1
kx_check "clic sur Linéaire" kx_panel_set checkbox "$linear" 9 1
kx_check "articulaire n'est plus choisi" kx_panel_is checkbox "$joint" 9 0
# A second click changes nothing to wait for: the speed typed after it is,
# and the panel takes its input in order, so once the speed shows, the
# click has been handled. The speed override is the one the port reads.
kx_panel_click checkbox "$linear"
kx_check "vitesse tapée" kx_panel_type "$speed" 50
kx_check "un second clic garde Linéaire" kx_panel_is checkbox "$linear" 9 1
kx_check "get speed la donne" kx_eq "$(kx_send "get speed")" 50
kx_check "retour à articulaire" kx_panel_set checkbox "$joint" 9 1

# "Vérifier" plans a move to the pose fields and moves nothing; "Aller à la
# pose" moves the arm there, by a joint move then by a line.
start_angles=$(kx_send "get angles")
read -r x y z _ <<<"$(kx_send "get pose")"
tx=$(awk -v v="$x" 'BEGIN { print v + 100 }')
kx_check "X de la pose tapé" kx_panel_type 10 "$tx"
kx_panel_click button "$check"
kx_check "Vérifier dit la durée ($(status))" kx_until 10 status_starts "Vérifié : "
kx_check "Vérifier ne bouge pas le bras" kx_eq "$(kx_send "get angles")" "$start_angles"
kx_panel_click button "$move"
kx_check "le bras va à la pose des champs" kx_until 30 at_pose "$tx $y $z"
kx_check "le statut dit le mouvement ($(status))" status_starts "Mouvement articulaire synchronisé : "

kx_check "Linéaire choisi" kx_panel_set checkbox "$linear" 9 1
kx_check "Y de la pose tapé" kx_panel_type 11 "$(awk -v v="$y" 'BEGIN { print v + 80 }')"
kx_panel_click button "$move"
kx_check "en ligne droite aussi" kx_until 30 at_pose "$tx $(awk -v v="$y" 'BEGIN { print v + 80 }') $z"

# Out of reach: refused, and the arm stays where it is.
before=$(kx_send "get angles")
kx_check "X lointain tapé" kx_panel_type 10 5000
kx_panel_click button "$move"
kx_check "refusé hors d'atteinte ($(status))" kx_until 10 status_starts "Refusé : "
kx_check "le bras n'a pas bougé" kx_eq "$(kx_send "get angles")" "$before"

# The configurations' table: a click on row 6 moves the arm to it (reaching
# back over its base), its pose kept. (Rows 7 and 8, also reaching back,
# would sweep the hand through the floor on the way: refused.)
kx_send "angles 20 30 -40 25 50 -10" >/dev/null
pose=$(kx_send "get pose")
rollout_open "Configurations de la pose" || kx_fail "le volet des configurations ne s'ouvre pas"
table=$(kx_panel_row canvas 1)
kx_check "le tableau des configurations est montré" test -n "$table"
# shellcheck disable=SC2046
kx_click "$KX_PANEL" $(echo "$table" | awk '{ print $4 + 40, $5 + 6 * 20 + 10 }')
# Arrived alone holds before the click is handled too (the arm at rest on
# its targets): the wait is for the arm at rest reaching back.
reaching_back() { kx_send "get angles" | awk '{ d = $1 - 20; if (d < 0) d = -d; exit !(d > 170 && d < 190) }'; }
kx_check "le bras prend la configuration 6 : il atteint par l'arrière" kx_until 30 eval 'reaching_back && arrived'
kx_check "sa pose est la même" near "$(kx_send "get pose")" "$pose" 0.05

# The singularity readout: orange near the wrist's singularity, not away
# from it. The readout is the canvas of the second column.
readout=$(awk '$1 == "canvas" && $3 == -1 && $4 > 300' "$KX_LAYOUT" | head -n 1)
orange_pixels() {
  xdotool mousemove --window "$KX_PANEL" 1 1
  kx_import "$KX_PANEL" "$KX_WORK/$1.png"
  # shellcheck disable=SC2046
  convert "$KX_WORK/$1.png" -crop $(echo "$readout" | awk '{ print $6 "x" $7 "+" $4 "+" $5 }') +repage \
    -depth 8 txt:- | sed -n 's/^[0-9]*,[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
    awk '$1 > 200 && $2 > 100 && $2 < 190 && $3 < 80 { n++ } END { print n + 0 }'
}
kx_send "angles 20 30 -40 25 50 -10" >/dev/null
kx_check "pas d'orange loin des singularités" kx_until 10 eval '[ "$(orange_pixels far)" -eq 0 ]'
kx_send "angles 20 30 -40 25 1 -10" >/dev/null
kx_check "orange près du poignet tendu" kx_until 10 eval '[ "$(orange_pixels near)" -gt 20 ]'

kx_finish
