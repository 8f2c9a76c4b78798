#pragma once
// The objects of the arm's cell as the scene draws them: lit, each in its
// own colour, red where the arm touches it (CellContacts), in every pass the
// arm is drawn in (its shadow and reflection too); a hidden object not at
// all. Boxes as six faces, cylinders and spheres as GLU quadrics, meshes
// from their triangles, each where ShapeOf places it.
#include "sim/CellContacts.h"
#include "view/WindowBounds.h"

#include <vector>

class CSimulation;
struct GLUquadric;

class CCellObjects {
public:
    CCellObjects() = default;
    ~CCellObjects();
    CCellObjects(const CCellObjects&) = delete;
    CCellObjects& operator=(const CCellObjects&) = delete;

    bool Init();
    // Every shown object of the simulation's cell in the current model-view
    // frame (the scene's), its colour scaled by the colour the pass draws
    // with, as the arm's coloured links are: itself in the main pass, dimmed
    // and blended in the reflection, black in the shadow.
    void Draw(const CSimulation& simulation, const CellContacts& contacts) const;
    // The corners of boxes around every shown object, scene units.
    static std::vector<Point3> Corners(const CSimulation& simulation);

private:
    GLUquadric* m_pQuadric = nullptr;
};
