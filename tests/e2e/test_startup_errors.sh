#!/usr/bin/env bash
# Start-up failures: the records, their order, the console in UTF-8, the log
# files in Windows-1252 in the start directory, and status 254.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1

run_startup() {  # run_startup NAME DATA_DIR: runs to its end, sets status
  local dir="$KX_WORK/$1"
  mkdir -p "$dir"
  kx_start_app "$dir" "$dir/console.txt" "$KX_PROGRAM" "$2"
  kx_wait_exit 30
  status=$KX_EXIT_STATUS
}

# --help: the usage and the keys on the standard output, status 0, and
# nothing else: no window, no log written.
mkdir -p "$KX_WORK/help"
(cd "$KX_WORK/help" && "$KX_PROGRAM" --help >out.txt 2>err.txt; echo $? >status)
kx_check "--help : statut 0" kx_eq "$(cat "$KX_WORK/help/status")" 0
kx_check "--help : l'usage" kx_contains "$KX_WORK/help/out.txt" "Usage : kalimbrax [RÉPERTOIRE] [--script FICHIER] [--port N]"
kx_check "--help : les touches" kx_contains "$KX_WORK/help/out.txt" "F6                 capture"
kx_check "--help : aucun journal" test ! -e "$KX_WORK/help/robot_error.log" -a ! -s "$KX_WORK/help/err.txt"

# A data directory that cannot be entered.
run_startup nodir /no/such/dir
dir="$KX_WORK/nodir"
kx_check "répertoire absent: statut 254" kx_eq "$status" 254
kx_check "en-tête d'erreur sur la console" kx_contains "$dir/console.txt" " - -- Debut du fichier d'erreur --"
kx_check "en-tête de debug sur la console" kx_contains "$dir/console.txt" " - -- Debut du fichier de debug --"
kx_check "ligne système : $(uname -s) $(uname -r) $(uname -m)" kx_contains "$dir/console.txt" "Système : $(uname -s) $(uname -r) $(uname -m)"
kx_check "version GLUT" kx_contains "$dir/console.txt" "Version de GLUT:3.000000"
kx_check "version GLUI" kx_contains "$dir/console.txt" "Version de GLUI:2.010000"
kx_check "message en UTF-8 sur la console" kx_contains "$dir/console.txt" "CApplication::Init -- Impossible de changer pour le répertoire /no/such/dir !"
kx_check "journal d'erreur en Windows-1252" grep -qa $'r\xe9pertoire /no/such/dir !' "$dir/robot_error.log"
kx_check "en-tête en première ligne" grep -q -- '- -- Debut du fichier d.erreur --$' <(head -n 1 "$dir/robot_error.log")
kx_check "journal de debug" grep -q -- '- -- Debut du fichier de debug --$' "$dir/robot_debug.log"
kx_check "une ligne par enregistrement" kx_eq "$(wc -l < "$dir/robot_error.log")" 2

# No display to open: said in French in the error log, status 254, before
# the window system could end the program in its own words.
mkdir -p "$KX_WORK/nodisplay"
(cd "$KX_WORK/nodisplay" && DISPLAY=:9876 "$KX_PROGRAM" "$KX_SOURCE/default" >console.txt 2>&1; echo $? >status)
kx_check "sans affichage: statut 254" kx_eq "$(cat "$KX_WORK/nodisplay/status")" 254
expected="-- Debut du fichier d'erreur --
CApplication::Init -- impossible d'ouvrir l'affichage « :9876 »"
kx_check "sans affichage: l'enregistrement" kx_eq "$(kx_log_messages "$KX_WORK/nodisplay/robot_error.log")" "$expected"
kx_check "sans affichage: pas de message de freeglut" test -z "$(grep -i 'freeglut' "$KX_WORK/nodisplay/console.txt")"

# The logs are truncated at each start.
run_startup nodir /no/such/dir
kx_check "journal tronqué au démarrage" kx_eq "$(wc -l < "$dir/robot_error.log")" 2

# A data directory without graphics.opt: the five records in order.
data=$(kx_data_copy nographics); rm -f "$data/graphics.opt"
run_startup nographics-run "$data"
kx_check "graphics.opt absent: statut 254" kx_eq "$status" 254
expected="-- Debut du fichier d'erreur --
COptionsParser::ParseFileForVariable -- Erreur : fichier invalide
CGraphics::InitGLUT -- Impossible de lire le fichier de configuration graphics.opt
CGraphics::Init -- Erreur à l'initialisation de la GLUT!
CApplication::Init -- Erreur à l'initialisation graphique
CApplication::Init -- Message d'erreur:graphics.opt non trouvé"
kx_check "les cinq enregistrements, dans l'ordre" kx_eq "$(kx_log_messages "$KX_WORK/nographics-run/robot_error.log")" "$expected"

# An invalid graphics.opt: the same without the parser's record.
data=$(kx_data_copy badgraphics); printf 'iScreenWidth = 800\n' > "$data/graphics.opt"
run_startup badgraphics-run "$data"
kx_check "graphics.opt invalide: statut 254" kx_eq "$status" 254
kx_check "graphics.opt invalide: pas de message du lecteur" kx_eq "$(kx_log_messages "$KX_WORK/badgraphics-run/robot_error.log" | sed -n 2p)" "CGraphics::InitGLUT -- Impossible de lire le fichier de configuration graphics.opt"

# A missing link mesh stops the arm's loading at that link: the loader's
# record once (the next link, missing too, is never tried), then the scene's.
data=$(kx_data_copy nolink); rm -f "$data/robotelbow.obj" "$data/robotlowerarm.obj"
run_startup nolink-run "$data"
kx_check "maillage absent: statut 254" kx_eq "$status" 254
expected="-- Debut du fichier d'erreur --
C3DSObject::LoadOBJ -- robotelbow.obj : Erreur à l'ouverture du fichier
CApplication::Init -- Impossible de charger la scène principale"
kx_check "maillage absent: les enregistrements" kx_eq "$(kx_log_messages "$KX_WORK/nolink-run/robot_error.log")" "$expected"

# A missing decor.opt: the decoration's record, then the scene's; the panel
# is never built.
data=$(kx_data_copy nodecor); rm -f "$data/decor.opt"
run_startup nodecor-run "$data"
kx_check "decor.opt absent: statut 254" kx_eq "$status" 254
expected="-- Debut du fichier d'erreur --
COptionsParser::ParseFileForVariable -- Erreur : fichier invalide
CDecorationObject::Init -- Impossible de lire les options dans le fichier decor.opt
CApplication::Init -- Impossible de charger la scène principale"
kx_check "decor.opt absent: les enregistrements" kx_eq "$(kx_log_messages "$KX_WORK/nodecor-run/robot_error.log")" "$expected"

kx_finish
