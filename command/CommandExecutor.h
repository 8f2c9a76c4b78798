#pragma once
// Runs commands through the controller, the same the panel's controls and
// the keys use, so the panel and the arm stay in step whichever way a change
// comes. Every reply and refusal of the command language is written here.
#include "command/CommandSession.h"

class CCommandHub;
class CController;

class CCommandExecutor : public CommandRunner {
public:
    explicit CCommandExecutor(CController& controller) : m_Controller(controller) {}
    // The hub whose ticks `get ticks` answers (0 without one).
    void CountTicks(const CCommandHub& hub) { m_pHub = &hub; }

    CommandOutcome Run(const Command& command) override;
    bool MotionRunning() override;

private:
    CController& m_Controller;
    const CCommandHub* m_pHub = nullptr;
};
