#!/usr/bin/env bash
# Shared frame of the fault-injection tests (test_fault_injection_*.sh): a
# data copy with one file removed or cut short, a run of the real program on
# it, and the checks of how it ends. Random bytes are the fuzzers'
# (tests/fuzz), which try far more of them in-process than program starts
# could. Sourced, not a test itself.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

KX_FAULT_TITLE="KX-E2E-Fault"
KX_HEADER="-- Debut du fichier d'erreur --"
KX_SCENE_RECORD="CApplication::Init -- Impossible de charger la scène principale"
KX_GRAPHICS_RECORDS=("CGraphics::InitGLUT -- Impossible de lire le fichier de configuration graphics.opt"
                     "CGraphics::Init -- Erreur à l'initialisation de la GLUT!"
                     "CApplication::Init -- Erreur à l'initialisation graphique"
                     "CApplication::Init -- Message d'erreur:graphics.opt non trouvé")
KX_PARSER_RECORD="COptionsParser::ParseFileForVariable -- Erreur : fichier invalide"

# A data copy whose graphics window has a title of its own (graphics.opt is
# edited before any fault is made, so a fault in it is what the test says).
fault_data() {
  local dir
  dir=$(kx_data_copy "$1")
  kx_set_option "$dir/graphics.opt" sWindowName "\"$KX_FAULT_TITLE\""
  echo "$dir"
}

# The file named by a key of an option file of the default set.
default_file() { kx_option_text "$KX_SOURCE/default/$1" "$2" "$3"; }

# The ways a file is spoilt.
fault_missing() { rm -f "$1"; }
fault_head() { head -c "$2" "$1" > "$1.cut" && mv "$1.cut" "$1"; }
# An option file cut just before the ";" of its last statement: its end
# falls inside a statement, wherever its comments are.
fault_cut_option() {
  local last
  last=$(grep -abo ';' "$1" | tail -n 1 | cut -d: -f1)
  fault_head "$1" "$last"
}

# fault_start CASE DATA [START_DIR]: starts the program in START_DIR (by
# default a directory of its own, RUN_DIR, which also receives the console
# output) and waits for the end of its start-up. Sets RUN_STATUS: the exit
# status when start-up ended it, "started" once the control panel (built
# last) is up, 124 when neither came within a minute (a hang). When started,
# RUN_WID is the graphics window and RUN_PANEL_NAME the panel's title.
fault_start() {
  RUN_DIR="$KX_WORK/run-$1"
  mkdir -p "$RUN_DIR"
  local start="${3:-$RUN_DIR}" i panel=""
  RUN_STATUS=124 RUN_SHOT=none RUN_PANEL_NAME="" RUN_WID=""
  kx_start_app "$start" "$RUN_DIR/console.txt" "$KX_PROGRAM" "$2"
  for ((i = 0; i < 1200; i++)); do
    if ! kill -0 "$KX_APP_PID" 2>/dev/null; then
      kx_wait_exit 5
      RUN_STATUS=$KX_EXIT_STATUS
      return 0
    fi
    panel=$(xdotool search --limit 1 --name '^Kalimbrax( - Commandes| Controls)$' 2>/dev/null)
    [ -n "$panel" ] && break
    kx_nap 0.05
  done
  if [ -z "$panel" ]; then
    kx_stop_app
    return 0
  fi
  RUN_PANEL_NAME=$(xdotool getwindowname "$panel" 2>/dev/null)
  RUN_WID=$(kx_wait_window "^($KX_FAULT_TITLE|Kalimbrax ver 0\.alpha)\$" 20) || { kx_stop_app; return 0; }
  RUN_STATUS=started
}

# fault_escape: Escape, then the exit status into RUN_STATUS (124: still
# running after 20 s, then stopped).
fault_escape() {
  kx_key "$RUN_WID" Escape
  kx_wait_exit 20
  RUN_STATUS=$KX_EXIT_STATUS
  [ "$RUN_STATUS" = 124 ] && kx_stop_app
}

# fault_run CASE DATA [START_DIR]: fault_start, then, when the program
# started, F6 (RUN_SHOT=ok when a whole picture came) and Escape.
fault_run() {
  fault_start "$@"
  [ "$RUN_STATUS" = started ] || return 0
  kx_screenshot "$RUN_WID" "$2" "$RUN_DIR/shot.png" >/dev/null 2>&1 && RUN_SHOT=ok
  fault_escape
}

# Ends a program that did not end by itself (only the one this test started).
kx_stop_app() {
  [ -n "$KX_APP_PID" ] && kill "$KX_APP_PID" 2>/dev/null && wait "$KX_APP_PID" 2>/dev/null
  KX_APP_PID=""
}

# The error log's records after its header line, one per line.
run_records() { kx_log_messages "$RUN_DIR/robot_error.log" | tail -n +2; }

# expect_failure CASE RECORD...: start-up ended with status 254 and exactly
# these records after the header. The log is read once, and its lines split
# in the shell.
expect_failure() {
  local what="$1" messages header records expected
  shift
  messages=$(kx_log_messages "$RUN_DIR/robot_error.log")
  header=${messages%%$'\n'*}
  records=""
  [ "$header" = "$messages" ] || records=${messages#*$'\n'}
  printf -v expected '%s\n' "$@"
  kx_check "$what : statut 254" kx_eq "$RUN_STATUS" 254
  kx_check "$what : en-tête du journal" kx_eq "$header" "$KX_HEADER"
  kx_check "$what : enregistrements" kx_eq "$records" "${expected%$'\n'}"
}

# expect_running CASE RECORD...: start-up went through with exactly these
# records, F6 gave a picture and Escape ended the run with 0.
expect_running() {
  local what="$1"; shift
  expect_started "$what"
  kx_check "$what : enregistrements" kx_eq "$(run_records)" "$(printf '%s\n' "$@")"
}
expect_started() {
  kx_check "$1 : démarre, F6 puis Escape, statut 0" kx_eq "$RUN_STATUS/$RUN_SHOT" "0/ok"
}

# fault_cases FUNCTION CASE...: runs "FUNCTION CASE" (the case's words as
# arguments) for every case, two workers at a time. A start-up mostly waits
# (the disk, the X server), so two of them nearly halve the test's time.
# Each worker has an Xvfb display of its own, since fault_start finds the
# windows by title; the output of each case is kept and printed in the
# order of the cases, and the workers' failure counts are added up.
fault_cases() {
  local fn="$1"; shift
  local cases=("$@") workers=() w i status
  for w in 0 1; do
    (
      kx_start_xvfb || { KX_FAILURES=1; echo "Xvfb du travailleur $w" >"$KX_WORK/case-$w.out"; exit 1; }
      for ((i = w; i < ${#cases[@]}; i += 2)); do
        # shellcheck disable=SC2086
        "$fn" ${cases[i]} >"$KX_WORK/case-$i.out" 2>&1
      done
      kx_stop_all
      exit $((KX_FAILURES > 255 ? 255 : KX_FAILURES))
    ) &
    workers+=($!)
  done
  for w in "${workers[@]}"; do
    wait "$w"; status=$?
    KX_FAILURES=$((KX_FAILURES + status))
  done
  for ((i = 0; i < ${#cases[@]}; i++)); do cat "$KX_WORK/case-$i.out"; done
}
