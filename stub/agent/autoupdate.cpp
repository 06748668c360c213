#include "stub/agent/autoupdate.h"

#include "core/agent/update_rules.h"
#include "core/util/numbers.h"
#include "core/util/text.h"
#include "stub/agent/descriptors.h"
#include "stub/agent/processviewer.h"
#include "stub/agent/stubau.h"
#include "stub/control/entry.h"
#include "stub/control/mainwin.h"
#include "stub/control/progress.h"
#include "stub/control/trace.h"
#include "stub/paths/macros.h"
#include "stub/setup/stubsetup.h"
#include "stub/ui/kdebug.h"
#include "stub/ui/kmsgbox.h"
#include "stub/util/files.h"
#include "stub/util/paths.h"
#include "stub/util/utils.h"

#include <windows.h>

namespace autoupdate {

namespace {

Boxes g_boxes;

void Debug(const std::string& text) {
    ConsoleLine(std::to_string(GetCurrentProcessId()) + text);
}

bool Confirm(int owner, const std::string& text) {
    const std::string caption = agent::original::Confirm();
    if (g_boxes.confirmYesNo) return g_boxes.confirmYesNo(owner, text, caption);
    return ConfirmYesNo(static_cast<MsgOwner>(owner), text, caption, 0, agent::original::CharSet(),
                        agent::original::BtnText());
}

void Warning(int owner, const std::string& text) {
    const std::string caption = agent::original::Attention();
    if (g_boxes.warningMsg) return g_boxes.warningMsg(owner, text, caption);
    WarningMsg(static_cast<MsgOwner>(owner), text, caption, 0, agent::original::CharSet(),
               agent::original::BtnText());
}

// Inform: a notice the user cannot decline; Ask: the answer; None: go on.
bool Confirmed(agent::Confirmation how, const std::string& text) {
    switch (how) {
    case agent::Confirmation::Inform:
        Warning(2, text);
        return true;
    case agent::Confirmation::Ask:
        return Confirm(0, text);
    case agent::Confirmation::None:
        break;
    }
    return true;
}

std::string FileNamePart(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Quoted, so that a folder with blanks cannot be taken for another program.
void StartProgram(const std::string& path, const std::string& arguments, int show) {
    const std::string command = "\"" + path + "\"" + arguments;
    WinExec(command.c_str(), static_cast<UINT>(show));
}

// Returns the running state after the shutdown.
int ShutDownProduct(const std::string& target, int running) {
    const std::string methodText = agent::info::ShutDownMethod();
    const agent::ShutDownMethod method = agent::ShutDownMethodOf(methodText);
    TraceLine("Shut Down Process() - START  (" + target + ")  Method: " + methodText);
    if (method == agent::ShutDownMethod::AskUser) {
        const std::string text =
            agent::WithProgramName(agent::AgentText("s15", ""), FileNamePart(target));
        ConsoleLine("s1=" + text + "<");
        while (IsProcessRunning(target))
            Warning(0, text);
    }
    Debug(" ==== PerformAutoUpdate-8 ====");
    switch (method) {
    case agent::ShutDownMethod::WmClose:
        CloseProcessWindow(target, true, 0);
        break;
    case agent::ShutDownMethod::WmQuit:
        QuitProcessWindow(target, true);
        break;
    case agent::ShutDownMethod::Terminate:
        TerminateProcessByPath(target, true);
        break;
    default:
        break;
    }
    if (agent::WaitsAfterShutDown(method)) WaitProcessEnd(target, 0);
    Debug(" ==== PerformAutoUpdate-9 ====");
    TraceLine("Shut Down Process() - END");
    return agent::RunningStateAfterShutDown(running, IsProcessRunning(target));
}

} // namespace

void SetBoxes(const Boxes& boxes) {
    g_boxes = boxes;
}

std::string RestartCommand() {
    return "\"" + ExeDir(true) + Trim(entry::PackageInfo().AgentName()) +
           "\" /_ZZ=99 /WAIT=10 /TRANSIENT=" + agent::MakeOverrideList();
}

} // namespace autoupdate

bool PerformAutoUpdate() {
    using namespace autoupdate;
    stubau::AgentStateData& state = stubau::State();
    TraceLine("PerformAutoUpdate() - START");
    bool installed = false;
    Debug(" ==== PerformAutoUpdate-4 ====");
    const std::string source = agent::info::DownloadURL_UPDATE();
    const std::string updateName = agent::info::NameOfUpdateFile();
    const std::string programName = agent::info::ProgramName();
    if (!source.empty() && !updateName.empty()) {
        Debug(" ==== PerformAutoUpdate-5 ====");
        agent::OfferTexts texts{agent::AgentText("s11", ""), agent::AgentText("s12", ""),
                                agent::AgentText("s13", ""), agent::AgentText("s18", ""),
                                agent::AgentText("s19", "")};
        const std::string offer = agent::WithProgramName(
            agent::OfferText(texts, agent::info::RequestConfirmationBeforeInstall(),
                             agent::info::RequestConfirmationBeforeDownloadForce()),
            programName);
        bool proceed =
            Confirmed(agent::ConfirmationOf(agent::info::RequestConfirmationBeforeDownload(),
                                            agent::info::RequestConfirmationBeforeDownloadForce(),
                                            state.CheckMode),
                      offer);
        WaitPumping(0, 500);
        if (proceed) {
            Debug(" ==== PerformAutoUpdate-6 ====");
            state.AgentState = 2;
            RelayMessage(relay::kFileDownload, relay::kBefore);
            std::string error;
            const bool downloaded = stubau::DownloadFileAU(source, updateName, 2, error);
            RelayMessage(relay::kFileDownload, relay::kAfter);

            const bool installForce = agent::info::RequestConfirmationBeforeInstallForce();
            const std::string question = agent::WithProgramName(
                agent::AgentText(installForce ? "s20" : "s14", ""), programName);
            proceed =
                downloaded &&
                Confirmed(agent::ConfirmationOf(agent::info::RequestConfirmationBeforeInstall(),
                                                installForce, state.CheckMode),
                          question);
            WaitPumping(0, 100);
            const std::string setupFile = ExeDir(true) + FileNamePart(updateName);
            if (proceed) {
                Debug(" ==== PerformAutoUpdate-7 ====");
                SetInstallationFolders(agent::original::TargetDir(), agent::original::SharedDir(),
                                       agent::original::AuxiliaryDir());
                const std::string target = ExpandMacros(agent::info::RunningProcess(), "\\");
                int running = IsProcessRunning(target) ? agent::kWasRunning : agent::kNotRunning;
                running = ShutDownProduct(target, running);
                const bool restart =
                    agent::info::RestartProcess() && running == agent::kEndedByShutDown;

                const std::string arguments =
                    "/OriginalInfoFile=\"" + agent::UpdateDescriptorPath() + "\"";
                state.AgentState = 3;
                RelayMessage(relay::kUpdateRun, relay::kBefore);
                Debug(" ==== PerformAutoUpdate-10 ====");
                installed =
                    SetupRun(SetupFolder(), setupFile, Trim(entry::PackageInfo().AgentName()),
                             !agent::info::BackgroundUpdate(), arguments);
                DeleteTree(SetupFolder(), false, nullptr);
                Debug(" ==== PerformAutoUpdate-11 ====");
                RelayMessage(relay::kUpdateRun, relay::kAfter);

                if (installed) agent::original::WriteVersionOriginal(agent::info::VersionNew());
                DeleteFileA(setupFile.c_str());

                const std::string finish =
                    agent::WithProgramName(agent::AgentText("s16", ""), programName);
                bool runAgain = true;
                switch (agent::FinishOf(installed, agent::info::InformFinish(), state.CheckMode,
                                        restart)) {
                case agent::Finish::AskRestart:
                    runAgain = Confirm(1, finish + agent::AgentText("s17", ""));
                    break;
                case agent::Finish::Inform:
                    Warning(1, finish);
                    break;
                case agent::Finish::None:
                    break;
                }
                Debug(" ==== PerformAutoUpdate-12 ====");
                ConsoleLine(BoolText(restart) + " " + BoolText(runAgain) + " >" + target + "<");
                if (restart && runAgain) StartProgram(target, "", SW_SHOW);
            }
        }
    }
    Debug(" ==== PerformAutoUpdate-13 ====");
    TraceLine("PerformAutoUpdate() - END    Result=" + BoolText(installed));
    return installed;
}

void ReStartAutoUpdateExe() {
    TraceLine(".. ReStartAutoUpdateExe() - Start");
    if (stubau::State().StopCountdown <= 0) {
        const std::string command = autoupdate::RestartCommand();
        TraceLine(".. WinExec - " + command);
        WinExec(command.c_str(), SW_HIDE);
        WaitPumping(0, 1000);
        TraceLine(".. PostMessage(WM_DESTROY)");
        if (HWND window = mainwin::MainWindow()) PostMessageA(window, WM_DESTROY, 0, 0);
    }
    TraceLine(".. ReStartAutoUpdateExe() - End");
}
