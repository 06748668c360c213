#pragma once
// Child runs of this test program: started with "--util-probe=<name>", the
// program does one thing before GoogleTest starts and exits (probes.cpp).
#include <string>

namespace probes {

// This program's path, and a command line that runs it as the named probe.
std::string SelfPath();
std::string ProbeCommand(const std::string& exe, const std::string& probe, const std::string& args);

// Standard output of the calling process goes to a file while it lives.
class CaptureStdout {
  public:
    explicit CaptureStdout(const std::string& file);
    ~CaptureStdout();
    CaptureStdout(const CaptureStdout&) = delete;
    CaptureStdout& operator=(const CaptureStdout&) = delete;

  private:
    int saved_ = -1;
};

} // namespace probes
