#!/usr/bin/env bash
# Mesh fixtures written as Wavefront text, shared by the end-to-end tests.

# write_tube_obj FILE SEGMENTS R_OUT R_IN LENGTH: a hollow cylinder along y
# from 0 to LENGTH, centred on the y axis, the way a CAD export writes a
# casting: outer wall, inner wall (its normals point toward the axis, so the
# normals are mixed seen from the centre), two ring-shaped ends, and every
# triangle with a normal of its own on each corner (nothing shared).
write_tube_obj() {
  awk -v n="$2" -v ro="$3" -v ri="$4" -v len="$5" 'BEGIN {
    pi = atan2(0, -1); print "o tube"
    # Vertex k of ring (radius r, y) is 1 + k + n * ring: rings 0..3 are
    # outer at 0, outer at len, inner at 0, inner at len.
    split(ro " " ro " " ri " " ri, R, " "); split("0 " len " 0 " len, Y, " ")
    for (ring = 0; ring < 4; ring++)
      for (k = 0; k < n; k++) { a = 2 * pi * k / n
        printf "v %.6f %.6f %.6f\n", R[ring + 1] * cos(a), Y[ring + 1], R[ring + 1] * sin(a) }
    nv = 0
    for (k = 0; k < n; k++) {
      k1 = (k + 1) % n; am = 2 * pi * (k + 0.5) / n; c = cos(am); s = sin(am)
      o0 = 1 + k; o1 = 1 + k1; O0 = o0 + n; O1 = o1 + n
      i0 = o0 + 2 * n; i1 = o1 + 2 * n; I0 = o0 + 3 * n; I1 = o1 + 3 * n
      tri(o0, O0, O1, c, 0, s); tri(o0, O1, o1, c, 0, s)          # outer wall, outward
      tri(i0, i1, I1, -c, 0, -s); tri(i0, I1, I0, -c, 0, -s)      # inner wall, toward the axis
      tri(o0, o1, i0, 0, -1, 0); tri(o1, i1, i0, 0, -1, 0)        # end at y = 0
      tri(O0, I0, O1, 0, 1, 0); tri(O1, I0, I1, 0, 1, 0)          # end at y = len
    } }
    function tri(a, b, c, nx, ny, nz,   k) {
      for (k = 0; k < 3; k++) printf "vn %.6f %.6f %.6f\n", nx, ny, nz
      printf "f %d//%d %d//%d %d//%d\n", a, nv + 1, b, nv + 2, c, nv + 3; nv += 3
    }' > "$1"
}
