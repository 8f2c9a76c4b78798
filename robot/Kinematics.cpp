// The arm's geometric models (see Kinematics.h).
//
//   1. Lengths            (MakeArmLengths)
//   2. Forward model      (ComputeMGD, ComputeMGDPosition)
//   3. Target orientation (PoseRotation)
//   4. Closed-form wrist  (SolveMGIWrist and its two halves)
//   5. Inverse model      (ComputeMGI: the grid search)
//
// Bit-exactness matters here: the inverse model keeps the nearest candidate
// with a less-or-equal rule, so a last-bit difference in a position can pick
// another candidate. The position arithmetic therefore lives in one inline
// function that both models use, with the operations in one fixed order.
#include "robot/Kinematics.h"

#include "config/OptionsParser.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// ============================================================================
// Shared pieces
// ============================================================================

double Sgn(double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }

// A radicand of the axis formula: rounding can make r_ii - cg slightly
// negative near a half turn, which would give a not-a-number axis. Such a
// value is taken as 0; a not-a-number (from not-a-number angles) is kept.
double AxisRadicand(double numerator, double denominator)
{
    double v = numerator / denominator;
    return v < 0 ? 0.0 : v;
}

// The wrist centre from the sines and cosines of the three arm joints. Every
// caller that must agree bit for bit goes through this, written in the order
// a + b + c + d evaluates (left to right, no contraction).
struct ArmRow {
    double radial;  // a2 + a3*c2: the part of r fixed by A23
    double height;  // h + a3*s2: the part of Z fixed by A23
    double c2, s2;
};

inline ArmRow MakeArmRow(const ArmLengths& l, double c2, double s2)
{
    return {l.a2 + l.a3 * c2, l.h + l.a3 * s2, c2, s2};
}

inline void RowPosition(const ArmLengths& l, const ArmRow& row, double c1, double s1, double c3, double s3,
                        float* x, float* y, float* z)
{
    const double c23 = row.c2 * c3 - row.s2 * s3;
    const double s23 = row.s2 * c3 + row.c2 * s3;
    const double r = row.radial + l.e * c23 + l.d * s23;
    *x = static_cast<float>(c1 * r);
    *y = static_cast<float>(s1 * r);
    *z = static_cast<float>(row.height + l.e * s23 - l.d * c23);
}

}  // namespace

// ============================================================================
// 1. Lengths
// ============================================================================

ArmLengths MakeArmLengths(float fBodySizeZ, float fShoulderSizeX, float fUpperArmSizeX, float fElbowSizeY,
                          float fLowerArmSizeZ)
{
    ArmLengths l;
    l.h = 100.0 * static_cast<double>(fBodySizeZ);
    l.a2 = 100.0 * static_cast<double>(fShoulderSizeX);
    l.a3 = 100.0 * static_cast<double>(fUpperArmSizeX);
    l.e = 100.0 * std::fabs(static_cast<double>(fElbowSizeY));
    l.d = 100.0 * static_cast<double>(fLowerArmSizeZ) + l.e;
    return l;
}

ArmLengths MakeArmLengths(const COptions& robotOptions)
{
    return MakeArmLengths(robotOptions.GetFloat("fBodySizeZ", 0.0f), robotOptions.GetFloat("fShoulderSizeX", 0.0f),
                          robotOptions.GetFloat("fUpperArmSizeX", 0.0f), robotOptions.GetFloat("fElbowSizeY", 0.0f),
                          robotOptions.GetFloat("fLowerArmSizeZ", 0.0f));
}

// ============================================================================
// 2. Forward model
// ============================================================================

