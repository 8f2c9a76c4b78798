// The grid model of the MGI (see MGIGrid.h).
#include "kinematics/MGIGrid.h"

#include "kinematics/ArmGeometry.h"
#include "kinematics/MGIWrist.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Sines and cosines of the A34 values of one search. The grid only ever
// visits whole degrees, and the fine window revisits the same thirty or so
// values on every row, so a small direct-mapped table keyed by the exact
// float bits saves most of the calls. The values are those of cos and sin
// themselves: the positions stay bit-identical to the MGD.
class CTrigCache {
public:
    CTrigCache() { std::memset(m_Keys, 0xFF, sizeof m_Keys); }  // a NaN pattern: matches nothing the grid visits

    void Get(float degrees, double* c, double* s)
    {
        std::uint32_t key;
        std::memcpy(&key, &degrees, sizeof key);
        const unsigned slot = (key ^ (key >> 16)) % kSlots;
        if (m_Keys[slot] != key) {
            const double t = degrees * kDegToRad;
            m_Keys[slot] = key;
            m_Cos[slot] = std::cos(t);
            m_Sin[slot] = std::sin(t);
        }
        *c = m_Cos[slot];
        *s = m_Sin[slot];
    }

private:
    static constexpr unsigned kSlots = 127;  // prime: whole degrees spread over every slot
    std::uint32_t m_Keys[kSlots];
    double m_Cos[kSlots];
    double m_Sin[kSlots];
};

struct MGISearch {
    const ArmLengths& l;
    double x, y, zt;  // target, Z measured from the shoulder height
    double c1, s1;    // of the candidates' single-precision A12
    CTrigCache trig34;
    ArmRow row{};
    float best23 = -90.0f, best34 = -160.0f;  // the first coarse candidate
    double best = DBL_MAX;

    void StartRow(float a23)
    {
        const double t2 = a23 * kDegToRad;
        row = MakeArmRow(l, std::cos(t2), std::sin(t2));
    }

    // One candidate of the current row: keep it when it is no farther than
    // the best so far (ties go to the later one). Starting from DBL_MAX
    // rather than 1e8 means a far target keeps its nearest candidate; an
    // infinite or not-a-number distance never wins.
    void Evaluate(float a23, float a34)
    {
        double c3, s3;
        trig34.Get(a34, &c3, &s3);
        float px, py, pz;
        RowPosition(l, row, c1, s1, c3, s3, &px, &py, &pz);
        const double dx = px - x, dy = py - y, dz = (pz - l.h) - zt;
        const double dist = dx * dx + dy * dy + dz * dz;
        if (dist <= best) {
            best = dist;
            best23 = a23;
            best34 = a34;
        }
    }
};

}  // namespace

JointAngles* ComputeMGI(const ArmLengths& lengths, const ToolPose& pose, JointAngles* angles, MGISearchInfo* info)
{
    const double theta1 = std::atan2(static_cast<double>(pose.Y), static_cast<double>(pose.X));
    const float a12 = static_cast<float>(theta1 * kRadToDeg);
    const double t1 = a12 * kDegToRad;

    MGISearch search{lengths, pose.X, pose.Y, pose.Z - lengths.h, std::cos(t1), std::sin(t1), {}};

    // Coarse grid: A23 from -90 below 90, A34 from -160 below 160, by 30.
    int coarse = 0;
    for (float a23 = -90.0f; a23 < 90.0f; a23 += 30.0f) {
        search.StartRow(a23);
        for (float a34 = -160.0f; a34 < 160.0f; a34 += 30.0f) {
            search.Evaluate(a23, a34);
            ++coarse;
        }
    }

    // Fine search: a +-15 degree window whose bounds are re-read from the
    // best candidate at every test, so it follows an improvement found near
    // its edge.
    int fine = 0;
    bool bounded = false;
    for (float a23 = search.best23 - 15.0f; !bounded && search.best23 + 15.0f > a23; a23 += 1.0f) {
        search.StartRow(a23);
        for (float a34 = search.best34 - 15.0f; search.best34 + 15.0f > a34; a34 += 1.0f) {
            if (fine == kMaxFineEvaluations) {
                bounded = true;
                break;
            }
            search.Evaluate(a23, a34);
            ++fine;
        }
    }

    angles->A12 = a12;
    SolveMGIWrist(pose, theta1, search.best23, search.best34, angles);
    if (info) {
        info->coarseEvaluations = coarse;
        info->fineEvaluations = fine;
        info->bounded = bounded;
        info->bestDistance2 = search.best;
    }
    return angles;
}
