// The check cycle with its update source on the HTTP test servers of
// testing/servers/start-all: nginx serves the descriptor and the update file
// from STUB_HTTP_ROOT, the scripted server answers an HTML page instead.
#include "tests/win/agent/agent_files.h"

#include "core/agent/check_rules.h"
#include "stub/agent/stubau.h"
#include "stub/util/paths.h"
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using agenttest::DescriptorFiles;
using testsupport::ReadWholeFile;
using testsupport::WriteWholeFile;

constexpr char kItem[] = "wt_http_agent.setup.info";
constexpr char kUpdateFile[] = "wt_http_update.exe";
// The folder under the document root that this test serves from.
constexpr char kServedFolder[] = "wt_http_agent";
constexpr char kRegKey[] = "Software\\Kolvane\\Tarnix\\AutoUpdate";
constexpr int kUpdateSize = 1000;
// What the scripted server's /html/ path answers.
constexpr char kPortalPage[] = "<HTML>\n<HEAD>\n<TITLE>Welcome to the portal</TITLE>\n</HEAD>\n"
                               "<BODY>Please log in.</BODY>\n</HTML>\n";

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// Wine maps the Linux root to drive Z:.
std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

class HttpCycle : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string httpPort = Env("STUB_HTTP_PORT");
        const std::string scriptPort = Env("STUB_SCRIPT_PORT");
        const std::string root = Env("STUB_HTTP_ROOT");
        std::string missing;
        for (auto [value, name] :
             {std::pair<const std::string*, const char*>{&httpPort, "STUB_HTTP_PORT"},
              {&scriptPort, "STUB_SCRIPT_PORT"},
              {&root, "STUB_HTTP_ROOT"}})
            if (value->empty()) missing += (missing.empty() ? "" : ", ") + std::string(name);
        if (!missing.empty()) {
            if (Env("STUB_NO_SERVERS") == "1") GTEST_SKIP() << "STUB_NO_SERVERS=1";
            FAIL() << "test servers not found: " << missing
                   << " not set. Run testing/servers/start-all and export what it prints "
                      "(or set STUB_NO_SERVERS=1 to skip).";
        }
        served = std::string("http://127.0.0.1:") + httpPort + "/" + kServedFolder;
        script = std::string("http://127.0.0.1:") + scriptPort;
        folder = WindowsPath(root) + "\\" + kServedFolder;
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_NE(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << folder;

        // A left-over test mode would take every file from a local folder.
        RegDeleteKeyA(HKEY_CURRENT_USER, kRegKey);
        stubau::ResetState();
        files = std::make_unique<DescriptorFiles>(kItem);
        stubau::SetAgentConfig({served, kItem, ""});
        stubau::Boxes boxes;
        boxes.confirmYesNo = [this](const std::string& text, const std::string&) {
            questions.push_back(text);
            return true;
        };
        boxes.errorMsg = [this](const std::string& text, const std::string&) {
            errors.push_back(text);
        };
        boxes.warningMsg = [this](int, const std::string& text, const std::string&) {
            warnings.push_back(text);
        };
        stubau::SetBoxes(boxes);
        stubau::HandOvers h;
        h.performAutoUpdate = [this] {
            ++updates;
            return false;
        };
        h.performAutoInform = [this] { ++informs; };
        stubau::SetHandOvers(h);
        // Installed: version 4, an hour between checks, never checked.
        DescriptorFiles::Base("OriginalSetup", "VersionOriginal", "4");
        DescriptorFiles::Base("OriginalSetup", "ProbeSecondsInterval", "3600");
        DescriptorFiles::Base("OriginalSetup", "Stamp", "1");
    }

    void TearDown() override {
        stubau::SetBoxes({});
        stubau::SetHandOvers({});
        stubau::ResetState();
        files.reset();
        if (!folder.empty()) {
            DeleteFileA((folder + "\\" + kItem).c_str());
            DeleteFileA((folder + "\\" + kUpdateFile).c_str());
            RemoveDirectoryA(folder.c_str());
        }
    }

    // The descriptor nginx serves, offering the update file beside it.
    std::string Serve(int version, int stamp, int announcedSize) {
        const std::string text = "[NewSetup]\r\nVersionNew=" + std::to_string(version) +
                                 "\r\nStamp=" + std::to_string(stamp) +
                                 "\r\nDownloadURL_UPDATE=" + served +
                                 "\r\nNameOfUpdateFile=" + kUpdateFile +
                                 "\r\nSizeOfUpdateFile=" + std::to_string(announcedSize) + "\r\n";
        EXPECT_TRUE(WriteWholeFile(folder + "\\" + kItem, text));
        EXPECT_TRUE(WriteWholeFile(folder + "\\" + kUpdateFile, std::string(kUpdateSize, 'u')));
        return text;
    }

    // The descriptor as fetched into the agent's folder.
    std::string Fetched() { return ReadWholeFile(agent::UpdateDescriptorPath()); }

    int Level() {
        int32_t level = -1;
        std::string text;
        stubau::GetOkToPerformAU(true, level, text);
        EXPECT_EQ(text, agent::LevelText(level));
        return level;
    }

    std::string served, script, folder;
    std::unique_ptr<DescriptorFiles> files;
    std::vector<std::string> questions, errors, warnings;
    int updates = 0, informs = 0;
};

