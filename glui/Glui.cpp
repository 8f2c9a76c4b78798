// Control logic of the panel layer: values, limits, live variables, enabled
// state, the callback queue and the input queue. No GL, GLUT or ImGui here:
// the few window calls go through GLUI_Windows(), which the tests replace.
//
// Index of this file
//  - Pure helpers
//  - Window system override
//  - Input queue
//  - GLUI_Control and the controls
//  - GLUI
//  - GLUI_Master
//  - GLUI_Internal

#include "glui/GluiInternal.h"

#include "base/Cp1252.h"
#include "base/FrenchDecimal.h"
#include "base/Log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

// ============================================================================
// Pure helpers
// ============================================================================

float GLUI_ClampFloat(float value, float low, float high)
{
    if (value < low)
        return low;
    if (value > high)
        return high;
    return value;
}

bool GLUI_ParseFloat(const char* text, float* out)
{
    double value;
    if (!text || !ParseDecimal(text, &value))
        return false;
    // Values beyond float range would become inf once narrowed.
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return false;
    *out = static_cast<float>(value);
    return true;
}

float GLUI_DragIncrement(float dy, float total)
{
    // A tenth of a step per pixel near the start, one more tenth for every
    // 25 pixels of distance from where the drag began.
    const float perPixel = 0.1f * GLUI_SPINNER_STEP * (1.0f + std::fabs(total) / 25.0f);
    return -dy * perPixel;
}

// ============================================================================
// Window system override
// ============================================================================

namespace {
GLUI_WindowSystem* s_pOverride = nullptr;
}

GLUI_WindowSystem& GLUI_Windows()
{
    return s_pOverride ? *s_pOverride : GLUI_GlutWindowSystem();
}

GLUI_WindowSystem* GLUI_SetWindowSystem(GLUI_WindowSystem* system)
{
    GLUI_WindowSystem* previous = s_pOverride;
    s_pOverride = system;
    return previous;
}

// ============================================================================
// Input queue
// ============================================================================

long GLUI_InputQueue::KeyOf(const GLUI_InputEvent& event)
{
    int code = event.code;
    if (event.type == GLUI_InputEvent::KEY) {
        // GLUT reports ctrl+a as 1 and a with shift as 'A'; the release may
        // come with other modifiers than the press, so they name one key.
        if (code >= 1 && code <= 26)
            code = 'a' + code - 1;
        else if (code >= 'A' && code <= 'Z')
            code = code - 'A' + 'a';
    }
    return static_cast<long>(event.type) * 65536L + code;
}

bool GLUI_InputQueue::MustWait(const GLUI_InputEvent& event) const
{
    if (!m_waiting.empty())
        return true;
    const bool button = event.type == GLUI_InputEvent::MOUSE_BUTTON || event.type == GLUI_InputEvent::KEY ||
                        event.type == GLUI_InputEvent::SPECIAL;
    if (!button)
        return false;
    if (!event.down)
        return std::find(m_pressedThisFrame.begin(), m_pressedThisFrame.end(), KeyOf(event)) !=
               m_pressedThisFrame.end();
    return event.type != GLUI_InputEvent::MOUSE_BUTTON && m_bKeyPressThisFrame;
}

void GLUI_InputQueue::Note(const GLUI_InputEvent& event)
{
    const bool button = event.type == GLUI_InputEvent::MOUSE_BUTTON || event.type == GLUI_InputEvent::KEY ||
                        event.type == GLUI_InputEvent::SPECIAL;
    if (!button || !event.down)
        return;
    m_pressedThisFrame.push_back(KeyOf(event));
    if (event.type != GLUI_InputEvent::MOUSE_BUTTON)
        m_bKeyPressThisFrame = true;
}

void GLUI_InputQueue::Push(const GLUI_InputEvent& event, const Apply& apply)
{
    if (MustWait(event)) {
        m_waiting.push_back(event);
        return;
    }
    Note(event);
    apply(event);
}

