// The command language's parser: every verb and its arguments, numbers with
// a comma or a point, what is refused and the reason given, screenshot names.
#include "command/CommandParser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Parsed {
    CommandLine kind;
    Command command;
    std::string verb, message;
};

Parsed Parse(const std::string& line)
{
    Parsed p;
    p.kind = ParseCommandLine(line.data(), line.size(), &p.command, &p.verb, &p.message);
    return p;
}

TEST(ParseCommandLine, EveryVerbAndItsArguments)
{
    struct Case {
        const char* line;
        CommandVerb verb;
    };
    const Case cases[] = {
        {"angles 1 2 3 4 5 6", CommandVerb::Angles},
        {"pose 1 2 3 4 5 6", CommandVerb::Pose},
        {"target 1 2 3 4 5 6", CommandVerb::Target},
        {"moveto 1 2 3 4 5 6", CommandVerb::MoveTo},
        {"mgd 1 2 3 4 5 6", CommandVerb::Mgd},
        {"mgi 1 2 3 4 5 6", CommandVerb::Mgi},
        {"go", CommandVerb::Go},
        {"stop", CommandVerb::Stop},
        {"wait", CommandVerb::Wait},
        {"exit", CommandVerb::Exit},
        {"get angles", CommandVerb::Get},
        {"show decor on", CommandVerb::Show},
        {"camera reset", CommandVerb::CameraReset},
        {"screenshot a.png", CommandVerb::Screenshot},
        {"  GO\t", CommandVerb::Go},
        {"Moveto\t1 2  3 4 5 6\r\n", CommandVerb::MoveTo},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.line);
        ASSERT_EQ(p.kind, CommandLine::Command) << c.line << ": " << p.message;
        EXPECT_EQ(p.command.verb, c.verb) << c.line;
    }
    const Parsed six = Parse("moveto 1 2 3 4 5 6");
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(six.command.values[i], i + 1.0f);
    EXPECT_EQ(Parse("screenshot vue-1.tga").command.fileName, "vue-1.tga");
}

TEST(ParseCommandLine, NumbersWithACommaOrAPointInCSyntax)
{
    const Parsed p = Parse("pose 12,5 -3.25 1e2 0x10 +7 -0");
    ASSERT_EQ(p.kind, CommandLine::Command) << p.message;
    const float expected[6] = {12.5f, -3.25f, 100.0f, 16.0f, 7.0f, -0.0f};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(p.command.values[i], expected[i]) << i;
}

TEST(ParseCommandLine, QueriesAndSwitches)
{
    struct Case {
        const char* line;
        CommandQuery query;
    };
    const Case queries[] = {
        {"get angles", CommandQuery::Angles},
        {"get TARGETS", CommandQuery::Targets},
        {"get pose", CommandQuery::Pose},
        {"get matrix", CommandQuery::Matrix},
        {"get speed", CommandQuery::Speed},
        {"get singularity", CommandQuery::Singularity},
        {"get Ticks", CommandQuery::Ticks},
        {"get objects", CommandQuery::Objects},
        {"get collisions", CommandQuery::Collisions},
        {"get object t", CommandQuery::Object},
        {"get clearance", CommandQuery::Clearance},
    };
    for (const Case& c : queries) {
        const Parsed p = Parse(c.line);
        ASSERT_EQ(p.kind, CommandLine::Command) << c.line << ": " << p.message;
        EXPECT_EQ(p.command.verb, CommandVerb::Get) << c.line;
        EXPECT_EQ(p.command.query, c.query) << c.line;
    }

    struct Show {
        const char* line;
        DisplayFlag flag;
        bool on;
    };
    const Show shows[] = {
        {"show decor off", DisplayFlag::Decoration, false}, {"show reflect on", DisplayFlag::Reflect, true},
        {"show shadows off", DisplayFlag::Shadows, false},  {"show metal on", DisplayFlag::MetalLook, true},
        {"show axes on", DisplayFlag::Axes, true},          {"show wireframe off", DisplayFlag::WireFrame, false},
    };
    for (const Show& s : shows) {
        const Parsed p = Parse(s.line);
        ASSERT_EQ(p.kind, CommandLine::Command) << s.line;
        EXPECT_EQ(p.command.flag, s.flag) << s.line;
        EXPECT_EQ(p.command.on, s.on) << s.line;
    }
}

