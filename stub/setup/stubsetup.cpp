#include "stub/setup/stubsetup.h"

#include "core/control/setupline.h"
#include "core/lang/langstrings.h"
#include "core/util/numbers.h"
#include "core/util/text.h"
#include "stub/control/entry.h"
#include "stub/control/mainwin.h"
#include "stub/control/progress.h"
#include "stub/lang/langstrings.h"
#include "stub/package/unpack.h"
#include "stub/package/win_file_source.h"
#include "stub/ui/kdebug.h"
#include "stub/ui/kmsgbox.h"
#include "stub/util/files.h"
#include "stub/util/handles.h"
#include "stub/util/paths.h"
#include "stub/util/registry.h"
#include "stub/util/utils.h"

#include <vector>

namespace {

constexpr char kSetupFolderPrefix[] = "SETUP_";
constexpr char kSpanDiskKey[] = "HKEY_CURRENT_USER\\Software\\Kolvane\\Tarnix\\SpanDisk";
constexpr char kForcePromptValue[] = "ForcePrompt";
constexpr int kRandomLow = 10000;
constexpr int kRandomHigh = 100000;
constexpr char kProbeFile[] = "\\~aa.tmp";
constexpr int kEnginePollMs = 500;
constexpr int kDialogPollMs = 100;

struct State {
    bool setupFolderMade = false;
    std::string setupFolder;
    bool altRootMade = false;
    std::string altRoot;
    bool altFolderMade = false;
    std::string altFolder;
    void (*webDownload)(const std::string&) = nullptr;
    std::string (*descriptor)(const std::string&, const std::string&) = nullptr;
};

State& S() {
    static State state;
    return state;
}

std::string Pid() {
    return std::to_string(GetCurrentProcessId());
}

bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates folder and its missing parents; true when it exists afterwards.
bool MakeFolder(const std::string& folder) {
    const std::string f = PathSlash(folder, false);
    if (f.empty()) return false;
    for (size_t at = f.find('\\', 3); at != std::string::npos; at = f.find('\\', at + 1))
        CreateDirectoryA(f.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(f.c_str(), nullptr);
    return IsFolder(f);
}

// Removed with its contents first when it exists, then made anew.
std::string FreshFolder(const std::string& folder) {
    if (IsFolder(folder)) DeleteTree(folder, true, nullptr);
    if (!MakeFolder(folder))
        ConsoleLine(Pid() + " Cannot create " + folder + ": " + LastErrorText());
    return folder;
}

// Low word of the running file's DOS modification date-time (its time part).
unsigned ExeDosTime() {
    WIN32_FILE_ATTRIBUTE_DATA attr{};
    if (!GetFileAttributesExA(ExePath(false).c_str(), GetFileExInfoStandard, &attr)) return 0;
    FILETIME local{};
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&attr.ftLastWriteTime, &local) ||
        !FileTimeToDosDateTime(&local, &date, &time))
        return 0;
    return time;
}

std::string Descriptor(const std::string& section, const std::string& key) {
    return S().descriptor ? S().descriptor(section, key) : std::string();
}

void RemoveShortcut(const char* removeKey, const std::string& link) {
    if (Descriptor("NewSetup", removeKey) == "1" && !link.empty() && IsFile(link))
        DeleteFileA(link.c_str());
}

} // namespace

const std::string& SetupFolder() {
    State& s = S();
    if (!s.setupFolderMade) {
        s.setupFolderMade = true;
        s.setupFolder =
            FreshFolder(TempDir(true) + kSetupFolderPrefix + std::to_string(ExeDosTime()));
    }
    return s.setupFolder;
}

void RemoveSetupFolder() {
    if (S().setupFolderMade) DeleteTree(S().setupFolder, true, nullptr);
}

