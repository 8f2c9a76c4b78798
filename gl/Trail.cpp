#include "gl/Trail.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

void DrawPath(const std::vector<MotionSample>& samples, const float* colour)
{
    if (samples.size() < 2)
        return;
    if (colour)
        glColor4fv(colour);
    // One array draw straight from the path's samples, however long the
    // motion.
    glVertexPointer(3, GL_FLOAT, sizeof(MotionSample), samples[0].point);
    glDrawArrays(GL_LINE_STRIP, 0, static_cast<GLsizei>(samples.size()));
    const std::vector<MotionSample> seconds = Resample(samples, 1.0);
    glVertexPointer(3, GL_FLOAT, sizeof(MotionSample), seconds[0].point);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(seconds.size()));
}

}  // namespace

void CTrail::SetPlanned(std::vector<float> points, std::size_t refusedFrom)
{
    m_Planned = std::move(points);
    m_iRefusedFrom = refusedFrom;
}

void CTrail::Draw(float opacity) const
{
    // The latest motion bright, the ones before it dimmer; a planned way
    // green, red where it cannot be done.
    const float latest[4] = {1.0f, 0.85f, 0.1f, opacity};
    const float earlier[4] = {0.85f, 0.45f, 0.1f, opacity};
    const float planned[4] = {0.2f, 0.85f, 0.3f, opacity};
    const float refused[4] = {0.95f, 0.15f, 0.1f, opacity};
    DrawPaths(latest, earlier, planned, refused);
}

void CTrail::DrawPlanned(const float* planned, const float* refused) const
{
    const GLsizei count = static_cast<GLsizei>(m_Planned.size() / 3);
    if (count < 2)
        return;
    const GLsizei split = static_cast<GLsizei>(std::min<std::size_t>(m_iRefusedFrom, count - 1));
    glVertexPointer(3, GL_FLOAT, 0, m_Planned.data());
    if (planned)
        glColor4fv(planned);
    glDrawArrays(GL_LINE_STRIP, 0, split + 1);
    if (m_iRefusedFrom >= static_cast<std::size_t>(count))
        return;
    if (refused)
        glColor4fv(refused);
    glDrawArrays(GL_LINE_STRIP, split, count - split);
    glPointSize(12.0f);
    glDrawArrays(GL_POINTS, split, 1);  // where it cannot be done
}

void CTrail::DrawFlat() const
{
    DrawPaths(nullptr, nullptr, nullptr, nullptr);
}

void CTrail::DrawPaths(const float* latest, const float* earlier, const float* planned, const float* refused) const
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
    const auto& paths = m_History.Paths();
    for (std::size_t i = 0; i < paths.size(); ++i)
        DrawPath(paths[i], i + 1 == paths.size() ? latest : earlier);
    DrawPlanned(planned, refused);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}

std::vector<Point3> CTrail::BoxCorners() const
{
    double lo[3] = {1e30, 1e30, 1e30}, hi[3] = {-1e30, -1e30, -1e30};
    bool any = false;
    auto add = [&](const float* p) {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], p[k] / 100.0);
            hi[k] = std::max(hi[k], p[k] / 100.0);
        }
        any = true;
    };
    for (const std::vector<MotionSample>& path : m_History.Paths())
        for (const MotionSample& s : path)
            add(s.point);
    for (std::size_t i = 0; i + 2 < m_Planned.size(); i += 3)
        add(&m_Planned[i]);
    std::vector<Point3> corners;
    if (any)
        for (int corner = 0; corner < 8; ++corner)
            corners.push_back(
                Point3{(corner & 1) ? hi[0] : lo[0], (corner & 2) ? hi[1] : lo[1], (corner & 4) ? hi[2] : lo[2]});
    return corners;
}
