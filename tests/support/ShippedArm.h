#pragma once
// Test support: the arm of the data set shipped in default/, as the program
// loads it.
#include "dataset/DataSet.h"

#include <gtest/gtest.h>

inline ArmDescription ShippedArm()
{
    const std::optional<ArmDescription> arm = LoadDataSet(KX_SOURCE_DIR "/default").arm;
    EXPECT_TRUE(arm.has_value());
    return arm.value_or(ArmDescription{});
}
