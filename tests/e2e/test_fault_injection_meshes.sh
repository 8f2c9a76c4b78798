#!/usr/bin/env bash
# Fault injection, meshes: each of the nine meshes named in decor.opt and
# robot.opt missing, cut in half, and replaced by random bytes. Each stops
# start-up with the mesh loader's record, then the start-up driver's, and
# status 254.
. "$(dirname "$0")/fault-lib.sh"

# Every record of the mesh loader names the file it refuses.
loader() { echo "C3DSObject::LoadOBJ -- $1 : $2"; }
meshes=(
  "$(default_file decor.opt strGroundFileObj ground.obj)"
  "$(default_file decor.opt strSkyDomeFileObj skydome.obj)"
)
for key in strBodyFileObj strShoulderFileObj strUpperArmFileObj strElbowFileObj strLowerArmFileObj \
           strWristFileObj strHandFileObj; do
  meshes+=("$(default_file robot.opt "$key" "")")
done

# What the loader says of a file of random bytes, from its first two bytes
# (header length, version); a version that happens to be right leads to a
# record that depends on the rest, checked only for its prefix.
random_record() {
  local length version
  length=$(od -An -tu1 -N1 "$1/$2" | tr -d ' ')
  version=$(od -An -tu1 -j1 -N1 "$1/$2" | tr -d ' ')
  if [ "$length" -lt 7 ]; then loader "$2" "En-tête trop court"
  elif [ "$version" != 12 ] && [ "$version" != 21 ]; then loader "$2" "Mauvaise version de fichier !"
  fi
}

# mesh_case MESH FAULT SEED: one mesh spoilt one way, run and checked.
mesh_case() {
  local mesh="$1" fault="$2" seed="$3" name="${1%.obj}-$2" data record
  data=$(fault_data "$name")
  case "$fault" in
    missing) fault_missing "$data/$mesh" ;;
    half) fault_head "$data/$mesh" $(( $(stat -c %s "$data/$mesh") / 2 )) ;;
    random) fault_random "$data/$mesh" "$seed" ;;
  esac
  fault_run "$name" "$data"
  case "$fault" in
    missing) expect_failure "$name" "$(loader "$mesh" "Erreur à l'ouverture du fichier")" "$KX_SCENE_RECORD" ;;
    half) expect_failure "$name" "$(loader "$mesh" "Fichier tronqué")" "$KX_SCENE_RECORD" ;;
    random)
      record=$(random_record "$data" "$mesh")
      if [ -n "$record" ]; then
        expect_failure "$name" "$record" "$KX_SCENE_RECORD"
      else
        kx_check "$name : statut 254" kx_eq "$RUN_STATUS" 254
        kx_check "$name : enregistrement du chargeur" kx_eq "$(run_records | head -n 1 | cut -c1-23)" "C3DSObject::LoadOBJ -- "
        kx_check "$name : puis celui du démarrage" kx_eq "$(run_records | tail -n 1)" "$KX_SCENE_RECORD"
      fi ;;
  esac
}

cases=() seed=100
for mesh in "${meshes[@]}"; do
  kx_check "maillage nommé dans le jeu par défaut : $mesh" test -f "$KX_SOURCE/default/$mesh"
  for fault in missing half random; do
    cases+=("$mesh $fault $seed")
    [ "$fault" = random ] && seed=$((seed + 1))
  done
done
fault_cases mesh_case "${cases[@]}"
kx_finish
