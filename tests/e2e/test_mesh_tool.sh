#!/usr/bin/env bash
# kalimbrax-mesh: import of meshes written here as text (an STL box, a
# Wavefront cylinder, a CAD-like hollow cylinder, a COLLADA tetrahedron,
# meshes over the format's limit), smooth normals and welding, simplification,
# info, export and the round trip, the data-directory check, and the imported
# meshes shown by the simulator in place of two links (beside the tool's
# checks, see simulator_pictures).
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/mesh-fixtures.sh"
MESH="$KX_BUILD/kalimbrax-mesh"
W="$KX_WORK"

# --- Inputs ---------------------------------------------------------------

# write_box_stl FILE X0 X1 Y0 Y1 Z0 Z1: an ASCII STL box, outward normals,
# corners counter-clockwise seen from outside.
write_box_stl() {
  awk -v x0="$2" -v x1="$3" -v y0="$4" -v y1="$5" -v z0="$6" -v z1="$7" 'BEGIN {
    X[0] = x0; X[1] = x1; Y[0] = y0; Y[1] = y1; Z[0] = z0; Z[1] = z1
    f[1] = "0 0 -1|000|010|110|100"; f[2] = "0 0 1|001|101|111|011"
    f[3] = "0 -1 0|000|100|101|001"; f[4] = "0 1 0|010|011|111|110"
    f[5] = "-1 0 0|000|001|011|010"; f[6] = "1 0 0|100|110|111|101"
    print "solid box"
    for (i = 1; i <= 6; i++) {
      split(f[i], p, "|")
      for (k = 2; k <= 5; k++) c[k] = X[substr(p[k], 1, 1)] " " Y[substr(p[k], 2, 1)] " " Z[substr(p[k], 3, 1)]
      printf "facet normal %s\nouter loop\nvertex %s\nvertex %s\nvertex %s\nendloop\nendfacet\n", p[1], c[2], c[3], c[4]
      printf "facet normal %s\nouter loop\nvertex %s\nvertex %s\nvertex %s\nendloop\nendfacet\n", p[1], c[2], c[4], c[5]
    }
    print "endsolid box" }' > "$1"
}

# write_cylinder_obj FILE SEGMENTS RADIUS HEIGHT: a Wavefront cylinder along
# z from 0 to HEIGHT with texture coordinates and no normals.
write_cylinder_obj() {
  awk -v n="$2" -v r="$3" -v h="$4" 'BEGIN {
    pi = atan2(0, -1); print "o cylinder"
    for (k = 0; k <= n; k++) { a = 2 * pi * k / n
      printf "v %.6f %.6f 0\nv %.6f %.6f %.6f\n", r * cos(a), r * sin(a), r * cos(a), r * sin(a), h }
    for (k = 0; k <= n; k++) printf "vt %.6f 0\nvt %.6f 1\n", k / n, k / n
    printf "v 0 0 0\nv 0 0 %.6f\nvt 0.5 0.5\n", h
    c0 = 2 * (n + 1) + 1; c1 = c0 + 1
    for (k = 0; k < n; k++) { b = 2 * k + 1
      printf "f %d/%d %d/%d %d/%d %d/%d\n", b, b, b + 2, b + 2, b + 3, b + 3, b + 1, b + 1
      printf "f %d/%d %d/%d %d/%d\n", c0, c0, b + 2, c0, b, c0
      printf "f %d/%d %d/%d %d/%d\n", c1, c0, b + 1, c0, b + 3, c0 } }' > "$1"
}

# A flat grid of N x N quads: (N+1)^2 vertices, 2 N^2 triangles.
write_grid_obj() {
  awk -v n="$2" 'BEGIN {
    for (j = 0; j <= n; j++) for (i = 0; i <= n; i++) printf "v %d %d 0\n", i, j
    for (j = 0; j < n; j++) for (i = 0; i < n; i++) { a = j * (n + 1) + i + 1
      printf "f %d %d %d %d\n", a, a + 1, a + n + 2, a + n + 1 } }' > "$1"
}

# N separate triangles sharing no position: nothing to weld, and every edge
# an open border, which the simplifier does not move.
write_soup_obj() {
  awk -v n="$2" 'BEGIN {
    for (i = 0; i < n; i++) printf "v %d 0 0\nv %d 1 0\nv %d 0 1\n", i, i, i
    for (i = 0; i < n; i++) printf "f %d %d %d\n", 3 * i + 1, 3 * i + 2, 3 * i + 3 }' > "$1"
}

