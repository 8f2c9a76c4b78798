#!/usr/bin/env bash
# A link mesh that reaches below the ground, like a CAD casting imported on
# its side: a hollow cylinder lying across z = 0 in place of the body. Its
# reflection must not show through the part above the ground: with every
# pass on, the cylinder has no more black pixels than with F10 (reflection
# off).
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/mesh-fixtures.sh"
MESH="$KX_BUILD/kalimbrax-mesh"
W="$KX_WORK"

data=$(kx_data_copy)
write_tube_obj "$W/tube.obj" 48 1.5 1.1 2
kx_check "cylindre creux importé" "$MESH" import "$W/tube.obj" "$data/robotbody.obj" > /dev/null

kx_start_xvfb || exit 1
kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }
shot() { kx_shot "$1" || kx_fail "image $1"; }
shot all
kx_key "$KX_WID" F10; shot noreflect
kx_key "$KX_WID" F9; shot alone   # the arm alone on black: where the cylinder is
kx_key "$KX_WID" Escape
kx_wait_exit 10

# The cylinder: lit pixels of the arm alone, in the box below the shoulder
# (the origin projects onto (400, 277); the shoulder starts 4 units higher).
convert "$W/alone.png" -colorspace Gray -threshold 2% \
  \( +clone -fill black -colorize 100 -fill white -draw "rectangle 300,255 500,360" \) \
  -compose multiply -composite "$W/tube-mask.png"
kx_check "le cylindre se voit" kx_lt 0.005 "$(convert "$W/tube-mask.png" -format "%[fx:mean]" info:)"

# Share of near-black pixels (no channel above 12 %) over the cylinder.
black_share() {
  convert "$1" -separate -evaluate-sequence max -threshold 12% -negate "$W/dark-$2.png"
  kx_masked_mean "$W/dark-$2.png" "$W/tube-mask.png"
}
with=$(black_share "$W/all.png" all)
without=$(black_share "$W/noreflect.png" noreflect)
echo "pixels noirs sur le cylindre : $with avec le reflet, $without sans"
kx_check "pas de taches noires dues au reflet ($with contre $without)" \
  kx_lt "$with" "$(awk -v b="$without" 'BEGIN { print b + 0.01 }')"
convert "$W/all.png" "$W/noreflect.png" -compose difference -composite "$W/reflect-change.png"
kx_check "le reflet ne change pas le cylindre" \
  kx_lt "$(kx_masked_mean "$W/reflect-change.png" "$W/tube-mask.png")" 0.01
kx_finish