// The planned moves, their check, and the view set from a script.
// The cell's lines: each object's kind, name, numbers as typed (double
// precision: a cell's sizes are not single-precision angles) and file.
TEST(ParseCommandLine, CellDefinitionsAndQueries)
{
    struct Case {
        const char* line;
        CommandVerb verb;
        const char* word;  // the verb as a reply names it
        const char* name;
        std::vector<double> numbers;
        const char* file;
    };
    const Case cases[] = {
        {"object box table 600 0 -10 400 800 20",
         CommandVerb::ObjectDefine,
         "object",
         "table",
         {600, 0, -10, 400, 800, 20},
         ""},
        {"OBJECT Box t-1 1 2 3 4 5 6 0,5 10 -20",
         CommandVerb::ObjectDefine,
         "object",
         "t-1",
         {1, 2, 3, 4, 5, 6, 0.5, 10, -20},
         ""},
        {"object cylinder post_2 0 500 100 25 200",
         CommandVerb::ObjectDefine,
         "object",
         "post_2",
         {0, 500, 100, 25, 200},
         ""},
        {"object sphere ball 1 2 3 0.1", CommandVerb::ObjectDefine, "object", "ball", {1, 2, 3, 0.1}, ""},
        {"object mesh part part.obj 1 2 3 0 0 90",
         CommandVerb::ObjectDefine,
         "object",
         "part",
         {1, 2, 3, 0, 0, 90},
         "part.obj"},
        {"object color table #a0B0c0", CommandVerb::ObjectColour, "object", "table", {}, ""},
        {"object remove table", CommandVerb::ObjectRemove, "object", "table", {}, ""},
        {"object remove all", CommandVerb::ObjectRemoveAll, "object", "", {}, ""},
        {"get object table", CommandVerb::Get, "get", "table", {}, ""},
        {"get clearance ground", CommandVerb::Get, "get", "ground", {}, ""},
        {"get clearance", CommandVerb::Get, "get", "", {}, ""},
        {"save cell-2.txt", CommandVerb::Save, "save", "", {}, "cell-2.txt"},
        {"load cell.txt", CommandVerb::Load, "load", "", {}, "cell.txt"},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.line);
        ASSERT_EQ(p.kind, CommandLine::Command) << c.line << ": " << p.message;
        EXPECT_EQ(p.command.verb, c.verb) << c.line;
        EXPECT_STREQ(CommandVerbName(p.command.verb), c.word) << c.line;
        if (c.verb == CommandVerb::ObjectDefine) {
            EXPECT_EQ(p.command.object.name, c.name) << c.line;
            EXPECT_EQ(p.command.object.numbers, c.numbers) << c.line;
            EXPECT_EQ(p.command.object.meshFile, c.file) << c.line;
        } else {
            EXPECT_EQ(p.command.name, c.name) << c.line;
            EXPECT_EQ(p.command.fileName, c.file) << c.line;
        }
    }
    EXPECT_EQ(Parse("object color table #a0B0c0").command.colour, "#a0B0c0");
    EXPECT_EQ(Parse("object box b 1 2 3 4 5 6").command.object.kind, ObjectKind::Box);
    EXPECT_EQ(Parse("object cylinder c 1 2 3 4 5").command.object.kind, ObjectKind::Cylinder);
    EXPECT_EQ(Parse("object sphere s 1 2 3 4").command.object.kind, ObjectKind::Sphere);
    EXPECT_EQ(Parse("object mesh m m.obj 1 2 3").command.object.kind, ObjectKind::Mesh);
}

