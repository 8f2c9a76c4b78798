#!/usr/bin/env bash
# The camera can always be brought back: a hundred Page Down leave the eye
# above the ground (the scene still shows), Home restores the start view
# after moves and drags, and the mouse wheel moves forward and back like the
# Up and Down keys.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_launch_panel "$data" KX-E2E-Scene --port 0 || { kx_fail "les fenêtres n'apparaissent pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }
wid=$KX_WID
W="$KX_WORK"
shot() { kx_shot "$1" || kx_fail "image $1"; }
same() { kx_lt "$(kx_difference "$W/$1.png" "$W/$2.png")" 0.002; }
# press KEY N: N presses of a key, one event each, in one xdotool call.
press() { local keys=(); for _ in $(seq 1 "$2"); do keys+=("$1"); done; xdotool key --delay 0 --window "$wid" "${keys[@]}" 2>/dev/null; }

shot start
press Next 100
shot low
kx_check "cent Page Down : le sol se voit encore (moyenne $(kx_mean "$W/low.png"))" kx_lt 0.15 "$(kx_mean "$W/low.png")"

kx_key "$wid" Home
shot home
kx_check "Home rend la vue de départ" same start home

press Left 5; press Up 4
kx_drag "$wid" 400 300 460 340
shot moved
kx_check "les flèches et le glisser changent la vue" kx_lt 0.01 "$(kx_difference "$W/start.png" "$W/moved.png")"
kx_key "$wid" Home
shot home-again
kx_check "Home rend la vue de départ après un glisser" same start home-again

# The wheel over the window: away from the user is forward, like Up.
kx_click "$wid" 400 300 4 3
shot wheel-forward
kx_check "la molette avance" kx_lt 0.01 "$(kx_difference "$W/start.png" "$W/wheel-forward.png")"
kx_click "$wid" 400 300 5 3
shot wheel-back
kx_check "et recule autant" same start wheel-back
press Up 3
shot keys-forward
kx_check "comme la flèche haut" same keys-forward wheel-forward

kx_key "$wid" Escape
kx_wait_exit 10
kx_check "Escape: statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_finish