const std::string& AltTempRoot() {
    State& s = S();
    if (s.altRootMade) return s.altRoot;
    s.altRootMade = true;
    const char letters[] = {'C', 'D', 'E'};
    double noted[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const std::string root = std::string(1, letters[i]) + ":\\";
        if (GetDriveTypeA(root.c_str()) != DRIVE_FIXED) continue;
        std::string folder = std::string(1, letters[i]) + ":\\TEMP";
        // An existing TEMP folder is left alone: the probe goes below it.
        if (IsFolder(folder))
            folder += "\\TEMP" + std::to_string(RandomBetween(kRandomLow, kRandomHigh));
        MakeFolder(folder);
        const std::string probe = folder + kProbeFile;
        WriteFileText(probe, "aa", 0, false, nullptr);
        if (IsFile(probe)) noted[i] = DiskFree(folder);
        DeleteTree(folder, true, nullptr);
    }
    const std::string temp = TempDir(true);
    const char t = temp.empty() ? '\0' : UpperChar(temp[0]);
    char best = t;
    double most = 0;
    for (int i = 0; i < 3; ++i) {
        if (noted[i] > most) {
            most = noted[i];
            best = letters[i];
        }
    }
    if (best != t) {
        s.altRoot = std::string(1, best) + ":\\TEMP";
        if (IsFolder(s.altRoot)) s.altRoot += "\\TEMP";
    }
    return s.altRoot;
}

const std::string& AltSetupFolder() {
    State& s = S();
    if (!s.altFolderMade) {
        s.altFolderMade = true;
        const std::string& root = AltTempRoot();
        if (!root.empty())
            s.altFolder =
                FreshFolder(root + "_" + std::to_string(RandomBetween(kRandomLow, kRandomHigh)));
    }
    return s.altFolder;
}

std::string ThreadToken() {
    return setupline::ThreadTokenFor(GetCurrentThreadId());
}

bool ForcePrompt() {
    return RegReadString(kSpanDiskKey, kForcePromptValue, "0") == "1";
}

double SpaceRequired(const package::TGFileInfo& pkg, const std::string& folder) {
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    uint32_t cluster = 0;
    const std::string root = folder.substr(0, 3);
    if (!root.empty() &&
        GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &clusters))
        cluster = sectors * bytes;
    return pkg.SpaceRequiredForCluster(cluster);
}

bool SpaceCheck(const std::string& targetFolder, const package::TGFileInfo& pkg) {
    const double required = SpaceRequired(pkg, targetFolder);
    const double available = DiskFree(targetFolder);
    const setupline::SpaceTexts texts{
        GetLangString(pkg, lang::kSpaceIntro), GetLangString(pkg, lang::kSpaceShort),
        GetLangString(pkg, lang::kSpaceRequired), GetLangString(pkg, lang::kSpaceAvailable),
        GetLangString(pkg, lang::kSpaceContinue)};
    const std::string message =
        setupline::SpaceQuestion(texts, pkg.AlwaysShowSpaceMessage(), targetFolder, required,
                                 available, LocaleDecimalSeparator());
    if (message.empty()) return true;
    return ConfirmYesNo(0, message, GetLangString(pkg, lang::kConfirm), 0, LangCharset(pkg),
                        GetLangString(pkg, lang::kButtons));
}

