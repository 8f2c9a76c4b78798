#!/usr/bin/env bash
# The panel tells the truth about the arm, on default/ with real clicks and
# keys: a real-time motion stopped half way leaves the spinners and the
# readout where the arm stands, and no later click jumps it; the keys tick
# and untick the display boxes; typed values take a decimal comma, refuse
# what is not a number and are kept when the field is left with Tab or a
# click elsewhere. The arm's angles and the pictures come from the command
# port. KX_PICTURES=DIR keeps the pictures there.
# The pictures are compared with each other only: the graphics window is
# small (kx_small_window).
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_small_window "$data"
kx_launch_panel "$data" KX-E2E-Scene --port 0 || { kx_fail "les fenêtres n'apparaissent pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }
W="$KX_WORK"
wid=$KX_WID
shot() { kx_shot "$1" || kx_fail "image $1"; }
differ() { kx_lt 0.001 "$(kx_difference "$W/$1.png" "$W/$2.png")"; }
same() { kx_lt "$(kx_difference "$W/$1.png" "$W/$2.png")" 0.0005; }
# The readout's angle lines, "A12 -25,00° | A23 ...", as six numbers.
readout_angles() {
  awk '$1 == "statictext" && $10 == "A12" { for (i = 11; i <= NF; i += 3) { v = $i; sub(/°/, "", v); sub(/,/, ".", v); printf "%s ", v } exit }' "$KX_LAYOUT"
}
# near A B: six numbers of A and B within 0.01 of each other.
near() { awk -v a="$1" -v b="$2" 'BEGIN { n = split(a, x, " "); split(b, y, " "); if (n != 6) exit 1
  for (i = 1; i <= 6; ++i) { d = x[i] - y[i]; if (d < -0.01 || d > 0.01) { print "  " a " contre " b > "/dev/stderr"; exit 1 } } }'; }
# arm_moved N FROM BY: joint N (1 to 6) of the arm, as the program reports
# it, is at least BY degrees past FROM, up (BY > 0) or down (BY < 0).
arm_moved() { awk -v a="$(kx_send "get angles" | cut -d' ' -f"$1")" -v from="$2" -v by="$3" 'BEGIN { exit !((a - from) / by >= 1) }'; }
spinners_show_arm() { near "$(kx_panel_angles)" "$(readout_angles)" 2>/dev/null; }

kx_check "le relevé montre les angles de départ" near "$(readout_angles)" "-25 45 15 0 60 0"

# --- Real time stopped half way ------------------------------------------
kx_check "RT coché" kx_panel_set checkbox 1 9 1
kx_check "cible A12" kx_panel_type 0 150
kx_check "cible A23" kx_panel_type 1 -30
shot targets
kx_panel_click button 1
kx_check "« Démarrer » met le bras en mouvement" kx_until 10 arm_moved 1 -25 30
kx_check "RT décoché" kx_panel_set checkbox 1 9 0
kx_until 10 spinners_show_arm
stopped=$(kx_panel_angles)
shot stopped
kx_check "arrêté en chemin (A12 $(echo "$stopped" | cut -d' ' -f1))" \
  awk -v a="$(echo "$stopped" | cut -d' ' -f1)" 'BEGIN { exit !(a > -25 && a < 150) }'
kx_check "les molettes montrent où le bras s'est arrêté" near "$stopped" "$(readout_angles)"
a67=$(echo "$stopped" | cut -d' ' -f6)
kx_check "un clic sur A67 fait un pas" kx_panel_set spinner-up 5 9 "$(awk -v a="$a67" 'BEGIN { print a + 1 }')"
shot a67-click
kx_check "un clic sur A67 ne fait pas sauter le bras" kx_lt "$(kx_difference "$W/stopped.png" "$W/a67-click.png")" 0.01
kx_check "A12 reste où il était" kx_eq "$(kx_panel_field spinner 0 9)" "$(echo "$stopped" | cut -d' ' -f1)"
# "Calcul MGD" fills the pose spinners (X from 0) with the arm's pose.
kx_panel_click button 2
kx_check "« Calcul MGD » remplit la pose" kx_until 10 kx_panel_is_not spinner 10 9 0
shot mgd-click
kx_check "« Calcul MGD » ne bouge pas le bras" same a67-click mgd-click
# Real time again: a new target and GO move the arm.
kx_check "RT coché de nouveau" kx_panel_set checkbox 1 9 1
a34=$(kx_send "get angles" | cut -d' ' -f3)
kx_check "cible A34" kx_panel_type 2 60
kx_panel_click button 1
kx_check "« Démarrer » de nouveau" kx_until 10 arm_moved 3 "$a34" 10
shot moved-again
kx_check "temps réel de nouveau : « Démarrer » bouge le bras" differ mgd-click moved-again
kx_check "RT décoché de nouveau" kx_panel_set checkbox 1 9 0

# --- The keys tick and untick the display boxes -------------------------
shot before-f9
kx_key "$wid" F9
kx_check "F9 décoche « Décor »" kx_until 10 kx_panel_is checkbox 5 9 0
kx_key "$wid" F12
kx_check "F12 coche « Aspect métal »" kx_until 10 kx_panel_is checkbox 8 9 1
kx_check "clic sur « Aspect métal »" kx_panel_set checkbox 8 9 0
kx_check "clic sur « Décor »" kx_panel_set checkbox 5 9 1
shot after-clicks
kx_check "les premiers clics rendent l'image de départ" same before-f9 after-clicks
kx_check "« Décor » coché de nouveau" kx_eq "$(kx_panel_field checkbox 5 9)" 1

# --- Typing ---------------------------------------------------------------
kx_check "« 12,5 » donne 12.5" kx_panel_type 3 "12,5" 12.5
kx_panel_enter 3 "12abc" Return
kx_check "« 12abc » est refusé avec sa raison" \
  kx_until 10 grep -q "^refused $(kx_panel_field spinner 3 2) « 12abc » n'est pas un nombre" "$KX_LAYOUT"
kx_check "« 12abc » ne change pas la valeur" kx_eq "$(kx_panel_field spinner 3 9)" 12.5
# Typed, then left with Tab, or with a click elsewhere. The panel layer
# hands ImGui the keys and the click a frame apart, in order, however fast
# they come.
kx_panel_enter 3 33 Tab
kx_check "Tab garde la valeur tapée" kx_until 10 kx_panel_is spinner 3 9 33
kx_panel_click spinner-field 4
xdotool key ctrl+a; xdotool type -- 44 2>/dev/null
kx_panel_click spinner-field 0
kx_check "un clic ailleurs garde la valeur tapée" kx_until 10 kx_panel_is spinner 4 9 44
kx_check "et le bras la prend" kx_until 10 eval 'near "$(readout_angles | cut -d" " -f4-5) 0 0 0 0" "33 44 0 0 0 0" 2>/dev/null'

kx_import "$KX_PANEL" "$W/panel.png"
kx_key "$wid" Escape
kx_wait_exit 10
kx_check "Escape: statut 0" kx_eq "$KX_EXIT_STATUS" 0
[ -n "${KX_PICTURES:-}" ] && mkdir -p "$KX_PICTURES" && cp "$W"/*.png "$KX_PICTURES/"
kx_finish
