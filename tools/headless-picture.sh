#!/usr/bin/env bash
# Runs Kalimbrax in a virtual display, saves a picture of its two windows and
# says where: what ./run.sh does on a machine without a display.
# Usage: headless-picture.sh PROGRAM DATA_DIR OUT.png
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfb-lib.sh"
program="$(realpath "$1")" data="$(realpath "$2")" out="$(realpath -m "$3")"
trap kx_stop_all EXIT
kx_start_xvfb 1280x1024x24 || exit 1
log="$(dirname "$out")/kalimbrax-headless.log"
kx_start_app "$(dirname "$out")" "$log" "$program" "$data"

# The window titles come from the option files; both windows are there once
# the panel is.
title=$(kx_option_text "$data/graphics.opt" sWindowName "Kalimbrax ver 0.alpha")
panel=$(kx_option_text "$data/glui.opt" strGLUIWindowName "Kalimbrax Controls")
main=$(kx_wait_window "^$title\$" 30) && panelWindow=$(kx_wait_window "^$panel\$" 10) || {
  echo "Le programme s'est arrêté ; voir $log" >&2; cat "$log" >&2; exit 1; }
# Without a window manager both windows open at the same place: put the
# panel beside the scene, as a desktop would.
xdotool windowmove "$panelWindow" "$(( $(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p') + 10 ))" 0
sleep 2   # let both windows draw their first frames
import -window root -trim "$out" || exit 1
kx_key "$main" Escape
kx_wait_exit 10
echo "Pas d'écran disponible : Kalimbrax a tourné dans un écran virtuel."
echo "Image de la scène enregistrée dans $out"
