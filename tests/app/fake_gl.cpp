#include "tests/app/FakeGl.h"

#include <algorithm>
#include <cstring>

FakeGl g_FakeGl;

bool FakeGl::Called(const std::string& name) const
{
    return std::find(calls.begin(), calls.end(), name) != calls.end();
}

extern "C" {

void glPolygonMode(GLenum, GLenum mode)
{
    g_FakeGl.calls.push_back("glPolygonMode");
    g_FakeGl.polygonModes.push_back(mode);
}

void glutPostRedisplay()
{
    g_FakeGl.calls.push_back("glutPostRedisplay");
    ++g_FakeGl.redisplays;
}

void glutPostWindowRedisplay(int)
{
    g_FakeGl.calls.push_back("glutPostWindowRedisplay");
    ++g_FakeGl.windowRedisplays;
}

void glutIdleFunc(void (*idle)())
{
    g_FakeGl.calls.push_back("glutIdleFunc");
    g_FakeGl.idle = idle;
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    g_FakeGl.calls.push_back("glClearColor");
    const float c[4] = {r, g, b, a};
    std::memcpy(g_FakeGl.clearColor, c, sizeof c);
}

void glClearDepth(GLclampd depth)
{
    g_FakeGl.calls.push_back("glClearDepth");
    g_FakeGl.clearDepth = depth;
}

void glClear(GLbitfield)
{
    g_FakeGl.calls.push_back("glClear");
}
void glutSwapBuffers()
{
    g_FakeGl.calls.push_back("glutSwapBuffers");
}
void glFlush()
{
    g_FakeGl.calls.push_back("glFlush");
}

void glPixelStorei(GLenum name, GLint value)
{
    if (name == GL_PACK_ALIGNMENT)
        g_FakeGl.packAlignment = value;
}

// Fills the picture with a pattern that shows any skew: byte (x + 3y) % 251
// of each row, rows padded to the pack alignment as GL would.
void glReadPixels(GLint, GLint, GLsizei width, GLsizei height, GLenum, GLenum, void* pixels)
{
    g_FakeGl.calls.push_back("glReadPixels");
    const int align = g_FakeGl.packAlignment;
    const int rowBytes = (width * 3 + align - 1) / align * align;
    auto* out = static_cast<unsigned char*>(pixels);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i)
            out[y * rowBytes + i] = static_cast<unsigned char>((i + 3 * y) % 251);
}

}  // extern "C"