void ComputeMGD(const ArmLengths& lengths, const JointAngles& angles, ToolPose* pose)
{
    const double t1 = angles.A12 * kDegToRad, t2 = angles.A23 * kDegToRad, t3 = angles.A34 * kDegToRad;
    const double t4 = angles.A45 * kDegToRad, t5 = angles.A56 * kDegToRad, t6 = angles.A67 * kDegToRad;
    const double c1 = std::cos(t1), s1 = std::sin(t1);
    const double c2 = std::cos(t2), s2 = std::sin(t2);
    const double c3 = std::cos(t3), s3 = std::sin(t3);
    const double c4 = std::cos(t4), s4 = std::sin(t4);
    const double c5 = std::cos(t5), s5 = std::sin(t5);
    const double c6 = std::cos(t6), s6 = std::sin(t6);

    RowPosition(lengths, MakeArmRow(lengths, c2, s2), c1, s1, c3, s3, &pose->X, &pose->Y, &pose->Z);

    // Orientation: Rz(t1) Rx(+90) Rz(t2+t3) Rx(+90) Rz(t4) Rx(-90) Rz(t5)
    // Rx(+90) Rz(t6), multiplied from the left. The quarter turns are exact
    // permutations with one sign change, so the product is written out by
    // columns: only the joint rotations round. A rounded cos 90 (6e-17)
    // would turn the zero differences of every half turn into signs.
    const double c23 = c2 * c3 - s2 * s3;
    const double s23 = s2 * c3 + c2 * s3;
    // C = Rz(t1) Rx(+90) Rz(t2+t3) Rx(+90), by columns.
    const double cA[3] = {c1 * c23, s1 * c23, s23};
    const double cB[3] = {s1, -c1, 0.0};
    const double cC[3] = {c1 * s23, s1 * s23, -c23};
    // D = C Rz(t4); E = D Rx(-90) = [D1, -D3, D2]; F = E Rz(t5);
    // G = F Rx(+90) = [F1, F3, -F2]; R = G Rz(t6).
    double r[3][3];
    for (int i = 0; i < 3; ++i) {
        const double d1 = cA[i] * c4 + cB[i] * s4;
        const double d2 = cA[i] * -s4 + cB[i] * c4;
        const double e2 = -cC[i];
        const double f1 = d1 * c5 + e2 * s5;
        const double f2 = d1 * -s5 + e2 * c5;
        r[i][0] = f1 * c6 + d2 * s6;
        r[i][1] = f1 * -s6 + d2 * c6;
        r[i][2] = -f2;
    }

    // Rotation angle and axis.
    const double cg = (r[0][0] + r[1][1] + r[2][2] - 1) / 2;
    const double dx = r[2][1] - r[1][2], dy = r[0][2] - r[2][0], dz = r[1][0] - r[0][1];
    const double gamma = std::atan2(0.5 * std::sqrt(dx * dx + dy * dy + dz * dz), cg);
    double ux = 0.0, uy = 0.0, uz = 0.0;
    if (!(cg >= 1.0)) {
        const double den = 1 - cg;
        ux = Sgn(dx) * std::sqrt(AxisRadicand(r[0][0] - cg, den));
        uy = Sgn(dy) * std::sqrt(AxisRadicand(r[1][1] - cg, den));
        uz = Sgn(dz) * std::sqrt(AxisRadicand(r[2][2] - cg, den));
    }
    // else: the identity (cg = 1 divides 0 by 0). Any axis is right for a
    // zero rotation; a zero axis gives alpha = beta = -0 below, the same
    // result as every half turn.

    // Axis direction as two angles. q = -sqrt(ux^2 + uy^2), taken through
    // the sine of alpha or, where that sine vanishes, its cosine. The sine
    // vanishes near alpha = 0 and also near +-180 (an axis with ux = 0 and
    // uy < 0, common at whole-degree angles): there sin(pi) = 1.2e-16 would
    // turn q into 0 and the axis into z.
    const double alpha = std::atan2(-ux, uy);
    const bool sineForm = std::fabs(alpha) > kKinThreshold && std::fabs(alpha) < M_PI - kKinThreshold;
    const double q = sineForm ? ux / std::sin(alpha) : -uy / std::cos(alpha);
    const double beta = std::atan2(q, uz);

    pose->alpha = static_cast<float>(alpha * kRadToDeg);
    pose->beta = static_cast<float>(beta * kRadToDeg);
    pose->gamma = static_cast<float>(gamma * kRadToDeg);
}

void ComputeMGDPosition(const ArmLengths& lengths, float a12, float a23, float a34, float* x, float* y, float* z)
{
    const double t1 = a12 * kDegToRad, t2 = a23 * kDegToRad, t3 = a34 * kDegToRad;
    RowPosition(lengths, MakeArmRow(lengths, std::cos(t2), std::sin(t2)), std::cos(t1), std::sin(t1), std::cos(t3),
                std::sin(t3), x, y, z);
}

// ============================================================================
// 3. Target orientation
// ============================================================================

