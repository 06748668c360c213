#include "stub/agent/stubau.h"

#include "core/agent/check_rules.h"
#include "core/util/dates.h"
#include "core/util/numbers.h"
#include "core/util/regtext.h"
#include "core/util/switches.h"
#include "core/util/text.h"
#include "stub/agent/descriptors.h"
#include "stub/control/mainwin.h"
#include "stub/control/progress.h"
#include "stub/control/trace.h"
#include "stub/net/commutils.h"
#include "stub/net/inethttp.h"
#include "stub/package/win_file_source.h"
#include "stub/ui/kdebug.h"
#include "stub/ui/kmsgbox.h"
#include "stub/util/files.h"
#include "stub/util/paths.h"
#include "stub/util/registry.h"
#include "stub/util/utils.h"

#include "core/package/token.h"

#include <windows.h>

namespace stubau {

namespace {

AgentConfig g_config;
AgentStateData g_state;
HandOvers g_handOvers;
Boxes g_boxes;
std::function<uint32_t()> g_ticks;

std::string Pid() {
    return std::to_string(GetCurrentProcessId());
}

void Debug(const std::string& text) {
    ConsoleLine(Pid() + text);
}

std::string FileNamePart(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Confirm(const std::string& text) {
    if (g_boxes.confirmYesNo) return g_boxes.confirmYesNo(text, agent::original::Confirm());
    return ConfirmYesNo(1, text, agent::original::Confirm(), 0, agent::original::CharSet(),
                        agent::original::BtnText());
}

void Error(const std::string& text) {
    if (g_boxes.errorMsg) return g_boxes.errorMsg(text, agent::original::Error());
    ErrorMsg(0, text, agent::original::Error(), agent::original::CharSet(),
             agent::original::BtnText());
}

void Warning(int owner, const std::string& text) {
    if (g_boxes.warningMsg) return g_boxes.warningMsg(owner, text, agent::original::Attention());
    WarningMsg(static_cast<MsgOwner>(owner), text, agent::original::Attention(), 0,
               agent::original::CharSet(), agent::original::BtnText());
}

uint32_t Ticks() {
    return g_ticks ? g_ticks() : GetTickCount();
}

std::string DescriptorPath() {
    return agent::UpdateDescriptorPath();
}

} // namespace

void SetAgentConfig(const AgentConfig& config) {
    g_config = config;
    agent::SetDescriptorItem(config.descriptorItem);
}

AgentStateData& State() {
    return g_state;
}

void ResetState() {
    g_state = AgentStateData();
}

void SetHandOvers(const HandOvers& handOvers) {
    g_handOvers = handOvers;
}

void SetBoxes(const Boxes& boxes) {
    g_boxes = boxes;
}

void SetTickSource(std::function<uint32_t()> ticks) {
    g_ticks = std::move(ticks);
}

bool CheckTestMode(bool force) {
    uint32_t now = Ticks();
    if (agent::TestModeReadDue(force, now, g_state.lastTestModeRead)) {
        std::string mode = RegReadString(kTestModeKey, "TestMode", "0");
        std::string date = RegReadString(kTestModeKey, "TestModeDate", "");
        g_state.TestModeURL = RegReadString(kTestModeKey, "TestModeURL", "");
        g_state.TestMode = agent::TestModeFor(mode, date, DateText(NowSerial()));
    }
    g_state.lastTestModeRead = now;
    return g_state.TestMode;
}

int32_t ShotTimeStatus() {
    agent::ShotInputs in;
    in.probeEnabled = g_state.ProbeEnabled;
    in.forceCheck = g_state.ForceCheck;
    in.testMode = g_state.TestMode;
    in.now = agent::NowSeconds();
    in.last = agent::original::ProbeSecondsLast();
    in.interval = agent::original::ProbeSecondsInterval();
    int32_t result = agent::ShotStatus(in);
    g_state.ForceCheck = false;
    return result;
}

void AskBeforeCheck(int32_t& status) {
    bool test = CheckTestMode(true);
    std::string source = test ? g_state.TestModeURL : g_config.updateLocation;
    std::string text = agent::CheckQuestionText(
        agent::AgentText("s22", ""), agent::AgentText("s23", ""), agent::AgentText("s24", ""),
        source, CheckTestMode(true), agent::original::ProgramName());
    if (!Confirm(text)) status = 0;
}

void AgentTimerTick() {
    if (g_state.tickBusy) return;
    g_state.tickBusy = true;
    if (g_state.JustDownloadInfo) {
        ConsoleLine("-------------- JustDownloadInfoFile ---------------");
        g_state.JustDownloadInfo = false;
        JustDownloadInfoFile();
    } else {
        SetMsgBoxFont(agent::original::FontName(), agent::original::FontSize(),
                      agent::original::CharSet());
        g_state.AgentState = 0;
        if (g_state.CheckMode == 2) g_state.CheckMode = 1;
        if (g_state.CheckMode == 1) g_state.TimerCount = 0;
        // The loop ends after this tick; the rest of the tick still runs.
        if (g_state.StopCountdown == 0) PostQuitMessage(0);
        if (g_state.StopCountdown >= 0) --g_state.StopCountdown;
        ++g_state.TimerCount;
        Debug(" AutoUpdateTimerCount=" + std::to_string(g_state.TimerCount));
        if (g_state.TimerCount > 0) {
            CheckTestMode(false);
            int32_t status = ShotTimeStatus();
            Debug(" ShotTimeStatus=" + std::to_string(status));
            if (status == 2) g_state.ProbeEnabled = false;
            if (status > 0 && (g_state.CheckMode == 1 || agent::ConfirmBeforeCheck()))
                AskBeforeCheck(status);
            if (status > 0) PerformShot();
            if (g_state.CheckMode == 1) g_state.CheckMode = 0;
        }
    }
    g_state.AgentState = 0;
    g_state.tickBusy = false;
}

void PerformShot() {
    Debug(" Fire  " + DateTimeText(" ", NowSerial()));
    CheckTestMode(true);
    g_state.AgentState = 1;
    RelayMessage(relay::kDescriptorDownload, relay::kBefore);
    std::string error;
    bool fetched = DownloadFileAU(g_config.updateLocation, DescriptorPath(), 1, error);
    RelayMessage(relay::kDescriptorDownload, relay::kAfter);
    agent::original::WriteProbeSecondsLast(agent::NowSeconds());

    int32_t level = 0;
    std::string text;
    bool performed = GetOkToPerformAU(fetched, level, text);
    if (performed) {
        Debug(" ==== PerformShot-1 ====");
        agent::original::WriteReAskSecondsLast(agent::NowSeconds());
        agent::original::WriteStamp(agent::info::Stamp());
        if (agent::info::AutoInform() == 1) {
            if (g_handOvers.performAutoInform)
                g_handOvers.performAutoInform();
            else
                Debug(" PerformAutoInform() not available");
        } else if (g_handOvers.performAutoUpdate) {
            if (g_handOvers.performAutoUpdate() && g_handOvers.reStartAutoUpdateExe)
                g_handOvers.reStartAutoUpdateExe();
        } else {
            Debug(" PerformAutoUpdate() not available");
        }
        Debug(" ==== PerformShot-2 ====");
    }

    if (g_state.CheckMode == 1) {
        WaitPumping(0, 1000);
        mainwin::ShowMainWindow(false);
        if (!performed) {
            Debug(" TestMode=" + BoolText(g_state.TestMode) +
                  " InternetConnected=" + BoolText(IsInternetConnected()));
            std::string reason;
            if (!g_state.TestMode && !CheckInternetConnection(reason)) {
                std::string message = agent::AgentText("s2", "");
                if (!reason.empty()) message += "<P><P>" + reason;
                Error(message);
            } else if (!g_state.TestMode && !error.empty()) {
                Error(error);
            } else {
                std::string message = agent::AgentText("s21", "");
                if (IsDeveloperMode())
                    message += "<P><P>(" + std::to_string(level) + " - " + text + ")   ";
                Warning(1, message);
            }
        }
    }
}

bool GetOkToPerformAU(bool downloaded, int32_t& level, std::string& text) {
    agent::LadderFacts f;
    f.downloaded = downloaded;
    f.versionOriginal = agent::original::VersionOriginal();
    f.versionNew = agent::info::VersionNew();
    f.stampUpdate = agent::info::Stamp();
    f.stampBase = agent::original::Stamp();
    f.userRequested = g_state.CheckMode == 1;
    f.reAskDue = ReAskDue;
    f.validForVersion = IsValidForVersion;
    f.sizeMatches = [] {
        return CheckDownloadSize(agent::info::DownloadURL_UPDATE(), agent::info::NameOfUpdateFile(),
                                 agent::info::NameOfInformFile());
    };
    level = agent::LadderLevel(f);
    text = agent::LevelText(level);
    Debug(" GetOkToPerformAU=" + std::to_string(level));
    TraceLine("GetOkToPerformAU = " + std::to_string(level) + " - " + text);
    return level == agent::kLevelOk;
}

bool ReAskDue() {
    return agent::ReAskDueAt(agent::NowSeconds(), agent::original::ReAskSecondsInterval(),
                             agent::original::ReAskSecondsLast());
}

bool IsValidForVersion() {
    return agent::IsValidForVersionText(agent::info::ValidVersions(),
                                        agent::original::VersionOriginal());
}

bool CheckDownloadSize(const std::string& source, const std::string& updateName,
                       const std::string& informName) {
    int64_t expected = agent::info::SizeOfUpdateFile();
    std::string name = updateName;
    if (agent::info::AutoInform() == 1) {
        name = informName;
        expected = agent::info::SizeOfInformFile();
    }
    name = FileNamePart(name);
    std::string from = g_state.TestMode ? g_state.TestModeURL : source;
    int64_t actual = -1;
    std::string tested = from + "\\" + name;
    if (FileExists(tested)) {
        actual = static_cast<int32_t>(static_cast<uint32_t>(FileSizeByName(tested)));
    } else if (!g_state.TestMode && IsInternetConnected()) {
        tested = from + "/" + name;
        actual = HTTP_GetFileSize(tested);
    }
    if (agent::SizeWithinTolerance(actual, expected)) return true;
    TraceLine("  InfoSize=" + std::to_string(expected) + "  HttpSize=" + std::to_string(actual) +
              "  URL=" + tested);
    return false;
}

bool JustDownloadInfoFile() {
    RelayMessage(relay::kDescriptorDownload, relay::kBefore);
    std::string error;
    bool result = DownloadFileAU(g_config.updateLocation, DescriptorPath(), 1, error);
    RelayMessage(relay::kDescriptorDownload, relay::kAfter);
    return result;
}

bool CheckSecretToken(const std::string& file, int kind) {
    std::string theirs;
    if (kind == 2) {
        theirs = package::ReadPackageInfo(file).Token(false);
    } else {
        theirs = agent::NoticeToken(Unscramble(ReadFilePart(file, 0, 0)));
    }
    return package::TokensMatch(theirs, g_config.token);
}

bool DownloadFileAU(const std::string& sourceIn, const std::string& fileNameIn, int kind,
                    std::string& error) {
    error.clear();
    bool ok = false;
    std::string content;
    const std::string fileName = FileNamePart(fileNameIn);
    const std::string source = g_state.TestMode ? g_state.TestModeURL : sourceIn;
    std::string path = source + "\\" + fileName;
    Debug(" DownloadFileAU: " + path);
    TraceLine("TestMode=" + BoolText(g_state.TestMode));
    TraceLine("Download START: " + path);

    const bool show =
        kind == 2 && agent::info::RequestConfirmationBeforeDownload() && g_state.CheckMode == 1;
    if (show) mainwin::ShowMainWindow(true);
    agent::StatusText status = agent::DownloadStatusText(kind);
    mainwin::SetStatusText(agent::AgentText(status.key, status.def), agent::original::FontName(),
                           agent::original::CharSet(), agent::original::FontSize());

    const std::string target = kind == 1 ? std::string() : ExeDir(true) + fileName;
    // Whether this call produced the target: an older file of that name
    // must not pass for a download.
    bool produced = false;
    if (FileExists(path)) {
        content = ReadFilePart(path, 0, 0);
        if (kind != 1 && !content.empty()) {
            produced = WriteFileText(target, content, 0, false, nullptr);
            if (show) {
                ProgressRelay(0, 0, 10, 0, 1, "");
                for (int i = 0; i < 10; ++i) {
                    ProgressRelay(1, 0, 0, 0, 0, "");
                    WaitPumping(0, 300);
                }
                ProgressRelay(0, 0, 0, 0, 0, "");
            }
        }
    } else if (!g_state.TestMode && IsInternetConnected()) {
        WaitPumping(0, 500);
        path = source + "/" + fileName;
        SetDownloadAbort(false);
        HWND window = g_state.CheckMode == 1 ? mainwin::MainWindow() : nullptr;
        HTTP_DownloadFile_Incremental(window, path, target, content, &ProgBar(), error);
        produced = error.empty() && kind != 1 && FileExists(target);
        WaitPumping(0, 500);
    }
    if (show) mainwin::ShowMainWindow(false);
    TraceLine("Download END:   " + path);

    if (kind == 1) {
        if (error.empty() && !content.empty()) ErrorPageMessage("", content, path, "", error);
        ok = error.empty() && !content.empty();
        WriteFileText(ExeDir(true) + fileName, content, 0, false, nullptr);
        if (!error.empty() && error[0] == '3') error.clear();
    } else {
        // Nothing fetched (a missing file in test mode): no success and no
        // token message.
        if (error.empty() && produced) {
            ok = true;
            if (!CheckSecretToken(target, kind)) {
                ok = false;
                ErrorPageMessage(target, "", path, "Bad Secret Token!", error);
                DeleteFileA(target.c_str());
                TraceLine("ERROR: " + error);
                Error(error);
            }
        }
        if (!error.empty() && path.size() > 2 && agent::info::RequestConfirmationBeforeDownload()) {
            std::string message = agent::DownloadFailureText(
                DownloadAbort(), path, agent::AgentText("s3", "File Download Aborted!"),
                agent::AgentText("s4", "File not Found!"),
                agent::AgentText("s5", "Unable to Download File!"));
            TraceLine("ATTENTION: " + message);
            Warning(0, message);
        }
    }
    return ok;
}

} // namespace stubau
