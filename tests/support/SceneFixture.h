#pragma once
// The frame of a picture test: the default scene opened in its window, drawn
// without swapping so that the frame stays in the buffer that is read, and
// the display switches the test sets out from the start.
#include "gl/Graphics.h"
#include "app/Display.h"
#include "app/SceneWindow.h"

#include <gtest/gtest.h>

#include <initializer_list>

class ScenePictureTest : public ::testing::Test {
protected:
    // Only a missing display is a reason to skip: a scene that does not
    // start on a display is a broken start, and fails.
    void OpenScene(std::initializer_list<DisplayFlag> on, std::initializer_list<DisplayFlag> off)
    {
        if (!DisplayAvailable())
            GTEST_SKIP() << "pas d'affichage X";
        m_pScene = ::OpenScene(KX_SOURCE_DIR "/default");
        ASSERT_NE(m_pScene, nullptr) << "la scène par défaut ne démarre pas (voir robot_error.log)";
        g_bDoubleBuffer = false;  // Display does not swap
        CSimulation& simulation = m_pScene->Simulation();
        for (DisplayFlag flag : on)
            simulation.SetDisplay(flag, true);
        for (DisplayFlag flag : off)
            simulation.SetDisplay(flag, false);
    }

    CMainScene* m_pScene = nullptr;
};
