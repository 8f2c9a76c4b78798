#!/usr/bin/env bash
# Fault injection, option files: each of the four missing, cut inside its
# last statement, and replaced by random bytes. graphics.opt, decor.opt and
# robot.opt stop start-up with their records and status 254; glui.opt does
# not: the panel is built with its defaults after one record.
. "$(dirname "$0")/fault-lib.sh"

glui_record="CGluiInput::Init -- Impossible de lire le fichier glui.opt, le panneau prend les valeurs par défaut"
decor_record="CDecorationObject::Init -- Impossible de lire les options dans le fichier decor.opt"
robot_record="CRobot::Init -- Impossible de charger le fichier robot.opt"

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
kx_finish
