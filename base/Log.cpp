#include "base/Log.h"

#include "base/Cp1252.h"
#include "base/RecordLimiter.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

struct LogChannel {
    bool open = false;
    FILE* file = nullptr;
    LogPrintHook hook = nullptr;
    CRecordLimiter limiter;  // kinds are format strings
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

double ElapsedSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - g_StartTime).count();
}

// Formats one record into the buffers, writes it and hands it to the hook,
// whatever the limiter says.
int WriteAnyRecord(LogChannel& slot, const RecordBuffers& buffers, const char* format, va_list args)
{
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

void WriteDroppedRecord(LogChannel& slot, const char* format, ...)
{
    static char utf8[4096], message[4096], record[4096];
    va_list args;
    va_start(args, format);
    WriteAnyRecord(slot, {utf8, message, sizeof message, record, sizeof record}, format, args);
    va_end(args);
}

// What the limiter held back, in one record per kind.
void WriteDropped(LogChannel& slot, const std::vector<CRecordLimiter::Dropped>& dropped)
{
    for (const CRecordLimiter::Dropped& d : dropped)
        WriteDroppedRecord(slot,
                           "LogWrite -- %lu enregistrements semblables non écrits en une minute (%lu au plus) : « %s »",
                           d.count, kMaxRecordsPerKind, d.kind.c_str());
}

// A record, unless its kind, the format string, has filled its minute. The
// format names the calling site and the wording; the arguments vary with
// every line of a flood, so they cannot tell two kinds apart.
int WriteRecord(int channel, const RecordBuffers& buffers, const char* format, va_list args)
{
    LogChannel& slot = g_Channels[channel];
    if (!slot.open)
        return -1;
    const double now = ElapsedSeconds();
    WriteDropped(slot, slot.limiter.Expired(now));
    if (!slot.limiter.Admit(format, now))
        return 0;
    return WriteAnyRecord(slot, buffers, format, args);
}

}  // namespace

void LogReset()
{
    for (LogChannel& slot : g_Channels)
        slot = LogChannel{};
}

bool LogOpen(int channel, const char* fileName)
{
    FILE* file = std::fopen(fileName, "w");
    if (!file)
        return false;
    g_Channels[channel] = LogChannel{true, file, nullptr, {}};
    return true;
}

void LogClose(int channel)
{
    LogChannel& slot = g_Channels[channel];
    if (!slot.open)
        return;
    WriteDropped(slot, slot.limiter.TakeAll());
    std::fclose(slot.file);
    slot = LogChannel{};
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