# write_tetra_dae FILE UP: a COLLADA tetrahedron 2 high along z, its up axis
# declared UP (Z_UP, Y_UP).
write_tetra_dae() {
  cat > "$1" <<DAE
<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <asset><unit name="meter" meter="1"/><up_axis>$2</up_axis></asset>
  <library_geometries><geometry id="g"><mesh>
    <source id="p"><float_array id="pa" count="12">0 0 0 1 0 0 0 1 0 0 0 2</float_array>
      <technique_common><accessor source="#pa" count="4" stride="3">
        <param name="X" type="float"/><param name="Y" type="float"/><param name="Z" type="float"/>
      </accessor></technique_common></source>
    <vertices id="v"><input semantic="POSITION" source="#p"/></vertices>
    <triangles count="4"><input semantic="VERTEX" source="#v" offset="0"/><p>0 2 1 0 1 3 0 3 2 1 2 3</p></triangles>
  </mesh></geometry></library_geometries>
  <library_visual_scenes><visual_scene id="s"><node id="n"><instance_geometry url="#g"/></node></visual_scene></library_visual_scenes>
  <scene><instance_visual_scene url="#s"/></scene>
</COLLADA>
DAE
}

field() { sed -n "s/^$2 : //p" "$1"; }  # field FILE NAME: a line of "info"
none_written() { ! compgen -G "$1" >/dev/null; }  # none_written PATTERN: no file matches
check_status() { "$MESH" check "$1" > "$2" 2>&1; echo $?; }  # check_status DIR REPORT

write_box_stl "$W/box.stl" 0 1 0 1 0 1
write_cylinder_obj "$W/cylinder.obj" 24 0.3 3.85

# --- import and info ------------------------------------------------------

"$MESH" import "$W/box.stl" "$W/box.bin" > "$W/out.txt" 2>&1
kx_check "STL importé" kx_eq "$?" 0
"$MESH" info "$W/box.bin" > "$W/box.info"
kx_check "info du cube: statut 0" kx_eq "$?" 0
# Hard edges: each face keeps its own four corners (6 x 4), two triangles each.
kx_check "cube: 24 sommets" kx_eq "$(field "$W/box.info" Sommets)" 24
kx_check "cube: 12 triangles" kx_eq "$(field "$W/box.info" Triangles)" 12
kx_check "cube: non texturé" kx_eq "$(field "$W/box.info" Texturé)" non
kx_check "cube: version 12" kx_eq "$(field "$W/box.info" Version)" 12
kx_check "cube: boîte" kx_eq "$(field "$W/box.info" 'Boîte englobante')" "x [0, 1]  y [0, 1]  z [0, 1]"
kx_check "cube: normales unité" kx_contains "$W/box.info" "Normales : toutes de longueur unité"
kx_check "cube: triangles à l'endroit" kx_lacks "$W/box.info" envers
# The file is exactly what the format says: 7 + 24 x 24 + 12 x 12 bytes.
kx_check "cube: taille du fichier" kx_eq "$(stat -c %s "$W/box.bin")" $((7 + 24 * 24 + 12 * 12))

"$MESH" import "$W/cylinder.obj" "$W/cylinder.bin" > "$W/out.txt" 2>&1
kx_check "OBJ importé" kx_eq "$?" 0
kx_check "normales calculées annoncées" kx_contains "$W/out.txt" "normales lisses calculées"
"$MESH" info "$W/cylinder.bin" > "$W/cylinder.info"
kx_check "info du cylindre: statut 0" kx_eq "$?" 0
kx_check "cylindre: texturé" kx_eq "$(field "$W/cylinder.info" Texturé)" oui
# Side: 25 columns x 2 rows (the seam has its own column for u = 1); each cap:
# 24 rim corners with the cap's normal (the seam's two are welded, having one
# texture coordinate there) and the centre; 24 x 4 triangles.
kx_check "cylindre: 100 sommets" kx_eq "$(field "$W/cylinder.info" Sommets)" 100
kx_check "cylindre: 96 triangles" kx_eq "$(field "$W/cylinder.info" Triangles)" 96
kx_check "cylindre: boîte" kx_eq "$(field "$W/cylinder.info" 'Boîte englobante')" "x [-0.3, 0.3]  y [-0.3, 0.3]  z [0, 3.85]"
kx_check "cylindre: normales unité" kx_contains "$W/cylinder.info" "Normales : toutes de longueur unité"
kx_check "cylindre: triangles à l'endroit" kx_lacks "$W/cylinder.info" envers

