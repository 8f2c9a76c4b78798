#include "formats/MeshBox.h"

#include <algorithm>

MeshBox BoxOfVertices(const std::vector<float>& xyz)
{
    MeshBox box;
    for (std::size_t i = 0; i + 2 < xyz.size(); i += 3) {
        for (int k = 0; k < 3; ++k) {
            box.lo[k] = box.empty ? xyz[i + k] : std::min(box.lo[k], xyz[i + k]);
            box.hi[k] = box.empty ? xyz[i + k] : std::max(box.hi[k], xyz[i + k]);
        }
        box.empty = false;
    }
    return box;
}
