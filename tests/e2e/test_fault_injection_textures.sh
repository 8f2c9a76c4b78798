#!/usr/bin/env bash
# Fault injection, textures: each of the three TGA files named in decor.opt
# and robot.opt missing, with its header cut, cut in half and replaced by
# random bytes. The texture's record names the file, then the start-up
# driver's record, status 254.
# A file whose pixel data stops early is an image all the same: it loads
# (the rest black) and the program runs.
. "$(dirname "$0")/fault-lib.sh"

textures=(
  "$(default_file decor.opt strGroundTextFileName ground.tga)"
  "$(default_file decor.opt strSkyDomeTextFileName skydome.tga)"
  "$(default_file robot.opt strTextureFileName metal.tga)"
)
# texture_case TEXTURE FAULT SEED: one texture spoilt one way, run and checked.
texture_case() {
  local texture="$1" fault="$2" seed="$3" name="${1%.tga}-$2" data texture_record
  data=$(fault_data "$name")
  case "$fault" in
    missing) fault_missing "$data/$texture" ;;
    header) fault_head "$data/$texture" 12 ;;
    half) fault_head "$data/$texture" $(( $(stat -c %s "$data/$texture") / 2 )) ;;
    random) fault_random "$data/$texture" "$seed" ;;
  esac
  fault_run "$name" "$data"
  texture_record="CTexture::LoadTGA -- Impossible de lire l'image $texture"
  case "$fault" in
    half) expect_running "$name" ;;
    random)
      # Refused unless its image-type byte happens to say 2.
      if [ "$(od -An -tu1 -j2 -N1 "$data/$texture" | tr -d ' ')" != 2 ]; then
        expect_failure "$name" "$texture_record" "$KX_SCENE_RECORD"
      else
        kx_check "$name : statut 254 ou fonctionnement normal" test "$RUN_STATUS" = 254 -o "$RUN_STATUS/$RUN_SHOT" = 0/ok
      fi ;;
    *) expect_failure "$name" "$texture_record" "$KX_SCENE_RECORD" ;;
  esac
}

cases=() seed=200
for texture in "${textures[@]}"; do
  kx_check "texture nommée dans le jeu par défaut : $texture" test -f "$KX_SOURCE/default/$texture"
  for fault in missing header half random; do
    cases+=("$texture $fault $seed")
    [ "$fault" = random ] && seed=$((seed + 1))
  done
done
fault_cases texture_case "${cases[@]}"
kx_finish
