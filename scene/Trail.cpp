#include "scene/Trail.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

void DrawPath(const std::vector<MotionSample>& samples, const float* colour)
{
    if (samples.size() < 2)
        return;
    if (colour)
        glColor4fv(colour);
    // One array draw straight from the recorder's samples, however long the
    // motion.
    glVertexPointer(3, GL_FLOAT, sizeof(MotionSample), samples[0].point);
    glDrawArrays(GL_LINE_STRIP, 0, static_cast<GLsizei>(samples.size()));
    const std::vector<MotionSample> seconds = Resample(samples, 1.0);
    glVertexPointer(3, GL_FLOAT, sizeof(MotionSample), seconds[0].point);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(seconds.size()));
}

}  // namespace

void CTrail::Draw(float opacity) const
{
    // The latest motion bright, the one before it dimmer.
    const float latest[4] = {1.0f, 0.85f, 0.1f, opacity};
    const float earlier[4] = {0.85f, 0.45f, 0.1f, opacity};
    DrawPaths(latest, earlier);
}

void CTrail::DrawFlat() const
{
    DrawPaths(nullptr, nullptr);
}

void CTrail::DrawPaths(const float* latest, const float* earlier) const
{
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_POINT_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glLineWidth(2.0f);
    glPointSize(7.0f);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPushMatrix();
    glScalef(0.01f, 0.01f, 0.01f);  // pose units are hundredths of a scene unit
    DrawPath(m_Recorder.Earlier(), earlier);
    DrawPath(m_Recorder.Latest(), latest);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}

std::vector<Point3> CTrail::BoxCorners() const
{
    double lo[3] = {1e30, 1e30, 1e30}, hi[3] = {-1e30, -1e30, -1e30};
    bool any = false;
    for (const std::vector<MotionSample>* path : {&m_Recorder.Earlier(), &m_Recorder.Latest()})
        for (const MotionSample& s : *path)
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], s.point[k] / 100.0);
                hi[k] = std::max(hi[k], s.point[k] / 100.0);
                any = true;
            }
    std::vector<Point3> corners;
    if (any)
        for (int corner = 0; corner < 8; ++corner)
            corners.push_back(
                Point3{(corner & 1) ? hi[0] : lo[0], (corner & 2) ? hi[1] : lo[1], (corner & 4) ? hi[2] : lo[2]});
    return corners;
}
