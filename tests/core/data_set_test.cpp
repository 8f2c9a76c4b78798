// A data directory loaded once: the settings each part is handed, the arm's
// description with the lengths of its models, and the records of unknown keys
// and of offsets that leave the models' family.
#include "dataset/DataSet.h"
#include "tests/support/ErrorLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
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
// The pairs that touch at every pose, never checked: an entry that names
// no two links is recorded and left out, the others kept in chain order.
TEST_F(DataSetTest, AlwaysTouchingPairsAreReadAndABadEntryRecorded)
{
    const struct {
        const char* statement;
        const char* kept;
        std::vector<std::string> records;
    } cases[] = {
        {"", "", {}},
        {"strAlwaysTouching = \"\";", "", {}},
        {"strAlwaysTouching = \"Elbow:Shoulder Body:UpperArm\";", "Body:UpperArm Shoulder:Elbow", {}},
        {"strAlwaysTouching = \"Body:UpperArm Body:Tool\";",
         "Body:UpperArm",
         {"LoadArmDescription -- strAlwaysTouching : « Body:Tool » n'est pas une paire de segments (Body, Shoulder, "
          "UpperArm, Elbow, LowerArm, Wrist, Hand) : entrée ignorée"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        NewDataSet();
        Write("robot.opt", c.statement);
        ArmDescription arm;
        ASSERT_TRUE(Load(&arm));
        EXPECT_EQ(arm.alwaysTouching, c.kept);
        EXPECT_EQ(FormatLinkPairs(arm.AlwaysTouching()), c.kept);
        EXPECT_EQ(records, c.records);
    }
}

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

// A value that no arm or window can have starts with the key's default and
// a record naming the key, the value and the range; 1 and 0 still read as
// booleans, and an integer other than these is read by its lowest byte, as
// ever, but said.
TEST_F(DataSetTest, ValuesOutsideTheirRangeAreRecordedAndTheDefaultApplies)
{
    struct Case {
        const char* file;
        const char* statement;
        const char* record;  // after "ReadOptionFile -- <file> : "; empty: none
        std::function<bool(const DataSet&)> taken;
    };
    const Case cases[] = {
        // Without a point a number is an integer: 1e-6 is 1, within the range.
        {"robot.opt", "fLinearAccel = 1e-6;", "", [](const DataSet& d) { return d.arm->linearAccel == 1.0f; }},
        {"robot.opt", "fLinearAccel = 0.000001;", "fLinearAccel = 1e-06 : hors de 0 ou [1 ; 1e+07] ; 0 s'applique",
         [](const DataSet& d) { return d.arm->linearAccel == 0.0f; }},
        {"robot.opt", "fAngle23MaxAccel = 0.00000001;",
         "fAngle23MaxAccel = 1e-08 : hors de 0 ou [0,1 ; 1e+06] ; 0 s'applique",
         [](const DataSet& d) { return d.arm->maxAccel[1] == 0.0f; }},
        {"robot.opt", "fAngularSpeed = 1000000.0;", "fAngularSpeed = 1e+06 : hors de [1 ; 3600] ; 45 s'applique",
         [](const DataSet& d) { return d.arm->angularSpeed == 45.0f; }},
        {"robot.opt", "fLinearSpeed = 0.001;", "fLinearSpeed = 0,001 : hors de [1 ; 100000] ; 100 s'applique",
         [](const DataSet& d) { return d.arm->linearSpeed == 100.0f; }},
        {"robot.opt", "fLinearSpeed = 1e38.;", "fLinearSpeed = 1e+38 : hors de [1 ; 100000] ; 100 s'applique",
         [](const DataSet& d) { return d.arm->linearSpeed == 100.0f; }},
        {"robot.opt", "fToolX = 1e30.;", "fToolX = 1e+30 : hors de [-10000 ; 10000] ; 0 s'applique",
         [](const DataSet& d) { return d.arm->toolOffset[0] == 0.0f; }},
        {"robot.opt", "fToolX = -nan.;", "fToolX = -nan : pas un nombre fini ; 0 s'applique",
         [](const DataSet& d) { return d.arm->toolOffset[0] == 0.0f; }},
        {"robot.opt", "fToolGamma = -nan.;", "fToolGamma = -nan : pas un nombre fini ; 0 s'applique",
         [](const DataSet& d) { return d.arm->toolTurn[2] == 0.0f; }},
        {"robot.opt", "fAngle12Zero = -nan.;", "fAngle12Zero = -nan : pas un nombre fini ; 0 s'applique",
         [](const DataSet& d) { return d.arm->zero[0] == 0.0f; }},
        {"robot.opt", "fAngle23Zero = 1e39.;", "fAngle23Zero = 1e+39 : pas un nombre fini ; 0 s'applique",
         [](const DataSet& d) { return d.arm->zero[1] == 0.0f; }},
        {"robot.opt", "fAngle12MaxAccel = 0.000000000001;",
         "fAngle12MaxAccel = 1e-12 : hors de 0 ou [0,1 ; 1e+06] ; 0 s'applique",
         [](const DataSet& d) { return d.arm->maxAccel[0] == 0.0f; }},
        {"robot.opt", "fToolZ = \"haut\";", "fToolZ = \"haut\" : un nombre est attendu ; 0 s'applique",
         [](const DataSet& d) { return d.arm->toolOffset[2] == 0.0f; }},
        {"robot.opt", "bWristAsModel = 5;",
         "bWristAsModel = 5 : un booléen vaut true ou false (1 ou 0) ; lu true par son dernier octet",
         [](const DataSet& d) { return d.arm->wristAsModel; }},
        {"robot.opt", "bWristAsModel = 256;",
         "bWristAsModel = 256 : un booléen vaut true ou false (1 ou 0) ; lu false par son dernier octet",
         [](const DataSet& d) { return !d.arm->wristAsModel; }},
        {"robot.opt", "bMGIExact = 1.0;", "bMGIExact = 1 : un booléen vaut true ou false ; false s'applique",
         [](const DataSet& d) { return !d.arm->exactMGI; }},
        {"robot.opt", "bMGIExact = 1; fAngle12MaxSpeed = -5.0; fAngle23MaxSpeed = 0.0;", "",
         [](const DataSet& d) { return d.arm->exactMGI && d.arm->maxSpeed[0] == -5.0f && d.arm->maxSpeed[1] == 0; }},
        {"graphics.opt", "iScreenWidth = 0;", "iScreenWidth = 0 : hors de [1 ; 32767] ; 800 s'applique",
         [](const DataSet& d) { return d.graphics->width == 800; }},
        {"graphics.opt", "dScreenFOV = 0.0;", "dScreenFOV = 0 : hors de [-179 ; 179] sauf 0 ; -45 s'applique",
         [](const DataSet& d) { return d.graphics->fieldOfView == -45.0; }},
        {"graphics.opt", "dScreenFOV = 60.0; iWindowPosX = -1;", "",
         [](const DataSet& d) { return d.graphics->fieldOfView == 60.0 && d.graphics->positionX == -1; }},
        {"glui.opt", "fAngle34MaxValue = 1e30.;", "fAngle34MaxValue = 1e+30 : hors de [-1080 ; 1080] ; 360 s'applique",
         [](const DataSet& d) { return d.panel.maxAngle[2] == 360.0f && d.arm->limits.high[2] == 360.0f; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statement);
        NewDataSet();
        Write("graphics.opt", "");
        Write("robot.opt", "");
        Write(c.file, c.statement);
        const DataSet data = LoadDataSet(dir);
        ASSERT_TRUE(data.arm && data.graphics);
        if (*c.record)
            EXPECT_EQ(data.records,
                      std::vector<std::string>{std::string("ReadOptionFile -- ") + c.file + " : " + c.record});
        else
            EXPECT_TRUE(data.records.empty()) << data.records.front();
        EXPECT_TRUE(c.taken(data));
    }
}

}  // namespace
