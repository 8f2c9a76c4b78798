#include "sim/MotionRecorder.h"

#include "arm/ArmKinematics.h"

#include <cmath>

CMotionRecorder::CMotionRecorder(CSimulation& simulation) : m_Simulation(simulation)
{
    simulation.AddListener(this);
}

CMotionRecorder::~CMotionRecorder()
{
    m_Simulation.RemoveListener(this);
}

void CMotionRecorder::Add(double t, const JointAngles& angles)
{
    const ToolPose pose = PoseOf(m_Simulation.Arm(), angles);
    m_Latest.push_back({t, angles, {pose.X, pose.Y, pose.Z}});
}

void CMotionRecorder::OnMotionStarted(const CTrajectory&)
{
    m_Earlier = std::move(m_Latest);
    m_Latest.clear();
    Add(0.0, m_Simulation.Angles());
    m_bRunning = true;
}

void CMotionRecorder::OnMotionStep(double t, const JointAngles& angles)
{
    Add(t, angles);
}

void CMotionRecorder::OnMotionEnded(bool)
{
    m_bRunning = false;
}

std::vector<MotionSample> Resample(const std::vector<MotionSample>& samples, double step, ResampleEnd end)
{
    std::vector<MotionSample> out;
    if (samples.empty() || !(step > 0))
        return out;
    const double last = samples.back().t;
    std::size_t i = 0;
    for (long n = 0;; ++n) {
        const double t = n * step;
        const bool beyond = end == ResampleEnd::AtArrival ? (n - 1) * step >= last - 1e-9 : t > last + 1e-9;
        if (n > 0 && beyond)
            break;
        while (i + 1 < samples.size() && samples[i + 1].t < t)
            ++i;
        const MotionSample& a = samples[i];
        const MotionSample& b = i + 1 < samples.size() ? samples[i + 1] : a;
        const double span = b.t - a.t;
        const double f = span > 0 ? std::fmin(std::fmax((t - a.t) / span, 0.0), 1.0) : 0.0;
        MotionSample s{t, {}, {}};
        for (float JointAngles::*joint : kJointFields)
            s.angles.*joint = static_cast<float>(a.angles.*joint + f * (b.angles.*joint - a.angles.*joint));
        for (int k = 0; k < 3; ++k)
            s.point[k] = static_cast<float>(a.point[k] + f * (b.point[k] - a.point[k]));
        out.push_back(s);
    }
    return out;
}

std::vector<JointAngles> JointSpeeds(const std::vector<MotionSample>& samples)
{
    std::vector<JointAngles> speeds(samples.size(), JointAngles{});
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const MotionSample& a = samples[i > 0 ? i - 1 : i];
        const MotionSample& b = samples[i + 1 < samples.size() ? i + 1 : i];
        const double span = b.t - a.t;
        if (span <= 0)
            continue;
        for (float JointAngles::*joint : kJointFields)
            speeds[i].*joint = static_cast<float>((b.angles.*joint - a.angles.*joint) / span);
    }
    return speeds;
}

bool WriteMotionRecord(FILE* file, const std::vector<MotionSample>& samples, const ArmDescription& arm)
{
    bool ok = std::fputs("t", file) >= 0;
    for (int joint = 0; joint < kJointCount; ++joint)
        ok = ok && std::fprintf(file, ",%s", JointName(joint).c_str()) > 0;
    for (int joint = 0; joint < kJointCount; ++joint)
        ok = ok && std::fprintf(file, ",V%s", kJointNumbers[joint]) > 0;
    ok = ok && std::fputs(",X,Y,Z,alpha,beta,gamma\n", file) >= 0;
    const std::vector<MotionSample> even = Resample(samples, 0.01, ResampleEnd::AtArrival);
    const std::vector<JointAngles> speeds = JointSpeeds(even);
    for (std::size_t i = 0; ok && i < even.size(); ++i) {
        const JointAngles& a = even[i].angles;
        const JointAngles& v = speeds[i];
        const ToolPose p = PoseOf(arm, a);
        ok = std::fprintf(
                 file,
                 "%.3f,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g\n",
                 even[i].t, a.A12, a.A23, a.A34, a.A45, a.A56, a.A67, v.A12, v.A23, v.A34, v.A45, v.A56, v.A67, p.X,
                 p.Y, p.Z, p.alpha, p.beta, p.gamma) > 0;
    }
    return ok;
}
