#!/usr/bin/env bash
# Scripts end to end: a script named from the start directory plays its
# moveto lines in order with screenshots between them, a refused line is
# recorded with the file's name and line number and the script goes on,
# exit ends with 0. Then poses taught with F8 replay with --script, a
# poses.txt that cannot be written gives a record and nothing else, and the
# demo script of the repository runs. A directory, a FIFO, a device or a missing
# file as the script is refused at once with a record; a byte-order mark is
# skipped. KX_PICTURES=DIR keeps the pictures there.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
W="$KX_WORK"

# Runs the program to its end: kx_run NAME DATA ARGS... (status in
# KX_EXIT_STATUS, logs in $W/NAME).
kx_run() {
  local name="$1" data="$2"; shift 2
  mkdir -p "$W/$name"
  kx_set_option "$data/graphics.opt" sWindowName '"KX-E2E-Script"'
  kx_start_app "$W/$name" "$W/$name/console.txt" "$KX_PROGRAM" "$data" "$@"
  kx_wait_exit 60
}

# fast_arm DATA: the arm ten times quicker, in a small window. The checks
# here are about order, replies and pictures compared with each other, not
# about how long a motion takes (the panel and port tests see those), so the
# motions need not last seconds nor the frames fill 800 x 600.
fast_arm() { kx_fast_moves "$1" 10 || kx_fail "vitesses du bras"; kx_small_window "$1"; }

# --- A script that moves, takes pictures, meets a bad line and exits -------
data=$(kx_data_copy played)
fast_arm "$data"
mkdir -p "$W/start/scripts"
cat >"$W/start/scripts/tour.txt" <<'EOF'
# Un tour du bras
moveto 40 60 20 0 45 0
screenshot tour-1.png
pose 1 2 3
moveto -60 30 40 0 45 0
screenshot tour-2.tga
exit
screenshot never.png
EOF
kx_start_app "$W/start" "$W/start/console.txt" "$KX_PROGRAM" "$data" --script scripts/tour.txt  # runs in $W/start
kx_wait_exit 60
kx_check "le script finit par exit : statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_check "première image" test -s "$data/tour-1.png"
kx_check "deuxième image (TGA)" test -s "$data/tour-2.tga"
kx_check "rien après exit" test ! -e "$data/never.png"
kx_check "dans l'ordre" test "$data/tour-1.png" -ot "$data/tour-2.tga"
kx_check "la ligne refusée est notée avec le fichier et son numéro" kx_contains <(kx_log_messages "$W/start/robot_error.log") \
  "Script $W/start/scripts/tour.txt, ligne 4 : erreur pose : 6 nombres attendus, 3 reçus"
convert "$data/tour-2.tga" -flip "$W/tour-2.png"
kx_check "les deux images montrent deux poses" kx_lt 0.01 "$(kx_difference "$data/tour-1.png" "$W/tour-2.png")"
cp "$data/tour-1.png" "$W/tour-1.png"

# --- F8 three times, then the poses replayed -------------------------------
data=$(kx_data_copy taught)
fast_arm "$data"
kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
kx_connect || kx_fail "pas de connexion au port de commande"
taught() { [ "$(grep -c '^moveto ' "$data/poses.txt" 2>/dev/null)" = "$1" ]; }
for i in 1 2 3; do
  case $i in
    1) kx_send "angles 30 50 10 0 40 0" ;;
    2) kx_send "angles -40 70 -20 90 60 45" ;;
    3) kx_send "angles 120 40 30 -90 20 10" ;;
  esac
  kx_key "$KX_WID" F8
  kx_until 10 taught "$i"
  kx_send "screenshot taught-$i.png" >/dev/null
done
# poses.txt that cannot be written (a directory in its place): F8 gives a
# record and nothing else, the program goes on. The taught file is kept
# aside for the replay below.
cp "$data/poses.txt" "$W/poses.txt"
rm "$data/poses.txt" && mkdir "$data/poses.txt"
kx_key "$KX_WID" F8
teach_refused() { kx_log_messages "$KX_WORK/run/robot_error.log" | grep -qF "CPanelActions::TeachPose -- impossible d'ouvrir poses.txt en écriture"; }
kx_check "poses.txt impossible : un enregistrement" kx_until 10 teach_refused
kx_check "poses.txt impossible : rien d'autre" kx_eq "$(kx_log_messages "$KX_WORK/run/robot_error.log" | wc -l)" 2
kx_send "exit"
kx_wait_exit 10
kx_check "poses.txt impossible : le programme continue et finit par 0" kx_eq "$KX_EXIT_STATUS" 0
rmdir "$data/poses.txt"
kx_check "F8 : trois lignes moveto dans poses.txt" kx_eq "$(grep -c '^moveto ' "$W/poses.txt")" 3
kx_check "F8 écrit les angles du bras" kx_eq "$(sed -n 2p "$W/poses.txt")" "moveto -40 70 -20 90 60 45"
kx_check "F8 dit quelle ligne il a écrite" kx_eq "$(kx_log_messages "$KX_WORK/run/robot_debug.log" | grep '^Pose apprise')" \
  "$(printf 'Pose apprise : ligne %d de poses.txt\n' 1 2 3)"
