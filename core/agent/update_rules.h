#pragma once
// Rules of applying an update and of showing a notice: the texts, the
// confirmation and finish choices, the shutdown methods, the running state,
// the notice file's fields and the notice window's layout.
#include <cstdint>
#include <string>

namespace agent {

// Replaces every "PROG_NAME" in text by name.
std::string WithProgramName(const std::string& text, const std::string& name);

// The offer before the download: s11 followed by s13 (confirmation before
// installing follows) or s12; with the download force flag s19 or s18.
struct OfferTexts {
    std::string s11, s12, s13, s18, s19;
};
std::string OfferText(const OfferTexts& texts, bool confirmInstall, bool downloadForce);

// How a confirmation is made: not at all (no flag, or a user-requested
// check), shown as a notice that cannot be declined (force flag), or asked.
enum class Confirmation { None, Inform, Ask };
Confirmation ConfirmationOf(bool requested, bool force, int32_t checkMode);

// After the setup run: nothing, the finish notice, or the finish question
// whether to restart the product.
enum class Finish { None, Inform, AskRestart };
Finish FinishOf(bool installed, bool informFinish, int32_t checkMode, bool restart);

enum class ShutDownMethod { AskUser, WmClose, WmQuit, Terminate, DontShutDown, Other };
// Compared exactly.
ShutDownMethod ShutDownMethodOf(const std::string& value);
// Every method but "Don't Shut Down" waits for the product to end.
bool WaitsAfterShutDown(ShutDownMethod method);

// Running state: 0 not running, 1 running when the shutdown began, 2 ended by it.
constexpr int kNotRunning = 0;
constexpr int kWasRunning = 1;
constexpr int kEndedByShutDown = 2;
int RunningStateAfterShutDown(int before, bool stillRunning);

// The notice file's marker of a scrambled file.
constexpr char kScrambledMarker[] = "Scrambled=01";
// Field 5: everything after the fourth "|"; empty when there are fewer.
std::string NoticeText(const std::string& content);

// Face of the notice text: "Verdana" unless a font other than "Tahoma" is named.
std::string NoticeTextFace(const std::string& fontName);
constexpr int kNoticeTextFontHeight = 15;
constexpr int kNoticeDefaultSize = 360;

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};
struct NoticeLayout {
    Rect text;
    Rect button;    // empty without an address
    int lineY = -1; // the separating line, -1 without an address
};
NoticeLayout NoticeLayoutFor(int clientWidth, int clientHeight, bool hasAddress);

} // namespace agent
