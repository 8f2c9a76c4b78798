#pragma once
// The script given at start, read as a stream: a block is read only when
// the lines before it have run, so a script of any size costs the memory of
// one line, and lines start running at once. A refused line is recorded in
// the error log with the file's name and its line number, and the script
// goes on; a line past kMaxCommandLine bytes is refused the same way. A
// UTF-8 byte-order mark at the start is skipped: editors add one.
#include "command/CommandScheduler.h"

#include <string>

class CCommandScript : public CommandSource {
public:
    CCommandScript() = default;
    ~CCommandScript() override;
    CCommandScript(const CCommandScript&) = delete;
    CCommandScript& operator=(const CCommandScript&) = delete;

    // Opens the script. What is not a regular file is refused here, with
    // the reason in French: a directory reads as an error, a FIFO or a
    // terminal may block the program, a device such as /dev/zero never
    // ends.
    bool Open(const std::string& path, std::string* error);
    // Never opened, or read to its end with every line run.
    bool Finished() const { return m_bFinished; }

    Step RunOne(CommandRunner& runner) override;

private:
    // Feeds the next block of the file to the session.
    void ReadMore();
    void Close();

    int m_iFile = -1;
    std::string m_Name;  // as records quote it
    CCommandSession m_Session;
    bool m_bStarted = false;  // the first block, where a byte-order mark may be, was read
    bool m_bFinished = true;
};
