#pragma once
// Test support: a view that keeps what the controller asked of it, for
// tests of the controller and of what runs through it without a window.
#include "sim/View.h"

#include <string>
#include <vector>

class CRecordingView : public CView {
public:
    void SetWireFrame(bool on) override { calls.push_back(on ? "wireframe on" : "wireframe off"); }
    void ResetCamera() override { calls.push_back("camera reset"); }
    void UseOrbit(bool on) override { calls.push_back(on ? "orbit on" : "orbit off"); }
    void SetOrbit(const OrbitView&) override { calls.push_back("orbit view"); }
    void ShowPlannedPath(const std::vector<ToolPose>& path, std::size_t from) override
    {
        plannedPoints = path.size();
        refusedFrom = from;
    }
    void ClearTrail() override { calls.push_back("trail clear"); }
    bool SaveScreenshot(const char* fileName, PictureSize& size) override
    {
        calls.push_back(std::string("screenshot ") + fileName);
        size = {800, 600};
        return picturesWritten;
    }
    void Exit() override { calls.push_back("exit"); }

    std::vector<std::string> calls;
    std::size_t plannedPoints = 0, refusedFrom = 0;
    bool picturesWritten = true;  // false: every screenshot fails
};
