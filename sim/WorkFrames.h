#pragma once
// The user frames (work objects): named frames defined in the base frame,
// one of which may be in use. While one is, every pose the controller takes
// or gives is in it; the planner, the drawing and the cell keep to the base
// frame, and the conversions below go between the two.
#include "arm/ArmDescription.h"
#include "motion/MovePlanner.h"
#include "sim/ProgramNames.h"

#include <kdl/frames.hpp>

#include <string>
#include <vector>

struct NamedFrame {
    std::string name;
    ToolPose pose;  // in the base frame
};

class CWorkFrames {
public:
    // In the order they were first defined.
    const std::vector<NamedFrame>& All() const { return m_Frames; }
    const NamedFrame* Find(const std::string& name) const;
    // The frame in use; null: the base frame.
    const NamedFrame* InUse() const { return Find(m_InUse); }

    // A new frame at the end, or a frame of that name given a new pose in
    // its place (in use, it stays in use).
    void Define(const std::string& name, const ToolPose& pose);
    // kBaseFrameName returns to the base frame; false for an unknown name.
    bool Use(const std::string& name);
    // The frame in use removed returns to the base frame; false for an
    // unknown name.
    bool Remove(const std::string& name);

    // The frame in use in the base frame: the identity for the base frame.
    KDL::Frame InUseFrame() const;
    // Between poses in the base frame and in the frame in use. With the base
    // frame in use, the pose itself, bit for bit.
    ToolPose FromBase(const ToolPose& pose) const;
    ToolPose ToBase(const ToolPose& pose) const;
    // A request of the controller (poses in the frame in use) as the
    // planner takes it, in the base frame: its pose, its via point and the
    // targets it goes through.
    MoveRequest ToBase(MoveRequest request) const;

private:
    std::vector<NamedFrame> m_Frames;
    std::string m_InUse;  // empty: the base frame
};

// The tool frame of a set of angles in the frame in use (the user frame's
// inverse times ArmMGDFrame), and its pose: what `get matrix`, `get pose`
// and the record give. With the base frame in use, ArmMGDFrame and ArmMGD
// themselves.
KDL::Frame ArmMGDFrameIn(const CWorkFrames& frames, const ArmDescription& arm, const JointAngles& angles);
ToolPose ArmMGDIn(const CWorkFrames& frames, const ArmDescription& arm, const JointAngles& angles);
