#include "dataset/GraphicsSettings.h"

#include "config/OptionKeys.h"

void DeclareGraphicsKeys(COptionDeclarations& keys, GraphicsSettings& s)
{
    keys.Int("iScreenWidth", 800, &s.width);
    keys.Int("iScreenHeight", 600, &s.height);
    keys.Double("dScreenFOV", -45.0, &s.fieldOfView);
    keys.Int("iWindowPosY", -1, &s.positionY);
    keys.Int("iWindowPosX", -1, &s.positionX);
    keys.Bool("bDoubleBuffer", true, &s.doubleBuffer);
    keys.Text("sWindowName", "Kalimbrax ver 0.alpha", &s.windowName);
    keys.Bool("bFullScreen", false, &s.fullScreen);
    keys.Bool("bSmoothAndNice", true, &s.smoothAndNice);
}
