// Drawing side of the panel layer: the panel window's GLUT handlers, its
// ImGui frame, and the controls drawn with ImGui. Every ImGui call of the
// program is in this file.
//
// Index of this file
//  - Sizes
//  - Input: GLUT events into ImGui, through the input queue
//  - Frame: the panel window's display callback
//  - GLUT window system (the seam of GluiInternal.h)
//  - Controls drawn with ImGui

#include "glui/GluiInternal.h"

#include "imgui.h"
#include "backends/imgui_impl_glut.h"
#include "backends/imgui_impl_opengl2.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// ============================================================================
// Sizes
// ============================================================================

constexpr int kInitialWidth = 320;  // before the first frame measures the controls
constexpr int kInitialHeight = 240;
constexpr int kGapBesideMain = 10;  // between the graphics window and the panel
constexpr float kFieldWidth = 80.0f;
constexpr float kButtonMinWidth = 90.0f;
constexpr float kRolloutPad = 6.0f;
constexpr float kColumnGap = 16.0f;
constexpr float kDragThreshold = 3.0f;
constexpr int kSettleFrames = 3;  // ImGui settles hover and active states in two or three frames
const ImVec4 kRefusedText(1.0f, 0.35f, 0.3f, 1.0f);

GLUI_Rect ItemRect()
{
    const ImVec2 min = ImGui::GetItemRectMin();
    const ImVec2 max = ImGui::GetItemRectMax();
    GLUI_Rect rect;
    rect.x = static_cast<int>(std::floor(min.x));
    rect.y = static_cast<int>(std::floor(min.y));
    rect.w = static_cast<int>(std::lround(max.x - min.x));
    rect.h = static_cast<int>(std::lround(max.y - min.y));
    return rect;
}

// Moves the cursor so that an item of width natural sits in width as asked.
void AlignWithin(float width, float natural, int alignment)
{
    float offset = 0.0f;
    if (alignment == GLUI_ALIGN_RIGHT)
        offset = width - natural;
    else if (alignment == GLUI_ALIGN_CENTER)
        offset = (width - natural) * 0.5f;
    if (offset > 0.0f)
        ImGui::SetCursorPosX(ImGui::GetCursorPosX() + std::floor(offset));
}

float TextWidth(const std::string& text)
{
    return ImGui::CalcTextSize(text.c_str(), nullptr, false).x;
}

// ============================================================================
// Input
// ============================================================================

void SetModifiers(ImGuiIO& io, int mods)
{
    if (mods < 0)
        return;
    io.KeyCtrl = (mods & GLUT_ACTIVE_CTRL) != 0;
    io.KeyShift = (mods & GLUT_ACTIVE_SHIFT) != 0;
    io.KeyAlt = (mods & GLUT_ACTIVE_ALT) != 0;
}

// Does what the GLUT backend's handlers do, but from a recorded event, so
// that a held event can be applied after the frame (glutGetModifiers only
// works inside an input callback, hence the recorded modifiers).
void Apply(const GLUI_InputEvent& event)
{
    ImGuiIO& io = ImGui::GetIO();
    SetModifiers(io, event.mods);
    switch (event.type) {
    case GLUI_InputEvent::MOUSE_BUTTON: {
        io.MousePos = ImVec2(static_cast<float>(event.x), static_cast<float>(event.y));
        int button = -1;
        if (event.code == GLUT_LEFT_BUTTON)
            button = 0;
        else if (event.code == GLUT_RIGHT_BUTTON)
            button = 1;
        else if (event.code == GLUT_MIDDLE_BUTTON)
            button = 2;
        if (button >= 0)
            io.MouseDown[button] = event.down;
        break;
    }
    case GLUI_InputEvent::MOUSE_MOVE:
        io.MousePos = ImVec2(static_cast<float>(event.x), static_cast<float>(event.y));
        break;
    case GLUI_InputEvent::MOUSE_WHEEL:
        io.MousePos = ImVec2(static_cast<float>(event.x), static_cast<float>(event.y));
        io.MouseWheel += event.code > 0 ? 1.0f : -1.0f;
        break;
    case GLUI_InputEvent::KEY: {
        const int c = event.code & 0xFF;
        // Letters are kept down as both cases, and GLUT's ctrl+letter codes
        // 1 to 26 as their letters too, the way the backend maps them.
        int lower = c, upper = c;
        if (c >= 1 && c <= 26)
            lower = 'a' + c - 1, upper = 'A' + c - 1;
        else if (c >= 'a' && c <= 'z')
            upper = c - 'a' + 'A';
        else if (c >= 'A' && c <= 'Z')
            lower = c - 'A' + 'a';
        io.KeysDown[c] = io.KeysDown[lower] = io.KeysDown[upper] = event.down;
        if (event.down && c >= 32 && c != 127)
            io.AddInputCharacter(static_cast<unsigned int>(c));
        break;
    }
    case GLUI_InputEvent::SPECIAL:
        if (event.code >= 0 && event.code + 256 < IM_ARRAYSIZE(io.KeysDown))
            io.KeysDown[event.code + 256] = event.down;
        break;
    case GLUI_InputEvent::LEAVE:
        io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
        break;
    }
}

