#pragma once
// The arm's surroundings: the ground sheet and the sky dome.
#include "formats/MeshFormat.h"

namespace datagen {

// Radius of the sky dome. With the start eye about 25.8 from the origin the
// farthest point of the dome stays under the far plane (100).
const double kSkyDomeRadius = 65.0;
// The ground reaches a little past the dome's rim, so no black band shows at
// the horizon, and lies 0.01 under the grid lines drawn at z = 0, so the two
// do not fight in the depth buffer.
const double kGroundRadius = 66.5;
const double kGroundHeight = -0.01;
// Scene units covered by one repeat of the ground texture.
const double kGroundTextureSpan = 8.0;

// A flat disc at kGroundHeight facing up.
MeshData BuildGround();
// A hemisphere (no vertex below z = 0) wound counter-clockwise as seen from
// inside, normals pointing inward; t runs from 0 at the horizon to 1 at the
// zenith.
MeshData BuildSkyDome();

}  // namespace datagen
