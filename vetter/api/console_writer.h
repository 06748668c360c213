#pragma once
// The console of executions 4 and 5: attaches to the parent's console (or
// allocates one when allowed) and writes with WriteConsoleA.
#include <windows.h>

namespace vetter {

class ConsoleWriter {
  public:
    ConsoleWriter(bool mayAllocate, const char* title);
    ~ConsoleWriter();
    ConsoleWriter(const ConsoleWriter&) = delete;
    ConsoleWriter& operator=(const ConsoleWriter&) = delete;

    // Characters written; 0 without a console.
    DWORD Write(const char* text);
    DWORD WriteFormatted(const char* format, ...);

  private:
    HANDLE out_ = INVALID_HANDLE_VALUE;
};

} // namespace vetter
