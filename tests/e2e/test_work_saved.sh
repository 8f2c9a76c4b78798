#!/usr/bin/env bash
# The user frames, the tool and the taught points outlive the program:
# defined through the port, saved into the data directory, the program
# ended and started again, loaded back, every one is as it was and the pose
# said in the frame in use is the same. No check here is about the picture
# or the pace: a small window.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_small_window "$data"
kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
kx_connect || { kx_fail "pas de port"; kx_finish; }

definitions=("frame table 600 0 100 0 0 90" "frame f2 0.1 -2.5e-7 1234.5678 33.3 -120.7 0.35" "frame use table"
             "tool 0 0 100 0 0 30" "angles -20.123457 40.5 20.25 5.0000005 55.3 -30.7" "point P1"
             "angles -25 45 15 0 60 0" "point P2 1 2 3 4 5 6")
for line in "${definitions[@]}"; do
  kx_send "$line" >/dev/null || kx_fail "$line"
done
queries=("get frames" "get frame" "get tool" "get points" "get point P1" "get point P2" "get pose")
before=()
for query in "${queries[@]}"; do before+=("$(kx_send "$query")"); done
kx_check "save" kx_send "save programme.txt"
kx_check "le fichier dans le répertoire de données" test -s "$data/programme.txt"
kx_send exit >/dev/null
kx_wait_exit 10 || kx_stop_app

kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre ne revient pas"; kx_finish; }
kx_connect || { kx_fail "pas de port au second départ"; kx_finish; }
kx_check "au départ, le repère de base" kx_eq "$(kx_send "get frame")" "base 0 0 0 0 0 0"
kx_check "au départ, aucun point" kx_eq "$(kx_send "get points")" ""
kx_check "load" kx_send "load programme.txt"
for i in "${!queries[@]}"; do
  kx_check "${queries[$i]} comme avant" kx_eq "$(kx_send "${queries[$i]}")" "${before[$i]}"
done
kx_check "les repères relus : table f2" kx_eq "${before[0]}" "table f2"
kx_check "movej @P1 : les angles de P1" kx_send "movej @P1"
kx_check "get angles = get point P1" kx_eq "$(kx_send "get angles")" "${before[4]}"
kx_send exit >/dev/null
kx_wait_exit 10 || kx_stop_app
kx_finish
