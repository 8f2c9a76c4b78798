#pragma once
// The camera that turns around the arm: it looks at a point of the base
// axis from an azimuth, an elevation and a distance. A drag turns it around
// the axis and tilts it, never under the floor; the wheel brings it nearer
// or takes it away along its line of sight. Pure arithmetic on the scene's
// camera (Camera.h), tested without a window.
#include "view/Camera.h"

struct OrbitView {
    float azimuth;    // degrees, counter-clockwise from +x, seen from above
    float elevation;  // degrees above the horizontal
    float distance;   // scene units from the point looked at
};

// The point of the base axis the orbit looks at: about the middle of the
// arm's height.
constexpr Vec3f kOrbitCentre = {0.0f, 0.0f, 2.0f};
// The nearest and farthest: the sky dome (radius 65) must stay within the
// far plane (100) seen from the eye.
constexpr float kOrbitMinDistance = 2.0f;
constexpr float kOrbitMaxDistance = 34.0f;
constexpr float kOrbitMaxElevation = 89.0f;
// Degrees turned per pixel of drag, and the distance's factor per wheel step.
constexpr float kOrbitDegreesPerPixel = 0.3f;
constexpr float kOrbitWheelFactor = 0.9f;

// The view within its limits: the distance within its range, the elevation
// below the zenith and keeping the eye above the floor (kMinEyeHeight).
OrbitView ClampOrbit(OrbitView view);
// The orbit view whose eye is the camera's eye.
OrbitView OrbitOfCamera(const CCamera& camera);
// The camera of an orbit view: its eye, looking at kOrbitCentre, upright
// in the picture with the window's negative field of view.
CCamera CameraOfOrbit(const OrbitView& view);
// A drag of (dx, dy) pixels, last position minus new, as the scene's drag
// gives them; a wheel step toward (+1) or away from (-1) the centre.
OrbitView DragOrbit(const OrbitView& view, int dx, int dy);
OrbitView ZoomOrbit(const OrbitView& view, int steps);
