#!/usr/bin/env bash
# The exact inverse model through the panel, on default/: a pose typed with
# immediate mode off puts the arm on it; Z stepped up one arrow click at a
# time moves the wrist centre one unit each time without a flip; a pose out
# of reach stretches the arm toward it and the status line says so. The
# arm's pose is read back with kalimbrax-kin from the angles the panel shows.
# Every click and value is waited for in the panel's layout dump; the
# pictures come from the command port. KX_PICTURES=DIR keeps them there.
# The pictures are compared with each other only: the graphics window is
# small (kx_small_window).
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_small_window "$data"
kx_launch_panel "$data" KX-E2E-Scene --port 0 || { kx_fail "les fenêtres n'apparaissent pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }
W="$KX_WORK"

kin() { "$KX_BUILD/kalimbrax-kin" "$@" 2>/dev/null; }
shot() { kx_shot "$1" || kx_fail "image $1"; }
# The status line sits right after the last pose spinner (id 15).
status() { kx_panel_text $(( $(kx_panel_field spinner 15 2) + 1 )); }
# pose_of ANGLES: the forward model of six angles.
pose_of() { echo "$1" | kin mgd "$data"; }
# near A B TOLERANCE: the first three numbers of A and B within the tolerance
# of each other, and the next three (angles, degrees) within 0.01.
near() {
  awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN {
    n = split(a, x, " "); split(b, y, " ")
    for (i = 1; i <= n; ++i) {
      d = x[i] - y[i]; if (d < 0) d = -d
      if (d > (i <= 3 ? t : 0.01)) { print "  valeur " i " : " x[i] " contre " y[i] > "/dev/stderr"; exit 1 }
    }
  }'
}
# largest_jump A B: the largest joint difference between two angle sets.
largest_jump() {
  awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " "); m = 0
    for (i = 1; i <= 6; ++i) { d = (x[i] - y[i]) % 360; if (d < 0) d = -d; if (d > 180) d = 360 - d; if (d > m) m = d }
    print m }'
}

kx_check "le statut dit comment le bras se tient ($(status))" \
  kx_eq "$(status)" "Configuration : vers l'avant, coude en haut, poignet non retourné"

# The pose spinners start at the arm's pose, which "Calcul MGD" gives again;
# then immediate mode off, every pose change moves the arm.
fields() { kx_panel_values spinner 10 11 12 13 14 15; }
kx_check "la pose affichée au départ est celle du bras" near "$(fields)" "$(pose_of "$(kx_panel_angles)")" 0.01
# The click on "Calcul MGD" changes nothing to wait for: the checkbox
# clicked after it does, and the panel takes its input in order.
kx_panel_click button 2
kx_check "mode immédiat décoché" kx_panel_set checkbox 2 9 0
kx_check "« Calcul MGD » la redonne" near "$(fields)" "$(pose_of "$(kx_panel_angles)")" 0.01
start_angles=$(kx_panel_angles)
shot start

# A pose typed value by value: after the last one the arm holds it.
target=$(pose_of "10 30 20 15 50 -20")
read -r -a values <<<"$target"
for i in 0 1 2 3 4 5; do kx_check "valeur $((i + 1)) de la pose tapée" kx_panel_type $((10 + i)) "${values[$i]}"; done
reached=$(pose_of "$(kx_panel_angles)")
kx_check "la pose tapée est atteinte ($reached)" near "$reached" "$target" 0.01
kx_check "le statut dit atteinte" kx_eq "$(status | cut -d ';' -f 1)" "Pose atteinte "
shot typed
kx_check "le bras a bougé" kx_lt 0.001 "$(kx_difference "$W/start.png" "$W/typed.png")"

# Z one arrow click at a time: one unit up each time, joints a little.
previous_angles=$(kx_panel_angles)
previous=$reached
for step in 1 2 3 4 5; do
  kx_check "pas $step : la flèche change Z" kx_panel_click_changes spinner-up 12 9
  angles=$(kx_panel_angles)
  now=$(pose_of "$angles")
  expected=$(echo "$previous" | awk '{ $3 += 1; print }')
  kx_check "pas $step : Z monte d'une unité" near "$now" "$expected" 0.01
  kx_check "pas $step : pas de retournement" kx_lt "$(largest_jump "$angles" "$previous_angles")" 5
  previous_angles=$angles
  previous=$now
done
shot stepped

# Out of reach: the arm stretches toward X = 5000 and the status says how far.
kx_check "X = 5000 tapé" kx_panel_type 10 5000
far=$(pose_of "$(kx_panel_angles)")
kx_check "hors d'atteinte dit ($(status))" kx_eq "$(status | cut -d ':' -f 1)" "Hors d'atteinte "
kx_check "bras tendu vers la cible" kx_contains <(status) "bras tendu"
kx_check "le poignet s'approche de X = 5000" kx_lt "$(echo "$previous" | awk '{ print $1 }')" "$(echo "$far" | awk '{ print $1 }')"
shot far
kx_import "$KX_PANEL" "$W/panel-far.png"

kx_key "$KX_WID" Escape
kx_wait_exit 10
kx_check "Escape: statut 0" kx_eq "$KX_EXIT_STATUS" 0
[ -n "${KX_PICTURES:-}" ] && mkdir -p "$KX_PICTURES" && cp "$W"/*.png "$KX_PICTURES/"
kx_finish