GLUI* CurrentPanel()
{
    return GLUI_Internal::FindWindow(glutGetWindow());
}

void Push(GLUI_InputEvent event)
{
    GLUI* glui = CurrentPanel();
    if (!glui)
        return;
    GLUI_WindowState& state = GLUI_Internal::State(glui);
    ImGui::SetCurrentContext(state.context);
    state.input.Push(event, Apply);
    state.settleFrames = kSettleFrames;
    glutPostWindowRedisplay(glui->get_glut_window_id());
}

GLUI_InputEvent Event(GLUI_InputEvent::Type type, int code, bool down, int x, int y, int mods)
{
    GLUI_InputEvent event;
    event.type = type;
    event.code = code;
    event.down = down;
    event.x = x;
    event.y = y;
    event.mods = mods;
    return event;
}

void OnMouse(int button, int state, int x, int y)
{
    Push(Event(GLUI_InputEvent::MOUSE_BUTTON, button, state == GLUT_DOWN, x, y, glutGetModifiers()));
}

void OnMotion(int x, int y)
{
    Push(Event(GLUI_InputEvent::MOUSE_MOVE, 0, false, x, y, -1));
}

void OnWheel(int /*wheel*/, int direction, int x, int y)
{
    Push(Event(GLUI_InputEvent::MOUSE_WHEEL, direction, false, x, y, -1));
}

void OnEntry(int state)
{
    // ImGui would otherwise keep the last position inside and show a
    // control as hovered while the pointer is elsewhere.
    if (state == GLUT_LEFT)
        Push(Event(GLUI_InputEvent::LEAVE, 0, false, 0, 0, -1));
}

void OnKey(unsigned char c, int x, int y)
{
    Push(Event(GLUI_InputEvent::KEY, c, true, x, y, glutGetModifiers()));
}

void OnKeyUp(unsigned char c, int x, int y)
{
    Push(Event(GLUI_InputEvent::KEY, c, false, x, y, glutGetModifiers()));
}

void OnSpecial(int key, int x, int y)
{
    Push(Event(GLUI_InputEvent::SPECIAL, key, true, x, y, glutGetModifiers()));
}

void OnSpecialUp(int key, int x, int y)
{
    Push(Event(GLUI_InputEvent::SPECIAL, key, false, x, y, glutGetModifiers()));
}

void OnReshape(int width, int height)
{
    GLUI* glui = CurrentPanel();
    if (!glui)
        return;
    ImGui::SetCurrentContext(GLUI_Internal::State(glui).context);
    ImGui::GetIO().DisplaySize = ImVec2(static_cast<float>(width), static_cast<float>(height));
    glutPostWindowRedisplay(glui->get_glut_window_id());
}

// ============================================================================
// Frame
// ============================================================================

void WriteLayout(GLUI* glui, GLUI_WindowState& state, int width, int height)
{
    const std::string text = GLUI_Internal::LayoutText(glui, width, height);
    if (text == state.layoutWritten)
        return;
    const std::string temporary = state.layoutPath + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) == 0 && written && std::rename(temporary.c_str(), state.layoutPath.c_str()) == 0)
        state.layoutWritten = text;
}