bool SetupRun(const std::string& targetFolder, const std::string& packageFile,
              const std::string& agentCopyName, bool foreground, const std::string& arguments) {
    const package::TGFileInfo pkg = package::ReadPackageInfo(packageFile);
    bool carryOn = true;
    bool result = false;
    if (pkg.ShowActivityBar()) mainwin::ShowActivityBar(true);
    mainwin::SetStatusText(GetLangString(pkg, lang::kExtracting), LangFontName(pkg),
                           LangCharset(pkg), LangFontSize(pkg));

    std::string target = targetFolder;
    if ((!IsFolder(target) || !(SpaceRequired(pkg, target) < DiskFree(target))) &&
        !AltTempRoot().empty())
        target = AltSetupFolder();

    ConsoleLine(std::string("========= ForegroundOp=") + BoolText(foreground) + " ==========");
    if (foreground) carryOn = SpaceCheck(target, pkg);

    if (carryOn) {
        const std::string diskPrompt = GetLangString(pkg, lang::kInsertDisk);
        const std::string title = GetLangString(pkg, lang::kAttention);
        const std::string buttons = GetLangString(pkg, lang::kButtons);
        const int charset = LangCharset(pkg);
        if (foreground) mainwin::ShowMainWindow(true);
        WaitPumping(1, 1000);
        bool checkPassed = false;
        std::string runEntry;
        const std::string error =
            Extract(packageFile, target, agentCopyName, checkPassed, ProgressRelay, diskPrompt,
                    title, buttons, charset, ForcePrompt(), runEntry);
        if (!error.empty()) ConsoleLine(Pid() + " " + error);
        WaitPumping(0, 1000);

        if (!runEntry.empty() && checkPassed) {
            const std::string token = ThreadToken();
            setupline::EngineCall call;
            call.targetFolder = target;
            call.runEntry = runEntry;
            call.arguments = arguments;
            call.threadToken = token;
            call.exePath = ExePath(false);
            call.isAgent = entry::IsAutoUpdateProg();
            std::string commandLine = setupline::EngineCommandLine(call);
            const std::string startUpLink = Descriptor("UnInstall", "StartUpLink");
            const std::string checkLink = Descriptor("UnInstall", "CheckforNewUpdateLink");
            ConsoleLine(Pid() + " ==== WinExec(Engine.exe) >>" + commandLine + "<<");

            const std::string atomName = setupline::kAtomPrefix + token;
            win::GlobalAtom atom(GlobalAddAtomA(atomName.c_str()));
            STARTUPINFOA si{};
            si.cb = sizeof si;
            si.dwFlags = STARTF_USESHOWWINDOW;
            si.wShowWindow = WORD(foreground ? SW_SHOW : SW_HIDE);
            PROCESS_INFORMATION pi{};
            std::vector<char> cl(commandLine.begin(), commandLine.end());
            cl.push_back('\0');
            const BOOL started = CreateProcessA(nullptr, cl.data(), nullptr, nullptr, FALSE, 0,
                                                nullptr, nullptr, &si, &pi);
            const DWORD startError = started ? 0 : GetLastError();
            win::Handle process(started ? pi.hProcess : nullptr);
            win::Handle thread(started ? pi.hThread : nullptr);
            mainwin::ShowMainWindow(false);
            WaitPumping(0, 1000);
            if (process) {
                // The handle, not the exit code, tells whether it runs: an
                // engine may well end with 259 (STILL_ACTIVE).
                while (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT)
                    WaitPumping(0, kEnginePollMs);
                DWORD code = 0;
                if (GetExitCodeProcess(process.get(), &code)) entry::SetProcessExitCode(code);
            } else {
                // Not left as 0: a caller must not take this for success.
                ConsoleLine(Pid() + " ==== Engine not started: " + ErrorText(startError));
                entry::SetProcessExitCode(startError);
            }
            const std::string dialogClass = setupline::kDialogClassPrefix + token;
            while (FindWindowA(dialogClass.c_str(), nullptr) != nullptr)
                PumpMessages(kDialogPollMs);
            WaitPumping(0, 1000);

            result = GlobalFindAtomA(atomName.c_str()) == 0;
            // The engine deleted it: its number may belong to another atom by now.
            if (result) atom.release();
            atom.reset();
            ConsoleLine(Pid() + " ==== SetupRun: atom taken=" + BoolText(result) +
                        " exit code=" + std::to_string(entry::ProcessExitCode()));
            if (result) {
                RemoveShortcut("RemoveStartUpShortcut", startUpLink);
                RemoveShortcut("RemoveCheckForNewUpdateShortcut", checkLink);
            }
        }
        if (!checkPassed)
            ErrorMsg(0, GetLangString(pkg, lang::kBadCrc), GetLangString(pkg, lang::kError),
                     charset, buttons);
    }
    if (!AltSetupFolder().empty()) DeleteTree(AltSetupFolder(), true, nullptr);
    return result;
}

void SetupStart(HWND window) {
    (void)window;
    mainwin::StopMainTimer();
    const package::TGFileInfo& self = entry::PackageInfo();
    const std::string agentCopy = self.WriteAgentCopy() ? self.AgentName() : std::string();
    if (self.IsWebDownload()) {
        if (S().webDownload) S().webDownload(agentCopy);
    } else {
        // A first-disk stub holds no payload itself; started in place (by
        // hand with "/SpanCdLvl=2" or another level) it reads its first part.
        const std::string own = self.IsFirstDisk() ? ExePath(false) + ".001" : ExePath(false);
        const std::string packageFile = Unquote(GetCmdValue("/SpanDiskFName1=", own), false);
        const std::string file = packageFile.empty() ? own : packageFile;
        const bool hidden = HasCmdWord("/hide") || self.RunHidden();
        SetupRun(SetupFolder(), file, agentCopy, !hidden, CommandTail());
    }
    RemoveSetupFolder();
    PostQuitMessage(0);
}

void SetWebDownloadSetup(void (*run)(const std::string& agentCopyName)) {
    S().webDownload = run;
}

void SetDescriptorReader(std::string (*read)(const std::string& section, const std::string& key)) {
    S().descriptor = read;
}
