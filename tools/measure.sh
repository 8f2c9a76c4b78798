#!/usr/bin/env bash
# Measures the running program as a user leaves it, and as a script drives
# it; prints each figure:
#  - CPU used while both windows sit idle;
#  - frames per second during a real-time motion of the base joint (-25 to
#    155 degrees at its configured speed);
#  - CPU used while the command port is open and a client stays connected
#    without sending anything;
#  - the rate of replies to 10,000 "get pose" sent at once by one client.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/tools/xvfb-lib.sh"
work=$(mktemp -d /tmp/kx-measure.XXXXXX)
trap 'kx_stop_all; rm -rf "$work"' EXIT
cc -shared -fPIC -O2 -o "$work/frame-probe.so" "$root/tools/frame-probe.c" -ldl || exit 1
kx_start_xvfb 1280x1024x24 || exit 1
cp -r "$root/default" "$work/data"
export KALIMBRAX_PANEL_LAYOUT="$work/layout.txt" KX_FRAME_COUNT_FILE="$work/frames.txt"
panelTitle=$(kx_option_text "$work/data/glui.opt" strGLUIWindowName "Kalimbrax Controls")

start() {  # start ARGS...: the program on the data copy, its console in $work/out.txt
  ( cd "$work" && LD_PRELOAD="$work/frame-probe.so" exec "$root/build/kalimbrax" "$work/data" "$@" >"$work/out.txt" 2>&1 ) &
  KX_APP_PID=$!
  panel=$(kx_wait_window "$panelTitle" 30) || exit 1
  sleep 3
}
stop() { kill "$KX_APP_PID" 2>/dev/null; wait "$KX_APP_PID" 2>/dev/null; KX_APP_PID=""; }
ticks() { awk '{ print $14 + $15 }' "/proc/$KX_APP_PID/stat"; }
cpu10() {  # CPU of the program over 10 s, in percent
  local hz t0 t1
  hz=$(getconf CLK_TCK)
  t0=$(ticks); sleep 10; t1=$(ticks)
  awk -v t=$((t1 - t0)) -v hz="$hz" 'BEGIN { printf "%.1f %%", 100 * t / hz / 10 }'
}

start
echo "CPU au repos, deux fenêtres ouvertes : $(cpu10) (10 s)"

click() {  # click KIND ID: the middle of a control, from the layout dump
  # shellcheck disable=SC2046
  xdotool mousemove --window "$panel" $(awk -v k="$1" -v id="$2" '$1 == k && $3 == id { print int($4 + $6 / 2), int($5 + $7 / 2); exit }' "$work/layout.txt") click 1
  sleep 0.4
}
click checkbox 1
click spinner-field 0; xdotool key ctrl+a; xdotool type -- 155; xdotool key Return; sleep 0.5
click button 1
s0=$(date +%s.%N); f0=$(cat "$work/frames.txt")
sleep 2
f1=$(cat "$work/frames.txt"); s1=$(date +%s.%N)
echo "Images par seconde pendant un mouvement en temps réel : $(awk -v f=$((f1 - f0)) -v a="$s0" -v b="$s1" 'BEGIN { printf "%.0f", f / (b - a) }') (2 s, 800x600, toutes les passes sauf l'aspect métal)"
stop

start --port 0
port=$(sed -n 's/.*Port de commande ouvert : 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/out.txt")
python3 -c "import socket, time; s = socket.create_connection(('127.0.0.1', $port)); time.sleep(12)" &
idle=$!
sleep 1
echo "CPU au repos, port de commande ouvert et un client connecté : $(cpu10) (10 s)"
wait "$idle"
python3 - "$port" <<'EOF'
import socket, sys, time
with socket.create_connection(("127.0.0.1", int(sys.argv[1]))) as s:
    replies = s.makefile("rb")
    begun = time.monotonic()
    s.sendall(b"get pose\n" * 10000)
    count = sum(1 for _ in range(10000) if replies.readline().startswith(b"ok "))
    spent = time.monotonic() - begun
print("Réponses à 10 000 « get pose » envoyés d'un coup : %d en %.2f s, %.0f réponses par seconde" % (count, spent, count / spent))
EOF
stop