void OnDisplay()
{
    GLUI* glui = CurrentPanel();
    if (!glui)
        return;
    GLUI_WindowState& state = GLUI_Internal::State(glui);
    ImGui::SetCurrentContext(state.context);
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplGLUT_NewFrame();
    int width = 0, height = 0;
    GLUI_Internal::DrawPanel(glui, &width, &height);
    ImGui::Render();

    ImGuiIO& io = ImGui::GetIO();
    const ImVec4 background = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    glViewport(0, 0, static_cast<GLsizei>(io.DisplaySize.x), static_cast<GLsizei>(io.DisplaySize.y));
    glClearColor(background.x, background.y, background.z, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    glutSwapBuffers();

    const int panel = glui->get_glut_window_id();
    // The frame has seen the presses: let the held releases through now.
    const bool waiting = state.input.EndFrame(Apply);

    // ImGui reported the changes inside this frame, with the panel current;
    // the callbacks run now, with the graphics window current, so that their
    // GL calls and glutPostRedisplay act on it.
    GLUI_Internal::RunCallbacks(glui);
    glutSetWindow(panel);

    const int shownWidth = static_cast<int>(io.DisplaySize.x);
    const int shownHeight = static_cast<int>(io.DisplaySize.y);
    if ((width != shownWidth || height != shownHeight) &&
        (width != state.requestedWidth || height != state.requestedHeight)) {
        // Asked once per new size: a window manager that refuses it does
        // not make the panel ask forever.
        state.requestedWidth = width;
        state.requestedHeight = height;
        glutReshapeWindow(width, height);
    }

    if (waiting || state.settleFrames > 0) {
        if (state.settleFrames > 0)
            --state.settleFrames;
        glutPostWindowRedisplay(panel);
    }
    if (!state.layoutPath.empty())
        WriteLayout(glui, state, shownWidth, shownHeight);
}

// ============================================================================
// GLUT window system
// ============================================================================

struct GlutWindowSystem : GLUI_WindowSystem {
    int CreateWindow(GLUI* glui, const char* latin1Title, int x, int y) override
    {
        const int previous = glutGetWindow();
        if ((x < 0 || y < 0) && previous > 0) {
            // Beside the graphics window, where a user looks for it; left to
            // the window system when the screen has no room there.
            // A window left where the window system puts it may report -1.
            const int besideX = std::max(glutGet(GLUT_WINDOW_X), 0) + glutGet(GLUT_WINDOW_WIDTH) + kGapBesideMain;
            const int besideY = std::max(glutGet(GLUT_WINDOW_Y), 0);
            if (besideX + kInitialWidth <= glutGet(GLUT_SCREEN_WIDTH))
                x = besideX, y = besideY;
        }
        // The initial window settings are program-wide: put them back.
        const unsigned int savedMode = static_cast<unsigned int>(glutGet(GLUT_INIT_DISPLAY_MODE));
        const int savedX = glutGet(GLUT_INIT_WINDOW_X), savedY = glutGet(GLUT_INIT_WINDOW_Y);
        const int savedW = glutGet(GLUT_INIT_WINDOW_WIDTH), savedH = glutGet(GLUT_INIT_WINDOW_HEIGHT);
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
        glutInitWindowPosition(x, y);
        glutInitWindowSize(kInitialWidth, kInitialHeight);
        const int window = glutCreateWindow(latin1Title);
        glutInitDisplayMode(savedMode);
        glutInitWindowPosition(savedX, savedY);
        glutInitWindowSize(savedW, savedH);
        if (window <= 0)
            return 0;

        GLUI_WindowState& state = GLUI_Internal::State(glui);
        state.context = ImGui::CreateContext();
        ImGui::SetCurrentContext(state.context);
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;  // no imgui.ini in the data directory
        io.LogFilename = nullptr;
        io.DisplaySize = ImVec2(static_cast<float>(kInitialWidth), static_cast<float>(kInitialHeight));
        ImGui::StyleColorsDark();
        ImGui::GetStyle().DisplaySafeAreaPadding = ImVec2(0.0f, 0.0f);
        ImGui_ImplGLUT_Init();
        ImGui_ImplOpenGL2_Init();
        const char* layout = std::getenv("KALIMBRAX_PANEL_LAYOUT");
        if (layout && *layout)
            state.layoutPath = layout;

        // GLUT callbacks belong to the window current when they are set: the
        // new one. Our handlers forward to ImGui and ask for the frames it
        // needs; the backend's own handlers ask for none.
        glutDisplayFunc(OnDisplay);
        glutReshapeFunc(OnReshape);
        glutMouseFunc(OnMouse);
        glutMotionFunc(OnMotion);
        glutPassiveMotionFunc(OnMotion);
        glutMouseWheelFunc(OnWheel);
        glutEntryFunc(OnEntry);
        glutKeyboardFunc(OnKey);
        glutKeyboardUpFunc(OnKeyUp);
        glutSpecialFunc(OnSpecial);
        glutSpecialUpFunc(OnSpecialUp);

        if (previous > 0)
            glutSetWindow(previous);
        return window;
    }

    int GetWindow() override { return glutGetWindow(); }
    void SetWindow(int window) override { glutSetWindow(window); }
    void PostRedisplay(int window) override { glutPostWindowRedisplay(window); }
    void SetIdleFunc(void (*f)()) override { glutIdleFunc(f); }
};

}  // namespace

