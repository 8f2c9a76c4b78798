#!/usr/bin/env bash
# Runs Kalimbrax in a virtual display, saves a picture of its windows and
# says where: what ./run.sh does on a machine without a display.
# Usage: headless-picture.sh PROGRAM DATA_DIR OUT.png
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfb-lib.sh"
program="$1" data="$2" out="$3"
trap kx_stop_all EXIT
kx_start_xvfb 1280x1024x24 || exit 1
log="$(dirname "$out")/kalimbrax-headless.log"
kx_start_app "$(dirname "$out")" "$log" "$program" "$data"
wid=$(kx_wait_window "" 30) || { echo "Le programme s'est arrêté ; voir $log" >&2; cat "$log" >&2; exit 1; }
sleep 2   # let both windows draw their first frames
import -window root "$out" || exit 1
kx_key "$wid" Escape
kx_wait_exit 10 >/dev/null
echo "Pas d'écran disponible : Kalimbrax a tourné dans un écran virtuel."
echo "Image de la scène enregistrée dans $out"
