// kalimbrax-arm make, judged by the ortho-parallel forward kinematics
// written here from the seven data-sheet numbers: the data set it writes,
// run through kalimbrax-kin, gives the same flange at seeded positions
// within the data sheet's limits, in the maker's angles.
#include "tools/kin/KinBatch.h"
#include "kinematics/Kinematics.h"
#include "tests/arm/urdf_fixture.h"
#include "tests/support/ErrorLog.h"
#include "tools/arm/ArmDataSet.h"
#include "tools/arm/ArmMake.h"

#include <gtest/gtest.h>
#include <kdl/frames.hpp>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>

namespace {

struct Sheet {
    double a1, a2, c1, c2, c3, c4;  // millimetres (b = 0)
    double zero[6];
    int sense[6];
    double lower[6], upper[6];
};

// The flange of the ortho-parallel arm (pose units = mm): the wrist centre
// from the planar arm in the plane of joint 1, the hand turned by
// Rz(t1) Ry(t2 + t3) then Rz(t4) Ry(t5) Rz(t6), the flange c4 along its z.
KDL::Frame OrthoParallelFlange(const Sheet& s, const double maker[6])
{
    double t[6];
    for (int j = 0; j < 6; ++j)
        t[j] = (s.zero[j] + s.sense[j] * maker[j]) * M_PI / 180.0;
    const double psi3 = std::atan2(s.a2, s.c3), k = std::hypot(s.a2, s.c3);
    const double cx1 = s.c2 * std::sin(t[1]) + k * std::sin(t[1] + t[2] + psi3) + s.a1;
    const double cz1 = s.c2 * std::cos(t[1]) + k * std::cos(t[1] + t[2] + psi3);
    const KDL::Vector centre(cx1 * std::cos(t[0]), cx1 * std::sin(t[0]), cz1 + s.c1);
    const KDL::Rotation r = KDL::Rotation::RotZ(t[0]) * KDL::Rotation::RotY(t[1] + t[2]) * KDL::Rotation::RotZ(t[3]) *
                            KDL::Rotation::RotY(t[4]) * KDL::Rotation::RotZ(t[5]);
    return KDL::Frame(r, centre + r * KDL::Vector(0, 0, s.c4));
}

std::string SheetText(const Sheet& s)
{
    std::ostringstream text;
    text << "strName = \"bras d'essai\";\nfA1 = " << s.a1 << ".0;\nfA2 = " << s.a2 << ".0;\nfB = 0.0;\nfC1 = " << s.c1
         << ".0;\nfC2 = " << s.c2 << ".0;\nfC3 = " << s.c3 << ".0;\nfC4 = " << s.c4 << ".0;\n";
    for (int j = 0; j < 6; ++j)
        text << "fJoint" << j + 1 << "Zero = " << s.zero[j] << ".0;\niJoint" << j + 1 << "Sense = " << s.sense[j]
             << ";\nfJoint" << j + 1 << "Min = " << s.lower[j] << ".0;\nfJoint" << j + 1 << "Max = " << s.upper[j]
             << ".0;\n";
    return text.str();
}

std::string RunMgd(const std::string& data, const std::string& input, int* status)
{
    std::vector<char> buffer(input.begin(), input.end());
    buffer.push_back('\0');
    FILE* in = fmemopen(buffer.data(), input.size(), "r");
    char* text = nullptr;
    std::size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    const char* args[] = {"kalimbrax-kin", "mgd", data.c_str()};
    *status = RunKinTool(3, args, in, out, stderr);
    std::fclose(in);
    std::fclose(out);
    std::string result(text, size);
    std::free(text);
    return result;
}

class ArmMakeTest : public ErrorLogTest {
protected:
    ArmMakeTest() : ErrorLogTest("arm_make_test") {}
    CScratch scratch;
};

// A large arm whose maker counts the shoulder from the vertical the other
// way, the elbow from the horizontal, base and forearm turned the other way.
const Sheet kSheets[] = {
    {150,
     -110,
     500,
     600,
     650,
     100,
     {0, 0, 0, 0, 0, 0},
     {1, 1, 1, 1, 1, 1},
     {-180, -180, -180, -180, -180, -180},
     {180, 180, 180, 180, 180, 180}},
    {260,
     -180,
     780,
     1050,
     1250,
     215,
     {0, 90, -90, 0, 0, 180},
     {-1, -1, 1, -1, 1, 1},
     {-185, -140, -120, -350, -125, -350},
     {185, -5, 168, 350, 125, 350}},
};

TEST_F(ArmMakeTest, TheDataSetGivesTheOrthoParallelFlangeInTheMakersAngles)
{
    int index = 0;
    for (const Sheet& s : kSheets) {
        SCOPED_TRACE(index);
        const std::string sheet = scratch.Path() + "/sheet" + std::to_string(index) + ".txt";
        const std::string data = scratch.Path() + "/data" + std::to_string(index++);
        std::ofstream(sheet) << SheetText(s);
        ASSERT_TRUE(MakeArm(sheet, data, DefaultTemplateDirectory())) << ::testing::PrintToString(Messages());

        std::mt19937 generator(4242);
        std::string input;
        std::vector<std::vector<double>> positions;
        for (int i = 0; i < 500; ++i) {
            std::vector<double> q(6);
            char line[160];
            int n = 0;
            for (int j = 0; j < 6; ++j) {
                n += std::snprintf(line + n, sizeof line - n, "%.6f ",
                                   std::uniform_real_distribution<double>(s.lower[j], s.upper[j])(generator));
            }
            std::istringstream(line) >> q[0] >> q[1] >> q[2] >> q[3] >> q[4] >> q[5];
            positions.push_back(q);
            input += std::string(line) + "\n";
        }
        int status = -1;
        std::istringstream out(RunMgd(data, input, &status));
        ASSERT_EQ(status, 0);
        for (const std::vector<double>& q : positions) {
            float p[6];
            ASSERT_TRUE(out >> p[0] >> p[1] >> p[2] >> p[3] >> p[4] >> p[5]);
            const KDL::Frame expected = OrthoParallelFlange(s, q.data());
            double r[3][3];
            PoseRotation(ToolPose{p[0], p[1], p[2], p[3], p[4], p[5]}, r);
            EXPECT_LE((KDL::Vector(p[0], p[1], p[2]) - expected.p).Norm(), 0.01);
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    ASSERT_NEAR(r[i][j], expected.M(i, j), 1e-5);
        }
    }
}

TEST_F(ArmMakeTest, ADataSheetOutsideTheFamilyOrWithAnUnknownKeyIsRefusedAndLeavesNothing)
{
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"fB = 35.0;", "b = 35 mm : c'est un décalage latéral"},
        {"fC5 = 35.0;", "clé inconnue fC5"},
        {"iJoint2Sense = 2;", "iJoint2Sense = 2 : le sens d'une articulation vaut 1 ou -1"},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        g_Records.clear();
        // A file of its own each time: option files are read once per name.
        const std::string sheet = scratch.Path() + "/refused" + std::to_string(index++) + ".txt";
        std::ofstream(sheet) << c.text << "\n";
        EXPECT_FALSE(MakeArm(sheet, scratch.Path() + "/data", DefaultTemplateDirectory()));
        ASSERT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        EXPECT_NE(Messages()[0].find(c.reason), std::string::npos) << Messages()[0];
        struct stat info;
        EXPECT_NE(stat((scratch.Path() + "/data").c_str(), &info), 0);
        std::remove(sheet.c_str());
    }
}

}  // namespace
