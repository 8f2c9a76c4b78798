// A data directory loaded once: the settings each part is handed, the arm's
// description with the lengths of its models, and the records of unknown keys
// and of offsets that leave the models' family.
#include "dataset/DataSet.h"
#include "tests/support/ErrorLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

class DataSetTest : public ErrorLogTest {
protected:
    DataSetTest() : ErrorLogTest("kx_data_set") {}

    void SetUp() override
    {
        ErrorLogTest::SetUp();
        char pattern[] = "/tmp/kx-arm-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        base = pattern;
        NewDataSet();
    }
    void TearDown() override
    {
        std::system(("rm -rf " + base).c_str());
        ErrorLogTest::TearDown();
    }
    // Every data set of a test goes into a directory of its own.
    void NewDataSet()
    {
        dir = base + "/" + std::to_string(++sets);
        ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
        Write("glui.opt", "");
    }
    void Write(const char* file, const std::string& text) { std::ofstream(dir + "/" + file) << text; }
    // The arm of the data set; its records kept in `records`.
    bool Load(ArmDescription* arm)
    {
        DataSet data = LoadDataSet(dir);
        records = data.records;
        if (data.arm)
            *arm = *data.arm;
        return data.arm.has_value();
    }

    std::string base, dir;
    int sets = 0;
    std::vector<std::string> records;
};

TEST_F(DataSetTest, ReadsRobotAndPanelOptions)
{
    Write("robot.opt", "fBodySizeZ = 1.5; fShoulderSizeX = 0.25; fUpperArmSizeX = 1.25;\n"
                       "fElbowSizeX = 0.5; fElbowSizeY = -0.5; fLowerArmSizeZ = 0.75;\n"
                       "fAngle23MaxSpeed = 45.0; strHandFileObj = \"pince.obj\"; bMGIExact = true;\n");
    Write("glui.opt", "fAngle34MinValue = -170.0; fAngle34MaxValue = 170.0; fAngle56StartValue = 60.0;\n");
    ArmDescription arm;
    ASSERT_TRUE(Load(&arm));
    const ArmLengths l = arm.Lengths();
    EXPECT_EQ(l.h, 150.0);
    EXPECT_EQ(l.a2, 25.0);
    EXPECT_EQ(l.a3, 125.0);
    EXPECT_EQ(l.e, 50.0);
    EXPECT_EQ(l.d, 125.0);
    EXPECT_EQ(arm.maxSpeed[1], 45.0f);
    EXPECT_EQ(arm.maxSpeed[0], 1.0f) << "the declared default";
    EXPECT_EQ(arm.meshFile[6], "pince.obj");
    EXPECT_EQ(arm.meshFile[2], "robotupperarm.obj");
    EXPECT_EQ(arm.textureFile, "metal.tga");
    EXPECT_EQ(arm.Model(), MGIModel::Exact);
    EXPECT_EQ(arm.limits.low[2], -170.0f);
    EXPECT_EQ(arm.limits.high[2], 170.0f);
    EXPECT_EQ(arm.limits.low[0], 0.0f);
    EXPECT_EQ(arm.limits.high[0], 360.0f);
    EXPECT_EQ(arm.start.A56, 60.0f);
    EXPECT_TRUE(records.empty()) << records.front();
}

TEST_F(DataSetTest, WithoutRobotOptNothingStartsAndWithoutGluiOptTheSpinnersDefaultsApply)
{
    ArmDescription arm;
    EXPECT_FALSE(Load(&arm));
    EXPECT_EQ(records.back(), "LoadArmDescription -- Impossible de charger le fichier robot.opt");

    NewDataSet();
    std::remove((dir + "/glui.opt").c_str());
    Write("robot.opt", "");
    ASSERT_TRUE(Load(&arm));
    EXPECT_EQ(arm.Model(), MGIModel::Grid);
    EXPECT_EQ(arm.Lengths().h + arm.Lengths().a3 + arm.Lengths().d, 0.0) << "an arm of zero lengths";
    EXPECT_EQ(arm.start.A12, 0.0f);
}

// A mistyped key takes its default silently at start unless it is said:
// the arm collapses, and nothing tells why.
TEST_F(DataSetTest, AnUnknownKeyIsRecordedWithTheKeyItWasMeantToBe)
{
    Write("robot.opt", "fUpperArmSize = 4.25; fbodysizez = 1.0; iScreenWidth = 800; zzz = 1;\n");
    ArmDescription arm;
    ASSERT_TRUE(Load(&arm));
    EXPECT_EQ(arm.Lengths().a3, 0.0) << "the value is still ignored";
    const std::vector<std::string> expected = {
        "ReadOptionFile -- robot.opt : clé inconnue fUpperArmSize ; vouliez-vous dire fUpperArmSizeX ? (valeur "
        "ignorée)",
        "ReadOptionFile -- robot.opt : clé inconnue fbodysizez ; vouliez-vous dire fBodySizeZ ? (la casse compte) "
        "(valeur ignorée)",
        "ReadOptionFile -- robot.opt : la clé iScreenWidth appartient à graphics.opt ; elle est sans effet ici "
        "(valeur ignorée)",
        "ReadOptionFile -- robot.opt : clé inconnue zzz ; le simulateur ne la lit pas (valeur ignorée)",
    };
    EXPECT_EQ(records, expected);
}

