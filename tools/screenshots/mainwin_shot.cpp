#include "tools/screenshots/mainwin_shot.h"

#include "core/lang/langstrings.h"
#include "core/package/byte_source.h"
#include "core/package/writer.h"
#include "stub/control/mainwin.h"
#include "stub/control/progress.h"
#include "stub/lang/langstrings.h"
#include "stub/ui/kmsgbox.h"
#include "stub/util/utils.h"
#include "tools/screenshots/capture.h"

namespace shots {
namespace {

constexpr char kClassName[] = "ScreenshotsMainWindow";
// Where the bars stand in the picture: 40 of 100 files, then three steps.
constexpr int kFileCount = 100;
constexpr int kFilesDone = 40;
constexpr int kSteps = 3;

struct Run {
    const package::TGFileInfo* package = nullptr;
    std::string path;
    bool captured = false;
};
Run* g_run = nullptr;

void OnFirstTick(HWND window) {
    mainwin::StopMainTimer();
    const package::TGFileInfo& pkg = *g_run->package;
    mainwin::ShowActivityBar(true);
    mainwin::SetStatusText(GetLangString(pkg, lang::kExtracting), LangFontName(pkg),
                           LangCharset(pkg), LangFontSize(pkg));
    ProgressRelay(0, 0, kFileCount, kFilesDone - kSteps, 1, "");
    for (int i = 0; i < kSteps; ++i)
        ProgressRelay(1, 0, 0, 0, 0, "");
    mainwin::ShowMainWindow(true);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    WaitPumping(0, static_cast<int>(kSettleMs));
    g_run->captured = CaptureWindow(window, g_run->path);
    DestroyWindow(window);
}

} // namespace

bool ShootMainWindow(const package::TGFileInfo& package, const std::string& path) {
    Run run;
    run.package = &package;
    run.path = path;
    g_run = &run;
    mainwin::Hooks hooks;
    hooks.onTimer = OnFirstTick;
    hooks.setMsgBoxFont = SetMsgBoxFont;
    mainwin::SetHooks(hooks);
    const bool ran = mainwin::RunMainWindow(kClassName, package);
    mainwin::SetHooks(mainwin::Hooks());
    g_run = nullptr;
    return ran && run.captured;
}

package::TGFileInfo LanguagePackage(const std::string& path, const std::string& languageBlock) {
    package::BuildOptions opt;
    // The smallest image the reader takes for an executable: "MZ", the PE
    // header at 256, bytes 248..255 free.
    opt.stubImage.assign(1024, '\0');
    opt.stubImage[0] = 'M';
    opt.stubImage[1] = 'Z';
    opt.stubImage[0x3D] = 0x01;
    opt.stubImage[256] = 'P';
    opt.stubImage[257] = 'E';
    opt.languageBlock = languageBlock;
    opt.parameterBlock = "|||||";
    opt.threads = 1;
    package::BuildResult result;
    std::string error;
    if (!package::BuildPackage(opt, path, result, error)) return package::TGFileInfo();
    package::StdFileSource src(path);
    return package::TGFileInfo(src);
}

} // namespace shots
