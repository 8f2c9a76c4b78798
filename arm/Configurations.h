#pragma once
// Every configuration of the pose where the arm stands, as the panel lists
// them, the scene draws them and `config N` chooses among them: numbered as
// kalimbrax-kin mgi --all numbers them, in the data set's angles, each moved
// by whole turns into the joint limits nearest the arm's own angles.
#include "arm/ArmDescription.h"
#include "kinematics/MGIExact.h"

#include <string>
#include <vector>

struct ArmConfiguration {
    int number;  // from 1
    JointAngles angles;
    ArmPosture posture;
    bool withinLimits;  // every angle fits its limits
    bool current;       // the arm holds this one
};

// The configurations of the tool pose of `current` (the data set's angles);
// none when the pose is out of reach.
std::vector<ArmConfiguration> ConfigurationsOf(const ArmDescription& arm, const JointAngles& current);

// The refusal of a configuration number the pose does not have: "pas de
// configuration 9 pour la pose du bras".
std::string NoSuchConfiguration(const std::string& number);

// "vers l'avant, coude en haut, poignet non retourné": how a configuration
// holds the arm, in French (UTF-8).
std::string DescribePosture(const ArmPosture& posture);
