#!/usr/bin/env bash
# Makes the README's pictures in docs/ with the real program under a virtual
# display, driven through its command port and its panel like the end-to-end
# tests drive it (tests/e2e/lib.sh): every picture can be made again after a
# change. Look at them before committing them.
# Usage: tools/docs-pictures.sh [BUILD_DIR]
set -u
here="$(cd "$(dirname "$0")" && pwd)"
export KX_SOURCE="$(cd "$here/.." && pwd)"
export KX_BUILD="$(realpath "${1:-$KX_SOURCE/build}")"
. "$KX_SOURCE/tests/e2e/lib.sh"
docs="$KX_SOURCE/docs"

kx_start_xvfb 1400x1000x24 || exit 1
data=$(kx_data_copy)
kx_launch_panel "$data" "Kalimbrax" --port 0 || { echo "les fenêtres n'apparaissent pas" >&2; exit 1; }
kx_connect || { echo "pas de port de commande" >&2; exit 1; }
send() { kx_send "$1" >/dev/null || echo "  « $1 » refusé" >&2; }

# rollout_open TITLE: opens a closed rollout of the panel, waited for.
rollout_open() {
  local row
  row=$(awk -v t="$1" '$1 == "rollout" { l = $0; for (i = 1; i <= 9; i++) sub(/^[^ ]+ /, "", l); if (l == t) { print; exit } }' "$KX_LAYOUT")
  [ "$(echo "$row" | awk '{ print $9 }')" = 1 ] && return 0
  # shellcheck disable=SC2046
  xdotool mousemove --window "$KX_PANEL" $(echo "$row" | awk '{ print int($4 + $6 / 2), int($5 + $7 / 2) }') click 1
  kx_until 10 awk -v i="$(echo "$row" | awk '{ print $2 }')" '$1 == "rollout" && $2 == i && $9 == 1 { f = 1 } END { exit !f }' "$KX_LAYOUT"
}
rollout_close() {
  local row
  row=$(awk -v t="$1" '$1 == "rollout" { l = $0; for (i = 1; i <= 9; i++) sub(/^[^ ]+ /, "", l); if (l == t) { print; exit } }' "$KX_LAYOUT")
  [ "$(echo "$row" | awk '{ print $9 }')" = 0 ] && return 0
  # shellcheck disable=SC2046
  xdotool mousemove --window "$KX_PANEL" $(echo "$row" | awk '{ print int($4 + $6 / 2), int($5 + $7 / 2) }') click 1
  kx_until 10 awk -v i="$(echo "$row" | awk '{ print $2 }')" '$1 == "rollout" && $2 == i && $9 == 0 { f = 1 } END { exit !f }' "$KX_LAYOUT"
}
# panel_shot OUT [CROP]: the panel window, the pointer moved off it first so
# that no tooltip shows; CROP as ImageMagick's WxH+X+Y.
panel_shot() {
  xdotool mousemove --window "$KX_PANEL" 0 0
  # The panel follows a change within a frame; the layout dump is written
  # after that frame.
  kx_until 5 test -s "$KX_LAYOUT"
  import -window "$KX_PANEL" ${2:+-crop "$2" +repage} "$1"
}
# rollout_box TITLE: the WxH+X+Y of a rollout and what it holds: down to the
# next rollout of its column, or to the lowest control under it.
rollout_box() {
  awk -v t="$1" '$1 == "rollout" { l = $0; for (i = 1; i <= 9; i++) sub(/^[^ ]+ /, "", l)
      n++; x[n] = $4; y[n] = $5; w[n] = $6; name[n] = l }
    $1 != "window" && $1 != "tooltip" && $1 != "refused" && $7 > 0 { m++; cx[m] = $4; cy[m] = $5; cb[m] = $5 + $7 }
    END { for (i = 1; i <= n; i++) if (name[i] == t) {
            b = 1e9; for (j = 1; j <= n; j++) if (x[j] == x[i] && y[j] > y[i] && y[j] < b) b = y[j]
            if (b == 1e9) { b = y[i]; for (k = 1; k <= m; k++) if (cx[k] >= x[i] && cx[k] < x[i] + w[i] && cy[k] >= y[i] && cb[k] + 4 > b) b = cb[k] + 4 }
            printf "%dx%d+%d+%d\n", w[i] + 4, b - y[i] + 2, x[i] - 2, y[i] - 2 } }' "$KX_LAYOUT"
}

# The scene and the panel at start, side by side.
send "camera reset"
panel_shot "$KX_WORK/panel-start.png"
# Both windows, as they stand on the screen from its top left corner.
eval "$(xdotool getwindowgeometry --shell "$KX_PANEL")"
import -window root -crop "$((X + WIDTH))x$((Y + HEIGHT > 600 ? Y + HEIGHT : 600))+0+0" +repage "$docs/scene.png"
cp "$KX_WORK/panel-start.png" "$docs/panel.png"