bool GLUI_InputQueue::EndFrame(const Apply& apply)
{
    m_pressedThisFrame.clear();
    m_bKeyPressThisFrame = false;
    std::deque<GLUI_InputEvent> waiting;
    waiting.swap(m_waiting);
    while (!waiting.empty()) {
        // m_waiting is empty until one event must wait again; from then on
        // every later event queues behind it, in order.
        Push(waiting.front(), apply);
        waiting.pop_front();
    }
    return !m_waiting.empty();
}

// ============================================================================
// GLUI_Control and the controls
// ============================================================================

GLUI_Control::GLUI_Control(GLUI* glui, GLUI_Panel* parent, Kind kind, const char* label, int id, GLUI_Update_CB cb)
    : m_pGlui(glui), m_pParent(parent), m_eKind(kind), m_iIndex(static_cast<int>(glui->m_controls.size()) + 1),
      m_iId(id), m_pCallback(std::move(cb)), m_strLabel(label ? label : "")
{
}

GLUI_Control::~GLUI_Control() = default;

void GLUI_Control::RequestPanelRedisplay() const
{
    if (m_pGlui->m_iWindow > 0)
        GLUI_Windows().PostRedisplay(m_pGlui->m_iWindow);
}

void GLUI_Control::RequestGfxRedisplay() const
{
    if (m_pGlui->m_iMainGfxWindow > 0)
        GLUI_Windows().PostRedisplay(m_pGlui->m_iMainGfxWindow);
}

void GLUI_Control::set_tooltip(const char* text)
{
    m_strTooltip = text ? text : "";
}

void GLUI_Control::enable()
{
    m_bEnabled = true;
    RequestPanelRedisplay();
}

void GLUI_Control::disable()
{
    m_bEnabled = false;
    RequestPanelRedisplay();
}

void GLUI_Control::set_alignment(int align)
{
    if (align != GLUI_ALIGN_LEFT && align != GLUI_ALIGN_CENTER && align != GLUI_ALIGN_RIGHT)
        align = GLUI_ALIGN_LEFT;
    m_iAlignment = align;
    RequestPanelRedisplay();
}

GLUI_Panel::GLUI_Panel(GLUI* glui, GLUI_Panel* parent, Kind kind, const char* label)
    : GLUI_Control(glui, parent, kind, label, -1, nullptr)
{
}

GLUI_Rollout::GLUI_Rollout(GLUI* glui, const char* label, bool open)
    : GLUI_Panel(glui, nullptr, KIND_ROLLOUT, label), m_bOpen(open)
{
}

GLUI_Spinner::GLUI_Spinner(GLUI* glui, GLUI_Panel* parent, const char* label, int dataType, void* live, int id,
                           GLUI_Update_CB cb)
    : GLUI_Control(glui, parent, KIND_SPINNER, label, id, std::move(cb)), m_iDataType(dataType), m_pLive(live)
{
    // Like GLUI, the spinner starts from its live variable.
    if (m_pLive) {
        const float start = m_iDataType == GLUI_SPINNER_INT ? static_cast<float>(*static_cast<int*>(m_pLive))
                                                            : *static_cast<float*>(m_pLive);
        if (std::isfinite(start))
            m_fValue = start;
    }
}

void GLUI_Spinner::WriteLive()
{
    if (!m_pLive)
        return;
    if (m_iDataType == GLUI_SPINNER_INT)
        *static_cast<int*>(m_pLive) = static_cast<int>(std::lround(m_fValue));
    else
        *static_cast<float*>(m_pLive) = m_fValue;
    RequestGfxRedisplay();
}

void GLUI_Spinner::set_float_limits(float low, float high, int limit_type)
{
    m_fMin = low;
    m_fMax = high;
    m_iLimitType = limit_type == GLUI_LIMIT_CLAMP ? GLUI_LIMIT_CLAMP : GLUI_LIMIT_NONE;
    if (m_iLimitType == GLUI_LIMIT_CLAMP && (m_fValue < low || m_fValue > high)) {
        m_fValue = low;
        WriteLive();
    }
    RequestPanelRedisplay();
}

