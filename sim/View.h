#pragma once
// What the controller asks of whatever shows the arm: the window's drawing
// mode, its camera, the planned way, its picture, and the end of the
// program. The running program's view is its graphics window; tests bring
// their own.
#include "kinematics/RobotTypes.h"
#include "view/OrbitCamera.h"

#include <cstddef>
#include <vector>

// The size of a picture written, in pixels.
struct PictureSize {
    int width = 0, height = 0;
};

class CView {
public:
    virtual ~CView() = default;

    // Edges only, or filled faces.
    virtual void SetWireFrame(bool on) = 0;
    // The camera's start view.
    virtual void ResetCamera() = 0;
    // The camera turning around the arm takes over from where the eye is
    // (on), or the free camera goes on from there (off).
    virtual void UseOrbit(bool on) = 0;
    // The camera turning around the arm, placed at this view.
    virtual void SetOrbit(const OrbitView& view) = 0;
    // The way of the last planned move, drawn with the trail: its points,
    // refused from index refusedFrom on.
    virtual void ShowPlannedPath(const std::vector<ToolPose>& path, std::size_t refusedFrom) = 0;
    // The trail starts afresh: the motions made so far leave it.
    virtual void ClearTrail() = 0;
    // The window as it shows now, into fileName (PNG for ".png", TGA
    // otherwise); false when the picture could not be written.
    virtual bool SaveScreenshot(const char* fileName, PictureSize& size) = 0;
    // Ends the program.
    virtual void Exit() = 0;
};
