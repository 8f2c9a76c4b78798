#pragma once
// The taught points: named sets of joint angles that moves go to by name
// (`@NAME`). Angles, not poses: a point is the arm as it stood, whatever the
// tool and the frame in use when it goes back there.
#include "kinematics/RobotTypes.h"

#include <string>
#include <vector>

struct TaughtPoint {
    std::string name;
    JointAngles angles;  // the data set's angles
};

class CTaughtPoints {
public:
    // In the order they were first stored.
    const std::vector<TaughtPoint>& All() const { return m_Points; }
    const TaughtPoint* Find(const std::string& name) const;
    // A new point at the end, or a point of that name given new angles in
    // its place.
    void Store(const std::string& name, const JointAngles& angles);
    // False for an unknown name.
    bool Remove(const std::string& name);
    // P1, P2 ...: the first of these names no point has.
    std::string NextFreeName() const;

private:
    std::vector<TaughtPoint> m_Points;
};
