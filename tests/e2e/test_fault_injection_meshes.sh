#!/usr/bin/env bash
# Fault injection, meshes: the ground's mesh cut in half stops start-up with
# the mesh loader's record naming it, then the start-up driver's, and status
# 254 (test_startup_errors.sh: a missing link mesh stops the arm's loading at
# that link).
# Elsewhere: every refusal of the loader and its wording,
# MeshObjectTest.RefusedFileGivesOneRecordAndAnEmptyMesh; random bytes, the
# fuzzer's (tests/fuzz/mesh_fuzz.cpp, on the same decoder).
. "$(dirname "$0")/fault-lib.sh"
kx_start_xvfb || exit 1

mesh=$(default_file decor.opt strGroundFileObj ground.obj)
kx_check "maillage nommé dans le jeu par défaut : $mesh" test -f "$KX_SOURCE/default/$mesh"
data=$(fault_data ground-half)
fault_head "$data/$mesh" $(( $(stat -c %s "$data/$mesh") / 2 ))
fault_run ground-half "$data"
expect_failure "$mesh coupé de moitié" "C3DSObject::LoadOBJ -- $mesh : Fichier tronqué" "$KX_SCENE_RECORD"
kx_finish
