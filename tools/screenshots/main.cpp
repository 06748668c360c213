// screenshots OUTDIR SCENE...: shows each named scene's window, captures it
// from the screen into OUTDIR\<file>.bmp and closes it. The exit code is the
// number of scenes that could not be captured. At most one main window scene
// per run: the first language lookup fixes the process's language entry.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/agent/check_rules.h"
#include "core/agent/update_rules.h"
#include "core/control/setupline.h"
#include "core/lang/langstrings.h"
#include "core/package/tgfileinfo.h"
#include "stub/agent/informdlg.h"
#include "stub/lang/langstrings.h"
#include "stub/ui/kmsgbox.h"
#include "tools/screenshots/capture.h"
#include "tools/screenshots/mainwin_shot.h"

namespace {

struct Scene {
    const char* name; // as given on the command line
    const char* file; // the bitmap's name without ".bmp"
    std::function<bool(const std::string& outDir, const std::string& path)> shoot;
};

const char kHebrewCaption[] = "\xF9\xE2\xE9\xE0\xE4";
const char kHebrewText[] = "\xEC\xE0 \xF0\xE9\xFA\xEF \xEC\xE9\xF6\xE5\xF8 \xE0\xFA "
                           "\xE4\xFA\xE9\xF7\xE9\xE9\xE4!<P><P>C:\\Temp\\SETUP_1<P>"
                           "\xE4\xF7\xE5\xE1\xF5 \xF0\xF9\xEE\xF8 \xE1\xFA\xE9\xF7\xE9\xE9\xE4 "
                           "\xE4\xE6\xEE\xF0\xE9\xFA.";
const char kHebrewButtons[] = "|&\xE0\xE9\xF9\xE5\xF8|&\xE1\xE9\xE8\xE5\xEC|&\xEB\xEF|&\xEC\xE0|"
                              "&\xE1\xE8\xEC|&\xF0\xF1\xE4 \xF9\xE5\xE1|&\xE4\xFA\xF2\xEC\xED|";
// The title and the extraction status of a Hebrew package (code page 1255).
const char kHebrewTitle[] = "\xE4\xFA\xF7\xF0\xFA Tarnix";
const char kHebrewExtracting[] = "\xEE\xE7\xEC\xF5 \xF7\xE1\xF6\xE9\xED...";

// The package of the setup scenes: no language entry, so every text is the
// built-in default, as in a package built without languages.
const package::TGFileInfo& PlainPackage() {
    static const package::TGFileInfo pkg;
    return pkg;
}

bool Box(const std::string& path, const std::function<void()>& show) {
    return shots::ShootModal("KMsgBox", path, show,
                             [](HWND box) { PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 1); });
}

// The setup's question when the temp drive looks too small.
void SpaceQuestionBox() {
    const package::TGFileInfo& pkg = PlainPackage();
    const setupline::SpaceTexts texts{
        GetLangString(pkg, lang::kSpaceIntro), GetLangString(pkg, lang::kSpaceShort),
        GetLangString(pkg, lang::kSpaceRequired), GetLangString(pkg, lang::kSpaceAvailable),
        GetLangString(pkg, lang::kSpaceContinue)};
    const double required = 812.4 * 1048576, available = 640.0 * 1048576;
    const std::string message = setupline::SpaceQuestion(
        texts, false, "C:\\users\\admin\\Temp\\SETUP_31337", required, available, '.');
    ConfirmYesNo(0, message, GetLangString(pkg, lang::kConfirm), 0, LangCharset(pkg),
                 GetLangString(pkg, lang::kButtons));
}

void BadCrcBox() {
    const package::TGFileInfo& pkg = PlainPackage();
    ErrorMsg(0, GetLangString(pkg, lang::kBadCrc), GetLangString(pkg, lang::kError),
             LangCharset(pkg), GetLangString(pkg, lang::kButtons));
}

// The agent's texts come from its descriptor; these stand for a typical one.
void AgentOfferBox() {
    const agent::OfferTexts texts{
        "A new version of <B>PROG_NAME</B> is available on the update server.<P><P>", "",
        "Do you want to download it now?<P>You will be asked again before it is installed.", "",
        ""};
    const std::string offer =
        agent::WithProgramName(agent::OfferText(texts, true, false), "Tarnix Support Package");
    ConfirmYesNo(0, offer, "Confirm", 0, 0, "");
}

void AgentCheckBox() {
    const std::string question = agent::CheckQuestionText(
        "Do you want to check for a new version of <B>PROG_NAME</B>", " on the Internet", "?",
        "http://updates.kolvane.example/tarnix", true, "Tarnix Support Package");
    ConfirmYesNo(1, question, "Confirm", 0, 0, "");
}

