#include "tests/win/agent/agent_files.h"

#include "core/agent/check_rules.h"
#include "core/package/token.h"
#include "core/util/dates.h"
#include "stub/agent/stubau.h"
#include "stub/util/paths.h"
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using agenttest::DescriptorFiles;
using testsupport::ReadWholeFile;
using testsupport::WriteWholeFile;

constexpr char kItem[] = "wt_agent.setup.info";
constexpr char kRegKey[] = "Software\\Kolvane\\Tarnix\\AutoUpdate";

std::string Scrambled(const std::string& plain) {
    uint8_t n = 17;
    return package::ScrambleToken(plain, [&] { return n = static_cast<uint8_t>(n * 31 + 7); });
}

void SetTestModeRegistry(const std::string& mode, const std::string& date, const std::string& url) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRegKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    for (auto [name, value] : {std::pair<const char*, const std::string*>{"TestMode", &mode},
                               {"TestModeDate", &date},
                               {"TestModeURL", &url}})
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>(value->size() + 1));
    RegCloseKey(key);
}

void ClearTestModeRegistry() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kRegKey);
}

// An agent whose update source is a local folder, with every box answered by
// the test and the hand-overs counted.
class Agent : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearTestModeRegistry();
        stubau::ResetState();
        token = Scrambled("s3cr3t");
        stubau::SetAgentConfig({source.path(), kItem, token});
        agent::SetDescriptorItem(kItem);
        files = std::make_unique<DescriptorFiles>(kItem);
        stubau::Boxes boxes;
        boxes.confirmYesNo = [this](const std::string& text, const std::string& caption) {
            questions.push_back(text);
            captions.push_back(caption);
            if (onQuestion) onQuestion();
            return answerYes;
        };
        boxes.errorMsg = [this](const std::string& text, const std::string&) {
            errors.push_back(text);
        };
        boxes.warningMsg = [this](int owner, const std::string& text, const std::string&) {
            warnings.push_back(std::to_string(owner) + ":" + text);
        };
        stubau::SetBoxes(boxes);
        stubau::HandOvers h;
        h.performAutoUpdate = [this] {
            ++updates;
            return false;
        };
        h.performAutoInform = [this] { ++informs; };
        stubau::SetHandOvers(h);
        // Base: version 4, an hour between checks, never checked.
        DescriptorFiles::Base("OriginalSetup", "VersionOriginal", "4");
        DescriptorFiles::Base("OriginalSetup", "ProbeSecondsInterval", "3600");
        DescriptorFiles::Base("OriginalSetup", "Stamp", "1");
        WriteOffer(5, 2, "", 1000);
    }
    void TearDown() override {
        stubau::SetBoxes({});
        stubau::SetHandOvers({});
        stubau::SetTickSource(nullptr);
        stubau::ResetState();
        ClearTestModeRegistry();
        DeleteFileA((ExeDir(true) + "wt_update.exe").c_str());
        DeleteFileA((ExeDir(true) + "wt_notice.txt").c_str());
        files.reset();
    }

    // The update descriptor on offer in the source folder, with its setup file.
    void WriteOffer(int version, int stamp, const std::string& valid, int size,
                    const std::string& folder = "") {
        const std::string dir = folder.empty() ? source.path() : folder;
        std::string text =
            "[NewSetup]\r\nVersionNew=" + std::to_string(version) +
            "\r\nStamp=" + std::to_string(stamp) + "\r\nValidVersions=" + valid +
            "\r\nDownloadURL_UPDATE=" + dir +
            "\r\nNameOfUpdateFile=sub\\wt_update.exe\r\nSizeOfUpdateFile=" + std::to_string(size) +
            "\r\n";
        ASSERT_TRUE(WriteWholeFile(dir + "\\" + kItem, text));
        ASSERT_TRUE(WriteWholeFile(dir + "\\wt_update.exe", std::string(1000, 'u')));
    }

    // The descriptor as fetched into the agent's folder.
    std::string Fetched() { return ReadWholeFile(agent::UpdateDescriptorPath()); }

    int Ladder() {
        int32_t level = -1;
        std::string text;
        bool ok = stubau::GetOkToPerformAU(true, level, text);
        EXPECT_EQ(ok, level == 6);
        EXPECT_EQ(text, agent::LevelText(level));
        return level;
    }

    testsupport::TempDir source;
    std::unique_ptr<DescriptorFiles> files;
    std::string token;
    std::vector<std::string> questions, captions, errors, warnings;
    std::function<void()> onQuestion;
    bool answerYes = true;
    int updates = 0, informs = 0;
};

