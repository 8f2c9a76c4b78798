#pragma once
// Numbered log channels, each bound to a text file, with an optional print
// hook that receives every finished record (used to echo on the console).
//
// A record is one line: "%H:%M:%S:<ms> - message\n", where <ms> is the wall
// time elapsed since the process started, in milliseconds. Records are stored
// in Windows-1252; messages are given in UTF-8 (see Cp1252.h). Every record
// is flushed to its file as it is written.
//
// A channel writes at most a thousand records of one kind a minute, the
// kind being the format string (RecordLimiter.h); the rest of a flood is
// counted in one record "LogWrite -- N enregistrements semblables ..."
// when the minute is over (at the next record of the channel) or when the
// channel closes. The hook sees exactly what the file gets. A record held
// back returns 0.
//
// Not re-entrant: formatting uses static buffers, and a hook must not log.

enum { LOG_MAX_CHANNELS = 16 };
enum { LOG_ERROR = 0, LOG_DEBUG = 1 };

typedef void (*LogPrintHook)(const char* record);

void LogReset();
bool LogOpen(int channel, const char* fileName);
void LogClose(int channel);
void LogSetPrintHook(int channel, LogPrintHook hook);
int LogWrite(int channel, const char* format, ...) __attribute__((format(printf, 2, 3)));
int LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogConsolePrint(const char* record);
