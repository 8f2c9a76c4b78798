#pragma once
// The trail: the paths the pose's point (the wrist centre, or the tool
// point) took in the motions its history keeps, drawn as lines in the scene
// with a mark at every whole second of motion time, the latest brighter;
// and the way of the last planned move, green where it can be done, red
// from where it cannot, with a mark there.
#include "sim/TrailHistory.h"
#include "view/WindowBounds.h"

#include <vector>

class CTrail {
public:
    explicit CTrail(const CTrailHistory& history) : m_History(history) {}

    // The way of the last planned move (pose units), refused from index
    // `refusedFrom` on (its size when it can be done).
    void SetPlanned(std::vector<float> points, std::size_t refusedFrom);

    // In the trail's own colours, unlit, at this opacity (the reflection
    // blends it into the floor as it does the arm).
    void Draw(float opacity) const;
    // In the caller's colour: the shadow pass draws it flattened in black.
    void DrawFlat() const;
    // The corners of a box that holds the trail, in scene units; none
    // without a trail.
    std::vector<Point3> BoxCorners() const;

private:
    void DrawPaths(const float* latest, const float* earlier, const float* planned, const float* refused) const;
    void DrawPlanned(const float* planned, const float* refused) const;

    const CTrailHistory& m_History;
    std::vector<float> m_Planned;  // x, y, z per point
    std::size_t m_iRefusedFrom = 0;
};
