// kalimbrax-arm import, judged by the arm's own description: the data set it
// writes, run through kalimbrax-kin, must give the flange that the parsed
// description's chain gives (built here by KDL, independently of the
// importer) and find those joint positions again with the exact model.
// The reference arm is the published ABB IRB 1600 when its sample lies
// beside the repository ($KX_SOURCE/../shared/data/irb1600), else a URDF of
// the same joints written by the fixture.
#include "arm/ArmDescription.h"
#include "arm/ArmKinematics.h"
#include "dataset/DataSet.h"
#include "kinematics/Singularity.h"
#include "motion/MovePlanner.h"
#include "tools/kin/KinBatch.h"
#include "tests/arm/urdf_fixture.h"
#include "tests/support/ErrorLog.h"
#include "tests/support/KinRun.h"
#include "tools/arm/ArmImport.h"
#include "tools/arm/ArmDataSet.h"
#include "tools/arm/ArmMake.h"

#include <gtest/gtest.h>
#include <kdl/chain.hpp>
#include <kdl/chainfksolverpos_recursive.hpp>
#include <urdf_parser/urdf_parser.h>

#include <algorithm>
#include <cmath>
#include <dirent.h>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace {

const int kPositions = 1000;
const double kPosition = 0.01;  // pose units
const double kRotation = 1e-5;  // per rotation-matrix element

std::string SampleIrb1600()
{
    const std::string path = KX_SOURCE_DIR "/../shared/data/irb1600/abb_irb1600_support/urdf/irb1600_6_12.urdf";
    return std::ifstream(path).good() ? path : "";
}

// The description's chain from its root to the link named flange, as KDL
// builds it from the parsed model, and the revolute joints' limits.
struct DescriptionChain {
    KDL::Chain chain;
    std::vector<std::pair<double, double>> limits;  // radians
};

DescriptionChain ChainOf(const std::string& file)
{
    DescriptionChain d;
    const urdf::ModelInterfaceSharedPtr model = urdf::parseURDFFile(file);
    std::vector<urdf::LinkConstSharedPtr> path;
    for (urdf::LinkConstSharedPtr link = model->getLink("flange"); link && link->getParent(); link = link->getParent())
        path.insert(path.begin(), link);
    for (const urdf::LinkConstSharedPtr& link : path) {
        const urdf::Joint& joint = *link->parent_joint;
        const urdf::Pose& o = joint.parent_to_joint_origin_transform;
        const KDL::Frame origin(KDL::Rotation::Quaternion(o.rotation.x, o.rotation.y, o.rotation.z, o.rotation.w),
                                KDL::Vector(o.position.x, o.position.y, o.position.z));
        if (joint.type == urdf::Joint::REVOLUTE) {
            const KDL::Vector axis(joint.axis.x, joint.axis.y, joint.axis.z);
            d.chain.addSegment(KDL::Segment(
                link->name, KDL::Joint(joint.name, origin.p, origin.M * axis, KDL::Joint::RotAxis), origin));
            d.limits.push_back({joint.limits->lower, joint.limits->upper});
        } else {
            d.chain.addSegment(KDL::Segment(link->name, KDL::Joint(joint.name, KDL::Joint::None), origin));
        }
    }
    return d;
}

using kxtest::KinRun;
using kxtest::RunKin;

std::vector<std::vector<double>> Numbers(const std::string& text)
{
    std::vector<std::vector<double>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::vector<double> values;
        for (double v; words >> v;)
            values.push_back(v);
        lines.push_back(values);
    }
    return lines;
}

KDL::Frame Flange(const KDL::Chain& chain, const std::vector<double>& degrees)
{
    KDL::JntArray q(chain.getNrOfJoints());
    for (unsigned j = 0; j < q.rows(); ++j)
        q(j) = degrees[j] * M_PI / 180.0;
    KDL::Frame f;
    KDL::ChainFkSolverPos_recursive(chain).JntToCart(q, f);
    f.p = f.p * 1000.0;  // pose units
    return f;
}

// The distance of a pose line (X Y Z alpha beta gamma) from a frame: position
// and largest rotation-matrix element.
std::pair<double, double> Gap(const std::vector<double>& pose, const KDL::Frame& f)
{
    const ToolPose p{float(pose[0]), float(pose[1]), float(pose[2]), float(pose[3]), float(pose[4]), float(pose[5])};
    double r[3][3], rotation = 0.0;
    PoseRotation(p, r);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            rotation = std::max(rotation, std::fabs(r[i][j] - f.M(i, j)));
    return {(KDL::Vector(pose[0], pose[1], pose[2]) - f.p).Norm(), rotation};
}