TEST_F(DataSetTest, OffsetsThatTakeTheDrawnArmAwayFromTheModelsAreRecorded)
{
    const struct {
        const char* offsets;
        const char* record;  // empty: none
    } cases[] = {
        {"fBodySizeZ = 4.0; fElbowSizeX = 0.55; fElbowSizeY = -0.55; fLowerArmSizeZ = 3.85; fWristSizeY = 0.65;", ""},
        {"fElbowSizeX = 0.3; fElbowSizeY = -0.2;",
         "LoadArmDescription -- fElbowSizeY = -0,200 : le bras dessiné s'écarte des modèles géométriques (le coude "
         "doit valoir (e, -e, 0) : fElbowSizeY doit être l'opposé de fElbowSizeX)"},
        {"fElbowSizeX = -0.2; fElbowSizeY = 0.2;",
         "LoadArmDescription -- fElbowSizeX = -0,200 : le bras dessiné s'écarte des modèles géométriques (le coude "
         "doit valoir (e, -e, 0) avec e positif ou nul)"},
        {"fUpperArmSizeY = 0.1;", "LoadArmDescription -- fUpperArmSizeY = 0,100 : le bras dessiné s'écarte des "
                                  "modèles géométriques (cette valeur doit être 0)"},
        {"fBodySizeX = 2.0;", "LoadArmDescription -- fBodySizeX = 2,000 : le bras dessiné s'écarte des modèles "
                              "géométriques (cette valeur doit être 0)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offsets);
        NewDataSet();
        Write("robot.opt", c.offsets);
        ArmDescription arm;
        ASSERT_TRUE(Load(&arm)) << "the arm still starts";
        if (*c.record)
            EXPECT_EQ(records, std::vector<std::string>{c.record});
        else
            EXPECT_TRUE(records.empty());
    }
}

// Each part's settings come from its own file of the directory given, and a
// second directory loaded beside the first changes nothing of it.
TEST_F(DataSetTest, TwoDirectoriesLoadSideBySide)
{
    const std::string first = dir;
    Write("graphics.opt", "iScreenWidth = 1024; sWindowName = \"Premier\";");
    Write("robot.opt", "fBodySizeZ = 1.5; zzz = 1;");
    Write("decor.opt", "strGroundFileObj = \"sol.obj\";");
    Write("glui.opt", "strMGDName = \"Angles\"; fAngle12MaxValue = 90.0;");
    NewDataSet();
    const std::string second = dir;
    Write("robot.opt", "fBodySizeZ = 2.5;");
    std::remove((dir + "/glui.opt").c_str());

    const DataSet a = LoadDataSet(first);
    const DataSet b = LoadDataSet(second);
    ASSERT_TRUE(a.graphics && a.arm && a.decor);
    EXPECT_EQ(a.graphics->width, 1024);
    EXPECT_EQ(a.graphics->windowName, "Premier");
    EXPECT_EQ(a.decor->groundMesh, "sol.obj");
    EXPECT_EQ(a.decor->skyDomeMesh, "skydome.obj") << "the declared default";
    EXPECT_TRUE(a.panelRead);
    EXPECT_EQ(a.panel.mgdName, "Angles");
    EXPECT_EQ(a.arm->Lengths().h, 150.0);
    EXPECT_EQ(a.arm->limits.high[0], 90.0f) << "the panel's limits are the arm's";
    EXPECT_EQ(a.records, std::vector<std::string>{"ReadOptionFile -- robot.opt : clé inconnue zzz ; le simulateur ne "
                                                  "la lit pas (valeur ignorée)"});
    EXPECT_STREQ(a.Options("graphics.opt")->GetString("sWindowName", ""), "Premier");

    EXPECT_FALSE(b.graphics) << "no graphics.opt there";
    EXPECT_FALSE(b.decor);
    EXPECT_EQ(b.Options("decor.opt"), nullptr);
    ASSERT_TRUE(b.arm);
    EXPECT_EQ(b.arm->Lengths().h, 250.0);
    EXPECT_FALSE(b.panelRead);
    EXPECT_EQ(b.panel.mgdName, "MGD");
    EXPECT_EQ(b.arm->limits.high[0], 360.0f);
    EXPECT_TRUE(b.records.empty());
    // The missing files are said by the reader, as it reads them.
    EXPECT_EQ(Messages(), std::vector<std::string>(3, "COptionsParser::ParseFileForVariable -- Erreur : fichier "
                                                      "invalide"));
}

}  // namespace
