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

MotionSample CMotionRecorder::Sample(double t, const JointAngles& angles) const
{
    const ToolPose pose = ArmMGD(m_Simulation.Arm(), angles);
    return {t, angles, {pose.X, pose.Y, pose.Z}};
}

void CMotionRecorder::OnMotionStarted(const CTrajectory&)
{
    m_Earlier = std::move(m_Latest);
    m_Latest = Motion{m_Simulation.Trajectory(), {Sample(0.0, m_Simulation.Angles())}, false};
    m_bRunning = true;
}

void CMotionRecorder::OnMotionStep(double t, const JointAngles& angles)
{
    m_Latest.steps.push_back(Sample(t, angles));
}

void CMotionRecorder::OnMotionEnded(bool arrived)
{
    m_Latest.arrived = arrived;
    m_bRunning = false;
}

std::vector<MotionSample> CMotionRecorder::Rows(double step) const
{
    const std::vector<MotionSample>& steps = m_Latest.steps;
    if (steps.empty() || !(step > 0))
        return {};
    const CTrajectory& trajectory = *m_Latest.trajectory;
    const double duration = trajectory.Duration();
    const double end = m_Latest.arrived && duration >= 0 ? duration : steps.back().t;
    JointAngles angles = steps.front().angles;
    if (!trajectory.At(0.0, angles)) {
        std::vector<MotionSample> rows = Resample(steps, step);
        if (rows.back().t > end - 1e-9)
            rows.pop_back();  // the last step itself takes its place
        rows.push_back(steps.back());
        return rows;
    }
    std::vector<MotionSample> rows;
    for (long n = 0;; ++n) {
        const double t = n * step < end - 1e-9 ? n * step : end;
        trajectory.At(t, angles);
        rows.push_back(Sample(t, angles));
        if (t == end)
            return rows;
    }
}

std::vector<MotionSample> Resample(const std::vector<MotionSample>& samples, double step)
{
    std::vector<MotionSample> out;
    if (samples.empty() || !(step > 0))
        return out;
    const double last = samples.back().t;
    std::size_t i = 0;
    for (long n = 0;; ++n) {
        const double t = n * step;
        if (n > 0 && t > last + 1e-9)
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

bool WriteMotionRecord(FILE* file, const std::vector<MotionSample>& rows, const ArmDescription& arm,
                       const CWorkFrames& frames)
{
    bool ok = std::fputs("t", file) >= 0;
    for (int joint = 0; joint < kJointCount; ++joint)
        ok = ok && std::fprintf(file, ",%s", JointName(joint).c_str()) > 0;
    for (int joint = 0; joint < kJointCount; ++joint)
        ok = ok && std::fprintf(file, ",V%s", kJointNumbers[joint]) > 0;
    ok = ok && std::fputs(",X,Y,Z,alpha,beta,gamma\n", file) >= 0;
    const std::vector<JointAngles> speeds = JointSpeeds(rows);
    for (std::size_t i = 0; ok && i < rows.size(); ++i) {
        const JointAngles& a = rows[i].angles;
        const JointAngles& v = speeds[i];
        const ToolPose p = ArmMGDIn(frames, arm, a);
        ok = std::fprintf(
                 file,
                 "%.3f,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g\n",
                 rows[i].t, a.A12, a.A23, a.A34, a.A45, a.A56, a.A67, v.A12, v.A23, v.A34, v.A45, v.A56, v.A67, p.X,
                 p.Y, p.Z, p.alpha, p.beta, p.gamma) > 0;
    }
    return ok;
}
