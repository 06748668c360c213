#include "vetter/api/console_writer.h"

#include "vetter/api/proc.h"

#include <cstdarg>
#include <cstring>

namespace vetter {

namespace {
using AttachConsoleFn = BOOL(WINAPI*)(DWORD);
}

ConsoleWriter::ConsoleWriter(bool mayAllocate, const char* title) {
    HMODULE kernel = GetModuleHandleA("kernel32");
    if (kernel) {
        auto attach = ProcAddress<AttachConsoleFn>(kernel, "AttachConsole");
        if (attach && !attach(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) {
            if (!attach(GetCurrentProcessId()) && GetLastError() != ERROR_ACCESS_DENIED &&
                mayAllocate)
                AllocConsole();
        }
    } else if (mayAllocate) {
        AllocConsole();
    }
    out_ = GetStdHandle(STD_OUTPUT_HANDLE);
    if (title && *title) SetConsoleTitleA(title);
}

ConsoleWriter::~ConsoleWriter() {
    FreeConsole();
}

DWORD ConsoleWriter::Write(const char* text) {
    if (!text || out_ == INVALID_HANDLE_VALUE || out_ == nullptr) return 0;
    DWORD written = 0;
    // A console handle that went away makes the write fail, which is ignored.
    if (!WriteConsoleA(out_, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr))
        return 0;
    return written;
}

DWORD ConsoleWriter::WriteFormatted(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    wvsprintfA(buffer, format, args); // writes at most 1024 bytes
    va_end(args);
    return Write(buffer);
}

} // namespace vetter