TEST(ParseCommandLine, MovesChecksAndViews)
{
    struct Case {
        const char* line;
        CommandVerb verb;
        CommandVerb checked;
        int numbers;
        float last;
    };
    const Case cases[] = {
        {"movej 1 2 3 4 5 6", CommandVerb::MoveJ, CommandVerb::MoveJ, 6, 6},
        {"movel 600 0 500 0 0 90", CommandVerb::MoveL, CommandVerb::MoveJ, 6, 90},
        {"movec 1 2 3 4 5 6 7 8 9", CommandVerb::MoveC, CommandVerb::MoveJ, 9, 9},
        {"check movel 600 0 500 0 0 90", CommandVerb::Check, CommandVerb::MoveL, 6, 90},
        {"CHECK MOVEC 1 2 3 4 5 6 7 8 9", CommandVerb::Check, CommandVerb::MoveC, 9, 9},
        {"speed 25", CommandVerb::Speed, CommandVerb::MoveJ, 1, 25},
        {"camera look 30 20,5 15", CommandVerb::CameraLook, CommandVerb::MoveJ, 3, 15},
        {"trail clear", CommandVerb::TrailClear, CommandVerb::MoveJ, 1, 0},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.line);
        ASSERT_EQ(p.kind, CommandLine::Command) << c.line << ": " << p.message;
        EXPECT_EQ(p.command.verb, c.verb) << c.line;
        EXPECT_EQ(p.command.checked, c.checked) << c.line;
        EXPECT_EQ(p.command.values[c.numbers - 1], c.last) << c.line;
    }
    const Parsed orbit = Parse("camera orbit off");
    EXPECT_EQ(orbit.command.verb, CommandVerb::CameraOrbit);
    EXPECT_FALSE(orbit.command.on);
    const Parsed record = Parse("record carre-1.csv");
    EXPECT_EQ(record.command.verb, CommandVerb::Record);
    EXPECT_EQ(record.command.fileName, "carre-1.csv");
    // A configuration's number as written: the reply says it as it came.
    for (const char* number : {"3", "+3", "03", "-1", "0", "99999999999999999999"}) {
        const Parsed config = Parse(std::string("config ") + number);
        ASSERT_EQ(config.kind, CommandLine::Command) << number << ": " << config.message;
        EXPECT_EQ(config.command.verb, CommandVerb::Config);
        EXPECT_EQ(config.command.number, number);
    }
}

// The tool, the user frames and the taught points, and the points that
// stand for numbers: the verb, the name, and what each part of a move is.
TEST(ParseCommandLine, FramesPointsAndTheTargetsThatNameThem)
{
    struct Case {
        const char* line;
        CommandVerb verb;
        const char* word;  // as a reply names the verb
        const char* name;
    };
    const Case cases[] = {
        {"tool 0 0 100 0 0 0", CommandVerb::Tool, "tool", ""},
        {"frame f1 1 2 3 4 5 6", CommandVerb::FrameDefine, "frame", "f1"},
        {"frame use f1", CommandVerb::FrameUse, "frame", "f1"},
        {"FRAME USE BASE", CommandVerb::FrameUse, "frame", "base"},
        {"frame remove f-1_b", CommandVerb::FrameRemove, "frame", "f-1_b"},
        {"point P1", CommandVerb::PointStore, "point", "P1"},
        {"point P1 1 2 3 4 5 6", CommandVerb::PointDefine, "point", "P1"},
        {"point remove P1", CommandVerb::PointRemove, "point", "P1"},
        {"get point P1", CommandVerb::Get, "get", "P1"},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.line);
        ASSERT_EQ(p.kind, CommandLine::Command) << c.line << ": " << p.message;
        EXPECT_EQ(p.command.verb, c.verb) << c.line;
        EXPECT_STREQ(CommandVerbName(p.command.verb), c.word) << c.line;
        EXPECT_EQ(p.command.name, c.name) << c.line;
    }
    EXPECT_EQ(Parse("frame f1 1 2 3 4 5 6").command.values[5], 6.0f);
    for (const char* query : {"tool", "frame", "frames", "points"})
        EXPECT_EQ(Parse(std::string("get ") + query).kind, CommandLine::Command) << query;

    // A point in place of six numbers.
    for (const char* line : {"angles @p", "moveto @p", "movej @p", "movel @p", "check movej @p", "check movel @p"}) {
        const Parsed p = Parse(line);
        ASSERT_EQ(p.kind, CommandLine::Command) << line << ": " << p.message;
        EXPECT_EQ(p.command.point, "p") << line;
        EXPECT_TRUE(p.command.through.empty()) << line;
    }
    // An arc's via point and end, each numbers or a point.
    struct Arc {
        const char* line;
        const char* via;
        const char* end;
        float viaX, endGamma;
    };
    const Arc arcs[] = {
        {"movec @v 4 5 6 7 8 9", "v", "", 0, 9},
        {"movec 1 2 3 @e", "", "e", 1, 0},
        {"movec @v @e", "v", "e", 0, 0},
        {"check movec 1 2 3 4 5 6 7 8 9", "", "", 1, 9},
    };
    for (const Arc& a : arcs) {
        const Parsed p = Parse(a.line);
        ASSERT_EQ(p.kind, CommandLine::Command) << a.line << ": " << p.message;
        EXPECT_EQ(p.command.viaPoint, a.via) << a.line;
        EXPECT_EQ(p.command.point, a.end) << a.line;
        EXPECT_EQ(p.command.values[0], a.viaX) << a.line;
        EXPECT_EQ(p.command.values[8], a.endGamma) << a.line;
    }
    // Several targets in a row: the last one, those before it in order, the
    // radius of the corners.
    const Parsed line = Parse("movel @a 1 2 3 4 5 6 @b 7 8 9 10 11 12 blend 20,5");
    ASSERT_EQ(line.kind, CommandLine::Command) << line.message;
    ASSERT_EQ(line.command.through.size(), 3u);
    EXPECT_EQ(line.command.through[0].point, "a");
    EXPECT_EQ(line.command.through[1].point, "");
    EXPECT_EQ(line.command.through[1].values[5], 6.0f);
    EXPECT_EQ(line.command.through[2].point, "b");
    EXPECT_EQ(line.command.point, "");
    EXPECT_EQ(line.command.values[0], 7.0f);
    EXPECT_EQ(line.command.blend, 20.5f);
    const Parsed numbers = Parse("check movel 1 2 3 4 5 6 7 8 9 10 11 12");
    ASSERT_EQ(numbers.kind, CommandLine::Command) << numbers.message;
    ASSERT_EQ(numbers.command.through.size(), 1u);
    EXPECT_EQ(numbers.command.through[0].values[0], 1.0f);
    EXPECT_EQ(numbers.command.values[5], 12.0f);
    EXPECT_EQ(numbers.command.blend, 0.0f) << "without blend the arm stops at each target";
    EXPECT_EQ(Parse("movel @a @b").command.through.size(), 1u);
}

