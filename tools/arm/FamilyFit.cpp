// The family test and the numbers of an arm in it.
//
// How the zeros and senses are found: every quantity is measured on the arm
// at its own zero (all joint positions 0), where the models' angles are the
// zeros themselves. The first three come from the plane of the arm (the
// plane through the base axis that the shoulder axis crosses at right
// angles), in which the models' arm is a planar linkage: A12's zero is the
// direction of that plane, A23's the upper arm's direction in it, A34's the
// forearm's roll axis turned by a quarter turn. The wrist's zeros are the
// turns that bring the models' next axis onto the arm's: A45's puts axis 5
// where the arm has it, A56's axis 6, and A67's leaves the smallest turn
// between the models' hand and the flange, which the tool frame then holds.
// A sense is -1 where the arm's axis points against the models' axis.
#include "tools/arm/FamilyFit.h"

#include "base/FrenchDecimal.h"
#include "base/Log.h"
#include "tools/arm/ModelFrames.h"

#include <cmath>
#include <string>

namespace {

// A robot description's numbers are written with a few decimals: a
// hundredth of a millimetre (of a pose unit) and ten microradians are its
// rounding, not a design. Anything the tolerances let through is measured
// again by the numerical check of the whole chain.
const double kDistance = 0.01;  // pose units
const double kAngle = 1e-5;     // radians
const double kToPoseUnits = 1000.0;

struct Line {
    KDL::Vector point, direction;  // direction of unit length
};

double Degrees(double radians)
{
    return radians * 180.0 / M_PI;
}

// How far two lines are from parallel, and from perpendicular (radians).
double FromParallel(const KDL::Vector& a, const KDL::Vector& b)
{
    return std::atan2((a * b).Norm(), std::fabs(KDL::dot(a, b)));
}
double FromPerpendicular(const KDL::Vector& a, const KDL::Vector& b)
{
    return std::atan2(std::fabs(KDL::dot(a, b)), (a * b).Norm());
}

// The nearest points of two lines that are not parallel.
void NearestPoints(const Line& a, const Line& b, KDL::Vector* onA, KDL::Vector* onB)
{
    const KDL::Vector w = a.point - b.point;
    const double c = KDL::dot(a.direction, b.direction);
    const double da = KDL::dot(a.direction, w), db = KDL::dot(b.direction, w);
    const double s = (c * db - da) / (1.0 - c * c), t = (db - c * da) / (1.0 - c * c);
    *onA = a.point + a.direction * s;
    *onB = b.point + b.direction * t;
}

// Millimetres as a message writes them (a pose unit is a millimetre).
std::string Millimetres(double poseUnits)
{
    return FormatDecimal(poseUnits, std::fabs(poseUnits) >= 0.1 ? 1 : 3) + " mm";
}
std::string AngleText(double radians)
{
    return FormatDecimal(Degrees(radians), Degrees(radians) >= 0.01 ? 2 : 4) + "°";
}

// "l'axe 4 (joint_4)", "les axes 2 et 3 (joint_2, joint_3)".
std::string Axis(const SerialArm& arm, int joint)
{
    return "l'axe " + std::to_string(joint + 1) + " (" + arm.joints[joint].name + ")";
}
std::string Axes(const SerialArm& arm, int a, int b)
{
    return "les axes " + std::to_string(a + 1) + " et " + std::to_string(b + 1) + " (" + arm.joints[a].name + ", " +
           arm.joints[b].name + ")";
}

bool Refuse(const std::string& reason)
{
    LogError("FitFamily -- Bras hors de la famille de Kalimbrax : %s", reason.c_str());
    return false;
}

// Coordinates in the arm's plane: along the plane's direction from the base
// axis, and up.
struct Planar {
    double rho, z;
};
Planar InPlane(const KDL::Vector& p, const KDL::Vector& along)
{
    return {KDL::dot(p, along), p.z()};
}

double Angle(double x, double y)
{
    return Degrees(std::atan2(y, x));
}

// The turn about z (degrees) that brings the xy part of `from` onto that of
// `to`.
double TurnAboutZ(const KDL::Vector& from, const KDL::Vector& to)
{
    return Degrees(std::atan2(from.x() * to.y() - from.y() * to.x(), from.x() * to.x() + from.y() * to.y()));
}

// Within (-180, 180].
double Wrapped(double degrees)
{
    double a = std::remainder(degrees, 360.0);
    return a == -180.0 ? 180.0 : a;
}

// Joint `joint` of the models turns link joint + 1; its next axis is
// link joint + 2's z after that link's fixed turn. The zero that puts the
// models' next axis on the arm's (nextAxis, base frame), with the sense the
// smaller zero asks for.
void WristZero(const ModelFrames& frames, int joint, const KDL::Vector& nextAxis, double* zero, int* nextSense)
{
    const KDL::Rotation before = frames.joint[joint + 1].M;
    const KDL::Rotation fixedTurn = frames.link[joint + 1].M.Inverse() * frames.joint[joint + 2].M;
    const KDL::Vector local = fixedTurn.UnitZ();
    const KDL::Vector wanted = before.Inverse() * nextAxis;
    const double forward = TurnAboutZ(local, wanted), backward = TurnAboutZ(local, -wanted);
    *nextSense = std::fabs(forward) <= std::fabs(backward) ? 1 : -1;
    *zero = *nextSense > 0 ? forward : backward;
}

}  // namespace

