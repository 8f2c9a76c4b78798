#pragma once
// The box that holds a mesh's vertices: enough to bound where a link can
// show on screen or cast its shadow without looking at every triangle.
#include <vector>

struct MeshBox {
    float lo[3] = {0.0f, 0.0f, 0.0f};
    float hi[3] = {0.0f, 0.0f, 0.0f};
    bool empty = true;
};

// The box of x, y, z triples; empty without any.
MeshBox BoxOfVertices(const std::vector<float>& xyz);
