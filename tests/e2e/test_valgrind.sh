#!/usr/bin/env bash
# Memory check of the real program: the simulator on the default data set,
# under valgrind's memcheck, draws, takes screenshots and toggles every
# display option by its key (F6, F4, F9 to F12), draws in wireframe (F5),
# teaches a pose (F8), moves the camera, then ends on Escape; the panel
# follows the keys. Any
# invalid read or write or use of an uninitialised value outside the few
# library faults of valgrind.supp fails the test; leaks are not checked (the
# scene and its meshes live until the process ends, by design).
#
# Mesa draws with softpipe, its plain C rasteriser: llvmpipe compiles its
# shaders with LLVM at run time, which is slow under valgrind and hides
# nothing of ours. Drawing is still slow here (seconds a frame): the waits
# are long. Origins of uninitialised values are not tracked (a third of the
# time, and no error fewer is found): KX_VALGRIND_ORIGINS=1 tracks them, to
# read a report.
. "$(dirname "$0")/lib.sh"
command -v valgrind >/dev/null || { echo "valgrind absent"; exit 1; }
kx_start_xvfb || exit 1

data=$(kx_data_copy)
kx_set_option "$data/graphics.opt" sWindowName '"KX-E2E-Valgrind"'
kx_set_option "$data/graphics.opt" iWindowPosX 0
kx_set_option "$data/graphics.opt" iWindowPosY 0
mkdir -p "$KX_WORK/run"
vglog="$KX_WORK/valgrind.log"
export GALLIUM_DRIVER=softpipe LIBGL_ALWAYS_SOFTWARE=1
kx_start_app "$KX_WORK/run" "$KX_WORK/run/console.txt" \
  valgrind --tool=memcheck --error-exitcode=99 --leak-check=no ${KX_VALGRIND_ORIGINS:+--track-origins=yes} \
  --num-callers=40 --suppressions="$KX_SOURCE/tests/e2e/valgrind.supp" --gen-suppressions=all \
  --log-file="$vglog" "$KX_PROGRAM" "$data"
wid=$(kx_wait_window '^KX-E2E-Valgrind$' 300)
if [ -z "$wid" ]; then
  kx_fail "la fenêtre n'apparaît pas sous valgrind"
  cat "$KX_WORK/run/console.txt" "$vglog" 2>/dev/null | tail -n 40
  kx_finish
fi

# The keys go in one xdotool call, F6 after each display key, so that the
# program finds them waiting behind each slow frame and draws the redisplays
# they ask for together: about half the frames of a wait after every key,
# and the same states drawn and read back. Then the other keys (wireframe,
# teach, camera): they come in the same turn of the program's loop as the
# last F6, so the frame they ask for is drawn before Escape, sent later, is
# handled. Every F6 writes a new screenshot.tga (aside, then renamed): each one
# shows as a change of its inode and time.
picture_id() { stat -c '%i %.9Y' "$data/screenshot.tga" 2>/dev/null; }
keys=(F6 F4 F6 F9 F6 F10 F6 F11 F6 F12 F6 F5 F8 Left Prior Home)
expected=0
for key in "${keys[@]}"; do [ "$key" = F6 ] && expected=$((expected + 1)); done
kx_key "$wid" "${keys[@]}"
pictures=0 seen=""
count_pictures() {
  local id; id=$(picture_id)
  if [ -n "$id" ] && [ "$id" != "$seen" ]; then seen=$id; pictures=$((pictures + 1)); fi
  [ "$pictures" -ge "$expected" ] || ! kx_app_alive
}
kx_until 600 count_pictures
kx_check "F6, F4, F9 à F12, F5, F8, flèches et Home sous valgrind : $pictures images sur $expected" \
  kx_eq "$pictures" "$expected"
kx_check "image de la taille de la fenêtre" kx_eq "$(stat -c %s "$data/screenshot.tga" 2>/dev/null)" $((18 + 800 * 600 * 3))
kx_check "F8 sous valgrind : poses.txt" kx_eq "$(grep -c '^moveto ' "$data/poses.txt" 2>/dev/null)" 1
kx_key "$wid" Escape
kx_wait_exit 300
kx_check "Escape: statut 0 (99 : erreurs de valgrind)" kx_eq "$KX_EXIT_STATUS" 0
kx_check "valgrind : aucune erreur" grep -q "ERROR SUMMARY: 0 errors" "$vglog"
if ! grep -q "ERROR SUMMARY: 0 errors" "$vglog"; then
  grep -A 30 -E "^==[0-9]+== (Invalid|Conditional|Use of|Syscall param|Source and|Mismatched)" "$vglog" | head -n 120
  echo "(KX_VALGRIND_ORIGINS=1 dit d'où viennent les valeurs non initialisées)"
fi
kx_check "rien dans le journal d'erreur" kx_eq "$(kx_log_messages "$KX_WORK/run/robot_error.log" | wc -l)" 1
kx_finish
