#!/usr/bin/env bash
# Memory check of the real program: the simulator on the default data set,
# under valgrind's memcheck, draws, takes screenshots and toggles every
# display option by its key (F6, F4, F9 to F12), then ends on Escape. Any
# invalid read or write or use of an uninitialised value outside the few
# library faults of valgrind.supp fails the test; leaks are not checked (the
# scene and its meshes live until the process ends, by design).
#
# Mesa draws with softpipe, its plain C rasteriser: llvmpipe compiles its
# shaders with LLVM at run time, which is slow under valgrind and hides
# nothing of ours. Drawing is still slow here: the waits are long.
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
  valgrind --tool=memcheck --error-exitcode=99 --leak-check=no --track-origins=yes \
  --num-callers=40 --suppressions="$KX_SOURCE/tests/e2e/valgrind.supp" --gen-suppressions=all \
  --log-file="$vglog" "$KX_PROGRAM" "$data"
wid=$(kx_wait_window '^KX-E2E-Valgrind$' 300)
if [ -z "$wid" ]; then
  kx_fail "la fenêtre n'apparaît pas sous valgrind"
  cat "$KX_WORK/run/console.txt" "$vglog" 2>/dev/null | tail -n 40
  kx_finish
fi

# F6, then waits for the picture: it appears whole (written aside, then
# renamed), so its presence means the key and a frame went through.
shot() {
  local i
  rm -f "$data/screenshot.tga"
  kx_key "$wid" F6
  for i in $(seq 1 3000); do
    [ -f "$data/screenshot.tga" ] && return 0
    kill -0 "$KX_APP_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

size=$((18 + 800 * 600 * 3))
kx_check "F6 sous valgrind" shot
kx_check "image de la taille de la fenêtre" kx_eq "$(stat -c %s "$data/screenshot.tga" 2>/dev/null)" "$size"
for key in F4 F9 F10 F11 F12; do
  kx_key "$wid" "$key"
  sleep 1
  kx_check "$key puis F6 sous valgrind" shot
done
kx_key "$wid" Escape
kx_wait_exit 300
kx_check "Escape: statut 0 (99 : erreurs de valgrind)" kx_eq "$KX_EXIT_STATUS" 0
kx_check "valgrind : aucune erreur" grep -q "ERROR SUMMARY: 0 errors" "$vglog"
if ! grep -q "ERROR SUMMARY: 0 errors" "$vglog"; then
  grep -A 30 -E "^==[0-9]+== (Invalid|Conditional|Use of|Syscall param|Source and|Mismatched)" "$vglog" | head -n 120
fi
kx_check "rien dans le journal d'erreur" kx_eq "$(kx_log_messages "$KX_WORK/run/robot_error.log" | wc -l)" 1
kx_finish