TEST(ParseCommandLine, Jogs)
{
    struct Case {
        const char* line;
        JogFrame frame;
        int axis;
        float step;
    };
    const Case cases[] = {
        {"jog joint 1 10", JogFrame::Joints, 0, 10},   {"jog joint 6 -2,5", JogFrame::Joints, 5, -2.5f},
        {"jog base x -30", JogFrame::Base, 0, -30},    {"JOG TOOL Z 50", JogFrame::Tool, 2, 50},
        {"jog base rz 10", JogFrame::Base, 5, 10},     {"jog tool rx 5", JogFrame::Tool, 3, 5},
        {"jog frame ry 0.5", JogFrame::User, 4, 0.5f}, {"jog frame y 1e2", JogFrame::User, 1, 100},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.line);
        ASSERT_EQ(p.kind, CommandLine::Command) << c.line << ": " << p.message;
        EXPECT_EQ(p.command.verb, CommandVerb::Jog) << c.line;
        EXPECT_EQ(p.command.jogFrame, c.frame) << c.line;
        EXPECT_EQ(p.command.axis, c.axis) << c.line;
        EXPECT_EQ(p.command.values[0], c.step) << c.line;
    }
}

TEST(ParseCommandLine, BlankLinesAndCommentsAreSkipped)
{
    for (const char* line : {"", "   \t", "\r\n", "# moveto 1 2 3", "  #commentaire", "#"})
        EXPECT_EQ(Parse(line).kind, CommandLine::Skip) << '"' << line << '"';
}

