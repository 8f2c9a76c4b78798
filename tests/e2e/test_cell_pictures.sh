#!/usr/bin/env bash
# The cell as a person sees it, in the real program on the default data set
# (collisions shown at start): a table that the forearm, the wrist and the
# hand reach into and a part on it; what touches is red, and nothing is red
# with `show collisions off`; the table hidden from the panel's "Cellule"
# list is not drawn but still checked, the links staying red; the "Bras"
# readout names the contact, then the margin once it is gone; and a line
# through a wall is refused at the contact, its way green up to it and red
# from it.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb 1400x1000x24 || exit 1
W="$KX_WORK"
data=$(kx_data_copy)
kx_launch_panel "$data" KX-E2E-Cell --port 0 || { kx_fail "les fenêtres n'apparaissent pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }

# Plain red: what touches, shaded by the light. Green: the trail's way.
red() { kx_fraction "$1" "r>0.45&&g<0.15&&b<0.15"; }
green() { kx_fraction "$1" "g>0.5&&r<0.4&&b<0.4"; }
# The line of the panel's dump whose text starts with the words given.
panel_says() { grep -q "^statictext [0-9]* -1 [0-9 ]*$1" "$KX_LAYOUT"; }

kx_send "object box table 780 -300 260 420 360 520" >/dev/null
kx_send "object color table #b08a5a" >/dev/null
kx_send "object cylinder part 900 -180 580 45 120" >/dev/null
kx_send "object color part #3a78d8" >/dev/null
kx_send "camera look 10 30 22" >/dev/null
kx_check "le bras touche la table" kx_eq "$(kx_send "get collisions")" "3 LowerArm:table Wrist:table Hand:table"
kx_shot cell
kx_check "les collisions en rouge" kx_lt 0.03 "$(red "$W/cell.png")"
kx_check "le panneau dit le contact" kx_until 10 panel_says "Collision : l'avant-bras et « table »"
kx_send "show collisions off" >/dev/null && kx_shot cell-off
kx_check "sans les collisions, pas de rouge" kx_lt "$(red "$W/cell-off.png")" 0.0005
kx_check "la case de l'affichage suit" kx_until 10 kx_panel_is checkbox 13 9 0

# The "Cellule" rollout opened: its box Collisions is the display's switch,
# and a click on the table's row hides it: gone from the picture, still
# touched.
rollout=$(awk '$1 == "rollout" && / Cellule$/ { print int($4 + $6 / 2), int($5 + $7 / 2); exit }' "$KX_LAYOUT")
# shellcheck disable=SC2086
xdotool mousemove --window "$KX_PANEL" $rollout click 1
kx_check "le volet Cellule s'ouvre" kx_until 10 awk '$1 == "rollout" && / Cellule$/ && $9 == 1 { f = 1 } END { exit !f }' "$KX_LAYOUT"
kx_check "la liste des objets paraît" kx_until 10 awk '$1 == "canvas" && $3 == 2 && $7 == 40 { f = 1 } END { exit !f }' "$KX_LAYOUT"
# The cell's box is the other one labelled Collisions than the display's (13).
cell_box=$(awk '$1 == "checkbox" && $3 != 13 && / Collisions$/ { print $3; exit }' "$KX_LAYOUT")
kx_check "la case Collisions de la cellule les remontre" kx_panel_set checkbox "$cell_box" 9 1
kx_check "et celle de l'affichage aussi" kx_until 10 kx_panel_is checkbox 13 9 1
# shellcheck disable=SC2046
xdotool mousemove --window "$KX_PANEL" $(awk '$1 == "canvas" && $3 == 2 { print $4 + 30, $5 + 10; exit }' "$KX_LAYOUT") click 1
kx_shot cell-hidden
hidden=$(red "$W/cell-hidden.png")
kx_check "la table cachée n'est plus dessinée" kx_lt "$hidden" "$(awk -v r="$(red "$W/cell.png")" 'BEGIN { print r / 4 }')"
kx_check "les segments qui la touchent restent rouges" kx_lt 0.005 "$hidden"
kx_check "cachée, elle est vérifiée" kx_eq "$(kx_send "get collisions")" "3 LowerArm:table Wrist:table Hand:table"

kx_send "object remove all" >/dev/null
kx_check "sans la table, le panneau dit la marge" kx_until 10 panel_says "Marge : 14,3 (le bras et l'avant-bras)"

# A line through a low wall: the hand hits it, the wrist centre's way
# passes above it.
kx_send "object box wall 760 0 225 360 40 450" >/dev/null
kx_send "object color wall #b08a5a" >/dev/null
kx_send "show trail on" >/dev/null
kx_send "camera look 20 35 22" >/dev/null
kx_shot wall-before
reply=$(kx_send "check movel 742.88 346.41 538.76 -102.5 -30.5987129 158.392899" 2>&1)
kx_check "la ligne est refusée au contact" kx_contains <(echo "$reply") "collision entre la main et « wall » à 37 % du chemin"
kx_shot wall
kx_check "le chemin vert jusqu'au contact" kx_lt 0.0003 "$(green "$W/wall.png")"
kx_check "puis rouge" kx_lt 0.0003 "$(red "$W/wall.png")"
kx_check "rien de rouge ni de vert avant" kx_lt "$(awk -v r="$(red "$W/wall-before.png")" -v g="$(green "$W/wall-before.png")" 'BEGIN { print r + g }')" 0.00005

kx_send exit >/dev/null
kx_wait_exit 10
kx_check "statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_finish
