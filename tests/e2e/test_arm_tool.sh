#!/usr/bin/env bash
# kalimbrax-arm end to end: the published IRB 1600 (its sample beside the
# repository, $KX_SOURCE/../shared/data/irb1600, else a URDF of the same
# joints written here with tube meshes) imported into a data set that
# kalimbrax-mesh check passes, its base on the floor; the real program
# showing it at its zero and at two other poses, in its colour, with its
# shadow; the pairs of links that always touch written and said; arms outside the family, a missing mesh, a broken file, a
# directory and a FIFO (as description or data sheet) refused
# with a French reason and nothing left; make from the example dimensions.
# KX_PICTURES=DIR keeps the three pictures there (the README's, at 400x300).
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/mesh-fixtures.sh"
ARM="$KX_BUILD/kalimbrax-arm"
MESH="$KX_BUILD/kalimbrax-mesh"
W="$KX_WORK"

# --- The reference arm ------------------------------------------------------

# write_irb1600_urdf DIR: the IRB 1600's joints (origins, axes, limits as its
# description gives them), each link a tube across its frame's y, the base's
# lifted onto the floor, in a package folder.
write_irb1600_urdf() {
  local pkg="$1/kx_irb_support"
  mkdir -p "$pkg/urdf" "$pkg/meshes"
  local link
  for link in base_link link_1 link_2 link_3 link_4 link_5 link_6; do
    write_tube_obj "$pkg/meshes/$link.obj" 16 0.08 0.05 0.3
  done
  awk 'BEGIN {
    print "<?xml version=\"1.0\"?><robot name=\"irb1600_synthetic\">"
    print "<material name=\"orange\"><color rgba=\"1 0.43 0 1\"/></material>"
    split("base_link link_1 link_2 link_3 link_4 link_5 link_6", L, " ")
    for (i = 1; i <= 7; i++)
      printf "<link name=\"%s\"><visual><origin xyz=\"0 0 %s\"/><geometry><mesh filename=\"package://kx_irb_support/meshes/%s.obj\"/></geometry><material name=\"orange\"/></visual></link>\n", L[i], i == 1 ? 0.08 : 0, L[i]
    split("0 0 0|0.15 0 0.4865|0 0 0.475|0.3 0 0|0.3 0 0|0.065 0 0", O, "|")
    split("0 0 1|0 1 0|0 1 0|1 0 0|0 1 0|1 0 0", A, "|")
    split("3.1416 1.9198 0.9599 3.4906 2.0071 6.9813", U, " ")
    split("-3.1416 -1.0995 -4.1015 -3.4906 -2.0071 -6.9813", D, " ")
    for (j = 1; j <= 6; j++)
      printf "<joint name=\"joint_%d\" type=\"revolute\"><origin xyz=\"%s\"/><parent link=\"%s\"/><child link=\"%s\"/><axis xyz=\"%s\"/><limit lower=\"%s\" upper=\"%s\" effort=\"0\" velocity=\"2.6\"/></joint>\n", j, O[j], L[j], L[j + 1], A[j], D[j], U[j]
    print "<link name=\"flange\"/><joint name=\"joint_6-flange\" type=\"fixed\"><parent link=\"link_6\"/><child link=\"flange\"/></joint></robot>" }' \
    > "$pkg/urdf/irb1600.urdf"
  echo "$pkg/urdf/irb1600.urdf"
}

sample="$KX_SOURCE/../shared/data/irb1600/abb_irb1600_support/urdf/irb1600_6_12.urdf"
if [ -f "$sample" ]; then
  urdf="$sample"; echo "bras de référence : l'échantillon publié $sample"
else
  urdf=$(write_irb1600_urdf "$W/synthetic"); echo "bras de référence : description écrite par le test"
fi

"$ARM" import "$urdf" "$W/irb" >"$W/import.txt" 2>&1
kx_check "import : statut 0" kx_eq "$?" 0
kx_check "import : répertoire annoncé" kx_contains "$W/import.txt" "Jeu de données écrit dans $W/irb"
"$MESH" check "$W/irb" >"$W/check.txt" 2>&1
kx_check "check passe sans erreur ni avertissement" kx_contains "$W/check.txt" "Bilan : 0 erreur(s), 0 avertissement(s)"
kx_check "le bras dessiné comme le tourne le modèle" grep -qE '^bWristAsModel +=' "$W/irb/robot.opt"
# The pairs that touch at every pose, written and said (the unit tests judge
# which they are).
kx_check "les paires toujours en contact écrites" grep -qE '^strAlwaysTouching +=' "$W/irb/robot.opt"
pairs=$(sed -n 's/^strAlwaysTouching *= "\(.*\)";$/\1/p' "$W/irb/robot.opt")
if [ -z "$pairs" ]; then
  kx_check "import : aucune paire, dit" kx_contains "$W/import.txt" "Aucune paire de segments n'est en contact à toutes les poses : toutes sont vérifiées, sauf les voisins"
