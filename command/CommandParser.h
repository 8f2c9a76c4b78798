#pragma once
// The command language, one line at a time: the words of a line checked and
// turned into a command, or the French reason it is refused. Pure: no GL, no
// sockets, no state; scripts, the network port and the tests share it.
//
//   angles A12 A23 A34 A45 A56 A67   target ...   moveto ...   mgd ...
//   pose X Y Z alpha beta gamma      mgi ...
//   movej A12 ... A67   movel X Y Z alpha beta gamma
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
    Clearance
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
    // (for get clearance, "" stands for every pair).
    std::string name;
    std::string colour;  // object color: "#rrggbb"
    // jog: the frame and the axis (0 to 5, JogTarget.h; a joint N is N - 1),
    // the step in values[0].
    JogFrame jogFrame = JogFrame::Base;
    int axis = 0;
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
