#include "gl/DecorationObject.h"

#include "base/Log.h"

#include <GL/gl.h>

int BuildGrid(GridSegment* segments, int capacity)
{
    int n = 0;
    auto add = [&](float c, bool halfUnit) {
        if (n + 2 > capacity)
            return;
        segments[n++] = GridSegment{-5.0f, c, 5.0f, c, halfUnit};
        segments[n++] = GridSegment{c, -5.0f, c, 5.0f, halfUnit};
    };
    for (float c = -5.0f; c <= 5.0f; c += 1.0f)
        add(c, false);
    for (float c = -4.5f; c <= 4.5f; c += 1.0f)
        add(c, true);
    return n;
}

bool CDecorationObject::Init(const DecorSettings* files)
{
    if (!files) {
        LogError("CDecorationObject::Init -- Impossible de lire les options dans le fichier decor.opt");
        return false;
    }
    // The first failure ends the loading; the loaders log their own reasons.
    return m_Ground.Load(files->groundMesh.c_str()) && m_SkyDome.Load(files->skyDomeMesh.c_str()) &&
           m_GroundTexture.LoadTGA(files->groundTexture.c_str()) &&
           m_SkyDomeTexture.LoadTGA(files->skyDomeTexture.c_str());
}

void CDecorationObject::DrawGround()
{
    // Colour and lighting are the caller's (half transparent in the shadow
    // pass, so the shadow drawn before shows through). The ground writes no
    // depth: the arm's reflection lies below z = 0, and an opaque ground in
    // the depth buffer would hide all of it. Everything else drawn on the
    // ground (grid, shadow) still does, and the real arm stands above it.
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, m_GroundTexture.m_uiTexture);
    glDepthMask(GL_FALSE);
    m_Ground.Draw();
    glDepthMask(GL_TRUE);
}

void CDecorationObject::DrawGrid()
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    static GridSegment grid[kGridSegmentCount];
    static const int gridSize = BuildGrid(grid, kGridSegmentCount);
    glBegin(GL_LINES);
    for (int i = 0; i < gridSize; ++i) {
        if (grid[i].halfUnit)
            glColor4f(1.0f, 0.5f, 0.5f, 0.5f);
        else
            glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
        glVertex3f(grid[i].x0, grid[i].y0, 0.0f);
        glVertex3f(grid[i].x1, grid[i].y1, 0.0f);
    }
    glEnd();
}

void CDecorationObject::DrawSkyDome()
{
    // Unlit and always opaque, even inside the shadow pass.
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, m_SkyDomeTexture.m_uiTexture);
    m_SkyDome.Draw();
}

void CDecorationObject::Draw()
{
    glPushMatrix();
    glPushAttrib(0x000FFFFF);
    // Over the cleared depth buffer the ground would pass a depth test
    // everywhere: without one, the largest fill of the frame reads no depth.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    DrawGround();
    glPopAttrib();
    DrawGrid();
    DrawSkyDome();
    glPopAttrib();
    glPopMatrix();
}

void CDecorationObject::DrawOver(const PixelRect& changed)
{
    glPushMatrix();
    glPushAttrib(0x000FFFFF);
    // Filled polygons draw each pixel of the ground once, and the ground
    // blended over itself leaves it as it is: it is drawn only where
    // something wrote depth since the clear (grid, sky dome, what was drawn
    // since). The ground writes no depth; pinned to the far end of the depth
    // range it passes GREATER exactly there, however close in front of it
    // the grid lies. Outside `changed` every pixel already holds what
    // drawing over it gives. Outlines (wireframe) draw a pixel where edges
    // meet once per edge, each time with another texel, so that blending
    // changes it: there the ground is drawn again whole.
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    if (modes[0] == GL_FILL && modes[1] == GL_FILL) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(changed.x, changed.y, changed.width, changed.height);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_GREATER);
        glDepthRange(1.0, 1.0);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    DrawGround();
    glDisable(GL_DEPTH_TEST);
    DrawGrid();
    // The dome puts back the sky where the ground behind it was blended in.
    DrawSkyDome();
    glPopAttrib();
    glPopMatrix();
}