GLUI_WindowSystem& GLUI_GlutWindowSystem()
{
    // Never destroyed (see GLUI_WindowState).
    static GlutWindowSystem* system = new GlutWindowSystem;
    return *system;
}

// ============================================================================
// Controls drawn with ImGui
// ============================================================================

float GLUI_Internal::NaturalWidth(const GLUI_Control* control)
{
    const ImGuiStyle& style = ImGui::GetStyle();
    const float frame = ImGui::GetFrameHeight();
    const float inner = style.ItemInnerSpacing.x;
    const float label = TextWidth(control->m_strLabel);
    switch (control->m_eKind) {
    case GLUI_Control::KIND_SPINNER:
        return (label > 0.0f ? label + inner : 0.0f) + kFieldWidth + inner + frame + inner + frame;
    case GLUI_Control::KIND_CHECKBOX:
        return frame + inner + label;
    case GLUI_Control::KIND_BUTTON:
        return std::max(label + 2.0f * style.FramePadding.x, kButtonMinWidth);
    case GLUI_Control::KIND_SEPARATOR:
    case GLUI_Control::KIND_STATICTEXT:  // wraps within the column instead
        return 0.0f;
    case GLUI_Control::KIND_CANVAS:
        return static_cast<float>(static_cast<const GLUI_Canvas*>(control)->m_iWidth);
    case GLUI_Control::KIND_PANEL:
    case GLUI_Control::KIND_ROLLOUT: {
        float children = 0.0f;
        for (const GLUI_Control* child : static_cast<const GLUI_Panel*>(control)->m_children)
            children = std::max(children, NaturalWidth(child));
        return std::max(frame + label + 2.0f * style.FramePadding.x, children + 2.0f * kRolloutPad);
    }
    }
    return 0.0f;
}

void GLUI_Internal::DrawPanel(GLUI* glui, int* width, int* height)
{
    const ImGuiIO& io = ImGui::GetIO();
    const ImGuiStyle& style = ImGui::GetStyle();
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGui::Begin("##glui", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                     ImGuiWindowFlags_NoScrollWithMouse | ImGuiWindowFlags_NoBringToFrontOnFocus);

    const float top = ImGui::GetCursorScreenPos().y;
    ImVec2 contentMax(0.0f, 0.0f);
    std::vector<float> bars;
    const int columns = static_cast<int>(glui->m_columnBars.size());
    for (int column = 0; column < columns; ++column) {
        float columnWidth = 0.0f;
        for (const GLUI_Control* control : glui->m_topLevel)
            if (control->m_iColumn == column)
                columnWidth = std::max(columnWidth, NaturalWidth(control));
        if (column > 0) {
            ImGui::SameLine(0.0f, kColumnGap);
            if (glui->m_columnBars[column])
                bars.push_back(std::floor(ImGui::GetCursorScreenPos().x - kColumnGap * 0.5f) + 0.5f);
        }
        ImGui::BeginGroup();
        bool any = false;
        for (GLUI_Control* control : glui->m_topLevel)
            if (control->m_iColumn == column) {
                DrawControl(control, columnWidth);
                any = true;
            }
        if (!any)
            ImGui::Dummy(ImVec2(std::max(columnWidth, 1.0f), 1.0f));
        ImGui::EndGroup();
        contentMax.x = std::max(contentMax.x, ImGui::GetItemRectMax().x);
        contentMax.y = std::max(contentMax.y, ImGui::GetItemRectMax().y);
    }
    ImDrawList* draw = ImGui::GetWindowDrawList();
    for (float x : bars)
        draw->AddLine(ImVec2(x, top), ImVec2(x, contentMax.y), ImGui::GetColorU32(ImGuiCol_Separator));
    ImGui::End();

    *width = static_cast<int>(std::ceil(contentMax.x + style.WindowPadding.x));
    *height = static_cast<int>(std::ceil(contentMax.y + style.WindowPadding.y));
}

