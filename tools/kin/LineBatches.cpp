// Lines answered in order, on every core for large inputs (see LineBatches.h).
#include "tools/kin/LineBatches.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <future>
#include <thread>
#include <vector>

#include <stdio.h>
#include <sys/types.h>

namespace {

// Lines per block: enough that a block's work (some milliseconds) dwarfs
// handing it to a thread, few enough that the blocks of a large input keep
// every core busy.
constexpr std::size_t kBlockLines = 4096;

// A block of lines, one after the other in `text`, each ending at its
// offset in `ends`.
struct LineBlock {
    std::string text;
    std::vector<std::size_t> ends;
    unsigned long first = 0;  // the number of its first line
};

LineAnswer AnswerBlock(const LineBlock& block, const LineAnswerer& answer)
{
    LineAnswer result;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < block.ends.size(); ++i) {
        LineAnswer line;
        answer(block.text.data() + begin, block.ends[i] - begin, block.first + i, &line);
        result.out += line.out;
        result.err += line.err;
        result.status = std::max(result.status, line.status);
        begin = block.ends[i];
    }
    return result;
}

}  // namespace

int AnswerLines(FILE* in, FILE* out, FILE* err, const LineAnswerer& answer, unsigned long serialLines)
{
    int status = 0;
    auto write = [&](const LineAnswer& a) {
        std::fwrite(a.out.data(), 1, a.out.size(), out);
        std::fwrite(a.err.data(), 1, a.err.size(), err);
        status = std::max(status, a.status);
    };

    // Blocks under way, oldest first: two per core keep every core busy
    // while the oldest is written.
    const std::size_t window = 2 * std::max(1u, std::thread::hardware_concurrency());
    std::deque<std::future<LineAnswer>> pending;
    LineBlock block;
    unsigned long number = 0;
    char* line = nullptr;
    std::size_t capacity = 0;
    for (;;) {
        // getline gives the true length, NUL bytes included, of any line.
        const ssize_t length = getline(&line, &capacity, in);
        const bool ended = length < 0;
        if (!ended && ++number <= serialLines) {
            LineAnswer a;
            answer(line, static_cast<std::size_t>(length), number, &a);
            write(a);
            continue;
        }
        if (!ended) {
            if (block.ends.empty())
                block.first = number;
            block.text.append(line, static_cast<std::size_t>(length));
            block.ends.push_back(block.text.size());
        }
        if (block.ends.size() == kBlockLines || (ended && !block.ends.empty())) {
            pending.push_back(
                std::async(std::launch::async, [&answer, b = std::move(block)] { return AnswerBlock(b, answer); }));
            block = LineBlock();
        }
        while (!pending.empty() && (ended || pending.size() > window)) {
            write(pending.front().get());
            pending.pop_front();
        }
        if (ended)
            break;
    }
    std::free(line);
    return status;
}
