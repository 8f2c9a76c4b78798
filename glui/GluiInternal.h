#pragma once
// Internals of the panel layer, shared by its control logic (Glui.cpp), its
// ImGui and GLUT drawing (GluiDraw.cpp) and its tests. The panel itself uses
// Glui.h only.
//
// Index of this file
//  - Pure helpers: clamping, typed numbers, drag speed
//  - GLUI_WindowSystem: the seam to GLUT, replaced by a fake in the tests
//  - GLUI_InputQueue: holds input back so that ImGui sees every press
//  - GLUI_Internal: what the user does to a control, and the callback queue
//  - GLUI_WindowState: per-window drawing state

#include "glui/Glui.h"

#include <deque>
#include <memory>
#include <functional>
#include <string>
#include <vector>

struct ImGuiContext;

// ============================================================================
// Pure helpers
// ============================================================================

// Literal clamp: below low gives low, otherwise above high gives high. Unlike
// std::clamp it is defined when low > high.
float GLUI_ClampFloat(float value, float low, float high);

// Reads a typed number: optional blanks, a number in C syntax where a comma
// may stand for the decimal point, optional blanks, nothing else. Refuses
// empty text, trailing garbage, and anything that is not a finite float
// (nan, inf, 1e39).
bool GLUI_ParseFloat(const char* text, float* out);

// Change of a spinner value for a vertical mouse motion of dy pixels (down is
// positive) while dragging an arrow, total pixels from where the drag began:
// upward increases, and the further the drag, the faster.
float GLUI_DragIncrement(float dy, float total);

// Step of one click on a spinner arrow.
constexpr float GLUI_SPINNER_STEP = 1.0f;

// ============================================================================
// GLUI_WindowSystem
// ============================================================================

// The GLUT calls the control logic makes. The real one (GluiDraw.cpp) calls
// GLUT and sets up ImGui; the tests install a fake that records the calls.
struct GLUI_WindowSystem {
    virtual ~GLUI_WindowSystem() = default;
    // Opens the panel window of glui, with its handlers and its ImGui
    // context, titled title (Latin-1, as GLUT hands it to X11); returns its
    // GLUT id, 0 on failure. Leaves the window current before the call
    // current.
    virtual int CreateWindow(GLUI* glui, const char* latin1Title, int x, int y) = 0;
    virtual int GetWindow() = 0;
    virtual void SetWindow(int window) = 0;
    virtual void PostRedisplay(int window) = 0;
    virtual void SetIdleFunc(void (*f)()) = 0;
};

// The system in use: the one installed by GLUI_SetWindowSystem, else GLUT.
GLUI_WindowSystem& GLUI_Windows();
// Installs a window system (nullptr goes back to GLUT); returns the previous
// override.
GLUI_WindowSystem* GLUI_SetWindowSystem(GLUI_WindowSystem* system);
// The GLUT one (GluiDraw.cpp).
GLUI_WindowSystem& GLUI_GlutWindowSystem();

// ============================================================================
// GLUI_InputQueue
// ============================================================================

// ImGui 1.86 samples mouse buttons and keys once per frame: a press and its
// release that reach it before the next frame cancel out and the click is
// lost (xdotool clicks usually do). Keys typed faster than frames also reach
// one frame together, and InputText then handles characters before
// shortcuts, so "ctrl+a 2" could select after inserting. The queue applies an
// event at once unless it must wait for a frame: the release of a button or
// key pressed since the last frame, a second key press since the last frame,
// and anything behind an event already waiting (order is kept).
struct GLUI_InputEvent {
    enum Type { MOUSE_BUTTON, MOUSE_MOVE, MOUSE_WHEEL, KEY, SPECIAL, LEAVE };
    Type type = MOUSE_MOVE;
    int code = 0;       // button, character, special key, wheel direction
    bool down = false;  // MOUSE_BUTTON, KEY, SPECIAL
    int x = 0;
    int y = 0;
    int mods = -1;  // GLUT modifiers when the event came, -1 unknown
};

class GLUI_InputQueue {
public:
    typedef std::function<void(const GLUI_InputEvent&)> Apply;

    void Push(const GLUI_InputEvent& event, const Apply& apply);
    // After a frame: the presses are seen; applies waiting events up to the
    // next one that must wait again. Returns true while events still wait
    // (the caller asks for another frame).
    bool EndFrame(const Apply& apply);
    bool HasWaiting() const { return !m_waiting.empty(); }

private:
    bool MustWait(const GLUI_InputEvent& event) const;
    void Note(const GLUI_InputEvent& event);
    static long KeyOf(const GLUI_InputEvent& event);

