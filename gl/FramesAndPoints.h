#pragma once
// The arm's program as the scene shows it: with the switch Frames, the tool
// frame as small axes at the tool point and each user frame as larger axes
// with its name; with the switch Points, each taught point as small axes at
// its tool point (the MGD of its angles, with the tool in use) with its
// name. Axes coloured as F4's, x blue, y green, z red, drawn over everything
// (a tool point often lies inside the hand) in the main pass only: no
// shadow, reflection or metal. With both switches off nothing at all is
// drawn. A frame reads the state it shows: the scene is drawn again
// whenever that state changes, never otherwise.
class CSimulation;

class CFramesAndPoints {
public:
    explicit CFramesAndPoints(const CSimulation& simulation) : m_Simulation(simulation) {}

    // The axes, then the names over them: after everything else.
    void Draw() const;

private:
    const CSimulation& m_Simulation;
};
