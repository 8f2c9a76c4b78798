// The seven link frames in one walk down the chain are the frames the scene
// draws each link in, bit for bit, for the arm as the data sets describe it
// and for an imported arm's wrist turned as the model turns it.
#include "arm/ArmDescription.h"

#include <gtest/gtest.h>

#include <random>

TEST(LinkFrames, AreLinkMeshTransformsBitForBit)
{
    float modelTurns[kLinkCount];
    std::copy(kLinkTurnX, kLinkTurnX + kLinkCount, modelTurns);
    modelTurns[kWristLink] = kModelWristTurnX;
    const float shipped[kLinkCount][3] = {{0, 0, 4},     {1, 0, 0},     {4.4f, 0, 0}, {0.55f, -0.55f, 0},
                                          {0, 0, 3.85f}, {0, 0.65f, 0}, {0, 0, -1}};
    float uneven[kLinkCount][3];
    std::mt19937 random(17u);
    std::uniform_real_distribution<float> length(-3.0f, 3.0f), turn(-720.0f, 720.0f);
    for (auto& offset : uneven)
        for (float& k : offset)
            k = length(random);
    for (const float* turns : {kLinkTurnX, static_cast<const float*>(modelTurns)})
        for (const auto* offsets : {shipped, static_cast<const float(*)[3]>(uneven)})
            for (int n = 0; n < 500; ++n) {
                const JointAngles a{turn(random), turn(random), turn(random), turn(random), turn(random), turn(random)};
                Matrix4 frames[kLinkCount];
                LinkFrames(turns, a, offsets, frames);
                for (int link = 0; link < kLinkCount; ++link) {
                    const Matrix4 drawn = LinkMeshTransform(turns, a, offsets, link);
                    for (int i = 0; i < 16; ++i)
                        ASSERT_EQ(frames[link].m[i], drawn.m[i])
                            << "link " << link << ", entry " << i << ", pose " << n;
                }
            }
}
