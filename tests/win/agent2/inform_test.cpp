#include "tests/win/agent/agent_files.h"

#include "core/package/token.h"
#include "stub/agent/informdlg.h"
#include "stub/agent/stubau.h"
#include "stub/util/paths.h"
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <richedit.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using agenttest::DescriptorFiles;
using testsupport::WriteWholeFile;

constexpr char kItem[] = "wt_inform.setup.info";

// What the driver thread saw of the notice window.
struct Seen {
    bool found = false;
    std::string title, text, textFace;
    bool hasButton = false;
    RECT window = {}, textRect = {};
};

HWND FindNotice(int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (HWND w = FindWindowA(kInformWindowClass, nullptr)) return w;
        Sleep(50);
    }
    return nullptr;
}

// The Rich Edit control tells its font through its character format.
std::string FaceOf(HWND control) {
    CHARFORMATA cf = {};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_FACE;
    SendMessageA(control, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    return cf.szFaceName;
}

// Looks at the window, then clicks its button (or closes it).
std::thread Drive(Seen& seen) {
    return std::thread([&seen] {
        HWND w = FindNotice(10000);
        if (w == nullptr) return;
        Sleep(200);
        seen.found = true;
        char buffer[512] = {};
        GetWindowTextA(w, buffer, sizeof buffer);
        seen.title = buffer;
        GetWindowRect(w, &seen.window);
        HWND text = FindWindowExA(w, nullptr, "RICHEDIT", nullptr);
        HWND button = FindWindowExA(w, nullptr, "Button", nullptr);
        if (text != nullptr) {
            std::vector<char> t(4096);
            SendMessageA(text, WM_GETTEXT, t.size(), reinterpret_cast<LPARAM>(t.data()));
            seen.text = t.data();
            seen.textFace = FaceOf(text);
            GetWindowRect(text, &seen.textRect);
        }
        seen.hasButton = button != nullptr;
        if (button != nullptr)
            PostMessageA(w, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        else
            PostMessageA(w, WM_CLOSE, 0, 0);
    });
}

class Inform : public ::testing::Test {
  protected:
    void SetUp() override {
        informdlg::SetAddressOpener([this](const std::string& a) { opened.push_back(a); });
    }
    void TearDown() override { informdlg::SetAddressOpener(nullptr); }
    std::vector<std::string> opened;
};

TEST_F(Inform, WindowWithButtonOpensTheAddress) {
    Seen seen;
    std::thread driver = Drive(seen);
    EXPECT_TRUE(ShowInformDialog(nullptr, "New Version", "Download", "one | two",
                                 "  http://127.0.0.1/x  ", 400, 300, "Tahoma", 9, 0));
    driver.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, "New Version");
    EXPECT_EQ(seen.text, "one | two");
    EXPECT_EQ(seen.textFace, "Verdana");
    EXPECT_TRUE(seen.hasButton);
    EXPECT_EQ(seen.window.right - seen.window.left, 400);
    EXPECT_EQ(seen.window.bottom - seen.window.top, 300);
    EXPECT_EQ(opened, std::vector<std::string>{"http://127.0.0.1/x"});
    EXPECT_EQ(FindWindowA(kInformWindowClass, nullptr), nullptr);
}

TEST_F(Inform, NoAddressNoButtonAndTheTextFillsTheClient) {
    Seen seen;
    std::thread driver = Drive(seen);
    EXPECT_TRUE(ShowInformDialog(nullptr, "c", "b", "plain", "", 360, 360, "Arial", 9, 0));
    driver.join();
    ASSERT_TRUE(seen.found);
    EXPECT_FALSE(seen.hasButton);
    EXPECT_EQ(seen.textFace, "Arial");
    EXPECT_GT(seen.textRect.bottom - seen.textRect.top, 360 - 80);
    EXPECT_TRUE(opened.empty());
}

TEST_F(Inform, EmptyTextOpensTheAddressOrShowsNothing) {
    EXPECT_TRUE(ShowInformDialog(nullptr, "c", "b", "", " http://127.0.0.1/n ", 0, 0, "", 9, 0));
    EXPECT_EQ(opened, std::vector<std::string>{"http://127.0.0.1/n"});
    EXPECT_FALSE(ShowInformDialog(nullptr, "c", "b", "", "  ", 0, 0, "", 9, 0));
    EXPECT_EQ(opened.size(), 1u);
}

std::string Scrambled(const std::string& plain) {
    uint8_t n = 23;
    return package::ScrambleToken(plain, [&] { return n = static_cast<uint8_t>(n * 31 + 7); });
}

// The whole notice flow from a folder source: fetched, token checked, shown
// once, version recorded; a wrong token shows nothing and records nothing.
TEST_F(Inform, PerformAutoInformShowsOnceAndRecords) {
    testsupport::TempDir source;
    const std::string token = Scrambled("n0t1ce");
    stubau::ResetState();
    stubau::SetAgentConfig({source.path(), kItem, token});
    stubau::Boxes quiet;
    std::vector<std::string> errors;
    quiet.errorMsg = [&](const std::string& t, const std::string&) { errors.push_back(t); };
    quiet.warningMsg = [](int, const std::string&, const std::string&) {};
    stubau::SetBoxes(quiet);
    DescriptorFiles files(kItem);
    DescriptorFiles::Base("OriginalSetup", "VersionOriginal", "4");
    DescriptorFiles::Update("NewSetup", "VersionNew", "6");
    DescriptorFiles::Update("NewSetup", "DownloadURL_UPDATE", source.path());
    DescriptorFiles::Update("AutoInform", "NameOfInformFile", "wt_notice2.txt");
    DescriptorFiles::Update("AutoInform", "DownloadURL_INFORM", "http://127.0.0.1/page");

    ASSERT_TRUE(
        WriteWholeFile(source.path() + "\\wt_notice2.txt", "x|" + Scrambled("wrong") + "|a|b|Bad"));
    EXPECT_FALSE(PerformAutoInform());
    EXPECT_EQ(agent::original::VersionOriginal(), 4);
    EXPECT_EQ(errors.size(), 1u);

    ASSERT_TRUE(
        WriteWholeFile(source.path() + "\\wt_notice2.txt", "x|" + token + "|a|b|News | more"));
    Seen seen;
    std::thread driver = Drive(seen);
    EXPECT_TRUE(PerformAutoInform());
    driver.join();
    EXPECT_EQ(seen.text, "News | more");
    EXPECT_EQ(seen.title, "New Version");
    EXPECT_EQ(seen.window.right - seen.window.left, 360);
    EXPECT_EQ(agent::original::VersionOriginal(), 6);
    EXPECT_EQ(opened, std::vector<std::string>{"http://127.0.0.1/page"});

    DeleteFileA((ExeDir(true) + "wt_notice2.txt").c_str());
    stubau::SetBoxes({});
    stubau::ResetState();
}

} // namespace