else
  kx_check "import : les paires dites ($pairs)" kx_contains "$W/import.txt" "jamais vérifiés l'un contre l'autre (strAlwaysTouching) : $pairs"
fi
# The base's mesh rests on the floor: its lowest point at z = 0.
zmin=$("$MESH" info "$W/irb/robotbody.obj" | sed -n 's/.*z \[\([^,]*\),.*/\1/p')
kx_check "le socle repose sur le sol (z min = $zmin)" awk -v z="$zmin" 'BEGIN { exit !(z > -0.001 && z < 0.001) }'

# --- The arm on screen ------------------------------------------------------

kx_start_xvfb || exit 1
data="$W/irb"
kx_launch "$data" KX-E2E-Arm --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
kx_connect || { kx_fail "pas de port annoncé"; kx_finish; }
kx() { kx_send "$1"; }

# The start view is made for the default arm: the camera steps back and up
# along its line of sight until the whole arm is in the picture. The keys
# reach the window before the picture is asked for only in the event loop's
# own time, so the picture is taken until it shows the new view twice.
kx "screenshot before.png" >/dev/null
xdotool key --window "$KX_WID" --repeat 12 --delay 20 Down 2>/dev/null
xdotool key --window "$KX_WID" --repeat 18 --delay 20 Page_Up 2>/dev/null
kx_until_view_settles() {
  local i previous="$data/before.png"
  for i in $(seq 1 50); do
    kx "screenshot view$i.png" >/dev/null
    if ! cmp -s "$data/view$i.png" "$data/before.png" && cmp -s "$data/view$i.png" "$previous"; then return 0; fi
    previous="$data/view$i.png"
  done
  return 1
}
kx_check "la vue recule" kx_until_view_settles

poses=("0 0 0 0 0 0" "35 30 -20 0 45 0" "-60 -30 20 90 -60 45")
names=(zero pose1 pose2)
for i in 0 1 2; do
  kx "angles ${poses[$i]}" >/dev/null
  kx "screenshot arm-${names[$i]}.png" >/dev/null
  orange=$(kx_fraction "$data/arm-${names[$i]}.png" "r>0.75&&g>0.2&&g<0.6&&b<0.25")
  kx_check "${names[$i]} : le bras dans sa couleur (part orange $orange)" kx_lt 0.01 "$orange"
done
kx_check "les trois poses diffèrent" kx_lt 0.01 "$(kx_difference "$data/arm-zero.png" "$data/arm-pose1.png")"
kx_check "les trois poses diffèrent" kx_lt 0.01 "$(kx_difference "$data/arm-pose1.png" "$data/arm-pose2.png")"
kx "angles 0 0 0 0 0 0" >/dev/null
kx "show shadows off" >/dev/null
kx "screenshot noshadow.png" >/dev/null
kx_darker_mask "$data/arm-zero.png" "$data/noshadow.png" "$W/shadow.png"
kx_check "son ombre au sol" kx_lt 0.01 "$(kx_fraction "$W/shadow.png" "r>0.5")"
kx "exit" >/dev/null
kx_wait_exit 20; kx_check "exit : statut 0" kx_eq "$KX_EXIT_STATUS" 0
if [ -n "${KX_PICTURES:-}" ]; then
  mkdir -p "$KX_PICTURES"
  for n in "${names[@]}"; do convert "$data/arm-$n.png" -resize 400x300 "$KX_PICTURES/arm-irb1600-$n.png"; done
fi

# --- Refused, and nothing left behind --------------------------------------

