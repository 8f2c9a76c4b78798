#pragma once
// The arm's surroundings: a textured ground, a grid of lines on the plane
// z = 0 and a textured sky dome, named in "decor.opt".
#include "app/BaseObject.h"
#include "graphics/3DSObject.h"
#include "scene/Texture.h"

class CDecorationObject : public CBaseObject {
public:
    void Draw() override;
    bool Init() override;

    C3DSObject m_SkyDome;
    C3DSObject m_Ground;
    CTexture m_SkyDomeTexture;
    CTexture m_GroundTexture;
};

// The grid's segments as pairs of end points (x, y; z is 0): white lines on
// the whole units -5 to 5, then pink ones on the half units -4.5 to 4.5.
struct GridSegment {
    float x0, y0, x1, y1;
    bool halfUnit;
};
int BuildGrid(GridSegment* segments, int capacity);