# --- in the simulator, beside the rest -----------------------------------

# simulator_pictures, in a subshell of its own: the simulator shows the
# imported meshes. It needs only the cylinder imported above, so it runs on a
# display of its own beside the tool's checks below (kalimbrax-mesh takes
# one core, the program's start and its frames the other), its lines printed
# at the end; its exit status is its number of failures.
simulator_pictures() {
  trap kx_stop_all EXIT
  # The upper arm (along its x axis, 4.4 long) becomes a square bar and the
  # lower arm (along its z axis, 3.85 long) the cylinder.
  data=$(kx_data_copy ownarm)
  write_box_stl "$W/bar.stl" -0.45 4.85 -0.4 0.4 -0.4 0.4
  "$MESH" import "$W/bar.stl" "$data/bar.obj" > /dev/null
  cp "$W/cylinder.bin" "$data/cylinder.obj"
  sed -i -e 's/"robotupperarm.obj"/"bar.obj"/' -e 's/"robotlowerarm.obj"/"cylinder.obj"/' "$data/robot.opt"
  kx_check "check du bras modifié: statut 0" kx_eq "$(check_status "$data" "$W/ownarm.txt")" 0
  kx_check "check du bras modifié: la barre chargée" kx_contains "$W/ownarm.txt" "ok : bar.obj (strUpperArmFileObj) : 24 sommets, 12 triangles"

  kx_start_xvfb || exit 1
  picture() {  # picture NAME DATA_DIR: starts the simulator, a picture, Escape
    mkdir -p "$W/$1"
    kx_start_app "$W/$1" "$W/$1/console.txt" "$KX_PROGRAM" "$2" --port 0
    local wid
    wid=$(kx_wait_window '^Kalimbrax$' 30) || { echo "pas de fenêtre pour $1" >&2; cat "$W/$1/console.txt" >&2; return 1; }
    KX_DATA="$2"
    kx_connect "$W/$1/console.txt" && kx_shot "$1" || return 1
    kx_key "$wid" Escape
    kx_wait_exit 20
    [ "$KX_EXIT_STATUS" = 0 ]
  }
  kx_check "simulateur avec le bras modifié: image" picture ownarm "$data"
  kx_check "simulateur avec default/: image" picture default "$(kx_data_copy plain)"
  kx_check "simulateur avec default/, encore: image" picture default2 "$(kx_data_copy plain2)"
  if [ -s "$W/ownarm.png" ] && [ -s "$W/default.png" ] && [ -s "$W/default2.png" ]; then
    # Two pictures of the same data agree; the new links change thousands of
    # pixels (the bar, the cylinder and their reflections).
    same=$(compare -metric AE -fuzz 10% "$W/default2.png" "$W/default.png" null: 2>&1 | cut -d' ' -f1)
    changed=$(compare -metric AE -fuzz 10% "$W/ownarm.png" "$W/default.png" null: 2>&1 | cut -d' ' -f1)
    kx_check "même données, même image ($same pixels différents)" kx_lt "$same" 50
    kx_check "les nouveaux segments changent l'image ($changed pixels)" kx_lt 2000 "$changed"
    [ -n "${KX_MESH_PICTURE:-}" ] && cp "$W/ownarm.png" "$KX_MESH_PICTURE"
  fi
  exit $((KX_FAILURES > 255 ? 255 : KX_FAILURES))
}
( simulator_pictures ) >"$W/simulator.txt" 2>&1 &
simulator=$!
# However the test ends, the simulator's part ends first, its program and
# display with it.
trap 'wait "$simulator" 2>/dev/null; kx_cleanup' EXIT

