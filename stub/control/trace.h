#pragma once
// The trace log: one time-stamped line per step of the auto-update agent,
// written to "X_" + executable name + ".log" beside the executable.
#include <windows.h>

#include <string>

// Set once by the entry: only an agent whose trailer asks for it traces.
void SetTraceEnabled(bool enabled);
bool TraceEnabled();
// Text between the thread id and the message; three blanks until changed.
void SetTraceIndent(const std::string& indent);
// Appends one line when tracing is enabled; failures are ignored.
void TraceLine(const char* message);
inline void TraceLine(const std::string& message) {
    TraceLine(message.c_str());
}
// Full path of the log, computed from the running executable on first use.
const std::string& TraceLogPath();

// The log path for an executable path: "X_" is put in front of the file name
// unless it already starts with it (case-sensitive), the extension becomes ".log".
std::string TraceLogPathFor(const std::string& exePath);
// "dd/mm/yy HH:NN:SS" with the given separators, a blank, the thread id
// right-aligned in 5 columns, the indent, the message and CR LF.
std::string FormatTraceLine(const SYSTEMTIME& time, DWORD threadId, const std::string& indent,
                            const std::string& message, const std::string& dateSeparator,
                            const std::string& timeSeparator);