void PoseRotation(const ToolPose& pose, double m[3][3])
{
    const double a = pose.alpha * kDegToRad, b = pose.beta * kDegToRad, g = pose.gamma * kDegToRad;
    const double ux = std::sin(b) * std::sin(a);
    const double uy = -std::cos(a) * std::sin(b);
    const double uz = std::cos(b);
    const double cg = std::cos(g), sg = std::sin(g);
    const double v = 1 - cg;
    m[0][0] = v * ux * ux + cg;
    m[0][1] = v * ux * uy - sg * uz;
    m[0][2] = v * ux * uz + sg * uy;
    m[1][0] = v * ux * uy + sg * uz;
    m[1][1] = v * uy * uy + cg;
    m[1][2] = v * uy * uz - sg * ux;
    m[2][0] = v * ux * uz - sg * uy;
    m[2][1] = v * uy * uz + sg * ux;
    m[2][2] = v * uz * uz + cg;
}

// ============================================================================
// 4. Closed-form wrist
// ============================================================================

double MGIWristCosine(const double r[3][3], double c1, double s1, double c23, double s23)
{
    double k;
    if (std::fabs(s23) <= kKinThreshold)
        k = -r[2][2] / c23;
    else
        k = s23 * (c1 * r[0][2] + s1 * r[1][2]) - c23 * r[2][2];
    // Rounding (or a target that the found arm cannot quite face) can push
    // the cosine out of range; a clamped value keeps the square root real.
    if (k > 1.0)
        k = 1.0;
    else if (k < -1.0)
        k = -1.0;
    return k;
}

void MGIWristEuler(const double r[3][3], double c1, double s1, double c23, double s23, double theta5, double* theta4,
                   double* theta6)
{
    // M = C^T R with C = Rz(t1) Rx(+90) Rz(t2+t3) Rx(+90) (columns as in the
    // forward model) equals Rz(t4) Ry(t5) Rz(t6). Taking t4 and t6 from M
    // keeps the signs that square-root formulas lose, so every orientation
    // is reproduced.
    const double cA[3] = {c1 * c23, s1 * c23, s23};
    const double cB[3] = {s1, -c1, 0.0};
    const double cC[3] = {c1 * s23, s1 * s23, -c23};
    auto m = [&](const double* col, int j) { return col[0] * r[0][j] + col[1] * r[1][j] + col[2] * r[2][j]; };
    if (std::fabs(std::sin(theta5)) > kKinThreshold) {
        *theta4 = std::atan2(m(cB, 2), m(cA, 2));   // M23, M13
        *theta6 = std::atan2(m(cC, 1), -m(cC, 0));  // M32, -M31
    } else {
        // Stretched or folded wrist: only t4 + t6 (or t4 - t6) is defined.
        *theta4 = 0.0;
        *theta6 = std::atan2(m(cB, 0), m(cB, 1));  // M21, M22
    }
}

void SolveMGIWrist(const ToolPose& pose, double theta1, float bestA23, float bestA34, JointAngles* angles)
{
    double r[3][3];
    PoseRotation(pose, r);
    const double t2 = bestA23 * kDegToRad, t3 = bestA34 * kDegToRad;
    const double s23 = std::sin(t3 + t2), c23 = std::cos(t3 + t2);
    const double s1 = std::sin(theta1), c1 = std::cos(theta1);
    const double k = MGIWristCosine(r, c1, s1, c23, s23);
    const double t5 = std::atan2(std::sqrt(1 - k * k), k);
    double t4, t6;
    MGIWristEuler(r, c1, s1, c23, s23, t5, &t4, &t6);
    angles->A23 = static_cast<float>(t2 * kRadToDeg);
    angles->A34 = static_cast<float>(t3 * kRadToDeg);
    angles->A45 = static_cast<float>(t4 * kRadToDeg);
    angles->A56 = static_cast<float>(t5 * kRadToDeg);
    angles->A67 = static_cast<float>(t6 * kRadToDeg);
}

// ============================================================================
// 5. Inverse model
// ============================================================================

namespace {

// Sines and cosines of the A34 values of one search. The grid only ever
// visits whole degrees, and the fine window revisits the same thirty or so
// values on every row, so a small direct-mapped table keyed by the exact
// float bits saves most of the calls. The values are those of cos and sin
// themselves: the positions stay bit-identical to the forward model.
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
