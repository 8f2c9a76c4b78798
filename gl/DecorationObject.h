#pragma once
// The arm's surroundings: a textured ground, a grid of lines on the plane
// z = 0 and a textured sky dome, named in "decor.opt".
#include "dataset/DecorSettings.h"
#include "gl/BaseObject.h"
#include "gl/MeshObject.h"
#include "gl/Texture.h"
#include "view/WindowBounds.h"

class CDecorationObject : public CBaseObject {
public:
    // The frame's backdrop, drawn first over the cleared depth buffer. The
    // ground takes its colour and lighting from the caller; the grid and the
    // dome its depth test.
    void Draw() override;
    // The same picture as Draw() with the depth test off, blended over a
    // frame that holds this decoration's first drawing and, in front of the
    // ground, what was drawn since with depth writes on; as long as every
    // pixel it can change with filled polygons lies within `changed`: those
    // of the things drawn since and of the grid.
    void DrawOver(const PixelRect& changed);
    // Reads the meshes and textures decor.opt names: `files` is null when
    // that file could not be read.
    bool Init(const DecorSettings* files);

    CMeshObject m_SkyDome;
    CMeshObject m_Ground;
    CTexture m_SkyDomeTexture;
    CTexture m_GroundTexture;

private:
    void DrawGround();
    void DrawGrid();
    void DrawSkyDome();
};

// The grid's segments as pairs of end points (x, y; z is 0): white lines on
// the whole units -5 to 5, then pink ones on the half units -4.5 to 4.5.
struct GridSegment {
    float x0, y0, x1, y1;
    bool halfUnit;
};
constexpr int kGridSegmentCount = 42;
int BuildGrid(GridSegment* segments, int capacity);
