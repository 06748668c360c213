#pragma once
// Decisions of the agent's check cycle as functions of their inputs: when a
// check is due, the six-level ladder with its result texts, the version list,
// the size tolerance, test mode, and the texts of the question and messages.
#include <cstdint>
#include <functional>
#include <string>

namespace agent {

// Item L names level L of the ladder.
constexpr char kResultList[] = "|Error downloading .INFO file|Error reading .ORIGINAL file"
                               "|Too early for retesting"
                               "|New version is not higher then old version"
                               "|\"Valid for version\" mismatch|Download file size error|OK|";
constexpr int kLevelOk = 6;
std::string LevelText(int level);

// The later tests are only asked for when the ladder reaches them: the size
// test may go to the network.
struct LadderFacts {
    bool downloaded = false;
    int32_t versionOriginal = 0;
    int32_t versionNew = 0;
    int32_t stampUpdate = 0;
    int32_t stampBase = 0;
    bool userRequested = false;
    std::function<bool()> reAskDue;
    std::function<bool()> validForVersion;
    std::function<bool()> sizeMatches;
};
int LadderLevel(const LadderFacts& facts);

// Empty list: every version. Textual: "3, 4" does not hold 4.
bool IsValidForVersionText(const std::string& list, int32_t versionOriginal);

constexpr int64_t kSizeTolerance = 100;
bool SizeWithinTolerance(int64_t actual, int64_t expected);

// a + b saturated at the int64 limits (interval values come from a file).
int64_t AddSaturated(int64_t a, int64_t b);
bool ReAskDueAt(int64_t now, int64_t interval, int64_t last);

constexpr int64_t kTestModeInterval = 5;
struct ShotInputs {
    bool probeEnabled = true;
    bool forceCheck = false;
    bool testMode = false;
    int64_t now = 0;
    int64_t last = 0;
    int64_t interval = 0; // ProbeSecondsInterval as the file has it
};
// 0 no check due, 1 due, 2 due and the single check of interval 0.
int ShotStatus(const ShotInputs& in);

constexpr uint32_t kTestModeRefreshMs = 30000;
// Unsigned tick arithmetic, as the tick counter wraps.
bool TestModeReadDue(bool force, uint32_t now, uint32_t lastRead);
// "1" and a date equal to today's "dd-MMM-yyyy".
bool TestModeFor(const std::string& mode, const std::string& date, const std::string& today);

constexpr char kTestModeNote[] =
    "<P><P><T><B>PLEASE NOTE</B> - You are now running in <B>Test Mode</B>!";
// The question before a check: a + b + c + note; b goes for a local source,
// the note outside test mode; "PROG_NAME" becomes programName.
std::string CheckQuestionText(const std::string& a, const std::string& b, const std::string& c,
                              const std::string& source, bool testMode,
                              const std::string& programName);

// A source shorter than 2 bytes or with ":" as its second byte.
bool IsLocalSource(const std::string& source);

// The warning after a failed update or notice download, from the texts s3,
// s4 and s5 (defaults applied by the caller).
std::string DownloadFailureText(bool aborted, const std::string& path, const std::string& s3,
                                const std::string& s4, const std::string& s5);

// Readable text of a downloaded kind: 1 descriptor, 2 update file, 3 notice.
struct StatusText {
    const char* key;
    const char* def;
};
StatusText DownloadStatusText(int kind);

// Field 2 of a notice file (after unscrambling): between the first and the
// second "|" (or the end); empty without a first "|".
std::string NoticeToken(const std::string& noticeText);

} // namespace agent
