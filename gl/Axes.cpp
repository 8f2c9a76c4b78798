#include "gl/BaseObject.h"

#include <GL/gl.h>

bool CAxes::Init()
{
    return true;
}

void CAxes::Draw()
{
    // Texturing goes off with lighting: a texture bound by the caller (the
    // arm's metal) would otherwise tint the lines nearly black.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(5.0f, 0.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 5.0f, 0.0f);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 5.0f);
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
    glPopAttrib();
}
