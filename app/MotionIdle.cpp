#include "app/MotionIdle.h"

#include "base/Clock.h"
#include "sim/Simulation.h"

#include <GL/freeglut.h>

namespace {

CSimulation* g_pDriven = nullptr;

// The idle function belongs to no window; the scene, a listener of the
// simulation, asks for the graphics window's frame after each step.
void OnIdle()
{
    g_pDriven->Advance(MonotonicSeconds());
}

class CMotionIdle : public CSimulationListener {
public:
    void OnMotionStarted(const CTrajectory&) override { glutIdleFunc(OnIdle); }
    void OnMotionEnded(bool) override { glutIdleFunc(nullptr); }
};

}  // namespace

void DriveMotion(CSimulation& simulation)
{
    g_pDriven = &simulation;
    // Never destroyed: freeglut may end the process inside a callback.
    simulation.AddListener(new CMotionIdle);
}
