#include "gl/SceneLabels.h"

#include "view/GhostLayout.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

namespace {

void* const kFont = GLUT_BITMAP_HELVETICA_12;
constexpr int kLineHeight = 14;  // pixels
constexpr int kLabelGap = 8;     // pixels right of the anchor
constexpr int kBaseline = -4;    // pixels from the anchor, to centre a line of text on it
const float kShade[3] = {0.0f, 0.0f, 0.0f};

void DrawText(int x, int y, const float* colour, const std::string& latin1)
{
    glColor3fv(colour);  // the raster colour is taken at glRasterPos
    glRasterPos2i(x, y);
    glutBitmapString(kFont, reinterpret_cast<const unsigned char*>(latin1.c_str()));
}

}  // namespace

void DrawSceneLabels(const std::vector<SceneLabel>& labels)
{
    // Where the anchors land in the window.
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::vector<const SceneLabel*> shown;
    std::vector<LabelBox> boxes;
    const int right = viewport[0] + viewport[2];
    for (const SceneLabel& l : labels) {
        GLdouble x, y, z;
        if (!gluProject(l.anchor.x, l.anchor.y, l.anchor.z, modelview, projection, viewport, &x, &y, &z) || z < 0.0 ||
            z > 1.0 || x < viewport[0] || x >= right || y < viewport[1] || y >= viewport[1] + viewport[3])
            continue;
        shown.push_back(&l);
        const int width = glutBitmapLength(kFont, reinterpret_cast<const unsigned char*>(l.latin1.c_str()));
        // Left of the anchor when the window's edge would cut it on the right.
        const int after = static_cast<int>(x) + kLabelGap, before = static_cast<int>(x) - kLabelGap - width;
        boxes.push_back(LabelBox{after + width > right && before >= viewport[0] ? before : after,
                                 static_cast<int>(y) + kBaseline, width});
    }
    SpreadLabels(boxes, kLineHeight);

    // The lighting bit too: with GL_COLOR_MATERIAL on, every glColor sets
    // the material, which the current bit does not bring back, and the
    // next frame's ground would take the last label's colour.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT | GL_LIGHTING_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3]);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        DrawText(boxes[i].x + 1, boxes[i].y - 1, kShade, shown[i]->latin1);
        DrawText(boxes[i].x, boxes[i].y, shown[i]->colour, shown[i]->latin1);
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();  // back to the model-view matrix mode
}
