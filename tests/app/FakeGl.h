#pragma once
// Recorders that stand in for the few GL and GLUT calls the window-side code
// makes on its own (fake_gl.cpp). Defined in the test program, they take the
// place of the libraries' functions, so that code runs without a window.
#include <GL/gl.h>

#include <string>
#include <vector>

struct FakeGl {
    std::vector<std::string> calls;  // names in call order
    std::vector<GLenum> polygonModes;
    int redisplays = 0;        // of the current window
    int windowRedisplays = 0;  // of a window named
    void (*idle)() = nullptr;
    GLint packAlignment = 4;
    float clearColor[4] = {-1, -1, -1, -1};
    double clearDepth = -1.0;

    void Reset() { *this = FakeGl(); }
    bool Called(const std::string& name) const;
};

extern FakeGl g_FakeGl;
