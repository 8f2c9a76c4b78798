#pragma once
// Runs commands in the program through the panel's actions, the same the
// controls and the keys use, so the panel and the arm stay in step whichever
// way a change comes. Each command runs with the graphics window current, as
// the panel's callbacks do.
#include "command/CommandSession.h"

class CCommandHub;
class CPanelActions;

class CCommandExecutor : public CommandRunner {
public:
    // The actions commands go through; none before the program is composed.
    void Connect(CPanelActions& actions) { m_pActions = &actions; }
    // The hub whose ticks `get ticks` answers (0 without one).
    void CountTicks(const CCommandHub& hub) { m_pHub = &hub; }

    CommandOutcome Run(const Command& command) override;
    bool MotionRunning() override;

private:
    CPanelActions* m_pActions = nullptr;
    const CCommandHub* m_pHub = nullptr;
};
