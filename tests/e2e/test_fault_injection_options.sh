#!/usr/bin/env bash
# Fault injection, option files: each of the four missing, cut inside its
# last statement, and replaced by random bytes. graphics.opt, decor.opt and
# robot.opt stop start-up with their records and status 254; glui.opt does
# not: the panel is built with its defaults after one record.
. "$(dirname "$0")/fault-lib.sh"

glui_record="CGluiInput::Init -- Impossible de lire le fichier glui.opt, le panneau prend les valeurs par défaut"
decor_record="CDecorationObject::Init -- Impossible de lire les options dans le fichier decor.opt"
robot_record="LoadArmDescription -- Impossible de charger le fichier robot.opt"

# option_case FILE FAULT SEED: one file spoilt one way, run and checked.
option_case() {
  local file="$1" fault="$2" seed="$3" name="${1%.opt}-$2" data parser expect
  data=$(fault_data "$name")
  case "$fault" in
    missing) fault_missing "$data/$file" ;;
    cut) fault_cut_option "$data/$file" ;;
    random) fault_random "$data/$file" "$seed" ;;
  esac
  fault_run "$name" "$data"
  # A missing file is reported by the reader as well; a file that is
  # there but invalid only by its user.
  parser=()
  [ "$fault" = missing ] && parser=("$KX_PARSER_RECORD")
  expect=expect_failure
  [ "$fault" = random ] && expect=expect_failure_unless_valid
  case "$file" in
    graphics.opt) $expect "$name" "${parser[@]}" "${KX_GRAPHICS_RECORDS[@]}" ;;
    decor.opt) $expect "$name" "${parser[@]}" "$decor_record" "$KX_SCENE_RECORD" ;;
    robot.opt) $expect "$name" "${parser[@]}" "$robot_record" "$KX_SCENE_RECORD" ;;
    glui.opt)
      if [ "$fault" = random ] && [ "$(run_records)" = "" ]; then
        expect_running "$name (valide par hasard)"
      elif [ "$fault" = missing ]; then
        # The panel reads glui.opt once: the reader's record, then the
        # panel's own.
        expect_running "$name" "$KX_PARSER_RECORD" "$glui_record"
        kx_check "$name : panneau aux titres par défaut" kx_eq "$RUN_PANEL_NAME" "Kalimbrax Controls"
      else
        expect_running "$name" "$glui_record"
        kx_check "$name : panneau aux titres par défaut" kx_eq "$RUN_PANEL_NAME" "Kalimbrax Controls"
      fi ;;
  esac
}

cases=() seed=1
for file in graphics.opt glui.opt decor.opt robot.opt; do
  for fault in missing cut random; do
    cases+=("$file $fault $seed")
    [ "$fault" = random ] && seed=$((seed + 1))
  done
done
fault_cases option_case "${cases[@]}"

# A mistyped key is still ignored, but said at start with the key it was
# probably meant to be; an elbow offset the models cannot follow is said too.
said_case() {
  local data
  data=$(fault_data "$1")
  case "$1" in
    typo) sed -i 's/^fUpperArmSizeX/fUpperArmSize/' "$data/robot.opt" ;;
    elbow) kx_set_option "$data/robot.opt" fElbowSizeY 0.55 ;;
  esac
  fault_run "$1" "$data"
  case "$1" in
    typo) expect_running "clé mal écrite" "ReadOptionFile -- robot.opt : clé inconnue fUpperArmSize ; vouliez-vous \
dire fUpperArmSizeX ? (valeur ignorée)" ;;
    elbow) expect_running "coude hors des modèles" "LoadArmDescription -- fElbowSizeY = 0,550 : le bras dessiné \
s'écarte des modèles géométriques (le coude doit valoir (e, -e, 0) : fElbowSizeY doit être l'opposé de fElbowSizeX)" ;;
  esac
}
fault_cases said_case typo elbow
kx_finish