void GLUI_Spinner::set_float_val(float value)
{
    // A model that fails may hand over NaN; keeping the last good value, and
    // writing it back over whatever the live variable received, keeps NaN
    // out of the arm.
    if (std::isfinite(value)) {
        if (m_iLimitType == GLUI_LIMIT_CLAMP)
            value = GLUI_ClampFloat(value, m_fMin, m_fMax);
        if (m_iDataType == GLUI_SPINNER_INT)
            value = std::round(value);
        if (value != m_fValue)
            m_strRefusal.clear();
        m_fValue = value;
    }
    WriteLive();
    RequestPanelRedisplay();
}

GLUI_Checkbox::GLUI_Checkbox(GLUI* glui, GLUI_Panel* parent, const char* label, int* live, int id, GLUI_Update_CB cb)
    : GLUI_Control(glui, parent, KIND_CHECKBOX, label, id, std::move(cb)), m_piLive(live)
{
    if (m_piLive)
        m_iValue = *m_piLive != 0 ? 1 : 0;
}

void GLUI_Checkbox::WriteLive()
{
    if (!m_piLive)
        return;
    *m_piLive = m_iValue;
    RequestGfxRedisplay();
}

void GLUI_Checkbox::set_int_val(int value)
{
    m_iValue = value != 0 ? 1 : 0;
    WriteLive();
    RequestPanelRedisplay();
}

GLUI_Button::GLUI_Button(GLUI* glui, GLUI_Panel* parent, const char* label, int id, GLUI_Update_CB cb)
    : GLUI_Control(glui, parent, KIND_BUTTON, label, id, std::move(cb))
{
}

GLUI_Separator::GLUI_Separator(GLUI* glui, GLUI_Panel* parent)
    : GLUI_Control(glui, parent, KIND_SEPARATOR, "", -1, nullptr)
{
}

GLUI_StaticText::GLUI_StaticText(GLUI* glui, GLUI_Panel* parent, const char* text)
    : GLUI_Control(glui, parent, KIND_STATICTEXT, text, -1, nullptr)
{
}

void GLUI_StaticText::set_text(const char* text)
{
    m_strLabel = text ? text : "";
    RequestPanelRedisplay();
}

// ============================================================================
// GLUI
// ============================================================================

GLUI::GLUI() : m_columnBars(1, false), m_pState(new GLUI_WindowState) {}

GLUI::~GLUI() = default;

template <class T>
T* GLUI::Adopt(T* control)
{
    control->m_iColumn = static_cast<int>(m_columnBars.size()) - 1;
    if (control->m_pParent) {
        control->m_iColumn = control->m_pParent->m_iColumn;
        control->m_pParent->m_children.push_back(control);
    } else {
        m_topLevel.push_back(control);
    }
    m_controls.emplace_back(control);
    control->RequestPanelRedisplay();
    return control;
}

GLUI_Rollout* GLUI::add_rollout(const char* name, int open)
{
    return Adopt(new GLUI_Rollout(this, name, open != 0));
}

GLUI_Spinner* GLUI::add_spinner_to_panel(GLUI_Panel* panel, const char* name, int data_type, void* live_var, int id,
                                         GLUI_Update_CB cb)
{
    if (data_type != GLUI_SPINNER_FLOAT && data_type != GLUI_SPINNER_INT) {
        // The live variable's type is unknown: the spinner is made without
        // one rather than writing a float over something else.
        LogError("GLUI::add_spinner_to_panel -- Type de données %d non géré pour « %s », variable liée ignorée",
                 data_type, name ? name : "");
        data_type = GLUI_SPINNER_FLOAT;
        live_var = nullptr;
    }
    return Adopt(new GLUI_Spinner(this, panel, name, data_type, live_var, id, std::move(cb)));
}

