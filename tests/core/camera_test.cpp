#include "view/Camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

float Length(const Vec3f& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}
float Dot(const Vec3f& a, const Vec3f& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

TEST(CameraTest, StartCameraLooksAtTheGridCentre)
{
    CCamera c = StartCamera();
    // The line of sight meets the ground z = 0 at (0, 1, 0).
    float t = -c.eye.z / c.direction.z;
    EXPECT_NEAR(c.eye.x + t * c.direction.x, 0.0f, 1e-5);
    EXPECT_NEAR(c.eye.y + t * c.direction.y, 1.0f, 1e-4);
}

TEST(CameraTest, KeysMoveTheEyeOnly)
{
    struct Case {
        int key;
        int presses;
        Vec3f eye;
    };
    const Case cases[] = {
        {kKeyLeft, 10, {3.0011649f, 15.0f, 21.0f}}, {kKeyRight, 1, {-0.30011649f, 15.0f, 21.0f}},
        {kKeyUp, 1, {0.0f, 14.7f, 21.0f}},          {kKeyDown, 2, {0.0f, 15.6f, 21.0f}},
        {kKeyPageUp, 1, {0.0f, 15.0f, 21.3f}},      {kKeyPageDown, 3, {0.0f, 15.0f, 20.1f}},
    };
    for (const Case& k : cases) {
        CCamera c = StartCamera();
        for (int i = 0; i < k.presses; ++i)
            EXPECT_TRUE(MoveCamera(c, k.key));
        EXPECT_NEAR(c.eye.x, k.eye.x, 1e-4) << "key " << k.key;
        EXPECT_NEAR(c.eye.y, k.eye.y, 1e-4) << "key " << k.key;
        EXPECT_NEAR(c.eye.z, k.eye.z, 1e-4) << "key " << k.key;
        CCamera start = StartCamera();
        EXPECT_EQ(c.direction.y, start.direction.y);
        EXPECT_EQ(c.up.z, start.up.z);
    }
}

// However far a key is held, the eye stays above the ground: below it the
// picture would be black.
TEST(CameraTest, NoKeyTakesTheEyeUnderTheGround)
{
    struct Case {
        int key;
        Vec3f direction, up;
    };
    const CCamera start = StartCamera();
    // Looking down, Left and Right move along d x u, which dips when the
    // camera is rolled: turn the up vector about the direction a little.
    const Case cases[] = {
        {kKeyPageDown, start.direction, start.up},
        {kKeyRight, {0.0f, -0.5547002f, -0.8320503f}, {0.5f, 0.72f, -0.48f}},
        {kKeyLeft, {0.0f, -0.5547002f, -0.8320503f}, {-0.5f, 0.72f, -0.48f}},
    };
    for (const Case& k : cases) {
        CCamera c = start;
        c.direction = k.direction;
        c.up = k.up;
        for (int i = 0; i < 1000; ++i)
            MoveCamera(c, k.key);
        EXPECT_EQ(c.eye.z, kMinEyeHeight) << "key " << k.key;
    }
    CCamera low = start;
    low.eye.z = kMinEyeHeight;
    EXPECT_TRUE(MoveCamera(low, kKeyPageUp));
    EXPECT_NEAR(low.eye.z, kMinEyeHeight + kCameraStep, 1e-6) << "and back up from there";
}

TEST(CameraTest, OtherKeysChangeNothing)
{
    for (int key : {1, 4, 9, 106, 107, 112}) {
        CCamera c = StartCamera();
        EXPECT_FALSE(MoveCamera(c, key));
        EXPECT_EQ(c.eye.y, 15.0f);
        EXPECT_EQ(c.eye.z, 21.0f);
    }
}

TEST(CameraTest, UpAndDownDoNothingWhenLookingStraightDown)
{
    CCamera c{{1.0f, 2.0f, 3.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f}};
    EXPECT_TRUE(MoveCamera(c, kKeyUp));
    EXPECT_TRUE(MoveCamera(c, kKeyDown));
    EXPECT_EQ(c.eye.x, 1.0f);
    EXPECT_EQ(c.eye.y, 2.0f);
    EXPECT_FALSE(std::isnan(c.eye.x));
}

TEST(CameraTest, DragKeepsLengthsAndAngle)
{
    CCamera c = StartCamera();
    float dLength = Length(c.direction), uLength = Length(c.up), dot = Dot(c.direction, c.up);
    const int drags[][2] = {{40, 0}, {0, -25}, {-300, 170}, {1000, 1000}};
    for (const auto& drag : drags) {
        TurnCamera(c, drag[0], drag[1]);
        EXPECT_NEAR(Length(c.direction), dLength, 1e-5);
        EXPECT_NEAR(Length(c.up), uLength, 1e-5);
        EXPECT_NEAR(Dot(c.direction, c.up), dot, 1e-5);
    }
    EXPECT_EQ(c.eye.z, 21.0f);
}

TEST(CameraTest, HorizontalDragTurnsAboutWorldZ)
{
    CCamera c = StartCamera();
    TurnCamera(c, 100, 0);  // 0.3 radians
    EXPECT_NEAR(c.direction.z, StartCamera().direction.z, 1e-7);
    EXPECT_NEAR(std::atan2(c.direction.y, c.direction.x) - std::atan2(-0.5547002, 0.0), 0.3, 1e-5);
}

}  // namespace

namespace {

TEST(CameraTest, PitchOfAnOrthonormalPairFollowsThePlaneFormula)
{
    // For an orthonormal direction and up, the pitch is
    // d' = d cos a - u sin a and u' = d sin a + u cos a.
    CCamera c{{0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
    TurnCamera(c, 0, 100);  // a = 0.3
    const float ca = std::cos(0.3f), sa = std::sin(0.3f);
    EXPECT_NEAR(c.direction.y, ca, 1e-6);
    EXPECT_NEAR(c.direction.z, -sa, 1e-6);
    EXPECT_NEAR(c.up.y, sa, 1e-6);
    EXPECT_NEAR(c.up.z, ca, 1e-6);
}

}  // namespace
