#include "stub/control/trace.h"

#include "stub/util/handles.h"

#include <cstdio>

namespace {

bool g_traceEnabled = false;
std::string g_traceIndent = "   ";

std::string ModulePath() {
    std::string path(260, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, &path[0], DWORD(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string LocaleText(LCTYPE type, const char* fallback) {
    char buf[16];
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
    return n > 1 ? std::string(buf, size_t(n - 1)) : std::string(fallback);
}

} // namespace

void SetTraceEnabled(bool enabled) {
    g_traceEnabled = enabled;
}
bool TraceEnabled() {
    return g_traceEnabled;
}
void SetTraceIndent(const std::string& indent) {
    g_traceIndent = indent;
}

std::string TraceLogPathFor(const std::string& exePath) {
    size_t slash = exePath.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string() : exePath.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    if (name.compare(0, 2, "X_") != 0) name = "X_" + name;
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return folder + name + ".log";
}

const std::string& TraceLogPath() {
    static const std::string path = TraceLogPathFor(ModulePath());
    return path;
}

std::string FormatTraceLine(const SYSTEMTIME& t, DWORD threadId, const std::string& indent,
                            const std::string& message, const std::string& dateSeparator,
                            const std::string& timeSeparator) {
    char date[16], clock[16], id[16];
    std::snprintf(date, sizeof date, "%02u", unsigned(t.wDay));
    std::string line = date + dateSeparator;
    std::snprintf(date, sizeof date, "%02u", unsigned(t.wMonth));
    line += date + dateSeparator;
    std::snprintf(date, sizeof date, "%02u", unsigned(t.wYear % 100));
    line += date;
    std::snprintf(clock, sizeof clock, " %02u", unsigned(t.wHour));
    line += clock + timeSeparator;
    std::snprintf(clock, sizeof clock, "%02u", unsigned(t.wMinute));
    line += clock + timeSeparator;
    std::snprintf(clock, sizeof clock, "%02u", unsigned(t.wSecond));
    line += clock;
    std::snprintf(id, sizeof id, " %5lu", static_cast<unsigned long>(threadId));
    return line + id + indent + message + "\r\n";
}

void TraceLine(const char* message) {
    if (!g_traceEnabled) return;
    try {
        SYSTEMTIME now;
        GetLocalTime(&now);
        std::string line =
            FormatTraceLine(now, GetCurrentThreadId(), g_traceIndent, message ? message : "",
                            LocaleText(LOCALE_SDATE, "/"), LocaleText(LOCALE_STIME, ":"));
        win::File f(CreateFileA(TraceLogPath().c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f) return;
        LARGE_INTEGER zero{};
        if (!SetFilePointerEx(f.get(), zero, nullptr, FILE_END)) return;
        DWORD written = 0;
        WriteFile(f.get(), line.data(), DWORD(line.size()), &written, nullptr);
    } catch (...) {
        // A trace that cannot be written is dropped.
    }
}