GLUI_Checkbox* GLUI::add_checkbox_to_panel(GLUI_Panel* panel, const char* name, int* live_var, int id,
                                           GLUI_Update_CB cb)
{
    return Adopt(new GLUI_Checkbox(this, panel, name, live_var, id, std::move(cb)));
}

GLUI_Button* GLUI::add_button_to_panel(GLUI_Panel* panel, const char* name, int id, GLUI_Update_CB cb)
{
    return Adopt(new GLUI_Button(this, panel, name, id, std::move(cb)));
}

void GLUI::add_separator_to_panel(GLUI_Panel* panel)
{
    Adopt(new GLUI_Separator(this, panel));
}

GLUI_StaticText* GLUI::add_statictext_to_panel(GLUI_Panel* panel, const char* name)
{
    return Adopt(new GLUI_StaticText(this, panel, name));
}

GLUI_Canvas::GLUI_Canvas(GLUI* glui, GLUI_Panel* parent, int width, int height, GLUI_Draw_CB draw, int id,
                         GLUI_Update_CB cb)
    : GLUI_Control(glui, parent, KIND_CANVAS, "", id, std::move(cb)), m_iWidth(width), m_iHeight(height),
      m_draw(std::move(draw))
{
}

void GLUI_Canvas::set_hold_callback(GLUI_Hold_CB hold)
{
    m_hold = std::move(hold);
}

void GLUI_Canvas::set_h(int height)
{
    if (height == m_iHeight)
        return;
    m_iHeight = height;
    RequestPanelRedisplay();
}

GLUI_Canvas* GLUI::add_canvas_to_panel(GLUI_Panel* panel, int width, int height, GLUI_Draw_CB draw, int id,
                                       GLUI_Update_CB cb)
{
    return Adopt(new GLUI_Canvas(this, panel, width, height, std::move(draw), id, std::move(cb)));
}

void GLUI::add_column(int draw_bar)
{
    m_columnBars.push_back(draw_bar != 0);
    if (m_iWindow > 0)
        GLUI_Windows().PostRedisplay(m_iWindow);
}

void GLUI::set_main_gfx_window(int window_id)
{
    m_iMainGfxWindow = window_id;
}

// ============================================================================
// GLUI_Master
// ============================================================================

GLUI_Master_Object GLUI_Master;

GLUI* GLUI_Master_Object::create_glui(const char* name, long flags, int x, int y)
{
    (void)flags;
    std::unique_ptr<GLUI> glui(new GLUI);
    glui->m_strTitle = name ? name : "";
    // freeglut hands the title to X11 as it is, and X11 reads a window's
    // name in Latin-1.
    glui->m_iWindow = GLUI_Windows().CreateWindow(glui.get(), Utf8ToLatin1(glui->m_strTitle).c_str(), x, y);
    if (glui->m_iWindow <= 0)
        return nullptr;
    m_windows.push_back(std::move(glui));
    return m_windows.back().get();
}

void GLUI_Master_Object::set_glutIdleFunc(void (*f)())
{
    GLUI_Windows().SetIdleFunc(f);
}

// ============================================================================
// GLUI_Internal
// ============================================================================

bool GLUI_Internal::IsEnabled(const GLUI_Control* control)
{
    for (const GLUI_Control* c = control; c; c = c->m_pParent)
        if (!c->m_bEnabled)
            return false;
    return true;
}

bool GLUI_Internal::UserSetFloat(GLUI_Spinner* spinner, float value)
{
    if (!IsEnabled(spinner) || !std::isfinite(value))
        return false;
    spinner->m_strRefusal.clear();
    spinner->set_float_val(value);
    Queue(spinner);
    return true;
}

void GLUI_Internal::FormatValue(const GLUI_Spinner* spinner, char* text, std::size_t size)
{
    // As a French reader writes numbers, like the readout: a comma, never "-0".
    std::snprintf(text, size, "%s",
                  FormatDecimal(spinner->m_fValue, spinner->m_iDataType == GLUI_SPINNER_INT ? 0 : 3).c_str());
}

