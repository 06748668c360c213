#pragma once
// Runs the real stub.exe on packages made with stubpack.exe, steers the
// stand-in engine through the environment, reads its record, and answers the
// stub's message boxes through their windows.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace setuptest {

using Env = std::vector<std::pair<std::string, std::string>>;
using Record = std::map<std::string, std::string>;

bool SameClass(const std::string& a, const std::string& b);

// stubpack.exe build --stub <dist>\stub.exe --payload payload --out out --quiet args.
bool Pack(const std::string& payload, const std::string& out, const std::string& args);
// A payload folder with the stand-in engine and a readme.
void MakePayload(const std::string& folder);

// A "KMsgBox" window of any process: its title, text and buttons.
struct Box {
    HWND window = nullptr;
    std::string title, text;
    std::vector<std::pair<std::string, HWND>> buttons;
    // Clicks the button whose caption without "&" is caption; false if none.
    bool Press(const std::string& caption) const;
};
// The first visible "KMsgBox" window of process pid (0: of any process
// whose box text contains textPart), or an empty Box. Other programs share
// the Wine prefix, so boxes are never taken from them by accident.
Box FindBox(DWORD pid, const std::string& textPart = std::string());

struct StubRun {
    long exitCode = -1; // -1: did not end in time
    DWORD pid = 0;
    DWORD elapsedMs = 0;
    std::vector<Box> boxes; // as first seen
};
// Answers a box of the run's process (or, with boxText, any box that
// contains it); called once per new box. Null: every box is left alone.
using BoxAnswer = std::function<void(const Box&)>;

// Starts commandLine with env added, waits up to timeoutMs pumping this
// thread's messages; onTick runs every 20 ms while it runs.
StubRun RunStub(const std::string& commandLine, const Env& env, const BoxAnswer& answer,
                unsigned timeoutMs = 60000, const std::function<void(DWORD pid)>& onTick = nullptr,
                const std::string& boxText = std::string());
// Gives file a modification time of its own (now minus an offset unique to
// this process and call), so that setups made in the same second do not
// share a setup folder.
void GiveOwnTime(const std::string& file);

// The stand-in's record as key/value pairs; empty when there is none.
Record ReadRecord(const std::string& path);

// Temp folder + "SETUP_" + the DOS time-of-day of file.
std::string SetupFolderOf(const std::string& file);
bool Exists(const std::string& path);
// Waits up to ms for path to be gone.
bool GoneWithin(const std::string& path, unsigned ms);

// The debug channel of the stubs while it lives: a ".KDebug." window of this
// thread; RunStub pumps it.
class ConsoleCapture {
  public:
    ConsoleCapture();
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;
    std::string Text() const;

  private:
    HWND window_ = nullptr;
};

} // namespace setuptest
