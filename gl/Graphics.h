#pragma once
// The graphics window: created from graphics.opt's settings, with its
// reshape callback and the fixed GL state.

extern int g_iScreenWidth;
extern int g_iScreenHeight;
extern float g_fScreenFOV;
extern bool g_bDoubleBuffer;
extern int g_iMainWindow;
extern char g_szGraphicsError[128];

struct GraphicsSettings;

class CGraphics {
public:
    // Opens the window from the data set's graphics.opt: settings is null
    // when that file could not be read.
    static bool Init(const GraphicsSettings* settings);
    static bool InitGLUT(const GraphicsSettings* settings);
    static bool InitOpenGL(const GraphicsSettings& settings);
    static void Reshape(int width, int height);
};

// The near plane is the single-precision 0.1 widened to double, as it was
// always drawn: 0.10000000149011612.
constexpr double kNearPlane = static_cast<double>(0.1f);
constexpr double kFarPlane = 100.0;