# Transforms apply in the order given.
bbox_after() { "$MESH" import "$W/box.stl" "$W/t.bin" "$@" > /dev/null && field <("$MESH" info "$W/t.bin") 'Boîte englobante'; }
kx_check "translation puis échelle" kx_eq "$(bbox_after --translate 1 0 0 --scale 2)" "x [2, 4]  y [0, 2]  z [0, 2]"
kx_check "échelle puis translation" kx_eq "$(bbox_after --scale 2 --translate 1 0 0)" "x [1, 3]  y [0, 2]  z [0, 2]"
kx_check "quart de tour exact autour de z" kx_eq "$(bbox_after --rotate-z 90)" "x [-1, 0]  y [0, 1]  z [0, 1]"
kx_check "quart de tour autour de x" kx_eq "$(bbox_after --rotate-x 90)" "x [0, 1]  y [-1, 0]  z [0, 1]"
kx_check "quart de tour autour de y" kx_eq "$(bbox_after --rotate-y 90)" "x [0, 1]  y [0, 1]  z [-1, 0]"
# A mirror keeps the faces turned outward and the normals unit.
"$MESH" import "$W/cylinder.obj" "$W/mirror.bin" --scale -0.5 --rotate-y 33 > /dev/null
"$MESH" info "$W/mirror.bin" > "$W/mirror.info"
kx_check "miroir: statut 0" kx_eq "$?" 0
kx_check "miroir: triangles à l'endroit" kx_lacks "$W/mirror.info" envers

"$MESH" import "$W/box.stl" "$W/box21.bin" --version 21 > /dev/null
kx_check "version 21 dans l'en-tête" kx_eq "$(od -An -tu1 -j1 -N1 "$W/box21.bin" | tr -d ' ')" 21
kx_check "version 21: même contenu" cmp -s <(tail -c +3 "$W/box.bin") <(tail -c +3 "$W/box21.bin")

# --- smooth normals and welding --------------------------------------------

# The hollow cylinder of a CAD export: 384 triangles, every corner its own
# normal, 192 distinct positions. Smooth walls and sharp rims take one vertex
# per rim position and face: 384. A crease above the rims' 90 degrees
# smooths them too: one vertex per position, 192. A crease below the walls'
# 7.5 degrees between faces, or the file's own normals, keep the walls
# faceted: four vertices per quad of wall, 576.
write_tube_obj "$W/tube.obj" 48 1.5 1.1 2
while IFS='|' read -r options vertices what; do
  "$MESH" import "$W/tube.obj" "$W/tube.bin" $options > "$W/tube.txt" 2>&1
  kx_check "cylindre creux $what: statut 0" kx_eq "$?" 0
  kx_check "cylindre creux $what: $vertices sommets" kx_eq "$(field <("$MESH" info "$W/tube.bin") Sommets)" "$vertices"
  kx_check "cylindre creux $what: soudure annoncée" kx_contains "$W/tube.txt" "Soudure : 1152 coins de triangles, $vertices sommets"
done <<'CASES'
|384|par défaut
--crease 5|576|pli à 5°
--crease 175|192|pli à 175°
--keep-normals|576|normales du fichier
CASES
"$MESH" import "$W/tube.obj" "$W/tube.bin" > "$W/tube.txt" 2>&1
kx_check "normales du fichier remplacées: annoncé" kx_contains "$W/tube.txt" "Normales du fichier remplacées par des normales lisses (arêtes vives au-delà de 30°)"
"$MESH" info "$W/tube.bin" > "$W/tube.info"
kx_check "cylindre creux: au plus un sommet par triangle" kx_eq "$(field "$W/tube.info" Triangles)" 384
kx_check "cylindre creux: triangles à l'endroit" kx_lacks "$W/tube.info" envers
# The inner wall's 96 vertices face the axis; walls and ends face out.
kx_check "info: normales vers l'extérieur et l'intérieur" kx_contains "$W/tube.info" "Normales vues du centre de la boîte englobante : 288 vers l'extérieur, 96 vers l'intérieur"
kx_check "info: positions partagées" kx_contains "$W/tube.info" "Positions : 192 distinctes ; 384 sommet(s) à la même position qu'un autre"

# A COLLADA file keeps its axes: z up stays z up, the way the simulator
# stands (the library would turn it to y up).
write_tetra_dae "$W/tetra.dae" Z_UP
"$MESH" import "$W/tetra.dae" "$W/tetra.bin" > /dev/null 2>&1
kx_check "COLLADA z en haut: boîte" kx_eq "$(field <("$MESH" info "$W/tetra.bin") 'Boîte englobante')" "x [0, 1]  y [0, 1]  z [0, 2]"

# --- the format's limit ---------------------------------------------------