// What is refused, with the verb the reply quotes and the reason.
TEST(ParseCommandLine, RefusedLinesSayWhy)
{
    struct Case {
        std::string line;
        const char* verb;
        const char* message;
    };
    const Case cases[] = {
        {"pose 1 2 3 4", "pose", "6 nombres attendus, 4 reçus"},
        {"moveto 1", "moveto", "6 nombres attendus, 1 reçu"},
        {"angles 1 2 3 4 5 6 7", "angles", "6 nombres attendus, 7 reçus"},
        {"angles 1 2 3 4 5 abc", "angles", "« abc » n'est pas un nombre"},
        {"angles 1 2 3 4 5 12abc", "angles", "« 12abc » n'est pas un nombre"},
        {"angles 1 2 3 4 5 1,2,3", "angles", "« 1,2,3 » n'est pas un nombre"},
        {"go now", "go", "aucun argument attendu"},
        {"get", "get",
         "angles, targets, pose, matrix, speed, singularity, ticks, objects, object, collisions, clearance, tool, "
         "frame, frames, point ou points attendu"},
        {"get everything", "get",
         "angles, targets, pose, matrix, speed, singularity, ticks, objects, object, collisions, clearance, tool, "
         "frame, frames, point ou points attendu"},
        {"get object", "get", "un nom attendu après get object"},
        {"get object a b", "get", "un seul nom attendu après get object, « b » en trop"},
        {"get clearance a/b", "get", "nom d'objet « a/b » : lettres, chiffres, « - » et « _ » seulement"},
        {"object", "object", "box, cylinder, sphere, mesh, color ou remove attendu"},
        {"object box", "object", "un nom attendu après « box »"},
        {"object cone c 1 2 3", "object", "box, cylinder, sphere, mesh, color ou remove attendu"},
        {"object box t 1 2 3 4 5", "object", "6 ou 9 nombres attendus après le nom, 5 reçus"},
        {"object cylinder t 1 2 3 4 5 6 7", "object", "5 ou 8 nombres attendus après le nom, 7 reçus"},
        {"object sphere s 1 2 3 4 5 6 7", "object", "4 nombres attendus après le nom, 7 reçus"},
        {"object sphere s 1 2 3 inf", "object", "« inf » n'est pas un nombre fini"},
        {"object sphere s 1 2 3 1e400", "object", "« 1e400 » n'est pas un nombre fini"},
        {"object box t\x01 1 2 3 4 5 6", "object",
         "nom d'objet « t\uFFFD » : lettres, chiffres, « - » et « _ » seulement"},
        {"object box ground 1 2 3 4 5 6", "object", "nom d'objet « ground » : il désigne le sol"},
        {"object box Hand 1 2 3 4 5 6", "object", "nom d'objet « Hand » : il désigne un segment du bras"},
        {"object box " + std::string(65, 'n') + " 1 2 3 4 5 6", "object", "nom d'objet de 65 caractères, 64 au plus"},
        {"object mesh m 1 2 3", "object",
         "nom de fichier refusé « 1 » : lettres, chiffres, « - » et « _ », puis une extension"},
        {"object mesh m ../part.obj 1 2 3", "object",
         "nom de fichier refusé « ../part.obj » : lettres, chiffres, « - » et « _ », puis une extension"},
        {"object mesh m", "object", "un fichier de maillage attendu après le nom"},
        {"object color t red", "object", "une couleur #rrggbb attendue après le nom"},
        {"object remove t u", "object", "un seul nom attendu après remove"},
        {"save cell.csv", "save", "nom refusé « cell.csv » : lettres, chiffres, « - » et « _ », puis .txt"},
        {"load", "load", "un nom de fichier attendu"},
        {"get pose extra", "get", "un seul mot attendu après get, « extra » en trop"},
        {"get ticks now", "get", "un seul mot attendu après get, « now » en trop"},
        {"get objects all", "get", "un seul mot attendu après get, « all » en trop"},
        {"trail", "trail", "clear attendu"},
        {"trail off", "trail", "clear attendu"},
        {"show sky on", "show",
         "wireframe, decor, reflect, shadows, metal, axes, orbit, trail, configurations, collisions, frames ou points "
         "attendu, puis on ou off"},
        {"show decor maybe", "show", "on ou off attendu, « maybe » reçu"},
        {"camera", "camera", "reset, orbit on|off ou look AZIMUT ÉLÉVATION DISTANCE attendu"},
        {"camera orbit", "camera", "reset, orbit on|off ou look AZIMUT ÉLÉVATION DISTANCE attendu"},
        {"camera look 30 20", "camera", "3 nombres attendus, 2 reçus"},
        {"movec 1 2 3 4 5 6", "movec", "9 nombres attendus, 6 reçus"},
        {"check", "check", "movej, movel ou movec attendu"},
        {"check movel 1 2 3", "check", "6 nombres attendus, 3 reçus"},
        {"check movec 1 2 3 4 5 6", "check", "9 nombres attendus, 6 reçus"},
        {"speed", "speed", "1 nombre attendu, 0 reçu"},
        {"config 1 2", "config", "1 nombre attendu, 2 reçus"},
        {"config", "config", "1 nombre attendu, 0 reçu"},
        // A single-precision 1.0000001 is not 1, but 1.00000001 is: only
        // the words can tell a whole number.
        {"config 1.0000001", "config", "« 1.0000001 » n'est pas un nombre entier"},
        {"config 1.00000001", "config", "« 1.00000001 » n'est pas un nombre entier"},
        {"config 2.0", "config", "« 2.0 » n'est pas un nombre entier"},
        {"config 3e0", "config", "« 3e0 » n'est pas un nombre entier"},
        {"config trois", "config", "« trois » n'est pas un nombre"},
        {"config +", "config", "« + » n'est pas un nombre"},
        {"record vue.png", "record", "nom refusé « vue.png » : lettres, chiffres, « - » et « _ », puis .csv"},
        {"screenshot", "screenshot", "un nom de fichier attendu"},
        {"screenshot ../a.png", "screenshot",
         "nom refusé « ../a.png » : lettres, chiffres, « - » et « _ », puis .png ou .tga"},
        {"movel 1 2 3 4 5 6 7", "movel", "6 nombres attendus, 7 reçus"},
        {"movel 1 2 3 4 5 6 7 8 9 10 11 12 13", "movel", "cible 3 : 6 nombres ou @POINT attendus, 1 reçu"},
        {"movel blend 10", "movel", "une cible au moins attendue avant blend"},
        {"movel 1 2 3 4 5 6 blend x", "movel", "« x » n'est pas un nombre"},
        {"movej @a 1", "movej", "6 nombres ou un @POINT attendus"},
        {"movec @a 1 2 3", "movec",
         "un point de passage (3 nombres ou @POINT) puis une pose (6 nombres ou @POINT) attendus"},
        {"movec 1 2 @a @b", "movec",
         "un point de passage (3 nombres ou @POINT) puis une pose (6 nombres ou @POINT) attendus"},
        {"pose @a", "pose", "6 nombres attendus, 1 reçu"},
        {"frame", "frame", "un nom de repère, use ou remove attendu"},
        {"frame f1", "frame", "6 nombres attendus, 0 reçu"},
        {"frame use", "frame", "un nom attendu après use"},
        {"frame use a b", "frame", "un seul nom attendu après use"},
        {"frame use use", "frame", "nom de repère « use » réservé aux commandes"},
        {"point", "point", "un nom de point ou remove attendu"},
        {"point p 1 2 3", "point", "6 nombres attendus, 3 reçus"},
        {"point remove a b", "point", "un seul nom attendu après remove"},
        {"get point", "get", "un nom attendu après get point"},
        {"get point a b", "get", "un seul nom attendu après get point, « b » en trop"},
        {"get points all", "get", "un seul mot attendu après get, « all » en trop"},
        {"jog", "jog", "joint, base, tool ou frame attendu"},
        {"jog world x 10", "jog", "joint, base, tool ou frame attendu"},
        {"jog joint 7 10", "jog", "articulation de 1 à 6 attendue, « 7 » reçu"},
        {"jog joint 0 10", "jog", "articulation de 1 à 6 attendue, « 0 » reçu"},
        {"jog joint x 10", "jog", "articulation de 1 à 6 attendue, « x » reçu"},
        {"jog joint 2", "jog", "une articulation (1 à 6) puis un pas attendus"},
        {"jog tool w 10", "jog", "x, y, z, rx, ry ou rz attendu, « w » reçu"},
        {"jog base 1 10", "jog", "x, y, z, rx, ry ou rz attendu, « 1 » reçu"},
        {"jog base x", "jog", "un axe (x, y, z, rx, ry ou rz) puis un pas attendus"},
        {"jog base x 1 2", "jog", "un axe (x, y, z, rx, ry ou rz) puis un pas attendus"},
        {"jog base x nan", "jog", "« nan » n'est pas un nombre fini"},
        {"jog tool z dix", "jog", "« dix » n'est pas un nombre"},
        {"frobnicate 1", "frobnicate", "commande inconnue"},
        {std::string("an\x01gles\xff", 8), "an\uFFFDgles\uFFFD", "commande inconnue"},
        {std::string("angles 1 2 3 4 5 6\0", 19) + "7", "angles", "« 6\uFFFD7 » n'est pas un nombre"},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.line);
        EXPECT_EQ(p.kind, CommandLine::Error) << c.line;
        EXPECT_EQ(p.verb, c.verb) << c.line;
        EXPECT_EQ(p.message, c.message) << c.line;
    }
}