bool GLUI_Internal::UserCommitText(GLUI_Spinner* spinner, const char* text)
{
    char shown[64];
    FormatValue(spinner, shown, sizeof shown);
    if (spinner->m_strRefusal.empty() && std::strcmp(text, shown) == 0)
        return false;  // left as it was shown: no change to make
    float value;
    if (GLUI_ParseFloat(text, &value))
        return UserSetFloat(spinner, value);
    spinner->m_strRefusal = std::string("« ") + text + " » n'est pas un nombre : tapez par exemple 12,5 ou -3.25";
    spinner->RequestPanelRedisplay();
    return false;
}

bool GLUI_Internal::UserToggle(GLUI_Checkbox* checkbox)
{
    if (!IsEnabled(checkbox))
        return false;
    checkbox->set_int_val(!checkbox->m_iValue);
    Queue(checkbox);
    return true;
}

bool GLUI_Internal::UserPress(GLUI_Button* button)
{
    if (!IsEnabled(button))
        return false;
    Queue(button);
    return true;
}

bool GLUI_Internal::UserClick(GLUI_Canvas* canvas, int x, int y)
{
    if (!IsEnabled(canvas) || !canvas->m_pCallback || x < 0 || y < 0 || x >= canvas->m_iWidth || y >= canvas->m_iHeight)
        return false;
    canvas->m_iClickX = x;
    canvas->m_iClickY = y;
    Queue(canvas);
    return true;
}

bool GLUI_Internal::UserHold(GLUI_Canvas* canvas, int x, int y, bool down)
{
    if (!canvas->m_hold)
        return false;
    if (down) {
        if (canvas->m_bHeld || !IsEnabled(canvas) || x < 0 || y < 0 || x >= canvas->m_iWidth || y >= canvas->m_iHeight)
            return false;
        canvas->m_iClickX = x;
        canvas->m_iClickY = y;
    } else if (!canvas->m_bHeld) {
        return false;
    }
    canvas->m_bHeld = down;
    canvas->m_pGlui->m_pending.push_back([canvas, down] { canvas->m_hold(down); });
    return true;
}

void GLUI_Internal::Queue(GLUI_Control* control)
{
    // A control without a callback queues nothing to run, but the frame
    // after it is still drawn (RunCallbacks).
    std::function<void()> call;
    if (control->m_pCallback)
        call = [control] { control->m_pCallback(control->m_iId); };
    control->m_pGlui->m_pending.push_back(std::move(call));
}

void GLUI_Internal::UserToggleRollout(GLUI_Rollout* rollout)
{
    rollout->m_bOpen = !rollout->m_bOpen;
    rollout->RequestPanelRedisplay();
}

void GLUI_Internal::RunCallbacks(GLUI* glui)
{
    if (glui->m_pending.empty())
        return;
    // A callback may disable controls or set values; anything it would queue
    // (it cannot: set_*_val queues nothing) waits for the next frame.
    std::vector<std::function<void()>> pending;
    pending.swap(glui->m_pending);
    GLUI_WindowSystem& windows = GLUI_Windows();
    for (const std::function<void()>& callback : pending) {
        if (!callback)
            continue;
        const int previous = windows.GetWindow();
        const int gfx = glui->m_iMainGfxWindow;
        if (gfx > 0)
            windows.SetWindow(gfx);
        callback();
        if (gfx > 0 && previous > 0)
            windows.SetWindow(previous);
    }
    // Values and enabled states may have changed.
    if (glui->m_iWindow > 0)
        windows.PostRedisplay(glui->m_iWindow);
}

GLUI* GLUI_Internal::FindWindow(int glutWindow)
{
    for (const std::unique_ptr<GLUI>& glui : GLUI_Master.m_windows)
        if (glui->m_iWindow == glutWindow)
            return glui.get();
    return nullptr;
}

