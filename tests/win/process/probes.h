#pragma once
// Child runs of this test program: started with "--proc-probe=<name>", the
// program does one thing before GoogleTest starts and exits (probes.cpp).
#include <windows.h>

#include <string>

namespace procprobes {

std::string SelfPath();
std::string ProbeCommand(const std::string& exe, const std::string& probe, const std::string& args);
std::string Hex(const std::string& bytes);

// A running window probe: a copy of this program showing a titled window
// that logs what reaches it to a file.
class WindowChild {
  public:
    // exe: where the copy of this program is put (its folder must exist).
    WindowChild(const std::string& exe, const std::string& title, const std::string& log,
                const std::string& extra = "");
    ~WindowChild();
    WindowChild(const WindowChild&) = delete;
    WindowChild& operator=(const WindowChild&) = delete;

    bool started() const { return window_ != nullptr; }
    DWORD pid() const { return pid_; }
    HWND window() const { return window_; }
    HANDLE process() const { return process_; }
    // Whether the process ends within ms; its exit code then.
    bool Ended(DWORD ms, DWORD* code = nullptr) const;

  private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
};

// Waits up to ms for the file to contain text.
bool WaitForText(const std::string& file, const std::string& text, DWORD ms);

} // namespace procprobes