TEST_F(Agent, FirstCheckAtTheFourthTick) {
    for (int tick = 1; tick <= 3; ++tick) {
        stubau::AgentTimerTick();
        EXPECT_EQ(agent::original::ProbeSecondsLast(), 0) << tick;
    }
    stubau::AgentTimerTick();
    EXPECT_GT(agent::original::ProbeSecondsLast(), 0);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(agent::original::Stamp(), 2);
    EXPECT_GT(agent::original::ReAskSecondsLast(), 0);
    EXPECT_TRUE(questions.empty());
    // The next tick is inside the hour: no check.
    stubau::AgentTimerTick();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(stubau::State().AgentState, 0);
}

TEST_F(Agent, IntervalZeroChecksOnceAndMinusOneOnlyWhenForced) {
    DescriptorFiles::Base("OriginalSetup", "ProbeSecondsInterval", "0");
    stubau::State().TimerCount = 0;
    stubau::AgentTimerTick();
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(stubau::State().ProbeEnabled);
    DescriptorFiles::Base("OriginalSetup", "Stamp", "0");
    DescriptorFiles::Base("OriginalSetup", "ProbeSecondsLast", "0");
    stubau::AgentTimerTick();
    EXPECT_EQ(updates, 1);

    stubau::ResetState();
    stubau::State().TimerCount = 0;
    DescriptorFiles::Base("OriginalSetup", "ProbeSecondsInterval", "-1");
    stubau::AgentTimerTick();
    stubau::AgentTimerTick();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(agent::original::ProbeSecondsLast(), 0);
    stubau::State().ForceCheck = true;
    stubau::AgentTimerTick();
    EXPECT_EQ(updates, 2);
    EXPECT_FALSE(stubau::State().ForceCheck);
}

TEST_F(Agent, LadderOverTheFiles) {
    ASSERT_TRUE(WriteWholeFile(agent::UpdateDescriptorPath(), ReadWholeFile(source.file(kItem))));
    EXPECT_EQ(Ladder(), 6);
    // Unchanged stamp: too early, unless a re-ask is due or a user asked.
    DescriptorFiles::Base("OriginalSetup", "Stamp", "2");
    EXPECT_EQ(Ladder(), 2);
    DescriptorFiles::Base("OriginalSetup", "ReAskSecondsInterval", "60");
    DescriptorFiles::Base("OriginalSetup", "ReAskSecondsLast",
                          std::to_string(agent::NowSeconds() - 30));
    EXPECT_EQ(Ladder(), 2);
    DescriptorFiles::Base("OriginalSetup", "ReAskSecondsLast",
                          std::to_string(agent::NowSeconds() - 61));
    EXPECT_EQ(Ladder(), 6);
    DescriptorFiles::Base("OriginalSetup", "ReAskSecondsInterval", "0");
    stubau::State().CheckMode = 1;
    EXPECT_EQ(Ladder(), 6);
    stubau::State().CheckMode = 0;
    DescriptorFiles::Base("OriginalSetup", "Stamp", "1");

    struct Case {
        const char* valid;
        int size;
        int level;
    } cases[] = {{"3,4,5", 1000, 6}, {"3, 4", 1000, 4}, {"", 1099, 6},
                 {"", 901, 6},       {"", 1100, 5},     {"", 900, 5}};
    for (const Case& c : cases) {
        DescriptorFiles::Update("NewSetup", "ValidVersions", c.valid);
        DescriptorFiles::Update("NewSetup", "SizeOfUpdateFile", std::to_string(c.size));
        EXPECT_EQ(Ladder(), c.level) << c.valid << " " << c.size;
    }
    DescriptorFiles::Update("NewSetup", "VersionNew", "4");
    EXPECT_EQ(Ladder(), 3);
    DescriptorFiles::Base("OriginalSetup", "VersionOriginal", "0");
    EXPECT_EQ(Ladder(), 1);
    int32_t level = -1;
    std::string text;
    EXPECT_FALSE(stubau::GetOkToPerformAU(false, level, text));
    EXPECT_EQ(level, 0);
    EXPECT_EQ(text, "Error downloading .INFO file");
}

