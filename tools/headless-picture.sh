#!/usr/bin/env bash
# Runs Kalimbrax in a virtual display on the demo script (clients/demo.txt),
# which moves the arm, takes a picture and ends the program, and says where
# the picture is: what ./run.sh does on a machine without a display. The
# program works on a copy of the data directory, so nothing is written into
# it.
# Usage: headless-picture.sh PROGRAM DATA_DIR OUT.png
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfb-lib.sh"
program="$(realpath "$1")" data="$(realpath "$2")" out="$(realpath -m "$3")"
work=$(mktemp -d /tmp/kx-headless.XXXXXX)
trap 'kx_stop_all; rm -rf "$work"' EXIT
cp -r "$data" "$work/data"
kx_start_xvfb 1280x1024x24 || exit 1
log="$(dirname "$out")/kalimbrax-headless.log"
kx_start_app "$(dirname "$out")" "$log" "$program" "$work/data" --script "$here/../clients/demo.txt"
kx_wait_exit 120
if [ "$KX_EXIT_STATUS" -ne 0 ] || [ ! -s "$work/data/demo.png" ]; then
  echo "Le programme s'est arrêté sans image (statut $KX_EXIT_STATUS) ; voir $log" >&2
  cat "$log" >&2
  exit 1
fi
cp "$work/data/demo.png" "$out" || exit 1
echo "Pas d'écran disponible : Kalimbrax a joué clients/demo.txt dans un écran virtuel."
echo "Image de la scène enregistrée dans $out"
