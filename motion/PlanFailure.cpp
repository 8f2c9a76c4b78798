// The words of a refusal (see PlanFailure.h).
#include "motion/PlanFailure.h"

#include "base/FrenchDecimal.h"
#include "kinematics/JointLimits.h"
#include "kinematics/RobotTypes.h"
#include "motion/PlanBounds.h"

#include <cmath>

namespace {

// One decimal. Rounded first, so that -0.04 reads "0,0", not "-0,0".
std::string Number(double value)
{
    const double rounded = std::round(value * 10) / 10;
    return FormatDecimal(rounded == 0 ? 0.0 : rounded, 1);
}

// One decimal, cut toward `singular`: nearer a singularity than a threshold
// never reads as the threshold itself (1.97 degrees from it reads 1.9).
std::string Toward(double value, double singular)
{
    const double cut = singular + std::trunc((value - singular) * 10) / 10;
    return FormatDecimal(cut == 0 ? 0.0 : cut, 1);
}

// A56 toward the nearer of 0, 180 and -180.
std::string WristAngle(double a56)
{
    return Toward(a56, 180 * std::round(a56 / 180));
}

std::string JointName(const PlanFailure& f)
{
    if (!f.jointName.empty())
        return f.jointName;
    return f.joint >= 0 && f.joint < 6 ? kJointNames[f.joint] : "?";
}

std::string What(const PlanFailure& f)
{
    switch (f.reason) {
    case PlanFault::InvalidSettings:
        return "vitesses, accélérations ou réduction de vitesse non valides";
    case PlanFault::InvalidTarget:
        return "cible non valide";
    case PlanFault::ArcPointsCoincide:
        return "arc impossible : points confondus";
    case PlanFault::ArcPointsAligned:
        return "arc impossible : points alignés";
    case PlanFault::PathRefusedByKdl:
        return "chemin refusé par KDL (erreur " + std::to_string(f.kdlError) + ")";
    case PlanFault::OutOfReach:
        return "hors d'atteinte";
    case PlanFault::ConfigurationChange:
        return f.joint < 0 ? "configuration à changer"
                           : "configuration à changer (" + JointName(f) + " saute de " + Number(f.value) + "°)";
    case PlanFault::JointLimit:
        return OutsideLimits(JointName(f), f.value, f.low, f.high);
    case PlanFault::WristSingularity:
        return "trop près de la singularité du poignet (" + JointName(f) + " = " + WristAngle(f.value) + "°)";
    case PlanFault::ElbowSingularity:
        return "trop près de la singularité du coude (à " + Toward(f.value, 0) + "° de l'alignement)";
    case PlanFault::ShoulderSingularity:
        return "trop près de la singularité de l'épaule (à " + Toward(f.value, 0) + " de l'axe de la base)";
    case PlanFault::TooLong:
        return "mouvement trop long : " +
               (std::isfinite(f.value) ? FormatShortDecimal(f.value) + " s" : std::string("durée non finie")) +
               " à pleine vitesse, " + FormatShortDecimal(kMaxPlanSeconds) + " s au plus";
    case PlanFault::TooManySamples:
        return "chemin trop long à vérifier : plus de " + std::to_string(kMaxPlanSamples) + " échantillons";
    case PlanFault::Collision:
        return "collision entre " + f.pair.Words();
    case PlanFault::BlendTooLarge:
        return "rayon de raccordement " + FormatShortDecimal(f.value) + " trop grand pour le segment " +
               std::to_string(f.segment) + " (longueur " + Number(f.length) +
               (f.corners > 0 ? " ; ses coins en demandent " + Number(f.corners) : std::string()) + ")";
    case PlanFault::BlendReversal:
        return "coin impossible à arrondir : le segment " + std::to_string(f.segment) + " revient sur le segment " +
               std::to_string(f.segment - 1);
    }
    return "refus inconnu";
}

}  // namespace

std::string DescribeFailure(const PlanFailure& f)
{
    std::string words = What(f);
    if (f.placed)
        words += " à " + std::to_string(std::lround(f.fraction * 100)) + " % du chemin (" + Number(f.place[0]) + " ; " +
                 Number(f.place[1]) + " ; " + Number(f.place[2]) + ")";
    return words;
}