// Two joint angles the same up to whole turns.
double TurnGap(double a, double b)
{
    return std::fabs(std::remainder(a - b, 360.0));
}

// The import as a user judges it: kin mgd at seeded positions within the
// description's limits, and kin mgi --all on the poses it gave.
void ExpectSameArm(const std::string& urdf, const std::string& data)
{
    const DescriptionChain d = ChainOf(urdf);
    ASSERT_EQ(d.limits.size(), 6u);
    std::mt19937 generator(1600);
    std::string input;
    std::vector<std::vector<double>> positions;
    for (int i = 0; i < kPositions; ++i) {
        char line[160];
        int n = 0;
        for (const auto& [lower, upper] : d.limits)
            n += std::snprintf(line + n, sizeof line - n, "%.6f ",
                               std::uniform_real_distribution<double>(lower, upper)(generator) * 180.0 / M_PI);
        input += std::string(line) + "\n";
        positions.push_back(Numbers(line)[0]);
    }
    const KinRun mgd = RunKin({"mgd", data.c_str()}, input);
    ASSERT_EQ(mgd.status, 0) << mgd.err;
    const std::vector<std::vector<double>> poses = Numbers(mgd.out);
    ASSERT_EQ(poses.size(), positions.size());
    for (int i = 0; i < kPositions; ++i) {
        const auto [position, rotation] = Gap(poses[i], Flange(d.chain, positions[i]));
        ASSERT_LE(position, kPosition) << "position " << i;
        ASSERT_LE(rotation, kRotation) << "position " << i;
    }

    // Every configuration the exact model gives reaches the pose, and one
    // of them is the position it came from.
    const KinRun mgi = RunKin({"mgi", "--all", data.c_str()}, mgd.out);
    ASSERT_EQ(mgi.status, 0) << mgi.err;
    std::map<int, std::vector<std::vector<double>>> found;
    for (const std::vector<double>& line : Numbers(mgi.out))
        found[static_cast<int>(line[0]) - 1].push_back(std::vector<double>(line.begin() + 1, line.end()));
    for (int i = 0; i < kPositions; ++i) {
        ASSERT_FALSE(found[i].empty()) << "position " << i;
        bool original = false;
        for (const std::vector<double>& angles : found[i]) {
            const auto [position, rotation] = Gap(poses[i], Flange(d.chain, angles));
            ASSERT_LE(position, kPosition) << "position " << i;
            ASSERT_LE(rotation, kRotation) << "position " << i;
            // Near a stretched or folded elbow the exact model gives the one
            // configuration where the two bends meet, within its reach
            // tolerance: a few hundredths of a degree from the position.
            // Within a few degrees of its singular line (A56 = 0) the wrist
            // shares one turn between A45 and A67, which that error divided
            // by sin A56 moves: their sum is what the pose fixes.
            const bool wristSingular = std::fabs(std::sin(positions[i][4] * M_PI / 180.0)) < 0.05;
            bool same = !wristSingular || TurnGap(angles[3] + angles[5], positions[i][3] + positions[i][5]) < 0.1;
            for (int j = 0; j < 6; ++j)
                if (!(wristSingular && (j == 3 || j == 5)))
                    same = same && TurnGap(angles[j], positions[i][j]) < 0.1;
            original = original || same;
        }
        EXPECT_TRUE(original) << "position " << i
                              << " absente des configurations : " << ::testing::PrintToString(positions[i]) << " "
                              << ::testing::PrintToString(found[i]);
    }
}