# The jog's rollout, opened for its picture and closed again: open, with the
# curves' below it, the panel would pass the screen's height.
rollout_open "Déplacement manuel"
panel_shot "$docs/jog.png" "$(rollout_box "Déplacement manuel")"
rollout_close "Déplacement manuel"

# Planned moves with the trail shown: a line checked and refused (its way
# green as far as it can be done, red from there, a mark where it fails),
# then the same two poses joined by a movel (a straight line) and by a movej
# back (a curve).
PYTHONPATH="$KX_SOURCE/clients/python" python3 - "$(kx_command_port)" <<'PY' || echo "  images des mouvements planifiés manquées" >&2
import sys
from kalimbrax import Kalimbrax, KalimbraxError

with Kalimbrax(int(sys.argv[1])) as k:
    # The hand pointing down, the wrist centre 400 units to the side of the
    # base's x axis; no motion yet, so the refused line shows alone.
    hand = (90, 90, 180)
    start = k.pose(600, -400, 450, *hand)
    k.show("trail")
    try:
        k.check("movel", 1150, 350, 450, *hand)
        sys.exit("la ligne hors d'atteinte n'est pas refusée")
    except KalimbraxError as e:
        print("refusée :", e)
    k.camera_look(0, 45, 26)
    k.screenshot("planned-refused.png")
    k.movel(600, 400, 450, *hand)
    k.movej(*start)
    k.camera_look(20, 40, 19)
    k.screenshot("planned-line-joint.png")
    k.show("trail", False)
    k.camera_orbit(False)
    k.camera_reset()
PY
mv "$data/planned-refused.png" "$data/planned-line-joint.png" "$docs/"

# The curves of a synchronised joint move: every joint ends together.
rollout_open "Courbes"
send "movej 40 20 30 -30 80 45"
panel_shot "$docs/curves.png" "$(rollout_box "Courbes")"

# The singularity readout near the wrist's singularity: orange.
send "angles -25 45 15 0 1 0"
panel_shot "$docs/singularity.png" "$(rollout_box "Bras")"

# The camera turning around the arm.
send "angles -25 45 15 0 60 0"
send "camera orbit on"
send "camera look -70 22 24"
kx_send "screenshot orbit.png" >/dev/null && mv "$data/orbit.png" "$docs/orbit.png"
send "camera orbit off"
send "camera reset"

# Every configuration of a pose, labelled at its elbow: four ways to hold
# the arm, each with its wrist and the flipped twin that nearly lies on it.
send "angles 0 45 0 30 50 0"
send "show configurations on"
send "camera look 288 14 19"
kx_send "screenshot configurations.png" >/dev/null && mv "$data/configurations.png" "$docs/configurations.png"
send "show configurations off"
send "camera orbit off"
send "camera reset"

# The cell (collisions are shown at start): a table that the forearm, the
# wrist and the hand reach into, red with them, and a part on it; then a
# line refused where the hand meets a low wall, its way green up to the
# contact and red from it.
send "angles -25 45 15 0 60 0"
send "object box table 780 -300 260 420 360 520"
send "object color table #b08a5a"
send "object cylinder part 900 -180 580 45 120"
send "object color part #3a78d8"
send "camera look 10 30 22"
kx_send "screenshot cell.png" >/dev/null && mv "$data/cell.png" "$docs/cell.png"
send "object remove all"
send "object box wall 760 0 225 360 40 450"
send "object color wall #b08a5a"
send "trail clear"
send "show trail on"
kx_send "check movel 742.88 346.41 538.76 -102.5 -30.5987129 158.392899" >/dev/null 2>&1
send "camera look 20 35 22"
kx_send "screenshot cell-refused.png" >/dev/null && mv "$data/cell-refused.png" "$docs/cell-refused.png"
send "show trail off"
send "object remove all"
send "camera orbit off"
send "camera reset"

# A program (README, "Programmer le bras") over a table: the frame "table"
# with its name, the points taught in it, the tool frame lifted above P1, and
# the trail of the loop with its rounded corners.
send "angles -25 45 15 0 60 0"
send "object box table 619 -331 125 400 350 250"
send "object color table #b08a5a"
for line in "frame table 743 -346 250 0 0 30" "frame use table" "jog frame z -50" "point P1" "jog frame x -200" \
  "point P2" "jog frame y 150" "point P3" "jog frame x 200" "point P4" "movej @P1" "trail clear" "show trail on" \
  "movel @P2 @P3 @P4 @P1 blend 30" "jog frame z 100" "show frames on" "show points on" "camera look 20 55 21"; do
  send "$line"
done
kx_send "screenshot program.png" >/dev/null && mv "$data/program.png" "$docs/program.png"
for line in "show frames off" "show points off" "show trail off" "frame remove table" "point remove P1" \
  "point remove P2" "point remove P3" "point remove P4" "object remove all" "camera orbit off" "camera reset"; do
  send "$line"
done

# What alpha, beta and gamma mean.
"$KX_BUILD/kalimbrax-orientation" 120 50 70 >"$docs/orientation.svg"

send "exit"
echo "images écrites dans $docs"
