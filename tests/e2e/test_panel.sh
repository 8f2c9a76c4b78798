#!/usr/bin/env bash
# The control panel end to end on default/ (its joints twice as quick): its
# window and layout, a joint spinner moving the arm at once, and real-time
# motion started by GO, ending by itself, and stopped where it is by
# unchecking RT (the arm's angles unchanged a tick later, read on the port). Click positions come from the panel layer's own layout dump,
# never from guessed pixels; the arm's angles are read on the command port,
# and so are the pictures.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_fast_moves "$data" 2 || { kx_fail "vitesses du bras"; kx_finish; }
kx_launch_panel "$data" KX-E2E-Scene --port 0 || { kx_fail "les fenêtres n'apparaissent pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }
wid=$KX_WID
panel=$KX_PANEL
title=$(kx_option_text "$data/glui.opt" strGLUIWindowName "Kalimbrax Controls")
LAYOUT="$KX_LAYOUT"
W="$KX_WORK"
field() { kx_panel_field "$@"; }
shot() { kx_shot "$1" || kx_fail "image $1"; }
differ() { kx_lt 0.001 "$(kx_difference "$W/$1.png" "$W/$2.png")"; }
same() { kx_lt "$(kx_difference "$W/$1.png" "$W/$2.png")" 0.0005; }
# a12_between LOW HIGH: the arm's A12 strictly between the two, as the
# program reports it (the spinners show targets in real time).
a12_between() { awk -v a="$(kx_send "get angles" | cut -d' ' -f1)" -v l="$1" -v h="$2" 'BEGIN { exit !(a > l && a < h) }'; }

# The panel as built: eleven rollouts in two columns, RT unchecked, GO greyed.
kx_check "onze volets" kx_eq "$(grep -c '^rollout ' "$LAYOUT")" 11
columns=$(awk '$1 == "rollout" { print $4 }' "$LAYOUT" | sort -u | wc -l)
kx_check "deux colonnes" kx_eq "$columns" 2
kx_check "titre du panneau dans la disposition" kx_contains "$LAYOUT" "$title"
kx_check "GO désactivé au départ" kx_eq "$(field button 1 8)" 0
kx_check "angle de départ A23" kx_eq "$(field spinner 1 9)" 45
kx_import "$panel" "$W/panel.png"

# A click on an arrow steps the joint and the arm moves at once.
shot start
kx_check "la flèche fait un pas" kx_panel_set spinner-up 1 9 46
shot stepped
kx_check "un seul pas" kx_eq "$(kx_send "get angles" | cut -d' ' -f2)" 46
kx_check "le bras bouge aussitôt" differ start stepped

# Real time: the change only sets the target; GO moves the arm gradually
# and the motion ends by itself.
kx_panel_click checkbox 1
kx_check "RT coché active GO" kx_until 10 kx_panel_is button 1 8 1
kx_check "saisie de la cible" kx_panel_type 0 95
shot target-set
kx_check "en temps réel, la saisie ne bouge pas le bras" same stepped target-set
# 120 degrees at 120 degrees per second: a second of motion, seen on its way
# by the port, then awaited with its "wait", which completes when the motion
# has ended.
kx_panel_click button 1
kx_check "GO met le bras en mouvement" kx_until 10 a12_between -25 95
kx_check "le mouvement finit de lui-même (wait)" kx_send wait
shot arrived
kx_check "le bras est à la cible" kx_eq "$(kx_send "get angles" | cut -d' ' -f1)" 95
kx_check "l'image suit le bras" differ target-set arrived

# Unchecking RT during a motion stops the arm where it is. The target lies
# 265 degrees away, over two seconds: the click comes long before. Once GO
# is greyed, "wait" completes at once (no motion runs: a running one would
# be awaited to its target), and the angles stay the same across at least
# one more tick of the command timer, between which the motion would have
# stepped. The picture then shows the arm where it stopped.
kx_check "nouvelle cible" kx_panel_type 0 -170
kx_panel_click button 1
kx_check "GO repart" kx_until 10 a12_between -170 85
kx_panel_click checkbox 1
kx_check "GO de nouveau désactivé" kx_until 10 kx_panel_is button 1 8 0
kx_check "plus de mouvement (wait)" kx_send wait
stopped=$(kx_send "get angles")
tick=$(kx_send "get ticks")
kx_until 10 eval '[ "$(kx_send "get ticks")" -gt "$((tick + 1))" ]'
kx_check "RT décoché arrête le bras : les mêmes angles un tick plus tard" kx_eq "$(kx_send "get angles")" "$stopped"
kx_check "arrêté en chemin, pas à la cible (A12 ${stopped%% *})" \
  awk -v a="${stopped%% *}" 'BEGIN { exit !(a > -170 && a < 85) }'
shot stopped
kx_check "l'image montre le bras arrêté, ni au départ ni à l'arrivée" eval 'differ stopped arrived && differ stopped target-set'

kx_key "$wid" Escape
kx_wait_exit 10
kx_check "Escape: statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_check "rien dans le journal d'erreur" kx_eq "$(kx_log_messages "$KX_WORK/run/robot_error.log" | wc -l)" 1
[ -n "${KX_PANEL_PICTURE:-}" ] && cp "$W/panel.png" "$KX_PANEL_PICTURE"
kx_finish
