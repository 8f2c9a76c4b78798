#!/usr/bin/env bash
# A window resized without a window manager (xdotool windowsize sends no
# expose event) shows the scene at its new size at once, and F6 right after
# writes that picture: the same as a window opened at that size.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb 1600x1024x24 || exit 1

# The reference: a window opened at each size.
reference() {  # reference W H NAME
  local data; data=$(kx_data_copy "ref-$3")
  kx_set_option "$data/graphics.opt" iScreenWidth "$1"
  kx_set_option "$data/graphics.opt" iScreenHeight "$2"
  kx_launch "$data" "KX-Ref-$3" || { kx_fail "fenêtre de référence $3"; return; }
  kx_screenshot "$KX_WID" "$data" "$KX_WORK/$3-ref.png" || kx_fail "image de référence $3"
  kx_key "$KX_WID" Escape; kx_wait_exit 10
}
reference 640 480 small
reference 1000 700 large

# At the screen's corner, the panel out of the way: the X picture of the
# window is then the whole window.
data=$(kx_data_copy)
kx_set_option "$data/graphics.opt" iWindowPosX 0
kx_set_option "$data/graphics.opt" iWindowPosY 0
kx_launch_panel "$data" || { kx_fail "les fenêtres n'apparaissent pas"; kx_finish; }
xdotool windowmove "$KX_PANEL" 1100 0
wid=$KX_WID
for size in "640 480 small" "1000 700 large"; do
  read -r w h name <<<"$size"
  xdotool windowsize "$wid" "$w" "$h"
  kx_key "$wid" F6
  kx_until 10 test -s "$data/screenshot.tga"   # written aside, then renamed: whole
  kx_check "$name : F6 juste après : ${w}x$h dans l'en-tête" kx_eq "$(od -An -tu2 -j12 -N4 "$data/screenshot.tga" | xargs)" "$w $h"
  convert "$data/screenshot.tga" -flip "$KX_WORK/$name.png"
  kx_check "$name : la scène, comme dans une fenêtre ouverte à cette taille" \
    kx_lt "$(kx_difference "$KX_WORK/$name.png" "$KX_WORK/$name-ref.png")" 0.01
  # Without a key: the window redrew itself at the new size.
  kx_import "$wid" "$KX_WORK/$name-x11.png"
  kx_check "$name : la fenêtre montre la même image" \
    kx_lt "$(kx_difference "$KX_WORK/$name.png" "$KX_WORK/$name-x11.png")" 0.01
  rm -f "$data/screenshot.tga"
done

kx_key "$wid" Escape
kx_wait_exit 10
kx_check "Escape: statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_finish
