// The numbers kalimbrax-arm takes (see ArmBounds.h).
#include "tools/arm/ArmBounds.h"

#include <cstdio>

std::string ShownNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}
