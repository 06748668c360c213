#include "core/agent/update_rules.h"

#include "core/util/text.h"

namespace agent {

namespace {
constexpr int kTextLeft = 3;
constexpr int kButtonArea = 43;
constexpr int kButtonWidth = 160;
constexpr int kButtonHeight = 25;
constexpr int kButtonFromBottom = 33;
} // namespace

std::string WithProgramName(const std::string& text, const std::string& name) {
    return ReplaceText(text, "PROG_NAME", name);
}

std::string OfferText(const OfferTexts& t, bool confirmInstall, bool downloadForce) {
    if (downloadForce) return t.s11 + (confirmInstall ? t.s19 : t.s18);
    return t.s11 + (confirmInstall ? t.s13 : t.s12);
}

Confirmation ConfirmationOf(bool requested, bool force, int32_t checkMode) {
    if (!requested || checkMode == 1) return Confirmation::None;
    return force ? Confirmation::Inform : Confirmation::Ask;
}

Finish FinishOf(bool installed, bool informFinish, int32_t checkMode, bool restart) {
    if (!installed || !(informFinish || checkMode == 1)) return Finish::None;
    return restart ? Finish::AskRestart : Finish::Inform;
}

ShutDownMethod ShutDownMethodOf(const std::string& value) {
    if (value == "Issue a Message Box") return ShutDownMethod::AskUser;
    if (value == "Using WM_CLOSE") return ShutDownMethod::WmClose;
    if (value == "Using WM_QUIT") return ShutDownMethod::WmQuit;
    if (value == "Using Terminate Process") return ShutDownMethod::Terminate;
    if (value == "Don't Shut Down") return ShutDownMethod::DontShutDown;
    return ShutDownMethod::Other;
}

bool WaitsAfterShutDown(ShutDownMethod method) {
    return method != ShutDownMethod::DontShutDown;
}

int RunningStateAfterShutDown(int before, bool stillRunning) {
    return before == kWasRunning && !stillRunning ? kEndedByShutDown : before;
}

std::string NoticeText(const std::string& content) {
    size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        at = content.find('|', at);
        if (at == std::string::npos) return std::string();
        ++at;
    }
    return content.substr(at);
}

std::string NoticeTextFace(const std::string& fontName) {
    if (fontName.empty() || fontName == "Tahoma") return "Verdana";
    return fontName;
}

NoticeLayout NoticeLayoutFor(int clientWidth, int clientHeight, bool hasAddress) {
    NoticeLayout l;
    l.text = {kTextLeft, 0, clientWidth - kTextLeft,
              hasAddress ? clientHeight - kButtonArea : clientHeight};
    if (hasAddress) {
        l.button = {(clientWidth - kButtonWidth) / 2, clientHeight - kButtonFromBottom,
                    kButtonWidth, kButtonHeight};
        l.lineY = clientHeight - kButtonArea;
    }
    return l;
}

} // namespace agent
