#!/usr/bin/env bash
# Fault injection, option files: each of the four spoilt once, and how the
# program then ends. graphics.opt and decor.opt cut inside their last
# statement (their absence is test_startup_errors.sh's: the same records
# after the reader's own) and robot.opt missing stop start-up with their
# records and status 254; a missing glui.opt does not: the panel is built
# with its defaults after the reader's record and its own, and Escape ends
# the program with 0.
# Elsewhere: random bytes are the fuzzer's (tests/fuzz/options_fuzz.cpp, on
# the same reader); a mistyped key and an elbow outside the models are said
# by LoadArmDescription (ArmDescriptionTest), whose robot.opt record here
# shows the program calls it at start.
. "$(dirname "$0")/fault-lib.sh"

glui_record="CGluiInput::Init -- Impossible de lire le fichier glui.opt, le panneau prend les valeurs par défaut"
decor_record="CDecorationObject::Init -- Impossible de lire les options dans le fichier decor.opt"
robot_record="LoadArmDescription -- Impossible de charger le fichier robot.opt"

# option_case FILE FAULT: one file spoilt one way, run and checked.
option_case() {
  local file="$1" fault="$2" name="${1%.opt}-$2" data
  data=$(fault_data "$name")
  case "$fault" in
    missing) fault_missing "$data/$file" ;;
    cut) fault_cut_option "$data/$file" ;;
  esac
  fault_run "$name" "$data"
  case "$file" in
    graphics.opt) expect_failure "$name" "${KX_GRAPHICS_RECORDS[@]}" ;;
    decor.opt) expect_failure "$name" "$decor_record" "$KX_SCENE_RECORD" ;;
    robot.opt) expect_failure "$name" "$KX_PARSER_RECORD" "$robot_record" "$KX_SCENE_RECORD" ;;
    glui.opt)
      # The panel reads glui.opt once: the reader's record, then the
      # panel's own.
      expect_running "$name" "$KX_PARSER_RECORD" "$glui_record"
      kx_check "$name : panneau aux titres par défaut" kx_eq "$RUN_PANEL_NAME" "Kalimbrax Controls" ;;
  esac
}

fault_cases option_case "graphics.opt cut" "glui.opt missing" "decor.opt cut" "robot.opt missing"
kx_finish
