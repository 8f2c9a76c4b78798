#pragma once
// The trail: the path the wrist centre took in the latest motion and in the
// one before, drawn as lines in the scene with a mark at every whole second
// of motion time.
#include "robot/MotionRecorder.h"
#include "scene/WindowBounds.h"

#include <vector>

class CTrail {
public:
    explicit CTrail(const CMotionRecorder& recorder) : m_Recorder(recorder) {}

    // In the trail's own colours, unlit, at this opacity (the reflection
    // blends it into the floor as it does the arm).
    void Draw(float opacity) const;
    // In the caller's colour: the shadow pass draws it flattened in black.
    void DrawFlat() const;
    // The corners of a box that holds the trail, in scene units; none
    // without a trail.
    std::vector<Point3> BoxCorners() const;

private:
    void DrawPaths(const float* latest, const float* earlier) const;

    const CMotionRecorder& m_Recorder;
};
