#include "dataset/GraphicsSettings.h"

#include "config/OptionKeys.h"

void DeclareGraphicsKeys(COptionDeclarations& keys, GraphicsSettings& s)
{
    // What X11 takes for a window's size and place; a field of view of 0
    // shows nothing, one of 180 or more is no perspective.
    const OptionRange size = OptionRange::Between(1, 32767);
    const OptionRange place = OptionRange::Between(-32768, 32767);
    keys.Int("iScreenWidth", 800, &s.width, size);
    keys.Int("iScreenHeight", 600, &s.height, size);
    keys.Double("dScreenFOV", -45.0, &s.fieldOfView, OptionRange::NonZeroBetween(-179, 179));
    keys.Int("iWindowPosY", -1, &s.positionY, place);
    keys.Int("iWindowPosX", -1, &s.positionX, place);
    keys.Bool("bDoubleBuffer", true, &s.doubleBuffer);
    keys.Text("sWindowName", "Kalimbrax ver 0.alpha", &s.windowName);
    keys.Bool("bFullScreen", false, &s.fullScreen);
    keys.Bool("bSmoothAndNice", true, &s.smoothAndNice);
}
