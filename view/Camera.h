#pragma once
// The main scene's camera and the moves its keys and mouse drags make. Pure
// arithmetic, so it is tested without a window.

struct Vec3f {
    float x, y, z;
};

struct CCamera {
    Vec3f eye;        // position in world coordinates
    Vec3f direction;  // the camera looks at eye + direction
    Vec3f up;         // handed to gluLookAt as it is
};

// The start camera: 21 above the ground, looking down at (0, 1, 0). The up
// vector points away from +z; with the negative field of view of the window
// the picture comes out upright, +z up the screen and +x to the left.
CCamera StartCamera();

// Step of the arrow and page keys, in world units.
constexpr float kCameraStep = 0.3f;
// Turn per pixel of mouse drag, in radians.
constexpr float kCameraTurnPerPixel = 0.003f;
// The lowest the eye goes: just above the ground, never under it, where the
// picture would be black.
constexpr float kMinEyeHeight = 0.5f;

// GLUT special-key codes of the keys that move the eye.
enum CameraKey {
    kKeyLeft = 100,
    kKeyUp = 101,
    kKeyRight = 102,
    kKeyDown = 103,
    kKeyPageUp = 104,
    kKeyPageDown = 105,
};

// Moves the eye for an arrow or page key; returns false (and changes
// nothing) for any other key. Up and Down move along the horizontal part of
// the direction, so they do nothing while the camera looks straight up or
// down. No move takes the eye below kMinEyeHeight.
bool MoveCamera(CCamera& camera, int key);

// Turns direction and up together: first in their common plane by the
// vertical drag dy, then about world z by the horizontal drag dx (pixels,
// last position minus new). Lengths and the angle between them are kept.
void TurnCamera(CCamera& camera, int dx, int dy);
