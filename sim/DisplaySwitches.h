#pragma once
// The display switches, in one table: what each shows, the glui.opt key of
// its checkbox's label, the function key and the command word that switch
// it, and its state at start. The panel, the keys, the command language and
// the scene all read this table.
enum class DisplayFlag {
    WireFrame,
    Decoration,
    Reflect,
    Shadows,
    MetalLook,
    Axes,
    Orbit,
    Trail,
    Configurations,
    Collisions,
    Frames,
    Points
};
constexpr int kDisplayFlagCount = 12;

struct DisplaySwitch {
    DisplayFlag flag;
    const char* labelKey;      // in glui.opt
    const char* defaultLabel;  // UTF-8, like every label once read
    int functionKey;           // GLUT special-key code: 4 is F4 ...; 0 for none
    const char* word;          // show WORD on|off
    const char* tooltip;       // UTF-8
    bool initial;
    // The glui.opt key of its state at start, whose default is `initial`;
    // nullptr: always `initial`.
    const char* startKey = nullptr;
};

// In the order of the panel's checkboxes; kDisplaySwitches[i].flag is
// DisplayFlag(i).
extern const DisplaySwitch kDisplaySwitches[kDisplayFlagCount];

// The switch a function key stands for; nullptr for none.
const DisplaySwitch* SwitchOfKey(int functionKey);

// What the display shows: one state per switch, at start as the table says.
struct DisplayFlags {
    bool on[kDisplayFlagCount];

    DisplayFlags();
    bool operator[](DisplayFlag flag) const { return on[static_cast<int>(flag)]; }
    bool& operator[](DisplayFlag flag) { return on[static_cast<int>(flag)]; }
};