TEST_F(Agent, AnHtmlPageIsAFailedFetchAndIsWrittenAsReceived) {
    const std::string page = "<HTML><HEAD><TITLE>404 Not Found</TITLE></HEAD></HTML>";
    ASSERT_TRUE(WriteWholeFile(source.file(kItem), page));
    std::string error;
    EXPECT_FALSE(stubau::DownloadFileAU(source.path(), agent::UpdateDescriptorPath(), 1, error));
    EXPECT_NE(error, "");
    EXPECT_EQ(Fetched(), page);

    stubau::State().TimerCount = 0;
    stubau::AgentTimerTick();
    EXPECT_EQ(updates, 0);
    EXPECT_GT(agent::original::ProbeSecondsLast(), 0);

    // A missing descriptor leaves an empty file.
    DeleteFileA(source.file(kItem).c_str());
    EXPECT_FALSE(stubau::DownloadFileAU(source.path(), agent::UpdateDescriptorPath(), 1, error));
    EXPECT_EQ(GetFileAttributesA(agent::UpdateDescriptorPath().c_str()) != INVALID_FILE_ATTRIBUTES,
              true);
    EXPECT_EQ(Fetched(), "");
}

TEST_F(Agent, TestModeIsForTodayTakesEverythingFromItsFolder) {
    testsupport::TempDir testFolder;
    WriteOffer(9, 5, "", 1000, testFolder.path());
    // The real source is unreachable: nothing may go there.
    stubau::SetAgentConfig({"http://127.0.0.1:9/none", kItem, token});
    SetTestModeRegistry("1", DateText(NowSerial() - 1), testFolder.path());
    EXPECT_FALSE(stubau::CheckTestMode(true));
    SetTestModeRegistry("1", DateText(NowSerial()), testFolder.path());
    // Read again only when 30 seconds have passed since the previous call.
    uint32_t ticks = 100000;
    stubau::SetTickSource([&] { return ticks; });
    EXPECT_TRUE(stubau::CheckTestMode(true));
    SetTestModeRegistry("0", DateText(NowSerial()), testFolder.path());
    ticks += 30000;
    EXPECT_TRUE(stubau::CheckTestMode(false));
    ticks += 30001;
    EXPECT_FALSE(stubau::CheckTestMode(false));
    SetTestModeRegistry("1", DateText(NowSerial()), testFolder.path());
    ticks += 1000;
    EXPECT_FALSE(stubau::CheckTestMode(false));
    EXPECT_TRUE(stubau::CheckTestMode(true));
    EXPECT_EQ(stubau::State().TestModeURL, testFolder.path());

    // 5-second interval.
    DescriptorFiles::Base("OriginalSetup", "ProbeSecondsLast",
                          std::to_string(agent::NowSeconds() - 2));
    EXPECT_EQ(stubau::ShotTimeStatus(), 0);
    DescriptorFiles::Base("OriginalSetup", "ProbeSecondsLast",
                          std::to_string(agent::NowSeconds() - 6));
    EXPECT_EQ(stubau::ShotTimeStatus(), 1);

    stubau::State().ForceCheck = true;
    stubau::State().TimerCount = 0;
    stubau::AgentTimerTick();
    EXPECT_EQ(agent::info::VersionNew(), 9);
    EXPECT_EQ(updates, 1);

    // A file missing from the test folder: nothing downloaded, no error text.
    std::string error = "x";
    EXPECT_FALSE(stubau::DownloadFileAU("ignored", "wt_notice.txt", 3, error));
    EXPECT_EQ(error, "");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(GetFileAttributesA((ExeDir(true) + "wt_notice.txt").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(Agent, ATickDuringAnOpenQuestionDoesNothing) {
    agent::SetOverride(agent::kConfirmBeforeCheck, 1);
    stubau::State().TimerCount = 0;
    int32_t countInside = 0;
    onQuestion = [&] {
        stubau::AgentTimerTick();
        countInside = stubau::State().TimerCount;
    };
    answerYes = false;
    stubau::AgentTimerTick();
    agent::SetOverride(agent::kConfirmBeforeCheck, 255);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(countInside, 1);
    EXPECT_EQ(stubau::State().TimerCount, 1);
    // Declined: no check.
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(agent::original::ProbeSecondsLast(), 0);
    EXPECT_EQ(captions[0], "Confirm");
}

TEST_F(Agent, UserRequestedCheckAsksFirstAndReportsAfterwards) {
    DescriptorFiles::Base("AutoUpdate", "s22", "Check PROG_NAME");
    DescriptorFiles::Base("AutoUpdate", "s23", " online");
    DescriptorFiles::Base("AutoUpdate", "s24", "?");
    DescriptorFiles::Base("AutoUpdate", "s21", "Nothing new.");
    DescriptorFiles::Base("OriginalSetup", "ProgramName", "Tool");
    WriteOffer(4, 2, "", 1000); // not higher: nothing to install
    stubau::State().CheckMode = 2;
    stubau::AgentTimerTick();
    ASSERT_EQ(questions.size(), 1u);
    // The source is a local path: s23 is left out.
    EXPECT_EQ(questions[0], "Check Tool?");
    EXPECT_EQ(stubau::State().CheckMode, 0);
    EXPECT_EQ(stubau::State().TimerCount, 1);
    EXPECT_EQ(updates, 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].substr(0, 14), "1:Nothing new.");
}

TEST_F(Agent, DownloadsOfUpdateAndNoticeFilesCheckTheToken) {
    DescriptorFiles::Update("NewSetup", "RequestConfirmationBeforeDownload", "1");
    const std::string target = ExeDir(true) + "wt_notice.txt";
    ASSERT_TRUE(WriteWholeFile(source.file("wt_notice.txt"), "x|" + token + "|||Hello"));
    std::string error;
    EXPECT_TRUE(stubau::DownloadFileAU(source.path(), "a\\wt_notice.txt", 3, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(ReadWholeFile(target), "x|" + token + "|||Hello");

    ASSERT_TRUE(WriteWholeFile(source.file("wt_notice.txt"), "x|" + Scrambled("other") + "|||Hi"));
    EXPECT_FALSE(stubau::DownloadFileAU(source.path(), "wt_notice.txt", 3, error));
    EXPECT_EQ(error, "Bad Secret Token!");
    EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Bad Secret Token!");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "0:" + source.path() + "\\wt_notice.txt<P><P>File not Found!");

    // An update file that is no package of ours.
    errors.clear();
    warnings.clear();
    EXPECT_FALSE(stubau::DownloadFileAU(source.path(), "wt_update.exe", 2, error));
    EXPECT_EQ(error, "Bad Secret Token!");
    EXPECT_EQ(GetFileAttributesA((ExeDir(true) + "wt_update.exe").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(errors.size(), 1u);

    // A file that is not there at all: the not-found warning, no token message.
    errors.clear();
    warnings.clear();
    EXPECT_FALSE(stubau::DownloadFileAU(source.path(), "absent.exe", 2, error));
    EXPECT_TRUE(errors.empty());
}

} // namespace