    std::deque<GLUI_InputEvent> m_waiting;
    std::vector<long> m_pressedThisFrame;
    bool m_bKeyPressThisFrame = false;
};

// ============================================================================
// GLUI_Internal
// ============================================================================

struct GLUI_Internal {
    // What the user does. Each returns false, changing nothing, when the
    // control is disabled (or the value refused); otherwise it writes the
    // live variable, requests the graphics window's redisplay and queues the
    // callback.
    static bool UserSetFloat(GLUI_Spinner* spinner, float value);
    static bool UserToggle(GLUI_Checkbox* checkbox);
    static bool UserPress(GLUI_Button* button);
    // A click at (x, y), pixels of the canvas; false outside it, or for a
    // canvas without a callback.
    static bool UserClick(GLUI_Canvas* canvas, int x, int y);
    // The mouse button down at (x, y) of a canvas with a hold callback
    // (false outside it, or without one), or up again after such a press
    // (false when it was not held).
    static bool UserHold(GLUI_Canvas* canvas, int x, int y, bool down);
    static void UserToggleRollout(GLUI_Rollout* rollout);
    // The text the user left in a spinner's field (Enter, Tab, a click
    // elsewhere): a number sets the value as UserSetFloat does; the value's
    // own text, untouched, does nothing; anything else is refused and stays
    // in the field with its reason. True when the value was set.
    static bool UserCommitText(GLUI_Spinner* spinner, const char* text);

    // Runs the queued callbacks in order, each with the main graphics window
    // current (when one is set) and the previous window restored after it.
    static void RunCallbacks(GLUI* glui);
    // Queues the control's callback, with its id, for RunCallbacks.
    static void Queue(GLUI_Control* control);

    // Enabled, and every enclosing panel enabled.
    static bool IsEnabled(const GLUI_Control* control);
    static bool IsOpen(const GLUI_Rollout* rollout) { return rollout->m_bOpen; }
    static GLUI* FindWindow(int glutWindow);
    // For tests that work a panel without a window: the controls of type T
    // in the window, in creation order, and the first one with that id
    // (nullptr when there is none).
    template <class T>
    static std::vector<T*> Controls(const GLUI* glui)
    {
        std::vector<T*> found;
        for (const std::unique_ptr<GLUI_Control>& control : glui->m_controls)
            if (T* t = dynamic_cast<T*>(control.get()))
                found.push_back(t);
        return found;
    }
    template <class T>
    static T* Find(const GLUI* glui, int id)
    {
        for (T* control : Controls<T>(glui))
            if (control->get_id() == id)
                return control;
        return nullptr;
    }
    // The layout dump described in Glui.h, from the rectangles of the last
    // frame; width and height are the window's.
    static std::string LayoutText(const GLUI* glui, int width, int height);
    static GLUI_WindowState& State(GLUI* glui) { return *glui->m_pState; }

    // Drawing (GluiDraw.cpp), with the window's ImGui context current and
    // inside its frame. DrawPanel returns the window size that fits the
    // controls.
    static void DrawPanel(GLUI* glui, int* width, int* height);
    static float NaturalWidth(const GLUI_Control* control);
    static void DrawControl(GLUI_Control* control, float width);
    static void DrawRollout(GLUI_Panel* panel, float width);
    static void DrawSpinner(GLUI_Spinner* spinner, float width);
    static void DrawArrow(GLUI_Spinner* spinner, const char* id, int direction, GLUI_Rect* rect);
    static void DrawTooltip(const GLUI_Control* control);
    static void DrawCanvas(GLUI_Canvas* canvas);
    // The text a spinner's field shows while the user is not typing.
    static void FormatValue(const GLUI_Spinner* spinner, char* text, std::size_t size);
};

// ============================================================================
// GLUI_WindowState
// ============================================================================

struct GLUI_WindowState {
    // Never destroyed: freeglut may end the process inside a callback, and
    // static destructors must not call ImGui.
    ImGuiContext* context = nullptr;
    GLUI_InputQueue input;
    int settleFrames = 0;    // frames still to draw after an event
    int requestedWidth = 0;  // last size asked of GLUT
    int requestedHeight = 0;
    std::string layoutPath;     // KALIMBRAX_PANEL_LAYOUT, empty when unset
    std::string layoutWritten;  // content last written there
};