double ModelAngle(const ArmFit& fit, int joint, double degrees)
{
    return fit.zero[joint] + fit.sense[joint] * degrees;
}

bool FitFamily(const SerialArm& arm, ArmFit* fit)
{
    // The six axes at the arm's zero, in the base frame, pose units.
    const double q0[kArmJoints] = {0, 0, 0, 0, 0, 0};
    Line axis[kArmJoints];
    for (int j = 0; j < kArmJoints; ++j) {
        const KDL::Frame frame = arm.LinkFrame(j, q0) * arm.joints[j].origin;
        KDL::Vector direction = frame.M * arm.joints[j].axis;
        direction.Normalize();
        axis[j] = {frame.p * kToPoseUnits, direction};
    }
    const KDL::Vector up(0, 0, 1);

    // The base axis: vertical, through the base's origin (Kalimbrax's base
    // frame is the description's: poses are given in it).
    if (FromParallel(axis[0].direction, up) > kAngle)
        return Refuse(Axis(arm, 0) + " n'est pas vertical : il s'écarte de " +
                      AngleText(FromParallel(axis[0].direction, up)) + " de l'axe z de la base");
    const double offCentre = std::hypot(axis[0].point.x(), axis[0].point.y());
    if (offCentre > kDistance)
        return Refuse(Axis(arm, 0) + " passe à " + Millimetres(offCentre) +
                      " de l'origine de la base ; Kalimbrax fait tourner le bras autour de l'axe z de sa base");
    if (FromPerpendicular(axis[1].direction, up) > kAngle)
        return Refuse(Axes(arm, 0, 1) + " ne sont pas perpendiculaires : écart de " +
                      AngleText(FromPerpendicular(axis[1].direction, up)));
    if (FromParallel(axis[1].direction, axis[2].direction) > kAngle)
        return Refuse(Axes(arm, 1, 2) + " ne sont pas parallèles : écart de " +
                      AngleText(FromParallel(axis[1].direction, axis[2].direction)));
    for (int j = 3; j < kArmJoints; ++j) {
        // Parallel where the family wants them crossing: a wrist set off the
        // forearm, as a UR arm's is, not a crooked axis.
        if (FromParallel(axis[j].direction, axis[j - 1].direction) <= kAngle)
            return Refuse(Axes(arm, j - 1, j) + " sont parallèles : le poignet est décalé (un bras de type UR) ; la " +
                          "famille de Kalimbrax a un poignet à trois axes concourants");
        if (FromPerpendicular(axis[j].direction, axis[j - 1].direction) > kAngle)
            return Refuse(Axes(arm, j - 1, j) + " ne sont pas perpendiculaires : écart de " +
                          AngleText(FromPerpendicular(axis[j].direction, axis[j - 1].direction)));
    }

    // The wrist centre: where axis 5 meets axes 4 and 6.
    KDL::Vector on4, on5a, on5b, on6;
    NearestPoints(axis[3], axis[4], &on4, &on5a);
    NearestPoints(axis[4], axis[5], &on5b, &on6);
    const double gap = std::fmax(std::fmax((on4 - on5a).Norm(), (on6 - on5b).Norm()), (on5a - on5b).Norm());
    if (gap > kDistance)
        return Refuse("les axes 4, 5 et 6 ne se coupent pas : écart de " + Millimetres(gap) + " au poignet");
    const KDL::Vector wrist = (on5a + on5b) * 0.5;

    // The arm's plane: through the base axis, across the shoulder axis.
    KDL::Vector across(axis[1].direction.x(), axis[1].direction.y(), 0.0);
    across.Normalize();
    const double sideways = KDL::dot(wrist, across);
    if (std::fabs(sideways) > kDistance)
        return Refuse("le centre du poignet est à " + Millimetres(sideways) +
                      " du plan de l'axe 1 et du bras (décalage latéral, le long de " + Axis(arm, 1) +
                      ") ; les modèles de Kalimbrax n'en ont pas");

    // The plane's direction: from the base axis toward the shoulder axis.
    // With the shoulder on the base axis either way fits; the one that puts
    // the elbow offset on the models' side is taken below.
    KDL::Vector along = up * across;
    const bool shoulderOnAxis = std::fabs(KDL::dot(axis[1].point, along)) <= kDistance;
    if (KDL::dot(axis[1].point, along) < 0)
        along = -along;
    Planar shoulder, elbow, centre, roll, foot;
    double e = 0.0, d = 0.0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        shoulder = InPlane(axis[1].point, along);
        elbow = InPlane(axis[2].point, along);
        centre = InPlane(wrist, along);
        roll = InPlane(axis[3].direction, along);
        const double norm = std::hypot(roll.rho, roll.z);
        roll = {roll.rho / norm, roll.z / norm};
        // The forearm: the foot of the perpendicular from the elbow axis to
        // the roll axis, then d along the roll axis to the wrist centre and e
        // across it, a quarter turn back from the roll axis (the models'
        // forearm hangs down where its offset points forward).
        const double t = (elbow.rho - centre.rho) * roll.rho + (elbow.z - centre.z) * roll.z;
        foot = {centre.rho + t * roll.rho, centre.z + t * roll.z};
        d = (centre.rho - foot.rho) * roll.rho + (centre.z - foot.z) * roll.z;
        if (d < -kDistance) {
            roll = {-roll.rho, -roll.z};
            d = -d;
        }
        e = -(foot.rho - elbow.rho) * roll.z + (foot.z - elbow.z) * roll.rho;
        if (e >= -kDistance)
            break;
        if (std::fabs(d) <= kDistance) {
            // No length along the roll axis: its other direction fits as well.
            roll = {-roll.rho, -roll.z};
            e = -e;
            break;
        }
        if (!shoulderOnAxis || attempt == 1) {
            // The offset on the other side: the same forearm seen from the
            // wrist back, d counted against the roll axis and A34's zero half
            // a turn on.
            roll = {-roll.rho, -roll.z};
            e = -e;
            d = -d;
            break;
        }
        along = -along;  // the mirror image of the plane: the offset changes side
    }

    ArmLengths& l = fit->lengths;
    l.h = shoulder.z;
    l.a2 = std::fmax(shoulder.rho, 0.0);
    l.a3 = std::hypot(elbow.rho - shoulder.rho, elbow.z - shoulder.z);
    l.e = std::fmax(e, 0.0);
    l.d = d;
    if (l.a3 <= kDistance)
        return Refuse(Axes(arm, 1, 2) + " sont confondus : le bras n'a pas de segment entre l'épaule et le coude");
    if (std::hypot(l.e, l.d) <= kDistance)
        return Refuse("le centre du poignet est sur " + Axis(arm, 2) + " : l'avant-bras n'a pas de longueur");

    // The arm's zero in the models' angles: the first three from the plane.
    double theta[kArmJoints] = {0, 0, 0, 0, 0, 0};
    theta[0] = Angle(along.x(), along.y());
    theta[1] = Angle(elbow.rho - shoulder.rho, elbow.z - shoulder.z);
    theta[2] = Angle(roll.rho, roll.z) + 90.0 - theta[1];
    fit->sense[0] = axis[0].direction.z() > 0 ? 1 : -1;
    ModelFrames frames = ComposeModel(l, theta);
    for (int j = 1; j < 4; ++j)
        fit->sense[j] = KDL::dot(frames.joint[j + 1].M.UnitZ(), axis[j].direction) > 0 ? 1 : -1;
    // The wrist's: each zero turns the models' next axis onto the arm's.
    for (int j = 3; j < 5; ++j) {
        WristZero(frames, j, axis[j + 1].direction, &theta[j], &fit->sense[j + 1]);
        frames = ComposeModel(l, theta);
    }
    // A67's: the smallest turn left between the models' hand and the flange.
    KDL::Frame flange = arm.FlangeFrame(q0);
    flange.p = flange.p * kToPoseUnits;
    const KDL::Rotation m = frames.link[kLinkCount - 1].M.Inverse() * flange.M;
    theta[5] = Degrees(std::atan2(m(1, 0) - m(0, 1), m(0, 0) + m(1, 1)));
    frames = ComposeModel(l, theta);
    fit->tool = frames.link[kLinkCount - 1].Inverse() * flange;
    for (int j = 0; j < kArmJoints; ++j)
        fit->zero[j] = Wrapped(theta[j]);
    return true;
}
