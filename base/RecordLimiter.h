#pragma once
// How many records of one kind a log channel lets through: at most
// kMaxRecordsPerKind in a minute, the minute starting at the first record
// of the kind. What is held back past that is counted, and the count is
// handed back once, when the minute is over or the channel closes, so that
// a flood (a million bad lines of a script) writes a thousand records and
// one that says how many more there were, instead of a hundred megabytes of
// log and as much console. Pure: the clock is the caller's.
#include <string>
#include <vector>

constexpr unsigned long kMaxRecordsPerKind = 1000;
constexpr double kRecordWindowSeconds = 60.0;

class CRecordLimiter {
public:
    struct Dropped {
        std::string kind;
        unsigned long count;
    };

    // True when a record of this kind may be written at `now` (seconds).
    // Call Expired first, so that a minute that is over starts anew.
    bool Admit(const std::string& kind, double now);
    // The kinds whose minute is over at `now` with records held back, each
    // once. Every kind whose minute is over is forgotten: its next record
    // starts a new minute.
    std::vector<Dropped> Expired(double now);
    // Every count still held, each once: for a channel that closes.
    std::vector<Dropped> TakeAll();

private:
    struct Kind {
        std::string kind;
        double since;  // start of its minute
        unsigned long written;
        unsigned long dropped;
    };
    std::vector<Kind> m_Kinds;
};
