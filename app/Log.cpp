#include "app/Log.h"

#include "app/Cp1252.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

struct LogChannel {
    bool open;
    FILE* file;
    LogPrintHook hook;
};

LogChannel g_Channels[LOG_MAX_CHANNELS];

// The clock field of a record: wall time since start-up in milliseconds, from
// a monotonic clock. Taken at static initialisation, before main runs.
const std::chrono::steady_clock::time_point g_StartTime = std::chrono::steady_clock::now();

struct RecordBuffers {
    char* utf8;     // the message as formatted
    char* message;  // the message in Windows-1252
    std::size_t messageSize;
    char* record;
    std::size_t recordSize;
};

int ElapsedMilliseconds()
{
    auto elapsed = std::chrono::steady_clock::now() - g_StartTime;
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

// Formats one record into the buffers, writes it and hands it to the hook.
int WriteRecord(int channel, const RecordBuffers& buffers, const char* format, va_list args)
{
    LogChannel& slot = g_Channels[channel];
    if (!slot.open)
        return -1;

    int elapsed = ElapsedMilliseconds();
    std::time_t now = std::time(nullptr);
    std::tm local;
    char timeText[16];
    if (!localtime_r(&now, &local) || std::strftime(timeText, sizeof timeText, "%H:%M:%S", &local) == 0)
        timeText[0] = '\0';

    // A message longer than its buffer is cut; the record still ends its line.
    std::vsnprintf(buffers.utf8, buffers.messageSize, format, args);
    std::size_t length = Utf8ToCp1252(buffers.utf8, buffers.message, buffers.messageSize);

    bool endsLine = length > 0 && buffers.message[length - 1] == '\n';
    int written = std::snprintf(buffers.record, buffers.recordSize, endsLine ? "%s:%i - %s" : "%s:%i - %s\n", timeText,
                                elapsed, buffers.message);
    std::size_t recordLength = static_cast<std::size_t>(written);
    if (recordLength >= buffers.recordSize) {
        recordLength = buffers.recordSize - 1;
        buffers.record[recordLength - 1] = '\n';
    }

    // Flushed at once: a program that crashes keeps every record it wrote.
    int result = -1;
    if (std::fwrite(buffers.record, 1, recordLength, slot.file) == recordLength && std::fflush(slot.file) == 0)
        result = static_cast<int>(recordLength);
    if (slot.hook)
        slot.hook(buffers.record);
    return result;
}

}  // namespace

void LogReset()
{
    for (LogChannel& slot : g_Channels)
        slot = LogChannel{false, nullptr, nullptr};
}

bool LogOpen(int channel, const char* fileName)
{
    FILE* file = std::fopen(fileName, "w");
    if (!file)
        return false;
    g_Channels[channel] = LogChannel{true, file, nullptr};
    return true;
}

void LogClose(int channel)
{
    LogChannel& slot = g_Channels[channel];
    if (!slot.open)
        return;
    std::fclose(slot.file);
    slot = LogChannel{false, nullptr, nullptr};
}

void LogSetPrintHook(int channel, LogPrintHook hook)
{
    if (g_Channels[channel].open)
        g_Channels[channel].hook = hook;
}

int LogWrite(int channel, const char* format, ...)
{
    static char utf8[4096], message[4096], record[4096];
    va_list args;
    va_start(args, format);
    int result = WriteRecord(channel, {utf8, message, sizeof message, record, sizeof record}, format, args);
    va_end(args);
    return result;
}

int LogError(const char* format, ...)
{
    static char utf8[2048], message[2048], record[4096];
    va_list args;
    va_start(args, format);
    int result = WriteRecord(LOG_ERROR, {utf8, message, sizeof message, record, sizeof record}, format, args);
    va_end(args);
    return result;
}

void LogConsolePrint(const char* record)
{
    // Records are Windows-1252; this platform's console expects UTF-8.
    std::fputs(Cp1252ToUtf8(record).c_str(), stdout);
    std::fflush(stdout);
}