void GLUI_Internal::DrawControl(GLUI_Control* control, float width)
{
    // Every control gets an identity of its own: labels repeat (two
    // rollouts are both called "Control" by default).
    ImGui::PushID(control->m_iIndex);
    const bool disabled = !control->m_bEnabled;
    if (disabled)
        ImGui::BeginDisabled();  // greyed, and ImGui ignores its input
    const float natural = NaturalWidth(control);
    switch (control->m_eKind) {
    case GLUI_Control::KIND_PANEL:
    case GLUI_Control::KIND_ROLLOUT:
        DrawRollout(static_cast<GLUI_Panel*>(control), width);
        break;
    case GLUI_Control::KIND_SPINNER:
        DrawSpinner(static_cast<GLUI_Spinner*>(control), width);
        break;
    case GLUI_Control::KIND_CHECKBOX: {
        GLUI_Checkbox* checkbox = static_cast<GLUI_Checkbox*>(control);
        AlignWithin(width, natural, control->m_iAlignment);
        bool checked = checkbox->m_iValue != 0;
        if (ImGui::Checkbox(control->m_strLabel.c_str(), &checked))
            UserToggle(checkbox);
        control->m_rect = ItemRect();
        break;
    }
    case GLUI_Control::KIND_BUTTON:
        AlignWithin(width, natural, control->m_iAlignment);
        if (ImGui::Button(control->m_strLabel.c_str(), ImVec2(natural, 0.0f)))
            UserPress(static_cast<GLUI_Button*>(control));
        control->m_rect = ItemRect();
        break;
    case GLUI_Control::KIND_SEPARATOR: {
        const ImVec2 at = ImGui::GetCursorScreenPos();
        const float thickness = ImGui::GetStyle().ItemSpacing.y;
        ImGui::Dummy(ImVec2(width, thickness));
        const float y = std::floor(at.y + thickness * 0.5f) + 0.5f;
        ImGui::GetWindowDrawList()->AddLine(ImVec2(at.x, y), ImVec2(at.x + width, y),
                                            ImGui::GetColorU32(ImGuiCol_Separator));
        control->m_rect = ItemRect();
        break;
    }
    case GLUI_Control::KIND_STATICTEXT:
        ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + width);
        ImGui::TextUnformatted(control->m_strLabel.c_str());
        ImGui::PopTextWrapPos();
        control->m_rect = ItemRect();
        break;
    case GLUI_Control::KIND_CANVAS:
        DrawCanvas(static_cast<GLUI_Canvas*>(control));
        break;
    }
    if (disabled)
        ImGui::EndDisabled();
    DrawTooltip(control);
    ImGui::PopID();
}

namespace {

// The canvas's painter: ImGui's draw list of the panel window, moved to the
// canvas's place and clipped to it.
class ImGuiPainter : public GLUI_Painter {
public:
    ImGuiPainter(ImDrawList* draw, ImVec2 origin) : m_pDraw(draw), m_Origin(origin) {}

    void Line(float x0, float y0, float x1, float y1, GLUI_Colour c, float thickness) override
    {
        m_pDraw->AddLine(At(x0, y0), At(x1, y1), Colour(c), thickness);
    }
    void Polyline(const float* xy, int count, GLUI_Colour c, float thickness) override
    {
        std::vector<ImVec2> points;
        points.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            points.push_back(At(xy[2 * i], xy[2 * i + 1]));
        m_pDraw->AddPolyline(points.data(), count, Colour(c), ImDrawFlags_None, thickness);
    }
    void Text(float x, float y, GLUI_Colour c, const char* utf8) override
    {
        m_pDraw->AddText(At(x, y), Colour(c), utf8);
    }
    float TextWidth(const char* utf8) override { return ImGui::CalcTextSize(utf8).x; }
    float TextHeight() override { return ImGui::GetTextLineHeight(); }

private:
    ImVec2 At(float x, float y) const { return ImVec2(m_Origin.x + x, m_Origin.y + y); }
    static ImU32 Colour(GLUI_Colour c) { return ImGui::GetColorU32(ImVec4(c.r, c.g, c.b, c.a)); }

    ImDrawList* m_pDraw;
    ImVec2 m_Origin;
};

}  // namespace

