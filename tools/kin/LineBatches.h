#pragma once
// Lines of a stream answered one by one, and on every core once the input
// is large: a batch of a million lines takes both cores of a desktop, while
// a person typing lines, or a script sending a few, gets each answer as
// before. The answers are written in the order of their lines whatever
// thread worked them out.
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

// What one line gives: text for the output and for the errors, and a
// status (0 when the line was good).
struct LineAnswer {
    std::string out, err;
    int status = 0;
};

// Answers line `number` (counted from 1; its end of line may be included),
// appending to *answer. Called from several threads at once: it must only
// read what it shares.
using LineAnswerer =
    std::function<void(const char* line, std::size_t length, unsigned long number, LineAnswer* answer)>;

// The first `serialLines` lines are answered as they come, each written
// before the next is read; the rest in blocks of lines spread over the
// cores. Returns the largest status of any line.
int AnswerLines(FILE* in, FILE* out, FILE* err, const LineAnswerer& answer, unsigned long serialLines = 10000);
