// Sources served in turn within a budget (see CommandScheduler.h).
#include "command/CommandScheduler.h"

CommandSource* CCommandScheduler::Run(const std::vector<CommandSource*>& sources, CommandRunner& runner,
                                      const Clock& clock, double budget)
{
    const std::size_t count = sources.size();
    if (count == 0)
        return nullptr;
    const double start = clock();
    std::size_t i = m_iNext % count;
    // Every source idle one after the other: nothing left to run.
    for (std::size_t idle = 0; idle < count; i = (i + 1) % count) {
        switch (sources[i]->RunOne(runner)) {
        case CommandSource::Step::Idle:
            ++idle;
            continue;
        case CommandSource::Step::Exit:
            m_iNext = i + 1;
            return sources[i];
        case CommandSource::Step::Ran:
            idle = 0;
            break;
        }
        if (clock() - start >= budget) {
            m_iNext = i + 1;
            return nullptr;
        }
    }
    m_iNext = i;
    return nullptr;
}
