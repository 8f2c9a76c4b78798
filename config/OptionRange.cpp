#include "config/OptionRange.h"

#include "base/FrenchDecimal.h"

#include <cmath>

OptionRange OptionRange::Any()
{
    return {-HUGE_VAL, HUGE_VAL, Zero::Ordinary};
}

bool OptionRange::Contains(double value) const
{
    if (!std::isfinite(value))
        return false;
    if (value == 0 && zero != Zero::Ordinary)
        return zero == Zero::Allowed;
    return value >= low && value <= high;
}

std::string OptionRange::Text() const
{
    if (std::isinf(low) && std::isinf(high))
        return "tout nombre fini";
    const std::string interval = "[" + FormatShortDecimal(low) + " ; " + FormatShortDecimal(high) + "]";
    switch (zero) {
    case Zero::Allowed:
        return "0 ou " + interval;
    case Zero::Excluded:
        return interval + " sauf 0";
    case Zero::Ordinary:
        break;
    }
    return interval;
}
