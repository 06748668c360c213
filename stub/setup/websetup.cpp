#include "stub/setup/websetup.h"

#include "core/control/setupline.h"
#include "core/lang/langstrings.h"
#include "core/package/byte_source.h"
#include "core/package/tgfileinfo.h"
#include "core/package/trailer.h"
#include "core/util/numbers.h"
#include "core/util/text.h"
#include "stub/control/entry.h"
#include "stub/control/mainwin.h"
#include "stub/control/progress.h"
#include "stub/lang/langstrings.h"
#include "stub/net/commutils.h"
#include "stub/net/inethttp.h"
#include "stub/net/progbar.h"
#include "stub/package/win_file_source.h"
#include "stub/setup/stubsetup.h"
#include "stub/ui/kdebug.h"
#include "stub/ui/kmsgbox.h"
#include "stub/util/files.h"
#include "stub/util/handles.h"
#include "stub/util/paths.h"
#include "stub/util/utils.h"

#include <windows.h>

#include <memory>

namespace {

// More than this after the end pointer is package data, not a signature.
constexpr size_t kSignatureLimit = 10000;
// Offset from the end of the byte that marks an update agent (trailer byte 69).
constexpr size_t kAgentByteFromEnd = 5;
constexpr char kDeclined[] = "!";
constexpr char kBadToken[] = "Bad Secret Token!";
constexpr int kResetBarsMaximum = 10;

std::string Pid() {
    return std::to_string(GetCurrentProcessId());
}

bool IsFile(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The main window's close sets the main window's abort flag; the downloader
// reads its own. Every progress step carries the first over to the second,
// so a close during the transfer ends it after the current chunk.
void WebProgress(int32_t kind, int32_t reserved, int32_t maximum, int32_t position, int32_t step,
                 const std::string& text) {
    ProgressRelay(kind, reserved, maximum, position, step, text);
    if (mainwin::DownloadAborted()) SetDownloadAbort(true);
}

TProgBar& WebProgBar() {
    static TProgBar bar(WebProgress);
    return bar;
}

bool WriteAgentCopy(const std::string& path) {
    const std::string exe = ExePath(false);
    const std::string image = ReadFilePart(exe, 0, 0);
    if (image.empty()) return false;
    if (!WriteFileText(path, WebAgentCopyImage(image), 0, false, nullptr)) return false;
    WIN32_FILE_ATTRIBUTE_DATA attr{};
    if (!GetFileAttributesExA(exe.c_str(), GetFileExInfoStandard, &attr)) return false;
    win::File file(
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && SetFileTime(file.get(), nullptr, nullptr, &attr.ftLastWriteTime);
}

} // namespace

std::string WebAgentCopyImage(std::string image) {
    package::MemorySource src(image);
    const uint64_t end = package::ReadPackageEndPointer(src);
    // No end pointer (0) means nothing is known to follow the package.
    if (end > 0 && end < image.size() && image.size() - end < kSignatureLimit)
        image.resize(size_t(end));
    if (image.size() > kAgentByteFromEnd) image[image.size() - kAgentByteFromEnd] = 1;
    return image;
}

void WebSetupStart(const std::string& agentCopyName) {
    const package::TGFileInfo& self = entry::PackageInfo();
    std::string source = self.DownloadSource();
    if (!agentCopyName.empty()) {
        const std::string copy = PathSlash(SetupFolder(), true) + agentCopyName;
        if (!WriteAgentCopy(copy))
            ConsoleLine(Pid() + " ==== agent copy not written: " + copy + " " + LastErrorText());
    }
    const std::string fileName = self.SetupFileName();
    if (!self.AlwaysDownload() && !fileName.empty() && IsFile(ExeDir(true) + fileName))
        source = ExeDir(false);
    WebSetup(SetupFolder(), source, fileName);
}

void WebSetup(const std::string& targetFolder, const std::string& source,
              const std::string& fileName) {
    const package::TGFileInfo& self = entry::PackageInfo();
    const std::string buttons = GetLangString(self, lang::kButtons);
    const int charset = LangCharset(self);
    std::string error;
    bool deleteAfter = false;
    const std::string local = PathSlash(source, true) + fileName;
    const std::string url = source + "/" + fileName;
    const bool hidden = HasCmdWord("/hide") || self.RunHidden();
    std::string package;

    if (!fileName.empty() && IsFile(local)) {
        package = local;
    } else {
        mainwin::SetStatusText(GetLangString(self, lang::kDownloading), LangFontName(self), charset,
                               LangFontSize(self));
        if (self.AskBeforeDownload() && !hidden) {
            const double size = double(TextToInt64(self.SetupFileSize(), 0));
            std::string text = GetLangString(self, lang::kDownloadQuestion);
            text = ReplaceText(text, "<SIZE>",
                               setupline::MegabyteText(size, LocaleDecimalSeparator()));
            if (!ConfirmYesNo(0, text, GetLangString(self, lang::kConfirm), 0, charset, buttons))
                error = kDeclined;
        }
        std::string reason;
        if (!CheckInternetConnection(reason)) {
            error = GetLangString(self, lang::kNoConnection);
            if (!reason.empty()) error += "<P><P>" + reason;
        }
        SetDownloadAbort(false);
        mainwin::SetDownloadAbort(false);
        package = PathSlash(TempDir(true), true) + fileName;
        HWND owner = hidden ? nullptr : mainwin::MainWindow();
        TProgBar& bar = WebProgBar();
        if (error.empty()) {
            // A file of that name left from an earlier run must not pass for
            // this download when the transfer produces none.
            DeleteFileA(package.c_str());
            std::string memory;
            HTTP_DownloadFile_Incremental(owner, url, package, memory, &bar, error);
            if (error.empty() && !IsFile(package))
                error = url + " --- Error downloading file (no file received)";
        }
        if (error.empty()) deleteAfter = true;
        WaitPumping(0, 300);
        ProgressRelay(kProgressStart, 0, kResetBarsMaximum, 0, 1, "");
        WaitPumping(0, 700);
    }

    if (error.empty()) {
        const package::TGFileInfo pkg = package::ReadPackageInfo(package);
        if (!pkg.SameDownloadToken(self)) ErrorPageMessage(package, "", url, kBadToken, error);
    }
    if (error.empty()) SetupRun(targetFolder, package, "", !hidden, CommandTail());
    if (deleteAfter) DeleteFileA(package.c_str());
    if (!error.empty() && error != kDeclined) {
        ConsoleLine(Pid() + " ==== WebSetup: " + error);
        ErrorMsg(0, error, GetLangString(self, lang::kError), charset, buttons);
    }
}