void GLUI_Internal::DrawCanvas(GLUI_Canvas* canvas)
{
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const ImVec2 size(static_cast<float>(canvas->m_iWidth), static_cast<float>(canvas->m_iHeight));
    if (canvas->m_pCallback || canvas->m_hold) {
        const bool clicked = ImGui::InvisibleButton("##canvas", size);
        const ImVec2 mouse = ImGui::GetIO().MousePos;
        const int x = static_cast<int>(mouse.x - origin.x), y = static_cast<int>(mouse.y - origin.y);
        // The press is the frame the button becomes active; the release, the
        // one it stops being so (over the canvas or not), a click too when
        // over it.
        if (ImGui::IsItemActivated())
            UserHold(canvas, x, y, true);
        if (clicked)
            UserClick(canvas, x, y);
        if (ImGui::IsItemDeactivated())
            UserHold(canvas, x, y, false);
    } else {
        ImGui::Dummy(size);
    }
    canvas->m_rect = ItemRect();
    if (!canvas->m_draw)
        return;
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->PushClipRect(origin, ImVec2(origin.x + size.x, origin.y + size.y), true);
    ImGuiPainter painter(draw, origin);
    canvas->m_draw(painter, canvas->m_iWidth, canvas->m_iHeight);
    draw->PopClipRect();
}

void GLUI_Internal::DrawRollout(GLUI_Panel* panel, float width)
{
    const ImGuiStyle& style = ImGui::GetStyle();
    const float frame = ImGui::GetFrameHeight();
    ImDrawList* draw = ImGui::GetWindowDrawList();
    bool open = true;
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    if (panel->m_eKind == GLUI_Control::KIND_ROLLOUT) {
        GLUI_Rollout* rollout = static_cast<GLUI_Rollout*>(panel);
        // The title is a button the width of the column; a click opens or
        // closes the rollout (which resizes the window).
        if (ImGui::InvisibleButton("##title", ImVec2(width, frame)))
            UserToggleRollout(rollout);
        panel->m_rect = ItemRect();
        const ImGuiCol colour = ImGui::IsItemActive()    ? ImGuiCol_HeaderActive
                                : ImGui::IsItemHovered() ? ImGuiCol_HeaderHovered
                                                         : ImGuiCol_Header;
        draw->AddRectFilled(origin, ImVec2(origin.x + width, origin.y + frame), ImGui::GetColorU32(colour),
                            style.FrameRounding);
        open = rollout->m_bOpen;
        const ImVec2 c(origin.x + frame * 0.5f, origin.y + frame * 0.5f);
        const float a = frame * 0.25f;
        if (open)
            draw->AddTriangleFilled(ImVec2(c.x - a, c.y - a * 0.6f), ImVec2(c.x + a, c.y - a * 0.6f),
                                    ImVec2(c.x, c.y + a * 0.8f), ImGui::GetColorU32(ImGuiCol_Text));
        else
            draw->AddTriangleFilled(ImVec2(c.x - a * 0.6f, c.y - a), ImVec2(c.x + a * 0.8f, c.y),
                                    ImVec2(c.x - a * 0.6f, c.y + a), ImGui::GetColorU32(ImGuiCol_Text));
        draw->AddText(ImVec2(origin.x + frame, origin.y + style.FramePadding.y), ImGui::GetColorU32(ImGuiCol_Text),
                      panel->m_strLabel.c_str());
    }
    if (!open)
        return;
    const float inner = width - 2.0f * kRolloutPad;
    ImGui::Indent(kRolloutPad);
    if (panel->m_children.empty())
        ImGui::Dummy(ImVec2(inner, 1.0f));
    for (GLUI_Control* child : panel->m_children)
        DrawControl(child, inner);
    ImGui::Unindent(kRolloutPad);
    ImGui::Dummy(ImVec2(width, 2.0f));
    const float bottom = ImGui::GetItemRectMax().y;
    draw->AddRect(origin, ImVec2(origin.x + width, bottom), ImGui::GetColorU32(ImGuiCol_Border), style.FrameRounding);
}

