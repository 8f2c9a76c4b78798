#pragma once
// The command language, one line at a time: the words of a line checked and
// turned into a command, or the French reason it is refused. Pure: no GL, no
// sockets, no state; scripts, the network port and the tests share it.
//
//   angles A12 A23 A34 A45 A56 A67   target ...   moveto ...   mgd ...
//   pose X Y Z alpha beta gamma      mgi ...
//   movej A12 ... A67   movel X Y Z alpha beta gamma [...] [blend R]
//   movec XV YV ZV X Y Z alpha beta gamma
//   check movej|movel|movec ...      speed P      config N
//   jog joint N DELTA                jog base|tool|frame x|y|z|rx|ry|rz DELTA
//   go   stop   wait   exit
//   camera reset|orbit on|off|look AZIMUTH ELEVATION DISTANCE
//   get angles|targets|pose|matrix|speed|singularity|ticks
//   show WORD on|off (the display switches' words)    trail clear
//   screenshot NAME.png|NAME.tga     record NAME.csv
//   object box NAME X Y Z DX DY DZ [ALPHA BETA GAMMA]
//   object cylinder NAME X Y Z RADIUS LENGTH [ALPHA BETA GAMMA]
//   object sphere NAME X Y Z RADIUS
//   object mesh NAME FILE X Y Z [ALPHA BETA GAMMA]
//   object color NAME #rrggbb    object remove NAME|all
//   get objects|collisions|object NAME|clearance [NAME]
//   save NAME.txt   load NAME.txt
//   tool X Y Z alpha beta gamma      get tool
//   frame NAME X Y Z alpha beta gamma   frame use NAME|base
//   frame remove NAME                get frame|frames
//   point NAME [A12 ... A67]         point remove NAME
//   get point NAME|points
//
// @NAME, a taught point, may stand for the six numbers of angles, moveto,
// movej and movel (the point's tool pose, in the frame in use), and for
// either part of movec (its via point: the point's tool point), in check
// as well. movel takes several targets in a row, each six numbers or a
// point, the arm stopping at each, or with blend R rounding the corners
// with radius R. Poses are in the user frame in use (frame use), the base
// frame when none is. A frame's or a point's name is made of letters,
// digits, '-' and '_'.
//
// Words are separated by spaces or tabs. Numbers are in C syntax, where a
// comma may stand for the decimal point; what is not a finite
// single-precision number is refused. A configuration's number is a whole
// number: digits, after a sign or not. Blank lines and lines whose first
// word starts with '#' are skipped. What a reply quotes of a line is shown
// as QuotedText.h says.
#include "collision/CellObject.h"
#include "motion/JogTarget.h"
#include "sim/DisplaySwitches.h"

#include <cstddef>
#include <string>
#include <vector>

enum class CommandVerb {
    Angles,
    Pose,
    Target,
    Go,
    Stop,
    Wait,
    MoveTo,
    Get,
    Mgd,
    Mgi,
    Show,
    CameraReset,
    Screenshot,
    Exit,
    MoveJ,
    MoveL,
    MoveC,
    Check,
    Speed,
    Record,
    Config,
    CameraOrbit,
    CameraLook,
    TrailClear,
    ObjectDefine,
    ObjectColour,
    ObjectRemove,
    ObjectRemoveAll,
    Save,
    Load,
    Jog,
    Tool,
    FrameDefine,
    FrameUse,
    FrameRemove,
    PointStore,
    PointDefine,
    PointRemove,
};

enum class CommandQuery {
    Angles,
    Targets,
    Pose,
    Matrix,
    Speed,
    Singularity,
    Ticks,
    Objects,
    Object,
    Collisions,
    Clearance,
    Tool,
    Frame,
    Frames,
    Point,
    Points
};

// A target of a move: six numbers, or a taught point (its name, without
// the '@'; empty for the numbers).
struct CommandTarget {
    std::string point;
    float values[6] = {};
};

struct Command {
    CommandVerb verb = CommandVerb::Go;
    // Angles in degrees, a pose X Y Z alpha beta gamma, an arc's via point
    // then its pose, a percentage, a configuration's number, a view.
    float values[9] = {};
    CommandVerb checked = CommandVerb::MoveJ;  // check: the move checked (values are its own)
    CommandQuery query = CommandQuery::Angles;
    DisplayFlag flag = DisplayFlag::Decoration;
    bool on = false;
    // A file the command writes into the data directory (screenshot,
    // record): its name alone, checked.
    std::string fileName;
    std::string number;  // config: the configuration's number as written, a whole number
    // object box|cylinder|sphere|mesh: the definition as given, a mesh's
    // file named, not read.
    ObjectDefinition object;
    // object color|remove, get object|clearance: the object's name, checked
    // (for get clearance, "" stands for every pair); frame, point, get point:
    // the frame's or the point's.
    std::string name;
    std::string colour;  // object color: "#rrggbb"
    // jog: the frame and the axis (0 to 5, JogTarget.h; a joint N is N - 1),
    // the step in values[0].
    JogFrame jogFrame = JogFrame::Base;
    int axis = 0;
    // "@NAME" in place of numbers: a taught point's name (without the '@')
    // for the six numbers of angles, moveto, movej, movel, check's move and
    // movec's end (`point`), for movec's via point (`viaPoint`); empty where
    // the numbers in `values` are given.
    std::string point, viaPoint;
    // movel (and check movel) through several targets: those before the last
    // (which `values` or `point` give), in order; and the radius of the
    // rounded corners at them, pose units (0: the arm stops at each).
    std::vector<CommandTarget> through;
    float blend = 0;
};

enum class CommandLine {
    Skip,     // blank or comment
    Command,  // *command holds it
    Error,    // *verb and *message say why
};

// Reads one line (its end of line, LF or CR LF, may be included). On Error,
// verb is the first word as the reply may quote it (control characters and
// bytes that are not UTF-8 replaced by U+FFFD, at most 32 characters) and message the
// French reason, e.g. "6 nombres attendus, 4 reçus".
CommandLine ParseCommandLine(const char* line, std::size_t length, Command* command, std::string* verb,
                             std::string* message);

// The verb as written in the language: "angles", "moveto", ...
const char* CommandVerbName(CommandVerb verb);

// A screenshot's name: letters, digits, '-' and '_', then ".png" or ".tga";
// nothing that could leave the data directory or hide a file. A record's the
// same with ".csv".
bool IsScreenshotName(const std::string& name);
bool IsRecordName(const std::string& name);
// A definition file's the same with ".txt"; a mesh's with an extension of
// letters and digits.
bool IsDefinitionsName(const std::string& name);
bool IsMeshName(const std::string& name);
// Characters of a screenshot's name at most, refused with a message of
// their own: the file is written through a temporary beside it whose name
// is longer, and a name past what the system takes would fail only then,
// as a write error.
constexpr std::size_t kMaxScreenshotName = 100;
// Characters of an object's name at most: a reply quotes it.
constexpr std::size_t kMaxObjectName = 64;
