#!/usr/bin/env bash
# Measures the running program as a user leaves it: CPU used while both
# windows sit idle, and frames per second during a real-time motion of the
# base joint (-25 to 155 degrees at its configured speed). Prints both.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/tools/xvfb-lib.sh"
work=$(mktemp -d /tmp/kx-measure.XXXXXX)
trap 'kx_stop_all; rm -rf "$work"' EXIT
cc -shared -fPIC -O2 -o "$work/frame-probe.so" "$root/tools/frame-probe.c" -ldl || exit 1
kx_start_xvfb 1280x1024x24 || exit 1
cp -r "$root/default" "$work/data"
export KALIMBRAX_PANEL_LAYOUT="$work/layout.txt" KX_FRAME_COUNT_FILE="$work/frames.txt"
( cd "$work" && LD_PRELOAD="$work/frame-probe.so" exec "$root/build/kalimbrax" "$work/data" >"$work/out.txt" 2>&1 ) &
KX_APP_PID=$!
panel=$(kx_wait_window "$(kx_option_text "$work/data/glui.opt" strGLUIWindowName "Kalimbrax Controls")" 30) || exit 1
sleep 3

ticks() { awk '{ print $14 + $15 }' "/proc/$KX_APP_PID/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks); sleep 10; t1=$(ticks)
echo "CPU au repos, deux fenêtres ouvertes : $(awk -v t=$((t1 - t0)) -v hz="$hz" 'BEGIN { printf "%.1f %%", 100 * t / hz / 10 }') (10 s)"

click() {  # click KIND ID: the middle of a control, from the layout dump
  # shellcheck disable=SC2046
  xdotool mousemove --window "$panel" $(awk -v k="$1" -v id="$2" '$1 == k && $3 == id { print int($4 + $6 / 2), int($5 + $7 / 2); exit }' "$work/layout.txt") click 1
  sleep 0.4
}
click checkbox 1
click spinner-field 0; xdotool key ctrl+a; xdotool type -- 155; xdotool key Return; sleep 0.5
f0=$(cat "$work/frames.txt"); click button 1
s0=$(date +%s.%N); f0=$(cat "$work/frames.txt")
sleep 2
f1=$(cat "$work/frames.txt"); s1=$(date +%s.%N)
echo "Images par seconde pendant un mouvement en temps réel : $(awk -v f=$((f1 - f0)) -v a="$s0" -v b="$s1" 'BEGIN { printf "%.0f", f / (b - a) }') (2 s, 800x600, toutes les passes sauf l'aspect métal)"
