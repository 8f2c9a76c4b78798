#pragma once
// The control panel layer: the part of the GLUI 2.01 interface that the
// control panel uses, with GLUI's class, method and constant names, drawn
// with Dear ImGui in a top-level GLUT window of its own.
//
// Index of this file
//  - Constants and the callback type
//  - GLUI_Control, the base of every control (enable, disable, alignment)
//  - The controls: GLUI_Panel, GLUI_Rollout, GLUI_Spinner, GLUI_Checkbox,
//    GLUI_Button, GLUI_Separator, GLUI_StaticText, GLUI_Column, and
//    GLUI_Canvas with the GLUI_Painter it draws with
//  - GLUI, one panel window
//  - GLUI_Master, which creates panel windows and sets the idle function
//  - Layout dump for end-to-end tests
//
// What the panel relies on:
//  - A change made by the user (arrow click or drag, a typed number left
//    with Enter, Tab or a click elsewhere, checkbox click, button click)
//    writes the live variable first, then calls the control's callback with
//    its id. A typed number takes a comma or a point as decimal point; text
//    that is not a number is refused and stays in the field, in red, with
//    the reason as its tooltip. The callback runs after the
//    panel's frame is drawn, with the graphics window named by
//    set_main_gfx_window current; the previously current window is restored
//    afterwards.
//  - set_float_val and set_int_val clamp and write the live variable but
//    never call the callback, so a callback may set other controls without
//    recursing.
//  - Whenever a control writes its live variable, a redisplay of the
//    graphics window is requested.
//  - A disabled control is drawn greyed and ignores input.
//  - Every label, title, tooltip and static text is UTF-8. The one text
//    converted is the window's title, which X11 takes in Latin-1.
//
// Everything runs on the GLUT thread. Nothing here is ever destroyed while
// the program runs; freeglut ends the process with exit() when a window is
// closed, so destructors release memory only and never call GLUT, GL or
// ImGui.

#include <functional>
#include <memory>
#include <string>
#include <vector>

// ============================================================================
// Constants and the callback type
// ============================================================================

constexpr int GLUI_SPINNER_INT = 2;
constexpr int GLUI_SPINNER_FLOAT = 3;

constexpr int GLUI_LIMIT_NONE = 0;
constexpr int GLUI_LIMIT_CLAMP = 1;

constexpr int GLUI_ALIGN_CENTER = 1;
constexpr int GLUI_ALIGN_RIGHT = 2;
constexpr int GLUI_ALIGN_LEFT = 3;

// What a control calls, with its id, when the user changed it: a plain
// function, or a lambda that carries the object it acts on.
typedef std::function<void(int id)> GLUI_Update_CB;
// What a canvas calls when the mouse button goes down on it (true) and when
// it comes up again (false).
typedef std::function<void(bool down)> GLUI_Hold_CB;

class GLUI;
class GLUI_Panel;
struct GLUI_Internal;     // the layer's own drawing code and its tests
struct GLUI_WindowState;  // per-window drawing state, see GluiInternal.h

// A rectangle in pixels of the panel window, origin at its top left corner.
struct GLUI_Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// ============================================================================
// GLUI_Control
// ============================================================================

class GLUI_Control {
public:
    virtual ~GLUI_Control();

    void enable();
    void disable();
    // GLUI_ALIGN_LEFT (the default), GLUI_ALIGN_CENTER or GLUI_ALIGN_RIGHT:
    // where the control sits in the width of its column or rollout.
    void set_alignment(int align);

    // A short help shown while the pointer rests on the control.
    void set_tooltip(const char* text);

    int get_id() const { return m_iId; }
    // The label as drawn.
    const char* get_name() const { return m_strLabel.c_str(); }
    // Where the control was drawn in the last frame; all zero while it is
    // hidden (its rollout is closed) or before the first frame.
    GLUI_Rect get_screen_rect() const { return m_rect; }

protected:
    enum Kind {
        KIND_PANEL,
        KIND_ROLLOUT,
        KIND_SPINNER,
        KIND_CHECKBOX,
        KIND_BUTTON,
        KIND_SEPARATOR,
        KIND_STATICTEXT,
        KIND_CANVAS
    };

    GLUI_Control(GLUI* glui, GLUI_Panel* parent, Kind kind, const char* label, int id, GLUI_Update_CB cb);
    void RequestPanelRedisplay() const;
    void RequestGfxRedisplay() const;

    friend struct GLUI_Internal;
    friend class GLUI;

    GLUI* m_pGlui;
    GLUI_Panel* m_pParent;  // nullptr for the window's top level
    Kind m_eKind;
    int m_iIndex;       // creation order in its window: the control's ImGui identity
    int m_iColumn = 0;  // column of the window's top level the control is in
    int m_iId;
    GLUI_Update_CB m_pCallback;
    std::string m_strLabel;
    std::string m_strTooltip;
    bool m_bEnabled = true;
    int m_iAlignment = GLUI_ALIGN_LEFT;
    GLUI_Rect m_rect;
};

// ============================================================================
// The controls
// ============================================================================