# A flat grid of 90601 vertices and 180000 triangles is simplified just
# under the limit; its border stays where it was.
write_grid_obj "$W/grid.obj" 300
"$MESH" import "$W/grid.obj" "$W/grid.bin" > "$W/grid.txt" 2>&1
kx_check "grille trop grande simplifiée: statut 0" kx_eq "$?" 0
kx_check "grille: triangles avant et après, erreur" grep -qE "^Simplifié pour tenir dans le format : 180000 triangles avant, [0-9]+ après \(90601 sommets avant, [0-9]+ après\), erreur relative [0-9.e+-]+" "$W/grid.txt"
"$MESH" info "$W/grid.bin" > "$W/grid.info"
kx_check "grille simplifiée juste assez (au moins 60000 triangles)" kx_lt 59999 "$(field "$W/grid.info" Triangles)"
kx_check "grille simplifiée sous la limite" kx_lt "$(field "$W/grid.info" Triangles)" 65536
kx_check "grille simplifiée: bords en place" kx_eq "$(field "$W/grid.info" 'Boîte englobante')" "x [0, 300]  y [0, 300]  z [0, 0]"
kx_check "grille simplifiée: triangles à l'endroit" kx_lacks "$W/grid.info" envers

"$MESH" import "$W/grid.obj" "$W/refused.bin" --no-simplify > "$W/refused.txt" 2>&1
kx_check "--no-simplify: statut 1" kx_eq "$?" 1
kx_check "--no-simplify: les nombres de sommets et de triangles" kx_contains "$W/refused.txt" "90601 sommets et 180000 triangles"
kx_check "--no-simplify: aucun fichier écrit" none_written "$W/refused.bin*"

# Separate triangles: only borders, nothing the simplifier may move.
write_soup_obj "$W/soup.obj" 22000
"$MESH" import "$W/soup.obj" "$W/soup.bin" > "$W/soup.txt" 2>&1
kx_check "triangles séparés trop nombreux: statut 1" kx_eq "$?" 1
kx_check "triangles séparés: les nombres avant et après" kx_contains "$W/soup.txt" "le maillage a 66000 sommets et 22000 triangles, le format en accepte au plus 65535 de chaque, et la simplification s'arrête à 66000 sommets et 22000 triangles"
kx_check "triangles séparés: aucun fichier écrit" none_written "$W/soup.bin*"

write_grid_obj "$W/grid.obj" 180   # 32761 vertices, 64800 triangles: fits
"$MESH" import "$W/grid.obj" "$W/fits.bin" > "$W/fits.txt" 2>&1
kx_check "grille juste sous la limite acceptée" kx_eq "$(field <("$MESH" info "$W/fits.bin") Triangles)" 64800
kx_check "grille juste sous la limite: pas simplifiée" kx_lacks "$W/fits.txt" Simplifié

# --- export and round trip ------------------------------------------------

roundtrip() {  # roundtrip NAME BINARY: export, import again, compare the bytes
  "$MESH" export "$2" "$W/$1.obj" > "$W/$1.export.txt" 2>&1 &&
    "$MESH" import "$W/$1.obj" "$W/$1.again.bin" > /dev/null 2>&1 &&
    cmp "$2" "$W/$1.again.bin"
}
kx_check "aller-retour du cube" roundtrip box "$W/box.bin"
kx_check "aller-retour du cylindre texturé" roundtrip cylinder "$W/cylinder.bin"
# A turn that is not a quarter leaves values such as 1e-08 whose "%.9g" the
# import library reads one step off: the export spells them another way.
"$MESH" import "$W/cylinder.obj" "$W/turned.bin" --scale 1.7 --rotate-x 30 --rotate-z 17 --translate 0.1 0.2 0.3 > /dev/null
kx_check "aller-retour du cylindre tourné" roundtrip turned "$W/turned.bin"
kx_check "aller-retour du cylindre creux" roundtrip tube "$W/tube.bin"
kx_check "aller-retour de la grille simplifiée" roundtrip grid "$W/grid.bin"
kx_check "export: pas de valeur inexacte" kx_lacks "$W/turned.export.txt" Attention
kx_check "export: lignes v/vt/vn" grep -qE '^f [0-9]+/[0-9]+/[0-9]+ [0-9]+/[0-9]+/[0-9]+ [0-9]+/[0-9]+/[0-9]+$' "$W/cylinder.obj"
kx_check "export non texturé: lignes v//vn" grep -qE '^f [0-9]+//[0-9]+ ' "$W/box.obj"

