#pragma once
// Packages made by hand or with the package writer, and recorders for what
// the extraction reports (progress events, prompts, messages, console lines).
#include "core/package/entry.h"
#include "core/package/format.h"
#include "stub/package/unpack.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace unpacktest {

// "MZ", "PE" at 256, zeros at 248..255, filler bytes after 512.
std::string Image(size_t size = 2048);
// A header block: positive length and its text.
std::string Block(const std::string& text);
// Entries: stored (negative length) and zlib-compressed.
std::string StoredEntry(const std::string& header, const std::string& content);
std::string ZEntry(const std::string& header, const std::string& content);
std::string Header(const std::string& name, uint32_t dosTime = 0);

extern const std::string kLanguageBlock;
extern const std::string kParameterBlock;

struct HandPackage {
    std::string image = Image();
    std::string blocks = Block(kLanguageBlock) + Block(kParameterBlock);
    std::string entries;
    package::PackageTrailer trailer;
    uint32_t fileCount = 0;
    bool computeCheck = false; // else the unchecked value 1234
    // The file: image, blocks, entries, trailer (block count 2, start after the image).
    std::string Bytes() const;
};

struct ProgressEvent {
    int32_t kind, reserved, maximum, position, step;
};
std::vector<ProgressEvent>& ProgressLog();
void RecordProgress(int32_t kind, int32_t reserved, int32_t maximum, int32_t position, int32_t step,
                    const std::string& text);

// Replaces the extraction's prompts and messages while it lives.
class FakeUi {
  public:
    FakeUi();
    ~FakeUi();
    FakeUi(const FakeUi&) = delete;
    FakeUi& operator=(const FakeUi&) = delete;

    // Answers of the disk prompts in order; further prompts answer Cancel.
    std::vector<bool> answers;
    // Called with the prompt number (1-based) before the answer is given.
    std::function<void(int)> onPrompt;
    std::vector<std::string> prompts, promptTitles, errors;
    int ejects = 0, autoPlayEnabled = 0;
    std::string ejectPath;

  private:
    static FakeUi* current_;
    static bool Confirm(const std::string&, const std::string&, int, const std::string&);
    static void Error(const std::string&, int, const std::string&);
    static void AutoPlay(bool);
    static bool Eject(const std::string&);
};

// A ".KDebug." viewer window in this thread: collects the debug channel.
class ConsoleCapture {
  public:
    ConsoleCapture();
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;
    std::string Text() const;
    std::vector<std::string> Lines() const;

  private:
    HWND window_ = nullptr;
};

struct ExtractOutcome {
    std::string error, runEntry;
    bool checkPassed = false;
};
ExtractOutcome RunExtract(const std::string& package, const std::string& target,
                          const std::string& agentName = "", bool forcePrompt = false);

// The last-write time of a file as a packed DOS date and time (local time).
uint32_t FileDosTime(const std::string& path);
bool Exists(const std::string& path);
// Names in a folder, "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& folder);

} // namespace unpacktest
