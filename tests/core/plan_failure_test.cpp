// The French words of a planner's refusals.
#include "motion/PlanFailure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

PlanFailure Placed(PlanFault reason, double fraction, int joint = -1, double value = 0)
{
    PlanFailure f;
    f.reason = reason;
    f.joint = joint;
    f.placed = true;
    f.fraction = fraction;
    f.place[0] = 412.5;
    f.place[1] = -80.04;
    f.place[2] = 610.2;
    f.value = value;
    return f;
}

PlanFailure Unplaced(PlanFault reason)
{
    PlanFailure f;
    f.reason = reason;
    return f;
}

TEST(DescribeFailure, WordsOfEachRefusal)
{
    PlanFailure limit = Placed(PlanFault::JointLimit, 0.4, 1, 150.3);
    limit.low = -90;
    limit.high = 150;
    PlanFailure halfDegreeLimit = Placed(PlanFault::JointLimit, 0.996, 5, -12.6);
    halfDegreeLimit.low = -12.5;
    halfDegreeLimit.high = 0;
    // An arm's own name for its joint.
    PlanFailure named = Placed(PlanFault::JointLimit, 0.4, 4, 181.7);
    named.jointName = "joint_5";
    named.low = -180;
    named.high = 180;
    PlanFailure kdl = Unplaced(PlanFault::PathRefusedByKdl);
    kdl.kdlError = 3001;
    PlanFailure tooLong = Unplaced(PlanFault::TooLong), farTooLong = tooLong, endless = tooLong;
    tooLong.value = 20000;
    farTooLong.value = 4e27;
    endless.value = INFINITY;
    // A rounded corner too wide for its segment: past half of it, or, at a
    // sharper corner, its roundings taking all of it.
    PlanFailure halfSegment = Unplaced(PlanFault::BlendTooLarge), cornersCover = halfSegment;
    halfSegment.value = 30;
    halfSegment.segment = 2;
    halfSegment.length = 40;
    cornersCover.value = 12.5;
    cornersCover.segment = 3;
    cornersCover.length = 40.04;
    cornersCover.corners = 46.66;
    PlanFailure reversal = Unplaced(PlanFault::BlendReversal);
    reversal.segment = 3;
    const std::string place = " du chemin (412,5 ; -80,0 ; 610,2)";
    struct Case {
        PlanFailure failure;
        std::string words;
    };
    const Case cases[] = {
        {Placed(PlanFault::ConfigurationChange, 0.63), "configuration à changer à 63 %" + place},
        {Placed(PlanFault::ConfigurationChange, 0.5, 3, 35.24),
         "configuration à changer (A45 saute de 35,2°) à 50 %" + place},
        // The angle the joint would reach: a joint turns on past 180.
        {limit, "A23 = 150,3 hors des limites [-90 ; 150] à 40 %" + place},
        {halfDegreeLimit, "A67 = -12,6 hors des limites [-12,5 ; 0] à 100 %" + place},
        {named, "joint_5 = 181,7 hors des limites [-180 ; 180] à 40 %" + place},
        {Placed(PlanFault::OutOfReach, 0.75), "hors d'atteinte à 75 %" + place},
        {Placed(PlanFault::WristSingularity, 0.5, 4, 0.4),
         "trop près de la singularité du poignet (A56 = 0,4°) à 50 %" + place},
        {Placed(PlanFault::WristSingularity, 0.5, 4, -0.04),
         "trop près de la singularité du poignet (A56 = 0,0°) à 50 %" + place},
        {Placed(PlanFault::ElbowSingularity, 0.2, -1, 1.25),
         "trop près de la singularité du coude (à 1,2° de l'alignement) à 20 %" + place},
        // Nearer than a threshold of 2 never reads as 2.
        {Placed(PlanFault::WristSingularity, 0.5, 4, -1.97),
         "trop près de la singularité du poignet (A56 = -1,9°) à 50 %" + place},
        {Placed(PlanFault::WristSingularity, 0.5, 4, 178.03),
         "trop près de la singularité du poignet (A56 = 178,1°) à 50 %" + place},
        {Placed(PlanFault::ElbowSingularity, 0.2, -1, 1.999),
         "trop près de la singularité du coude (à 1,9° de l'alignement) à 20 %" + place},
        {Placed(PlanFault::ShoulderSingularity, 0, -1, 12.34),
         "trop près de la singularité de l'épaule (à 12,3 de l'axe de la base) à 0 %" + place},
        {Unplaced(PlanFault::ArcPointsAligned), "arc impossible : points alignés"},
        {Unplaced(PlanFault::ArcPointsCoincide), "arc impossible : points confondus"},
        {kdl, "chemin refusé par KDL (erreur 3001)"},
        {Unplaced(PlanFault::InvalidTarget), "cible non valide"},
        {Unplaced(PlanFault::InvalidSettings), "vitesses, accélérations ou réduction de vitesse non valides"},
        {tooLong, "mouvement trop long : 20000 s à pleine vitesse, 3600 s au plus"},
        {farTooLong, "mouvement trop long : 4e+27 s à pleine vitesse, 3600 s au plus"},
        {endless, "mouvement trop long : durée non finie à pleine vitesse, 3600 s au plus"},
        {Unplaced(PlanFault::TooManySamples), "chemin trop long à vérifier : plus de 100000 échantillons"},
        {halfSegment, "rayon de raccordement 30 trop grand pour le segment 2 (longueur 40,0)"},
        {cornersCover,
         "rayon de raccordement 12,5 trop grand pour le segment 3 (longueur 40,0 ; ses coins en demandent 46,7)"},
        {reversal, "coin impossible à arrondir : le segment 3 revient sur le segment 2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeFailure(c.failure), c.words);
}

}  // namespace
