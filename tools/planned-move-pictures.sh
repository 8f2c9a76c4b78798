#!/usr/bin/env bash
# Makes the README's pictures of planned moves through the command port,
# with the trail shown, in a virtual display:
#   docs/planned-refused.png    a line checked and refused: its way green as
#                               far as it can be done, red from there, a mark
#                               where it fails;
#   docs/planned-line-joint.png the same two poses joined by a movel (a
#                               straight line) and by a movej back (a curve).
# The program works on a copy of the default data set.
# Usage: tools/planned-move-pictures.sh [BUILD_DIR]
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfb-lib.sh"
build="$(realpath "${1:-$here/../build}")"
docs="$here/../docs"
work=$(mktemp -d /tmp/kx-pictures.XXXXXX)
trap 'kx_stop_all; rm -rf "$work"' EXIT
cp -r "$here/../default" "$work/data"
kx_start_xvfb 1280x1024x24 || exit 1
kx_start_app "$work" "$work/console.txt" "$build/kalimbrax" "$work/data" --port 0
kx_until 30 grep -q "Port de commande ouvert" "$work/console.txt" || { cat "$work/console.txt" >&2; exit 1; }
port=$(sed -n 's/.*Port de commande ouvert : 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/console.txt" | head -n 1)

PYTHONPATH="$here/../clients/python" python3 - "$port" <<'PY' || exit 1
import sys
from kalimbrax import Kalimbrax, KalimbraxError

with Kalimbrax(int(sys.argv[1])) as k:
    # The hand pointing down, the wrist centre 400 units to the side of
    # the base's x axis; the trail starts empty, so the refused line shows
    # alone.
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
    print("movel : %.2f s" % k.movel(600, 400, 450, *hand))
    print("movej : %.2f s" % k.movej(*start))
    k.camera_look(20, 40, 19)
    k.screenshot("planned-line-joint.png")
    k.exit()
PY
kx_wait_exit 30
cp "$work/data/planned-refused.png" "$work/data/planned-line-joint.png" "$docs/" && echo "images écrites dans $docs"
