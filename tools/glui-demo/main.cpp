// Demonstration of the panel layer: a plain GLUT window whose colour the
// panel changes, and a two-column panel with rollouts, spinners, checkboxes
// and buttons. Every callback prints one line on standard output:
//
//     callback <kind> id=<id> live=<value> window=<gfx|panel|other>
//
// "window" names the GLUT window current inside the callback. The "GO"
// button (enabled by the "RT" checkbox) runs an idle function for 20 calls,
// printing "idle start" and "idle end calls=20". Escape in the graphics
// window ends the program.
//
// Labels are UTF-8, as the panel layer takes every text.

#include "glui/Glui.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

namespace {

int g_iGfxWindow = 0;
GLUI* g_pGlui = nullptr;
float g_fAngles[2] = {400.0f, 5.0f};  // 400 lies outside its limits
float g_fX = 0.0f;
int g_iRealTime = 0;
int g_iImmediate = 0;
int g_iIdleCalls = 0;
GLUI_Spinner* g_pX = nullptr;
GLUI_Button* g_pGo = nullptr;

const char* WindowName()
{
    const int window = glutGetWindow();
    if (window == g_iGfxWindow)
        return "gfx";
    if (g_pGlui && window == g_pGlui->get_glut_window_id())
        return "panel";
    return "other";
}

void Print(const char* kind, int id, double live)
{
    std::printf("callback %s id=%d live=%g window=%s\n", kind, id, live, WindowName());
    std::fflush(stdout);
}

void OnIdle()
{
    if (++g_iIdleCalls >= 20) {
        GLUI_Master.set_glutIdleFunc(nullptr);
        std::printf("idle end calls=%d\n", g_iIdleCalls);
        std::fflush(stdout);
    }
}

void OnSpinner(int id)
{
    Print("spinner", id, id == 10 ? g_fX : g_fAngles[id]);
}

void OnCheckbox(int id)
{
    Print("checkbox", id, id == 1 ? g_iRealTime : id == 2 ? g_iImmediate : -1);
    if (id == 1) {
        if (g_iRealTime)
            g_pGo->enable();
        else
            g_pGo->disable();
    }
    glutPostRedisplay();  // the graphics window is current: its colour follows RT
}

void OnButton(int id)
{
    Print("button", id, 0);
    if (id == 1) {
        g_iIdleCalls = 0;
        std::printf("idle start\n");
        std::fflush(stdout);
        GLUI_Master.set_glutIdleFunc(OnIdle);
    } else if (id == 2) {
        // Set from code: no callback for X may follow.
        g_pX->set_float_val(g_fAngles[0] * 2.0f);
    }
}

void Display()
{
    if (g_iRealTime)
        glClearColor(0.1f, 0.4f, 0.1f, 1.0f);
    else
        glClearColor(0.2f, 0.2f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glutSwapBuffers();
}

void Keyboard(unsigned char key, int, int)
{
    if (key == 27)
        std::exit(0);
}

}  // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(400, 300);
    g_iGfxWindow = glutCreateWindow("GLUI demo graphics");
    glutDisplayFunc(Display);
    glutKeyboardFunc(Keyboard);

    g_pGlui = GLUI_Master.create_glui("GLUI demo panel", 0, -1, -1);
    if (!g_pGlui)
        return 2;

    GLUI_Rollout* angles = g_pGlui->add_rollout("Angles", true);
    GLUI_Spinner* a12 = g_pGlui->add_spinner_to_panel(angles, "A12", GLUI_SPINNER_FLOAT, &g_fAngles[0], 0, OnSpinner);
    a12->set_float_limits(0.0f, 360.0f, GLUI_LIMIT_CLAMP);
    a12->set_alignment(GLUI_ALIGN_RIGHT);
    // An accented label, with limits given the wrong way round.
    GLUI_Spinner* shoulder =
        g_pGlui->add_spinner_to_panel(angles, "Épaule", GLUI_SPINNER_FLOAT, &g_fAngles[1], 1, OnSpinner);
    shoulder->set_float_limits(10.0f, 0.0f, GLUI_LIMIT_CLAMP);
    shoulder->set_alignment(GLUI_ALIGN_RIGHT);
    GLUI_Rollout* pose = g_pGlui->add_rollout("Pose", true);
    g_pX = g_pGlui->add_spinner_to_panel(pose, "X", GLUI_SPINNER_FLOAT, &g_fX, 10, OnSpinner);

    g_pGlui->add_column(true);

    GLUI_Rollout* control = g_pGlui->add_rollout("Control", true);
    g_pGlui->add_checkbox_to_panel(control, "RT", &g_iRealTime, 1, OnCheckbox);
    g_pGo = g_pGlui->add_button_to_panel(control, "GO", 1, OnButton);
    g_pGo->set_alignment(GLUI_ALIGN_LEFT);
    g_pGo->disable();
    g_pGlui->add_separator_to_panel(control);
    GLUI_Checkbox* immediate = g_pGlui->add_checkbox_to_panel(control, "IM", &g_iImmediate, 2, OnCheckbox);
    immediate->set_int_val(1);
    g_pGlui->add_button_to_panel(control, "MGDC", 2, OnButton)->set_alignment(GLUI_ALIGN_LEFT);
    // A second rollout with the same title: ImGui must tell them apart.
    GLUI_Rollout* display = g_pGlui->add_rollout("Control", true);
    g_pGlui->add_checkbox_to_panel(display, "WF", nullptr, 4, OnCheckbox);
    g_pGlui->add_checkbox_to_panel(display, "DC", nullptr, 5, OnCheckbox)->set_int_val(1);

    g_pGlui->set_main_gfx_window(g_iGfxWindow);
    std::printf("ready gfx=%d panel=%d\n", g_iGfxWindow, g_pGlui->get_glut_window_id());
    std::fflush(stdout);
    glutMainLoop();
    return 0;
}