# Replayed with --script: poses.txt's lines as they are, a picture after
# each pose: the three taught pictures again, and no line refused.
awk '{ print; print "screenshot replayed-" NR ".png" } END { print "exit" }' "$W/poses.txt" >"$W/replay.txt"
kx_run replay "$data" --script "$W/replay.txt"
kx_check "rejoué : statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_check "rejoué : aucune ligne refusée" kx_eq "$(kx_log_messages "$W/replay/robot_error.log" | wc -l)" 1
for i in 1 2 3; do
  kx_check "la pose $i revient" kx_lt "$(kx_difference "$data/taught-$i.png" "$data/replayed-$i.png")" 0.002
done

# --- The repository's demo script -------------------------------------------
data=$(kx_data_copy demo)
fast_arm "$data"
kx_run demo "$data" --script "$KX_SOURCE/clients/demo.txt"
kx_check "le script de démonstration finit par 0" kx_eq "$KX_EXIT_STATUS" 0
kx_check "et laisse demo.png" test -s "$data/demo.png"
kx_check "sans erreur" kx_eq "$(kx_log_messages "$W/demo/robot_error.log" | wc -l)" 1

# --- Start-up refusals --------------------------------------------------------
data=$(kx_data_copy refusals)
for args in "--port 70000" "--port 1 --port 2" "--verbose"; do
  # shellcheck disable=SC2086
  kx_run refusal "$data" $args
  kx_check "refusé au démarrage ($args) : statut 254" kx_eq "$KX_EXIT_STATUS" 254
done
kx_check "la raison est écrite" kx_contains <(kx_log_messages "$W/refusal/robot_error.log") \
  "CApplication::Init -- option inconnue « --verbose » (--script FICHIER, --port N, --help)"

# --- What is not a file is refused at once, with a record -------------------
# Read as a stream, /dev/urandom would never end a line and a FIFO would
# block the start; the address-space limit turns a reader that keeps what it
# reads into a crash. A script with a byte-order mark runs under the same
# limit, its first line included.
mkdir "$W/a-directory"
mkfifo "$W/a-fifo"
printf '\xef\xbb\xbfscreenshot bom.png\nexit\n' >"$W/bom.txt"
limit='ulimit -v 1572864 && exec "$@"'
not_file=" n'est pas un fichier ordinaire : c'est"
for case in "$W/a-directory|le script « $W/a-directory »$not_file un répertoire" \
            "$W/a-fifo|le script « $W/a-fifo »$not_file un tube nommé (FIFO)" \
            "/dev/urandom|le script « /dev/urandom »$not_file un périphérique" \
            "$W/none.txt|impossible d'ouvrir le script « $W/none.txt » : fichier introuvable"; do
  script="${case%%|*}"
  mkdir -p "$W/not-a-file"
  kx_start_app "$W/not-a-file" "$W/not-a-file/console.txt" bash -c "$limit" - "$KX_PROGRAM" "$data" --script "$script"
  kx_wait_exit 20 || kx_stop_app
  kx_check "--script $script : statut 254" kx_eq "$KX_EXIT_STATUS" 254
  kx_check "--script $script : la raison est écrite" \
    kx_contains <(kx_log_messages "$W/not-a-file/robot_error.log") "CApplication::Init -- ${case#*|}"
done
mkdir -p "$W/bom"
kx_start_app "$W/bom" "$W/bom/console.txt" bash -c "$limit" - "$KX_PROGRAM" "$data" --script "$W/bom.txt"
kx_wait_exit 20 || kx_stop_app
kx_check "marque d'ordre des octets : statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_check "marque d'ordre des octets : la première ligne a tourné" test -s "$data/bom.png"
kx_check "marque d'ordre des octets : sans erreur" kx_eq "$(kx_log_messages "$W/bom/robot_error.log" | wc -l)" 1

[ -n "${KX_PICTURES:-}" ] && mkdir -p "$KX_PICTURES" && cp "$W"/*.png "$KX_PICTURES/" 2>/dev/null
kx_finish