void GLUI_Internal::DrawSpinner(GLUI_Spinner* spinner, float width)
{
    const ImGuiStyle& style = ImGui::GetStyle();
    AlignWithin(width, NaturalWidth(spinner), spinner->m_iAlignment);
    const ImVec2 start = ImGui::GetCursorScreenPos();
    if (!spinner->m_strLabel.empty()) {
        ImGui::AlignTextToFramePadding();
        ImGui::TextUnformatted(spinner->m_strLabel.c_str());
        ImGui::SameLine(0.0f, style.ItemInnerSpacing.x);
    }
    // While the user types, and while it holds refused text, the field keeps
    // its text; otherwise it shows the value, which code may have changed
    // since the last frame. No character filter: ImGui's numeric ones drop
    // the decimal comma, and refused text is shown, not swallowed.
    const bool refused = !spinner->m_strRefusal.empty();
    if (!spinner->m_bEditing && !refused)
        FormatValue(spinner, spinner->m_szEdit, sizeof spinner->m_szEdit);
    ImGui::SetNextItemWidth(kFieldWidth);
    if (refused)
        ImGui::PushStyleColor(ImGuiCol_Text, kRefusedText);
    ImGui::InputText("##value", spinner->m_szEdit, sizeof spinner->m_szEdit, ImGuiInputTextFlags_AutoSelectAll);
    if (refused)
        ImGui::PopStyleColor();
    spinner->m_bEditing = ImGui::IsItemActive();
    spinner->m_rectField = ItemRect();
    // Enter, Tab and a click elsewhere all leave the field: each commits.
    if (ImGui::IsItemDeactivatedAfterEdit())
        UserCommitText(spinner, spinner->m_szEdit);
    ImGui::SameLine(0.0f, style.ItemInnerSpacing.x);
    DrawArrow(spinner, "##up", +1, &spinner->m_rectUp);
    ImGui::SameLine(0.0f, style.ItemInnerSpacing.x);
    DrawArrow(spinner, "##down", -1, &spinner->m_rectDown);
    const ImVec2 end = ImGui::GetItemRectMax();
    spinner->m_rect.x = static_cast<int>(std::floor(start.x));
    spinner->m_rect.y = static_cast<int>(std::floor(start.y));
    spinner->m_rect.w = static_cast<int>(std::lround(end.x - start.x));
    spinner->m_rect.h = static_cast<int>(std::lround(end.y - start.y));
}

void GLUI_Internal::DrawTooltip(const GLUI_Control* control)
{
    // A refused field explains itself first; a disabled control still says
    // what it is for.
    const std::string* text = &control->m_strTooltip;
    if (control->m_eKind == GLUI_Control::KIND_SPINNER &&
        !static_cast<const GLUI_Spinner*>(control)->m_strRefusal.empty())
        text = &static_cast<const GLUI_Spinner*>(control)->m_strRefusal;
    const GLUI_Rect& r = control->m_rect;
    if (text->empty() || !ImGui::IsWindowHovered() ||
        !ImGui::IsMouseHoveringRect(ImVec2(static_cast<float>(r.x), static_cast<float>(r.y)),
                                    ImVec2(static_cast<float>(r.x + r.w), static_cast<float>(r.y + r.h))))
        return;
    ImGui::BeginTooltip();
    ImGui::PushTextWrapPos(ImGui::GetFontSize() * 24.0f);
    ImGui::TextUnformatted(text->c_str());
    ImGui::PopTextWrapPos();
    ImGui::EndTooltip();
}

void GLUI_Internal::DrawArrow(GLUI_Spinner* spinner, const char* id, int direction, GLUI_Rect* rect)
{
    // A click steps the value; holding the button and dragging up or down
    // changes it continuously instead, faster the further the drag.
    const bool clicked = ImGui::ArrowButton(id, direction > 0 ? ImGuiDir_Up : ImGuiDir_Down);
    *rect = ItemRect();
    if (ImGui::IsItemActive() && ImGui::IsMouseDragging(ImGuiMouseButton_Left, kDragThreshold)) {
        spinner->m_bDragging = true;
        const float dy = ImGui::GetIO().MouseDelta.y;
        const float total = ImGui::GetMouseDragDelta(ImGuiMouseButton_Left, kDragThreshold).y;
        if (dy != 0.0f)
            UserSetFloat(spinner, spinner->m_fValue + GLUI_DragIncrement(dy, total));
    }
    if (clicked && !spinner->m_bDragging)
        UserSetFloat(spinner, spinner->m_fValue + static_cast<float>(direction) * GLUI_SPINNER_STEP);
    if (ImGui::IsItemDeactivated())
        spinner->m_bDragging = false;
}