class ArmImportTest : public ErrorLogTest {
protected:
    ArmImportTest() : ErrorLogTest("arm_import_test") {}
    // Entries of a folder: what an import left there.
    static std::vector<std::string> Left(const CScratch& folder)
    {
        std::vector<std::string> names;
        if (DIR* dir = opendir(folder.Path().c_str())) {
            while (dirent* entry = readdir(dir))
                if (entry->d_name[0] != '.')
                    names.push_back(entry->d_name);
            closedir(dir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Data() const { return scratch.Path() + "/data"; }
    CScratch scratch;
};

TEST_F(ArmImportTest, TheReferenceArmGivesItsOwnFlangeEverywhere)
{
    std::string urdf = SampleIrb1600();
    if (urdf.empty())
        urdf = WriteFixtureUrdf(scratch.Path(), Irb1600Arm());
    ASSERT_TRUE(ImportArm(urdf, Data(), DefaultTemplateDirectory())) << ::testing::PrintToString(Messages());
    ExpectSameArm(urdf, Data());
}

// An imported or a made arm starts clear of every singularity, within its
// limits: its first planned moves go (at its zero the wrist is straight,
// and a line from there was refused at once).
TEST_F(ArmImportTest, AWrittenArmCanMoveAtOnce)
{
    const std::string sheet = scratch.Path() + "/sheet.txt";
    std::ofstream(sheet) << "fA1 = 150.0;\n";
    const std::string made = scratch.Path() + "/made";
    ASSERT_TRUE(ImportArm(WriteFixtureUrdf(scratch.Path(), Irb1600Arm()), Data(), DefaultTemplateDirectory()));
    ASSERT_TRUE(MakeArm(sheet, made, DefaultTemplateDirectory())) << ::testing::PrintToString(Messages());
    for (const std::string& dir : {Data(), made}) {
        SCOPED_TRACE(dir);
        const std::optional<ArmDescription> arm = LoadDataSet(dir).arm;
        ASSERT_TRUE(arm);
        const SingularityMeasures m = CSingularityMeter(arm->Lengths()).Measure(ModelAngles(*arm, arm->start));
        EXPECT_GE(m.wrist, 10 * kWristSingularDegrees);
        EXPECT_GE(m.elbow, 5 * kElbowSingularDegrees);
        EXPECT_TRUE(FitsLimits(arm->start, arm->limits));
        const ToolPose at = ArmMGD(*arm, arm->start);
        for (const KDL::Vector& way : {KDL::Vector(50, 0, 0), KDL::Vector(0, 50, 0), KDL::Vector(0, 0, 50)}) {
            MoveRequest line;
            line.kind = MoveKind::Linear;
            line.pose = at;
            line.pose.X += static_cast<float>(way.x());
            line.pose.Y += static_cast<float>(way.y());
            line.pose.Z += static_cast<float>(way.z());
            const MovePlan plan = PlanMove(*arm, arm->start, line, 100);
            EXPECT_TRUE(plan.ok) << DescribeFailure(plan.failure);
        }
    }
}

// Other arms of the family, each a change of the reference arm.
struct FamilyCase {
    const char* what;
    void (*change)(FixtureArm&);
};

const FamilyCase kFamily[] = {
    {"zéros décalés (repères tournés autour de leurs axes)",
     [](FixtureArm& a) {
         a.joints[0].rpy[2] = 0.5;
         a.joints[1].rpy[1] = 0.4;
         a.joints[2].rpy[1] = -1.2;
         a.joints[3].rpy[0] = 0.7;
         a.joints[4].rpy[1] = 0.3;
         a.joints[5].rpy[0] = 1.1;
     }},
    {"axes dans l'autre sens",
     [](FixtureArm& a) {
         a.joints[0].axis[2] = -1;
         a.joints[1].axis[1] = -1;
         a.joints[3].axis[0] = -1;
         a.joints[5].axis[0] = -1;
     }},
    {"déport du coude vers le haut", [](FixtureArm& a) { a.joints[3].xyz[2] = 0.15; }},
    {"déport du coude vers le bas", [](FixtureArm& a) { a.joints[3].xyz[2] = -0.12; }},
    {"épaule sur l'axe de base, déport vers le bas",
     [](FixtureArm& a) {
         a.joints[1].xyz[0] = 0.0;
         a.joints[3].xyz[2] = -0.12;
     }},
    {"base sur un socle de 30 cm", [](FixtureArm& a) { a.joints[0].xyz[2] = 0.3; }},
    {"bride tournée et décalée",
     [](FixtureArm& a) {
         a.flange[0] = 0.02;
         a.flange[1] = 0.01;
         a.flangeRpy[1] = M_PI / 2;
         a.flangeRpy[2] = 0.3;
     }},
};

TEST_F(ArmImportTest, OtherArmsOfTheFamilyGiveTheirOwnFlangeEverywhere)
{
    for (const FamilyCase& c : kFamily) {
        SCOPED_TRACE(c.what);
        FixtureArm arm = Irb1600Arm();
        c.change(arm);
        CScratch folder;
        const std::string urdf = WriteFixtureUrdf(folder.Path(), arm);
        const std::string data = folder.Path() + "/data";
        ASSERT_TRUE(ImportArm(urdf, data, DefaultTemplateDirectory())) << ::testing::PrintToString(Messages());
        ExpectSameArm(urdf, data);
    }
}

// Arms and files refused: the reason, and nothing left behind.
struct RefusalCase {
    const char* what;
    void (*change)(FixtureArm&);
    const char* missingMesh;
    const char* reason;
};

const RefusalCase kRefusals[] = {
    {"décalage latéral", [](FixtureArm& a) { a.joints[1].xyz[1] = 0.1; }, "",
     "le centre du poignet est à 100,0 mm du plan de l'axe 1 et du bras"},
    {"poignet dont les axes ne se coupent pas", [](FixtureArm& a) { a.joints[4].xyz[2] = 0.1092; }, "",
     "les axes 4, 5 et 6 ne se coupent pas : écart de 109,2 mm au poignet"},
    {"axes 2 et 3 non parallèles", [](FixtureArm& a) { a.joints[2].rpy[2] = 0.01; }, "",
     "les axes 2 et 3 (joint_2, joint_3) ne sont pas parallèles : écart de 0,57°"},
    {"axe 1 penché", [](FixtureArm& a) { a.joints[0].rpy[0] = 0.02; }, "",
     "l'axe 1 (joint_1) n'est pas vertical : il s'écarte de 1,15° de l'axe z de la base"},
    {"axes 3 et 4 parallèles (poignet décalé)",
     [](FixtureArm& a) {
         a.joints[3].axis[0] = 0;
         a.joints[3].axis[1] = 1;
     },
     "", "les axes 3 et 4 (joint_3, joint_4) sont parallèles : le poignet est décalé"},
};

TEST_F(ArmImportTest, RefusedArmsLeaveTheirReasonAndNothingElse)
{
    for (const RefusalCase& c : kRefusals) {
        SCOPED_TRACE(c.what);
        FixtureArm arm = Irb1600Arm();
        c.change(arm);
        g_Records.clear();
        CScratch folder;
        const std::string urdf = WriteFixtureUrdf(folder.Path(), arm, c.missingMesh);
        EXPECT_FALSE(ImportArm(urdf, folder.Path() + "/data", DefaultTemplateDirectory()));
        ASSERT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        EXPECT_NE(Messages()[0].find(c.reason), std::string::npos) << Messages()[0];
        EXPECT_EQ(Left(folder), std::vector<std::string>{"kx_fixture_support"});
    }
}

// A mesh that cannot be had leaves its link a cylinder from its joint to
// the next, with a record naming the file; --strict refuses it.
TEST_F(ArmImportTest, AMissingMeshBecomesACylinderUnlessStrict)
{
    const std::string urdf = WriteFixtureUrdf(scratch.Path(), Irb1600Arm(), "link_3");
    EXPECT_FALSE(ImportArm(urdf, Data(), DefaultTemplateDirectory(), true));
    ASSERT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
    EXPECT_NE(Messages()[0].find("Lien « link_3 » : le maillage « package://kx_fixture_support/meshes/link_3.stl » est "
                                 "introuvable"),
              std::string::npos)
        << Messages()[0];

    g_Records.clear();
    ASSERT_TRUE(ImportArm(urdf, Data(), DefaultTemplateDirectory())) << ::testing::PrintToString(Messages());
    ASSERT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
    EXPECT_NE(Messages()[0].find("un cylindre de l'articulation à la suivante le remplace"), std::string::npos);
    ExpectSameArm(urdf, Data());
    // link_3 is the link joint 3 turns, drawn as the elbow: from joint 3 to
    // joint 4, 0.3 m along the arm's x at its zero, 3 scene units, 6 cm
    // thick.
    FILE* file = std::fopen((Data() + "/robotelbow.obj").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    MeshData mesh;
    ASSERT_TRUE(ReadMesh(file, mesh));
    std::fclose(file);
    const MeshBox box = BoxOfVertices(mesh.vertices);
    float sides[3];
    for (int k = 0; k < 3; ++k)
        sides[k] = box.hi[k] - box.lo[k];
    std::sort(sides, sides + 3);
    EXPECT_NEAR(sides[0], 1.2f, 0.05f);
    EXPECT_NEAR(sides[2], 3.0f, 0.05f);
}

TEST_F(ArmImportTest, ABrokenDescriptionIsNamedAndLeavesNothing)
{
    const std::string urdf = scratch.Path() + "/broken.urdf";
    std::ofstream(urdf) << "<robot name=\"x\"><link name=\"a\"><visual>";
    EXPECT_FALSE(ImportArm(urdf, Data(), DefaultTemplateDirectory()));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("broken.urdf : description illisible"), std::string::npos) << Messages()[0];
    EXPECT_EQ(Left(scratch), std::vector<std::string>{"broken.urdf"});
}

TEST_F(ArmImportTest, AnExistingDirectoryIsLeftAlone)
{
    const std::string urdf = WriteFixtureUrdf(scratch.Path(), Irb1600Arm());
    ASSERT_EQ(mkdir(Data().c_str(), 0755), 0);
    EXPECT_FALSE(ImportArm(urdf, Data(), DefaultTemplateDirectory()));
    EXPECT_EQ(Left(scratch), (std::vector<std::string>{"data", "kx_fixture_support"}));
}

}  // namespace