TEST(ParseCommandLine, AQuotedWordIsShortAndPrintable)
{
    const Parsed p = Parse(std::string(100, 'x') + "\x1b[2J");
    EXPECT_EQ(p.verb, std::string(32, 'x'));
    EXPECT_EQ(Parse("\xc3\xa9t\xc3\xa9 1").verb, "\xc3\xa9t\xc3\xa9") << "UTF-8 kept";
    EXPECT_EQ(Parse("\xc3 1").verb, "\uFFFD") << "a cut sequence replaced";
}

// Bytes that are not UTF-8, or not in its shortest form, never go back to
// the client as they came: each bad sequence becomes one U+FFFD. A client
// decoding the reply as UTF-8 would otherwise choke on it, and an overlong
// "/" could pass a filter that looks for the plain one.
TEST(ParseCommandLine, InvalidUtf8IsQuotedAsAReplacementCharacter)
{
    struct Case {
        const char* bytes;
        const char* quoted;
    };
    const Case cases[] = {
        {"\xc0\xaf", "\uFFFD"},                                            // overlong "/"
        {"\xe0\x80\xaf", "\uFFFD"},                                        // overlong "/" in three bytes
        {"\xed\xa0\x80", "\uFFFD"},                                        // a lone surrogate
        {"\xf4\x90\x80\x80", "\uFFFD"},                                    // beyond U+10FFFF
        {"\x80", "\uFFFD"},                                                // a continuation byte alone
        {"\xf8\x88\x80\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},        // no five-byte forms
        {"\xe2\x82\xac\xf0\x9f\x98\x80", "\xe2\x82\xac\xf0\x9f\x98\x80"},  // valid: kept
    };
    for (const Case& c : cases) {
        const std::string word = std::string("a") + c.bytes + "b";
        const std::string quoted = std::string("a") + c.quoted + "b";
        EXPECT_EQ(Parse(word + " 1").verb, quoted) << word;
        EXPECT_EQ(Parse("angles 1 2 3 4 5 " + word).message, "« " + quoted + " » n'est pas un nombre") << word;
    }
}

// Whatever way a number fails to be finite in single precision, the reply
// says so in the same words.
TEST(ParseCommandLine, EveryNumberThatIsNotFiniteHasOneWording)
{
    for (const char* word : {"nan", "-nan", "NaN", "nan(123)", "inf", "-inf", "+INF", "infinity", "1e400", "-1e400",
                             "1e39", "-3,5e38", "0x1p200"}) {
        const Parsed p = Parse(std::string("mgd 1 2 3 4 5 ") + word);
        EXPECT_EQ(p.kind, CommandLine::Error) << word;
        EXPECT_EQ(p.message, std::string("« ") + word + " » n'est pas un nombre fini") << word;
    }
    EXPECT_EQ(Parse("mgd 1 2 3 4 5 3,4e38").kind, CommandLine::Command) << "the largest floats stay";
}

// A name the rule accepts may still be too long to write: the temporary file
// beside it adds characters, and the system caps a name at 255 bytes.
TEST(ParseCommandLine, AScreenshotNameHasAHundredCharactersAtMost)
{
    const std::string hundred = std::string(96, 'a') + ".png";
    EXPECT_EQ(Parse("screenshot " + hundred).command.fileName, hundred);
    for (std::size_t length : {101, 248, 251, 300}) {
        const Parsed p = Parse("screenshot " + std::string(length - 4, 'b') + ".tga");
        EXPECT_EQ(p.kind, CommandLine::Error) << length;
        EXPECT_EQ(p.message, "nom de " + std::to_string(length) + " caractères, 100 au plus") << length;
    }
}

TEST(IsScreenshotName, LettersDigitsDashUnderscoreAndOneExtension)
{
    struct Case {
        const char* name;
        bool ok;
    };
    const Case cases[] = {
        {"a.png", true},    {"vue-2_B.tga", true}, {"A.png", true},      {".png", false},
        {"a", false},       {"a.jpg", false},      {"a.PNG", false},     {"../a.png", false},
        {"a/b.png", false}, {"/tmp/a.png", false}, {"a.b.png", false},   {".hidden.png", false},
        {"é.png", false},   {"a b.png", false},    {"a.png.tga", false}, {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsScreenshotName(c.name), c.ok) << c.name;
}

}  // namespace
