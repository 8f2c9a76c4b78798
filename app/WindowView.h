#pragma once
// The controller's view in the running program: the main scene in the
// graphics window. Each call makes the graphics window current where GL
// needs it, whichever window's callback the action came from.
#include "sim/View.h"

class CMainScene;

class CWindowView : public CView {
public:
    explicit CWindowView(CMainScene& scene) : m_Scene(scene) {}

    void SetWireFrame(bool on) override;
    void ResetCamera() override;
    void UseOrbit(bool on) override;
    void SetOrbit(const OrbitView& view) override;
    void ShowPlannedPath(const std::vector<ToolPose>& path, std::size_t refusedFrom) override;
    void ClearTrail() override;
    bool SaveScreenshot(const char* fileName, PictureSize& size) override;
    void Exit() override;

private:
    CMainScene& m_Scene;
};
