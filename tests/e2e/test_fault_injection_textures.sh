#!/usr/bin/env bash
# Fault injection, textures, and how the program ends each time: the sky
# dome's texture with its header cut is refused, its record naming it, then
# the start-up driver's, status 254; the arm's texture cut in half is an
# image all the same (the rest black): the program runs, F6 gives a picture
# and Escape ends it with 0, nothing in the error log.
# Elsewhere: the reader's refusals and short pixel data, TgaImageTest;
# random bytes, the fuzzer's (tests/fuzz/tga_fuzz.cpp, on the same reader).
. "$(dirname "$0")/fault-lib.sh"

# texture_case KEY_FILE KEY DEFAULT FAULT: one texture spoilt one way, run
# and checked.
texture_case() {
  local texture name data
  texture=$(default_file "$1" "$2" "$3")
  name="${texture%.tga}-$4"
  kx_check "texture nommée dans le jeu par défaut : $texture" test -f "$KX_SOURCE/default/$texture"
  data=$(fault_data "$name")
  case "$4" in
    header) fault_head "$data/$texture" 12 ;;
    half) fault_head "$data/$texture" $(( $(stat -c %s "$data/$texture") / 2 )) ;;
  esac
  fault_run "$name" "$data"
  case "$4" in
    header) expect_failure "$name" "CTexture::LoadTGA -- Impossible de lire l'image $texture" "$KX_SCENE_RECORD" ;;
    half) expect_running "$name" ;;
  esac
}

fault_cases texture_case "decor.opt strSkyDomeTextFileName skydome.tga header" \
  "robot.opt strTextureFileName metal.tga half"
kx_finish