TEST_F(HttpCycle, TheFourthTickFetchesTheDescriptorOverHttpAndJudgesIt) {
    const std::string offer = Serve(5, 2, kUpdateSize);
    for (int tick = 1; tick <= 3; ++tick) {
        stubau::AgentTimerTick();
        EXPECT_EQ(agent::original::ProbeSecondsLast(), 0) << tick;
    }
    EXPECT_EQ(GetFileAttributesA(agent::UpdateDescriptorPath().c_str()), INVALID_FILE_ATTRIBUTES);
    stubau::AgentTimerTick();
    EXPECT_EQ(Fetched(), offer);
    EXPECT_GT(agent::original::ProbeSecondsLast(), 0);
    // Every test passed, the size one against the file on the server.
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(informs, 0);
    EXPECT_EQ(agent::original::Stamp(), 2);
    EXPECT_GT(agent::original::ReAskSecondsLast(), 0);
    EXPECT_EQ(stubau::State().AgentState, 0);
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(warnings.empty());
}

TEST_F(HttpCycle, TheSizeOnOfferIsAskedOfTheServer) {
    // The descriptor announces 100 bytes more than the server has.
    const std::string offer = Serve(5, 2, kUpdateSize + 100);
    stubau::State().TimerCount = 0;
    stubau::AgentTimerTick();
    EXPECT_EQ(Fetched(), offer);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(agent::original::Stamp(), 1);
    EXPECT_EQ(agent::original::ReAskSecondsLast(), 0);
    EXPECT_EQ(Level(), 5);

    // 99 bytes off is close enough; the next forced check takes the offer.
    const std::string closeEnough = Serve(5, 3, kUpdateSize - 99);
    stubau::State().ForceCheck = true;
    stubau::AgentTimerTick();
    EXPECT_EQ(Fetched(), closeEnough);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(agent::original::Stamp(), 3);

    // An offer of a file the server does not have. The size request may be
    // answered from the Internet cache, so the name is one never served.
    DescriptorFiles::Base("OriginalSetup", "Stamp", "1");
    DescriptorFiles::Update("NewSetup", "NameOfUpdateFile", "wt_http_absent.exe");
    EXPECT_EQ(Level(), 5);
}

TEST_F(HttpCycle, AnHtmlPageInsteadOfTheDescriptorIsLevelZero) {
    // An earlier offer beside the agent: the failed fetch replaces it.
    DescriptorFiles::Update("NewSetup", "VersionNew", "9");
    DescriptorFiles::Update("NewSetup", "Stamp", "7");
    stubau::SetAgentConfig({script + "/html", kItem, ""});

    std::string error;
    EXPECT_FALSE(stubau::DownloadFileAU(script + "/html", kItem, 1, error));
    EXPECT_NE(error, "");
    EXPECT_EQ(Fetched(), kPortalPage);

    // The tick must replace it again.
    DescriptorFiles::Update("NewSetup", "VersionNew", "9");
    stubau::State().TimerCount = 0;
    stubau::AgentTimerTick();
    EXPECT_EQ(Fetched(), kPortalPage);
    EXPECT_EQ(agent::info::VersionNew(), 0);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(informs, 0);
    // The check counts as made: the next one waits for the interval.
    EXPECT_GT(agent::original::ProbeSecondsLast(), 0);
    EXPECT_EQ(agent::original::Stamp(), 1);
    EXPECT_EQ(agent::original::ReAskSecondsLast(), 0);
    EXPECT_EQ(stubau::ShotTimeStatus(), 0);

    // A check the user asked for reports the page's error text.
    stubau::State().CheckMode = 2;
    stubau::State().ForceCheck = true;
    stubau::AgentTimerTick();
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(updates, 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], error);
    EXPECT_TRUE(warnings.empty());
}

} // namespace
