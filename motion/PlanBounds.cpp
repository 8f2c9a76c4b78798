// What a planned move may cost (see PlanBounds.h).
#include "motion/PlanBounds.h"

bool CheckPlanBounds(double seconds, double samples, PlanFailure* failure)
{
    // Written so that not-a-number fails too.
    const bool shortEnough = seconds <= kMaxPlanSeconds;
    if (shortEnough && samples <= static_cast<double>(kMaxPlanSamples))
        return true;
    *failure = PlanFailure{};
    failure->reason = shortEnough ? PlanFault::TooManySamples : PlanFault::TooLong;
    failure->value = shortEnough ? samples : seconds;
    return false;
}