const char kNoticeText[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Verdana;}}\\f0\\fs20{\\b Tarnix Support Package 5.2}\\par\\par "
    "A new version of the support package is available.\\par\\par "
    "{\\b What is new}\\par - Firmware images for the R4 and R5 chassis\\par "
    "- Faster inventory of the storage adapters\\par - Corrected fan speed readings\\par\\par "
    "Press {\\b Download} to open the download page.}";

bool NoticeWindow(const std::string& path) {
    informdlg::SetAddressOpener([](const std::string&) {});
    return shots::ShootModal(
        kInformWindowClass, path,
        [] {
            ShowInformDialog(nullptr, "New Version", "Download", kNoticeText,
                             "http://updates.kolvane.example/tarnix/notes.html",
                             agent::kNoticeDefaultSize, agent::kNoticeDefaultSize, "Tahoma", 8, 0);
        },
        [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); });
}

std::vector<Scene> Scenes() {
    return {
        {"error", "msgbox-error",
         [](const std::string&, const std::string& path) {
             return Box(path, [] {
                 ErrorMsg(0,
                          "C:\\Program Files\\Kolvane\\Tarnix\\Setup<P><P>Unable to create "
                          "Directory!<P><P>Access is denied.",
                          "", 1, "");
             });
         }},
        {"warning", "msgbox-warning",
         [](const std::string&, const std::string& path) {
             return Box(path, [] {
                 WarningMsg(1,
                            "The update server could not be reached.<P>The next check follows "
                            "in 24 hours.",
                            "Attention", 0, 1, "");
             });
         }},
        {"question", "msgbox-question",
         [](const std::string&, const std::string& path) {
             return Box(path, [] {
                 ConfirmYesNo(0,
                              "A newer version of <B>Tarnix Support Package</B> is available."
                              "<P>Do you want to download and install it now?",
                              "Confirm", 0, 1, "");
             });
         }},
        {"disk", "msgbox-disk",
         [](const std::string&, const std::string& path) {
             return Box(path, [] {
                 ConfirmOkCancel(1,
                                 "Please insert <B>Disk 2</B> of the setup set<P>and press "
                                 "<B>OK</B> to continue.",
                                 "Attention", 1, "");
             });
         }},
        {"space", "msgbox-space",
         [](const std::string&, const std::string& path) { return Box(path, SpaceQuestionBox); }},
        {"badcrc", "msgbox-badcrc",
         [](const std::string&, const std::string& path) { return Box(path, BadCrcBox); }},
        {"agent-offer", "msgbox-agent-offer",
         [](const std::string&, const std::string& path) { return Box(path, AgentOfferBox); }},
        {"agent-check", "msgbox-agent-check",
         [](const std::string&, const std::string& path) { return Box(path, AgentCheckBox); }},
        {"notice", "notice",
         [](const std::string&, const std::string& path) { return NoticeWindow(path); }},
        {"mainwin", "mainwin-extract",
         [](const std::string&, const std::string& path) {
             return shots::ShootMainWindow(PlainPackage(), path);
         }},
        {"hebrew", "msgbox-hebrew",
         [](const std::string&, const std::string& path) {
             return Box(path, [] {
                 SetMsgBoxFont("Tahoma", 8, 177);
                 ErrorMsg(0, kHebrewText, kHebrewCaption, 177, kHebrewButtons);
                 SetMsgBoxFont("Tahoma", 8, 1);
             });
         }},
        {"mainwin-hebrew", "mainwin-extract-hebrew",
         [](const std::string& outDir, const std::string& path) {
             const std::string block = std::string("\x02\x01Hebrew\x01s0=") + kHebrewTitle +
                                       "\x01s1=" + kHebrewExtracting +
                                       "\x01"
                                       "Charset=177\x01"
                                       "FontName=Tahoma\x01"
                                       "FontSize=8\x01\x02";
             const package::TGFileInfo pkg =
                 shots::LanguagePackage(outDir + "\\hebrew-package.exe", block);
             if (!pkg.MagicMatches()) return false;
             return shots::ShootMainWindow(pkg, path);
         }},
    };
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 100;
    const std::string outDir = __argv[1];
    const std::vector<std::string> wanted(__argv + 2, __argv + __argc);
    int failures = 0;
    for (const Scene& scene : Scenes()) {
        bool chosen = false;
        for (const std::string& w : wanted)
            chosen = chosen || w == scene.name;
        if (!chosen) continue;
        if (!scene.shoot(outDir, outDir + "\\" + scene.file + ".bmp")) {
            std::fprintf(stderr, "screenshots: %s not captured\n", scene.name);
            ++failures;
        }
    }
    return failures;
}
