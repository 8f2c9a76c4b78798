#pragma once
// Test support: the error channel opened on a scratch file while a test
// runs, with a hook that keeps every record written on it, and small file
// helpers.
#include "base/Cp1252.h"
#include "base/Log.h"
#include "tests/support/TestBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

// The records of the error channel since OpenErrorLog, as written (Windows-1252).
inline std::vector<std::string> g_Records;

inline void CollectRecord(const char* record)
{
    g_Records.emplace_back(record);
}

// Resets the channels and opens the error channel on a scratch file; returns
// its path, empty when it could not be opened.
inline std::string OpenErrorLog(const std::string& name)
{
    LogReset();
    g_Records.clear();
    std::string path = ::testing::TempDir() + name;
    if (!LogOpen(LOG_ERROR, path.c_str()))
        return "";
    LogSetPrintHook(LOG_ERROR, CollectRecord);
    return path;
}

inline void CloseErrorLog(const std::string& path)
{
    LogClose(LOG_ERROR);
    std::remove(path.c_str());
}

// The message of a record ("...:<ms> - message\n") back in UTF-8, with the
// line end that closes every record removed.
inline std::string MessageOf(const std::string& record)
{
    std::size_t dash = record.find(" - ");
    std::string message = dash == std::string::npos ? record : record.substr(dash + 3);
    if (!message.empty() && message.back() == '\n')
        message.pop_back();
    return Cp1252ToUtf8(message.c_str());
}

inline Bytes ReadBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A test with the error channel captured and a scratch file that does not
// exist when the test starts and is removed after it.
class ErrorLogTest : public ::testing::Test {
protected:
    // ctest runs each test in a process of its own, two at a time: the
    // process's number keeps their scratch files apart.
    explicit ErrorLogTest(const std::string& scratchName)
        : m_scratchName("kx" + std::to_string(getpid()) + "_" + scratchName)
    {
    }
    void SetUp() override
    {
        logPath = OpenErrorLog(m_scratchName + ".log");
        ASSERT_FALSE(logPath.empty());
        path = ::testing::TempDir() + m_scratchName;
        std::remove(path.c_str());
    }
    void TearDown() override
    {
        std::remove(path.c_str());
        CloseErrorLog(logPath);
    }
    // The messages of the records so far, without time fields.
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> messages;
        for (const std::string& record : g_Records)
            messages.push_back(MessageOf(record));
        return messages;
    }

    std::string logPath;
    std::string path;

private:
    std::string m_scratchName;
};