# info sees triangles turned against their normals: the box with two corners
# of every face swapped, imported with its own normals.
awk '/^f / { print $1, $2, $4, $3; next } { print }' "$W/box.obj" > "$W/inverted.obj"
"$MESH" import "$W/inverted.obj" "$W/inverted.bin" --keep-normals > /dev/null 2>&1
kx_check "info: 12 triangles à l'envers" kx_contains <("$MESH" info "$W/inverted.bin") "invisibles de face) : 12"

# Files the simulator refuses.
head -c 100 "$W/box.bin" > "$W/cut.bin"
"$MESH" info "$W/cut.bin" > "$W/cut.info"
kx_check "fichier tronqué: statut 1" kx_eq "$?" 1
kx_check "fichier tronqué: dit" kx_contains "$W/cut.info" "Fichier tronqué"
"$MESH" info "$W/cylinder.obj" > "$W/text.info"
kx_check "OBJ texte: conseil d'import" kx_contains "$W/text.info" "kalimbrax-mesh import"

# --- usage -----------------------------------------------------------------

usage_status() { "$MESH" "$@" > /dev/null 2> "$W/usage.txt"; echo $?; }
kx_check "sans argument: 2" kx_eq "$(usage_status)" 2
kx_check "commande inconnue: 2" kx_eq "$(usage_status convert a b)" 2
kx_check "option inconnue: 2" kx_eq "$(usage_status import "$W/box.stl" "$W/x.bin" --mirror)" 2
kx_check "version 13: 2" kx_eq "$(usage_status import "$W/box.stl" "$W/x.bin" --version 13)" 2
kx_check "translation incomplète: 2" kx_eq "$(usage_status import "$W/box.stl" "$W/x.bin" --translate 1 2)" 2
kx_check "pli sans angle: 2" kx_eq "$(usage_status import "$W/box.stl" "$W/x.bin" --crease)" 2
kx_check "pli de 200 degrés: 2" kx_eq "$(usage_status import "$W/box.stl" "$W/x.bin" --crease 200)" 2
kx_check "usage sur la sortie d'erreur" kx_contains "$W/usage.txt" "Usage :"
"$MESH" import "$W/nothing.stl" "$W/x.bin" > "$W/missing.txt" 2>&1
kx_check "entrée absente: statut 1" kx_eq "$?" 1
kx_check "entrée absente: rien d'écrit" none_written "$W/x.bin*"