class GLUI_Panel : public GLUI_Control {
protected:
    GLUI_Panel(GLUI* glui, GLUI_Panel* parent, Kind kind, const char* label);
    friend struct GLUI_Internal;
    friend class GLUI;
    std::vector<GLUI_Control*> m_children;  // owned by the window
};

class GLUI_Rollout : public GLUI_Panel {
private:
    GLUI_Rollout(GLUI* glui, const char* label, bool open);
    friend struct GLUI_Internal;
    friend class GLUI;
    bool m_bOpen;
};

class GLUI_Spinner : public GLUI_Control {
public:
    // GLUI_LIMIT_CLAMP keeps the value within [low, high] from now on; a
    // current value outside them becomes low. low above high is taken as
    // given: values below low become low, values above high become high.
    void set_float_limits(float low, float high, int limit_type = GLUI_LIMIT_CLAMP);
    // Sets the value (clamped) and writes the live variable; no callback. A
    // value that is not finite is refused: the spinner keeps its value and
    // writes it back to the live variable. A new value replaces text the
    // user typed and had refused.
    void set_float_val(float value);
    float get_float_val() const { return m_fValue; }

private:
    GLUI_Spinner(GLUI* glui, GLUI_Panel* parent, const char* label, int dataType, void* live, int id,
                 GLUI_Update_CB cb);
    void WriteLive();
    friend struct GLUI_Internal;
    friend class GLUI;

    int m_iDataType;  // GLUI_SPINNER_FLOAT or GLUI_SPINNER_INT
    void* m_pLive;    // float* or int*, or nullptr
    float m_fValue = 0.0f;
    int m_iLimitType = GLUI_LIMIT_NONE;
    float m_fMin = 0.0f;
    float m_fMax = 0.0f;

    // Drawing state: the text field's own buffer while the user types in
    // it, or text typed that is not a number (kept, in red, with the reason
    // as its tooltip), the drag in progress on an arrow, and the parts drawn
    // last frame.
    char m_szEdit[64] = {};
    bool m_bEditing = false;
    std::string m_strRefusal;  // empty while the field shows the value
    bool m_bDragging = false;
    GLUI_Rect m_rectField, m_rectUp, m_rectDown;
};

class GLUI_Checkbox : public GLUI_Control {
public:
    // Checks (non-zero) or unchecks (0) the box and writes the live variable
    // (1 or 0); no callback.
    void set_int_val(int value);
    int get_int_val() const { return m_iValue; }

private:
    GLUI_Checkbox(GLUI* glui, GLUI_Panel* parent, const char* label, int* live, int id, GLUI_Update_CB cb);
    void WriteLive();
    friend struct GLUI_Internal;
    friend class GLUI;
    int* m_piLive;
    int m_iValue = 0;
};

class GLUI_Button : public GLUI_Control {
private:
    GLUI_Button(GLUI* glui, GLUI_Panel* parent, const char* label, int id, GLUI_Update_CB cb);
    friend class GLUI;
};

class GLUI_Separator : public GLUI_Control {
private:
    GLUI_Separator(GLUI* glui, GLUI_Panel* parent);
    friend class GLUI;
};

// A text the user reads and cannot change. Unlike a label it never widens
// its column: it wraps within it, and the panel grows taller as needed.
class GLUI_StaticText : public GLUI_Control {
public:
    // Replaces the text.
    void set_text(const char* text);

private:
    GLUI_StaticText(GLUI* glui, GLUI_Panel* parent, const char* text);
    friend class GLUI;
};

// What a canvas draws with: pixels of the canvas, origin at its top left,
// y down; colours red, green, blue, opacity from 0 to 1.
struct GLUI_Colour {
    float r, g, b, a;
};

class GLUI_Painter {
public:
    virtual ~GLUI_Painter() = default;
    virtual void Line(float x0, float y0, float x1, float y1, GLUI_Colour colour, float thickness = 1.0f) = 0;
    // A line through count points, xy holding x0, y0, x1, y1, ...
    virtual void Polyline(const float* xy, int count, GLUI_Colour colour, float thickness = 1.0f) = 0;
    virtual void Text(float x, float y, GLUI_Colour colour, const char* utf8) = 0;
    virtual float TextWidth(const char* utf8) = 0;
    virtual float TextHeight() = 0;
};

// Draws the canvas, width by height pixels, in each frame of the panel.
typedef std::function<void(GLUI_Painter& painter, int width, int height)> GLUI_Draw_CB;

