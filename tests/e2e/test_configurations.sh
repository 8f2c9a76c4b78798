#!/usr/bin/env bash
# The configurations of the arm's pose through the command port: `show
# configurations on|off` draws and takes away the ghosts, switched off the
# picture is the one before to the byte, the ghosts follow the arm however
# it moves, and a configuration that the limits of glui.opt rule out shows
# red, as one that touches something does with `show collisions on` (the
# default data set's start): four of the pose's eight reach through the
# floor.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
W="$KX_WORK"

# Fraction of the picture that is plainly red: red above green and blue by
# a quarter of the range each.
kx_red_fraction() {
  convert "$1" -separate \
    \( -clone 0 -clone 1 -compose minus_src -composite -threshold 25% \) \
    \( -clone 0 -clone 2 -compose minus_src -composite -threshold 25% \) \
    -delete 0-2 -evaluate-sequence min -format "%[fx:mean]" info:
}
# The red that the ghosts add to picture A over picture B.
red_added() { awk -v a="$(kx_red_fraction "$1")" -v b="$(kx_red_fraction "$2")" 'BEGIN { print a - b }'; }

# Eight configurations, seen from the side.
eight="angles 20 30 -40 25 50 -10"
side="camera look 250 20 16"

# --- The default limits: every configuration fits ---------------------------
# The arm four times quicker: its one motion is here for where it leaves the
# ghosts, not for how long it takes.
data=$(kx_data_copy)
kx_fast_moves "$data" 4 || { kx_fail "vitesses du bras"; kx_finish; }
kx_launch "$data" KX-E2E-Configurations --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }
kx_send "show collisions off" >/dev/null
kx_send "$eight" >/dev/null && kx_send "$side" >/dev/null
kx_shot before
kx_check "show configurations on" kx_send "show configurations on"
kx_shot shown
kx_check "show configurations off" kx_send "show configurations off"
kx_shot after
kx_check "un mot inconnu est refusé" eval '! kx_send "show configurations maybe" 2>/dev/null'
kx_check "les fantômes changent l'image" kx_lt 0.01 "$(kx_difference "$W/before.png" "$W/shown.png")"
kx_check "éteints, l'image est celle d'avant à l'octet" cmp -s "$W/before.png" "$W/after.png"
kx_check "dans les limites, pas de rouge ajouté" kx_lt "$(red_added "$W/shown.png" "$W/before.png")" 0.0005
kx_send "show configurations on" >/dev/null && kx_send "show collisions on" >/dev/null && kx_shot touching
kx_check "avec les collisions, les configurations qui touchent sont rouges" \
  kx_lt 0.002 "$(red_added "$W/touching.png" "$W/shown.png")"
kx_send "show collisions off" >/dev/null && kx_send "show configurations off" >/dev/null

# The ghosts follow the arm: set at once, and moved by a motion, they are
# those of the new pose, as when switched on there.
kx_send "show configurations on" >/dev/null
kx_send "angles 0 45 0 30 50 0" >/dev/null && kx_shot set
kx_send "show configurations off" >/dev/null && kx_send "show configurations on" >/dev/null && kx_shot set-fresh
kx_check "les fantômes suivent les angles" cmp -s "$W/set.png" "$W/set-fresh.png"
kx_send "moveto 20 30 -40 25 50 -10" >/dev/null && kx_shot moved
kx_send "show configurations off" >/dev/null && kx_send "show configurations on" >/dev/null && kx_shot moved-fresh
kx_check "les fantômes suivent le mouvement" cmp -s "$W/moved.png" "$W/moved-fresh.png"
kx_send exit >/dev/null
kx_wait_exit 10

# --- A56 kept positive: the flipped wrists are out of the limits -------------
limited=$(kx_data_copy limited)
kx_set_option "$limited/glui.opt" fAngle56MinValue 0.0
kx_launch "$limited" KX-E2E-Configurations --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }
kx_send "show collisions off" >/dev/null
kx_send "$eight" >/dev/null && kx_send "$side" >/dev/null
kx_shot limited-before
kx_send "show configurations on" >/dev/null && kx_shot limited-shown
kx_check "hors des limites, les fantômes et leurs noms sont rouges" \
  kx_lt 0.002 "$(red_added "$W/limited-shown.png" "$W/limited-before.png")"
kx_send exit >/dev/null
kx_wait_exit 10
kx_check "statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_finish
