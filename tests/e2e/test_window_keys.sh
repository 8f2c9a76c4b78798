#!/usr/bin/env bash
# The window-level keys: F6 writes a picture of the window's exact size, F5
# toggles wireframe and back, Escape ends with status 0.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1

# An odd width: rows of 801 x 3 bytes are not a multiple of 4.
data=$(kx_data_copy)
kx_set_option "$data/graphics.opt" iScreenWidth 801
kx_set_option "$data/graphics.opt" iScreenHeight 601
kx_set_option "$data/graphics.opt" iWindowPosX 0
kx_set_option "$data/graphics.opt" iWindowPosY 0
kx_launch "$data" || { kx_fail "la fenêtre n'apparaît pas"; cat "$KX_WORK/run/console.txt"; kx_finish; }
wid=$KX_WID
# Each record reaches its file as it is written, not when the program ends.
kx_check "le journal de debug est écrit pendant que le programme tourne" \
  grep -q -- '- -- Debut du fichier de debug --$' "$KX_WORK/run/robot_debug.log"
# The panel out of the way, so that the X picture of the window is all of it.
panel=$(kx_wait_window "^$(kx_option_text "$data/glui.opt" strGLUIWindowName "Kalimbrax Controls")\$" 10)
xdotool windowmove "$panel" 820 0 2>/dev/null
panel_moved() { xdotool getwindowgeometry "$panel" | grep -q "Position: 820,0 "; }
kx_check "panneau déplacé" kx_until 10 panel_moved

# Keys and F6 travel in order on the X connection: no wait between them.
kx_check "F6 écrit une image" kx_screenshot "$wid" "$data" "$KX_WORK/filled.png"
kx_check "taille exacte de screenshot.tga" kx_eq "$(stat -c %s "$data/screenshot.tga")" $((18 + 801 * 601 * 3))
kx_check "largeur et hauteur dans l'en-tête" kx_eq "$(od -An -tu2 -j12 -N4 "$data/screenshot.tga" | xargs)" "801 601"
kx_check "F6 le dit dans le journal" kx_contains <(kx_log_messages "$KX_WORK/run/robot_debug.log") \
  "Capture écrite : screenshot.tga (801 x 601)"
# The picture read back equals what the X server shows: no skewed rows. F6
# has drawn and shown the frame it read.
kx_import "$wid" "$KX_WORK/x11.png"
kx_check "image F6 identique à la fenêtre" kx_lt "$(kx_difference "$KX_WORK/filled.png" "$KX_WORK/x11.png")" 0.01

kx_key "$wid" F5
kx_screenshot "$wid" "$data" "$KX_WORK/wire.png"
kx_check "F5 passe en fil de fer" kx_lt 0.02 "$(kx_difference "$KX_WORK/filled.png" "$KX_WORK/wire.png")"
kx_key "$wid" F5
kx_screenshot "$wid" "$data" "$KX_WORK/filled2.png"
kx_check "F5 revient au plein" kx_lt "$(kx_difference "$KX_WORK/filled.png" "$KX_WORK/filled2.png")" 0.002

kx_key "$wid" Home; kx_key "$wid" a
kx_screenshot "$wid" "$data" "$KX_WORK/home.png"
kx_check "Home et une lettre ne changent rien" kx_lt "$(kx_difference "$KX_WORK/filled.png" "$KX_WORK/home.png")" 0.002

kx_key "$wid" Escape
kx_wait_exit 10
kx_check "Escape: statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_check "rien d'écrit dans le journal d'erreur" kx_eq "$(kx_log_messages "$KX_WORK/run/robot_error.log" | wc -l)" 1
kx_finish
