#pragma once
// Start-up driver and exit routine.

class CApplication {
public:
    // Brings the subsystems up in order and runs the event loop; every
    // start-up failure is logged and ends the process with status -2.
    static int Init(int argc, char** argv);
    // Releases the panel and the scene, closes the logs, exits with 0.
    [[noreturn]] static void Exit();
    static void PrintSystemInfo();
};

// Exit status of every start-up failure (the shell sees 254).
constexpr int kStartupFailureStatus = -2;