// A surface of the size it is given that a function of the caller draws on: one
// control for every plot or list, whatever it shows. With a callback, a
// click on it calls back like a button, the click's place kept for it.
class GLUI_Canvas : public GLUI_Control {
public:
    // A new height, pixels, for what it draws growing and shrinking (a list
    // of rows): from the next frame on.
    void set_h(int height);
    // With a hold callback the canvas also tells how long it is held: the
    // callback runs with true when the mouse button goes down on it (the
    // press's place kept as the click's), then with false when the button
    // comes up, wherever the pointer is then and even if the canvas was
    // disabled meanwhile, so that what a hold started always ends. A click
    // (a release over the canvas) still calls the other callback, before the
    // release's.
    void set_hold_callback(GLUI_Hold_CB hold);
    // Where the last click or press was, in pixels of the canvas.
    int get_click_x() const { return m_iClickX; }
    int get_click_y() const { return m_iClickY; }

private:
    GLUI_Canvas(GLUI* glui, GLUI_Panel* parent, int width, int height, GLUI_Draw_CB draw, int id, GLUI_Update_CB cb);
    friend struct GLUI_Internal;
    friend class GLUI;
    int m_iWidth, m_iHeight;
    GLUI_Draw_CB m_draw;
    GLUI_Hold_CB m_hold;
    bool m_bHeld = false;
    int m_iClickX = 0, m_iClickY = 0;
};

// ============================================================================
// GLUI: one panel window
// ============================================================================

class GLUI {
public:
    ~GLUI();

    GLUI_Rollout* add_rollout(const char* name, int open = true);
    // panel nullptr puts the control at the window's top level, in the
    // current column. data_type GLUI_SPINNER_FLOAT (live_var a float*) or
    // GLUI_SPINNER_INT (live_var an int*).
    GLUI_Spinner* add_spinner_to_panel(GLUI_Panel* panel, const char* name, int data_type = GLUI_SPINNER_FLOAT,
                                       void* live_var = nullptr, int id = -1, GLUI_Update_CB cb = nullptr);
    GLUI_Checkbox* add_checkbox_to_panel(GLUI_Panel* panel, const char* name, int* live_var = nullptr, int id = -1,
                                         GLUI_Update_CB cb = nullptr);
    GLUI_Button* add_button_to_panel(GLUI_Panel* panel, const char* name, int id = -1, GLUI_Update_CB cb = nullptr);
    void add_separator_to_panel(GLUI_Panel* panel);
    GLUI_StaticText* add_statictext_to_panel(GLUI_Panel* panel, const char* name);
    GLUI_Canvas* add_canvas_to_panel(GLUI_Panel* panel, int width, int height, GLUI_Draw_CB draw, int id = -1,
                                     GLUI_Update_CB cb = nullptr);
    // Starts a new column to the right of the current one, with a vertical
    // bar between them when draw_bar is non-zero.
    void add_column(int draw_bar = true);
    // The GLUT window made current around every control callback, and
    // redisplayed when a control writes its live variable.
    void set_main_gfx_window(int window_id);

    int get_glut_window_id() const { return m_iWindow; }

private:
    GLUI();
    template <class T>
    T* Adopt(T* control);
    friend class GLUI_Master_Object;
    friend class GLUI_Control;
    friend struct GLUI_Internal;

    std::string m_strTitle;
    int m_iWindow = 0;  // GLUT id of the panel window
    int m_iMainGfxWindow = 0;
    std::vector<std::unique_ptr<GLUI_Control>> m_controls;  // creation order
    std::vector<GLUI_Control*> m_topLevel;                  // rollouts and controls not in a rollout
    std::vector<bool> m_columnBars;                         // per column: bar on its left
    std::vector<std::function<void()>> m_pending;           // callbacks to run after the frame
    std::unique_ptr<GLUI_WindowState> m_pState;
};

// ============================================================================
// GLUI_Master
// ============================================================================

class GLUI_Master_Object {
public:
    // Opens a top-level GLUT window titled name that fits its
    // controls, and returns its GLUI, or nullptr when no window could be
    // opened. x, y -1 let the layer choose: it places the panel just right of
    // the window current at the call when the screen has room for it there,
    // and leaves the position to the window system otherwise. The window
    // current before the call is current again afterwards. flags are
    // accepted for GLUI's sake and ignored.
    GLUI* create_glui(const char* name, long flags = 0, int x = -1, int y = -1);
    // Registers f as the GLUT idle function; nullptr registers none.
    void set_glutIdleFunc(void (*f)());

private:
    friend struct GLUI_Internal;
    std::vector<std::unique_ptr<GLUI>> m_windows;
};

extern GLUI_Master_Object GLUI_Master;

// ============================================================================
// Layout dump for end-to-end tests
// ============================================================================
//
// When the environment variable KALIMBRAX_PANEL_LAYOUT names a file, every
// panel frame that changes the layout rewrites that file (through a rename,
// so a reader never sees half of it) with one line per visible control:
//
//     kind index id x y w h enabled value label
//
// kind: window, rollout, spinner, spinner-field, spinner-up, spinner-down,
// checkbox, button, separator, statictext, canvas. index: creation order, unique in
// the window (ids repeat). x y w h: pixels of the panel window, origin top
// left. enabled: 1 or 0. value: the spinner's value, the checkbox's 0 or 1,
// the rollout's open state (1 open), 0 otherwise. label: to the end of the
// line; a static text's lines are joined with " | ". After a
// control's lines come "tooltip <index> <text>" when it has a tooltip, and
// "refused <index> <reason>" while a spinner holds refused text. The first line is "window 0 <glut id> 0 0 <width>
// <height> 1 0 <title>".
