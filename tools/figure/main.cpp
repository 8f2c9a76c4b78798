// kalimbrax-orientation ALPHA BETA GAMMA: the figure of that orientation, as
// SVG on the standard output.
#include "tools/figure/OrientationFigure.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "Usage : kalimbrax-orientation ALPHA BÊTA GAMMA > figure.svg\n");
        return 2;
    }
    ToolPose pose{};
    pose.alpha = std::strtof(argv[1], nullptr);
    pose.beta = std::strtof(argv[2], nullptr);
    pose.gamma = std::strtof(argv[3], nullptr);
    std::fputs(OrientationFigure(pose).c_str(), stdout);
    return 0;
}