std::string GLUI_Internal::LayoutText(const GLUI* glui, int width, int height)
{
    std::string text;
    char line[192];
    std::snprintf(line, sizeof line, "window 0 %d 0 0 %d %d 1 0 ", glui->m_iWindow, width, height);
    text += line;
    text += glui->m_strTitle;
    text += '\n';
    auto add = [&](const char* kind, const GLUI_Control* c, const GLUI_Rect& r, float value) {
        std::snprintf(line, sizeof line, "%s %d %d %d %d %d %d %d %g ", kind, c->m_iIndex, c->m_iId, r.x, r.y, r.w, r.h,
                      IsEnabled(c) ? 1 : 0, value);
        text += line;
        text += c->m_strLabel;
        text += '\n';
    };
    // After a control's own lines: its tooltip, and a spinner's refusal.
    auto notes = [&](const GLUI_Control* c) {
        const std::string refusal =
            c->m_eKind == GLUI_Control::KIND_SPINNER ? static_cast<const GLUI_Spinner*>(c)->m_strRefusal : "";
        const std::pair<const char*, const std::string*> items[] = {{"tooltip", &c->m_strTooltip},
                                                                    {"refused", &refusal}};
        for (const auto& [kind, what] : items) {
            if (what->empty())
                continue;
            std::snprintf(line, sizeof line, "%s %d ", kind, c->m_iIndex);
            text += line;
            text += *what;
            text += '\n';
        }
    };
    std::function<void(const GLUI_Control*)> visit = [&](const GLUI_Control* c) {
        switch (c->m_eKind) {
        case GLUI_Control::KIND_PANEL:
        case GLUI_Control::KIND_ROLLOUT: {
            const GLUI_Panel* panel = static_cast<const GLUI_Panel*>(c);
            bool open = true;
            if (c->m_eKind == GLUI_Control::KIND_ROLLOUT) {
                open = static_cast<const GLUI_Rollout*>(c)->m_bOpen;
                add("rollout", c, c->m_rect, open ? 1.0f : 0.0f);
                notes(c);
            }
            if (open)
                for (const GLUI_Control* child : panel->m_children)
                    visit(child);
            return;
        }
        case GLUI_Control::KIND_SPINNER: {
            const GLUI_Spinner* s = static_cast<const GLUI_Spinner*>(c);
            add("spinner", c, c->m_rect, s->m_fValue);
            add("spinner-field", c, s->m_rectField, s->m_fValue);
            add("spinner-up", c, s->m_rectUp, s->m_fValue);
            add("spinner-down", c, s->m_rectDown, s->m_fValue);
            break;
        }
        case GLUI_Control::KIND_CHECKBOX:
            add("checkbox", c, c->m_rect, static_cast<float>(static_cast<const GLUI_Checkbox*>(c)->m_iValue));
            break;
        case GLUI_Control::KIND_BUTTON:
            add("button", c, c->m_rect, 0.0f);
            break;
        case GLUI_Control::KIND_SEPARATOR:
            add("separator", c, c->m_rect, 0.0f);
            break;
        case GLUI_Control::KIND_CANVAS:
            add("canvas", c, c->m_rect, 0.0f);
            break;
        case GLUI_Control::KIND_STATICTEXT: {
            // One line per control in the dump, whatever the text holds.
            std::string oneLine;
            for (char ch : c->m_strLabel)
                oneLine += ch == '\n' ? std::string(" | ") : std::string(1, ch);
            std::snprintf(line, sizeof line, "statictext %d %d %d %d %d %d %d 0 ", c->m_iIndex, c->m_iId, c->m_rect.x,
                          c->m_rect.y, c->m_rect.w, c->m_rect.h, IsEnabled(c) ? 1 : 0);
            text += line;
            text += oneLine;
            text += '\n';
            break;
        }
        }
        notes(c);
    };
    for (const GLUI_Control* c : glui->m_topLevel)
        visit(c);
    return text;
}