# Inputs past what an import may cost, and files that are no mesh: refused
# with the reason, the big file unread (a sparse file: its size is all
# there is), the FIFO unopened (a reading would block), nothing written.
truncate -s 300M "$W/huge.stl"
mkfifo "$W/fifo.stl"
mkdir "$W/dir.stl"
# A binary STL of 1,000,001 triangles, one written again and again.
python3 -c 'import struct, sys
n = 1000001
rec = struct.pack("<12fH", 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0)
sys.stdout.buffer.write(bytes(80) + struct.pack("<I", n) + rec * n)' > "$W/million.stl"
for c in "huge.stl|314572800 octets, 268435456 au plus" "fifo.stl|n'est pas un fichier ordinaire" \
         "dir.stl|n'est pas un fichier ordinaire" "million.stl|plus de 1000000 triangles"; do
  input=${c%%|*} words=${c#*|}
  timeout 60 "$MESH" import "$W/$input" "$W/x.bin" > "$W/bound.txt" 2>&1
  kx_check "$input: statut 1" kx_eq "$?" 1
  kx_check "$input: $words" kx_contains "$W/bound.txt" "$words"
  kx_check "$input: rien d'écrit" none_written "$W/x.bin*"
done
rm -f "$W/huge.stl" "$W/million.stl"

# --- check -----------------------------------------------------------------

kx_check "check de default/: statut 0" kx_eq "$(check_status "$KX_SOURCE/default" "$W/default.txt")" 0
kx_check "check de default/: démarrera" kx_contains "$W/default.txt" "0 erreur(s), 0 avertissement(s). Le simulateur démarrera."

data=$(kx_data_copy typo)
sed -i 's/^fBodySizeZ /fBodySiseZ /' "$data/robot.opt"
kx_check "clé mal écrite: statut 0 (avertissement)" kx_eq "$(check_status "$data" "$W/typo.txt")" 0
kx_check "clé mal écrite: signalée avec la bonne" kx_contains "$W/typo.txt" "robot.opt : clé inconnue fBodySiseZ ; vouliez-vous dire fBodySizeZ ?"
kx_check "clé mal écrite: la vraie est absente, défaut donné" kx_contains "$W/typo.txt" "    fBodySizeZ = 0.0;"

data=$(kx_data_copy nomesh)
rm "$data/robothand.obj"
kx_check "maillage absent: statut 1" kx_eq "$(check_status "$data" "$W/nomesh.txt")" 1
kx_check "maillage absent: dit où" kx_contains "$W/nomesh.txt" "ERREUR : robot.opt, strHandFileObj : le maillage « robothand.obj » est introuvable"
kx_check "maillage absent: ne démarrera pas" kx_contains "$W/nomesh.txt" "Le simulateur ne démarrera pas."

data=$(kx_data_copy cuttexture)
head -c 5000 "$KX_SOURCE/default/ground.tga" > "$data/ground.tga"
head -c 10 "$KX_SOURCE/default/metal.tga" > "$data/metal.tga"
kx_check "textures tronquées: statut 1" kx_eq "$(check_status "$data" "$W/cut.txt")" 1
kx_check "texture tronquée dans ses pixels: avertissement" kx_contains "$W/cut.txt" "ATTENTION : decor.opt, strGroundTextFileName : la texture « ground.tga » est tronquée"
kx_check "texture tronquée dans son en-tête: erreur" kx_contains "$W/cut.txt" "ERREUR : robot.opt, strTextureFileName : la texture « metal.tga » est illisible : fichier tronqué dans son en-tête"

data=$(kx_data_copy options)
rm "$data/glui.opt"
printf 'iScreenWidth = 800;\niScreenHeight = 600\nbFullScreen = false;\n' > "$data/graphics.opt"
printf 'strGroundFileObj = ground.obj;\nstrSkyDomeFileObj = "skydome.obj";\nstrGroundFileObj = "other.obj";\n%s\n' \
  'strSkyDomeFileObj = "x.obj"; strGroundTextFileName = 12; strSkyDomeTxtFileName = "skydome.tga";' > "$data/decor.opt"
# First in robot.opt, so that they are the statements that count.
{ printf 'fLinearSpeed = 0.001;\nfToolX = -nan.;\n'; cat "$data/robot.opt"; } > "$data/robot.first" && mv "$data/robot.first" "$data/robot.opt"
kx_check "options fautives: statut 1" kx_eq "$(check_status "$data" "$W/options.txt")" 1
kx_check "glui.opt absent: seulement une remarque" kx_contains "$W/options.txt" "info : glui.opt est absent"
# Line 2 lacks its ";": the next line's name is taken for the terminator.
kx_check "graphics.opt invalide: ligne 2" kx_contains "$W/options.txt" "ERREUR : graphics.opt est invalide (lecture refusée vers la ligne 2"
kx_check "texte sans guillemets: ignoré" kx_contains "$W/options.txt" "decor.opt : 1 valeur(s) de strGroundFileObj non reconnue(s) et ignorée(s)"
# ... so the second statement is the one that counts.
kx_check "texte sans guillemets: le suivant compte" kx_contains "$W/options.txt" "ERREUR : decor.opt, strGroundFileObj : le maillage « other.obj » est introuvable"
kx_check "clé répétée" kx_contains "$W/options.txt" "decor.opt : la clé strSkyDomeFileObj est écrite plusieurs fois ; seule la première compte"
kx_check "nombre pour un texte" kx_contains "$W/options.txt" "decor.opt : strGroundTextFileName attend un texte entre guillemets"
kx_check "vitesse hors de sa plage" kx_contains "$W/options.txt" "ATTENTION : robot.opt : fLinearSpeed = 0,001 : hors de [1 ; 100000] ; 100 s'applique"
kx_check "outil non fini" kx_contains "$W/options.txt" "ATTENTION : robot.opt : fToolX = -nan : pas un nombre fini ; 0 s'applique"
kx_check "clé mal écrite dans decor.opt" kx_contains "$W/options.txt" "decor.opt : clé inconnue strSkyDomeTxtFileName ; vouliez-vous dire strSkyDomeTextFileName ?"

kx_check "répertoire absent: statut 1" kx_eq "$(check_status "$W/no-such-dir" "$W/nodir.txt")" 1

# --- the simulator's part ------------------------------------------------

wait "$simulator"
simulator_failures=$?
cat "$W/simulator.txt"
KX_FAILURES=$((KX_FAILURES + simulator_failures))
kx_finish