refused() {
  local what="$1" file="$2" reason="$3"; shift 3
  rm -rf "$W/out"; mkdir -p "$W/out"
  "$ARM" import "$file" "$W/out/data" "$@" >"$W/refused.txt" 2>&1
  kx_check "$what : statut 1" kx_eq "$?" 1
  kx_check "$what : raison donnée" kx_contains "$W/refused.txt" "$reason"
  kx_check "$what : rien n'est laissé" kx_eq "$(ls -A "$W/out")" ""
}
pkg="$(cd "$(dirname "$urdf")/.." && pwd)"
mkdir -p "$W/variants"; cp -r "$pkg" "$W/variants/"
copy="$W/variants/$(basename "$pkg")/urdf/$(basename "$urdf")"
# A shoulder set 100 mm sideways, then a wrist whose axis 5 passes 109.2 mm
# from axis 4.
sed -E 's|(<origin xyz=")0\.15 0 0\.4865|\10.15 0.1 0.4865|' "$urdf" > "${copy%.urdf}-side.urdf"
refused "décalage latéral" "${copy%.urdf}-side.urdf" "le centre du poignet est à 100,0 mm du plan de l'axe 1 et du bras"
awk '/name="joint_5"/ { f = 1 } f && /<origin/ { sub(/xyz="0\.3(00)? 0 0"/, "xyz=\"0.300 0 0.1092\""); f = 0 } { print }' \
  "$urdf" > "${copy%.urdf}-wrist.urdf"
refused "poignet non concourant" "${copy%.urdf}-wrist.urdf" "les axes 4, 5 et 6 ne se coupent pas : écart de 109,2 mm au poignet"
sed -E 's|link_3\.(stl\|obj)|link_3_absent.\1|' "$urdf" > "${copy%.urdf}-mesh.urdf"
refused "maillage manquant avec --strict" "${copy%.urdf}-mesh.urdf" "est introuvable" --strict
# Without --strict the missing mesh becomes a cylinder, with a warning.
rm -rf "$W/out"; mkdir -p "$W/out"
"$ARM" import "${copy%.urdf}-mesh.urdf" "$W/out/data" >"$W/plain.txt" 2>&1
kx_check "maillage manquant : importé" kx_eq "$?" 0
kx_check "maillage manquant : le fichier nommé" kx_contains "$W/plain.txt" "link_3_absent"
kx_check "maillage manquant : un cylindre le remplace" kx_contains "$W/plain.txt" "un cylindre de l'articulation à la suivante le remplace"
head -c 300 "$urdf" > "$W/variants/broken.urdf"
refused "fichier tronqué" "$W/variants/broken.urdf" "description illisible"
# A directory or a FIFO as the description or the data sheet: refused at
# once (a FIFO blocked the reading for ever; `make DIR /tmp` wrote the
# example arm with status 0).
mkfifo "$W/variants/fifo"
for input in "$W/variants" "$W/variants/fifo"; do
  name=${input##*/}
  refused "import de $name" "$input" "$input : pas un fichier ordinaire"
  rm -rf "$W/out"; mkdir -p "$W/out"
  timeout 20 "$ARM" make "$W/out/data" "$input" >"$W/refused.txt" 2>&1
  kx_check "make de $name : statut 1" kx_eq "$?" 1
  kx_check "make de $name : raison donnée" kx_contains "$W/refused.txt" "$input : pas un fichier ordinaire"
  kx_check "make de $name : rien n'est laissé" kx_eq "$(ls -A "$W/out")" ""
done

# --- make -------------------------------------------------------------------

"$ARM" make "$W/made" >"$W/make.txt" 2>&1
kx_check "make : statut 0" kx_eq "$?" 0
"$MESH" check "$W/made" >"$W/check-made.txt" 2>&1
kx_check "make : check passe" kx_contains "$W/check-made.txt" "Bilan : 0 erreur(s), 0 avertissement(s)"
kx_check "make : aucune paire toujours en contact" kx_contains "$W/make.txt" "Aucune paire de segments n'est en contact à toutes les poses"
# Without an elbow offset the forearm's roll bearing sits inside the upper
# arm's end at every pose.
echo "fA2 = 0.0;" > "$W/sheet-a2.txt"
"$ARM" make "$W/made-a2" "$W/sheet-a2.txt" >"$W/make-a2.txt" 2>&1
kx_check "make sans déport du coude : statut 0" kx_eq "$?" 0
kx_check "make sans déport du coude : la paire dite" kx_contains "$W/make-a2.txt" "Segments en contact à toutes les poses, jamais vérifiés l'un contre l'autre (strAlwaysTouching) : UpperArm:LowerArm"
kx_finish
