#include "tests/win/agent/agent_files.h"

#include "core/util/dates.h"

#include "stub/util/registry.h"
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using agenttest::DescriptorFiles;
namespace original = agent::original;
namespace info = agent::info;

TEST(Descriptors, BothFilesLieBesideTheExecutable) {
    agent::SetDescriptorItem("product.setup.info");
    EXPECT_EQ(agent::BaseDescriptorPath(), ExeDir(true) + "product.original");
    EXPECT_EQ(agent::UpdateDescriptorPath(), ExeDir(true) + "product.setup.info");
    agent::SetDescriptorItem("http://host/a/product.setup.info");
    EXPECT_EQ(agent::UpdateDescriptorPath(), ExeDir(true) + "product.setup.info");
    agent::SetDescriptorItem("");
}

void ExpectDefaults() {
    EXPECT_EQ(original::ProbeSecondsInterval(), 0);
    EXPECT_EQ(original::ProbeSecondsLast(), 0);
    EXPECT_EQ(original::ReAskSecondsInterval(), 0);
    EXPECT_EQ(original::VersionOriginal(), 0);
    EXPECT_EQ(original::Stamp(), 0);
    EXPECT_EQ(original::ProgramName(), "");
    EXPECT_EQ(original::BtnText(), "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|");
    EXPECT_EQ(original::Error(), "Error");
    EXPECT_EQ(original::Confirm(), "Confirm");
    EXPECT_EQ(original::Attention(), "Attention");
    EXPECT_EQ(original::FontName(), "Tahoma");
    EXPECT_EQ(original::FontSize(), 8);
    EXPECT_EQ(original::CharSet(), 0);
    EXPECT_EQ(agent::AgentText("s31", "Downloading INFO File..."), "Downloading INFO File...");
    EXPECT_EQ(agent::AgentText("s21", ""), "");
    EXPECT_EQ(info::AutoInform(), 0);
    EXPECT_EQ(info::VersionNew(), 0);
    EXPECT_EQ(info::ValidVersions(), "");
    EXPECT_EQ(info::SizeOfUpdateFile(), 0);
    EXPECT_EQ(info::AutoInformW(), 360);
    EXPECT_EQ(info::AutoInformH(), 360);
    EXPECT_FALSE(info::RequestConfirmationBeforeInstall());
    EXPECT_FALSE(info::RestartProcess());
}

TEST(Descriptors, MissingFilesReadAsDefaults) {
    DescriptorFiles files("wt_missing.info");
    ExpectDefaults();
}

TEST(Descriptors, BadFilesReadAsDefaults) {
    DescriptorFiles files("wt_bad.info");
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919) % 256);
    const std::string noSections =
        "ProbeSecondsInterval=77\r\nVersionOriginal=5\r\nFontSize=20\r\n";
    for (const std::string& content : {junk, noSections, std::string()}) {
        ASSERT_TRUE(testsupport::WriteWholeFile(agent::BaseDescriptorPath(), content));
        ASSERT_TRUE(testsupport::WriteWholeFile(agent::UpdateDescriptorPath(), content));
        ExpectDefaults();
    }
    // An over-long value arrives cut to 10240 bytes; a number that is no number
    // gives the default.
    DeleteFileA(agent::BaseDescriptorPath().c_str());
    DescriptorFiles::Base("OriginalSetup", "ProgramName", std::string(20000, 'p'));
    DescriptorFiles::Base("MsgBox", "FontSize", std::string(12000, '9'));
    DescriptorFiles::Base("OriginalSetup", "VersionOriginal", "4x");
    EXPECT_EQ(original::ProgramName(), std::string(10240, 'p'));
    EXPECT_EQ(original::FontSize(), 8);
    EXPECT_EQ(original::VersionOriginal(), 0);
}

TEST(Descriptors, TypedValuesAndEmptyValues) {
    DescriptorFiles files("wt_typed.info");
    DescriptorFiles::Base("OriginalSetup", "ProbeSecondsInterval", "-1");
    DescriptorFiles::Base("OriginalSetup", "ProbeSecondsLast", "3974375100");
    DescriptorFiles::Base("OriginalSetup", "VersionOriginal", "4294967301"); // low 32 bits: 5
    DescriptorFiles::Base("MsgBox", "FontName", "");
    DescriptorFiles::Base("MsgBox", "Error", "Fehler");
    DescriptorFiles::Base("AutoUpdate", "s3", "");
    DescriptorFiles::Update("NewSetup", "SizeOfUpdateFile", "123456");
    DescriptorFiles::Update("NewSetup", "ValidVersions", "3,4,5");
    EXPECT_EQ(original::ProbeSecondsInterval(), -1);
    EXPECT_EQ(original::ProbeSecondsLast(), 3974375100LL);
    EXPECT_EQ(original::VersionOriginal(), 5);
    EXPECT_EQ(original::FontName(), "Tahoma");
    EXPECT_EQ(original::Error(), "Fehler");
    EXPECT_EQ(agent::AgentText("s3", "File Download Aborted!"), "File Download Aborted!");
    EXPECT_EQ(info::SizeOfUpdateFile(), 123456);
    EXPECT_EQ(info::ValidVersions(), "3,4,5");
}

TEST(Descriptors, OnlyOneIsTrueAndOverridesDecideFirst) {
    DescriptorFiles files("wt_flags.info");
    struct Case {
        const char* text;
        bool value;
    } cases[] = {{"1", true}, {"yes", false}, {"true", false}, {"TRUE", false}, {"2", false}};
    for (const Case& c : cases) {
        DescriptorFiles::Update("NewSetup", "RequestConfirmationBeforeInstall", c.text);
        EXPECT_EQ(info::RequestConfirmationBeforeInstall(), c.value) << c.text;
    }
    DescriptorFiles::Update("NewSetup", "RequestConfirmationBeforeInstall", "1");
    DescriptorFiles::Update("NewSetup", "BackgroundUpdate", "0");
    agent::SetOverride(agent::kRequestConfirmationBeforeInstall, 0);
    agent::SetOverride(agent::kBackgroundUpdate, 1);
    EXPECT_FALSE(info::RequestConfirmationBeforeInstall());
    EXPECT_TRUE(info::BackgroundUpdate());
    EXPECT_EQ(agent::MakeOverrideList(), "|255|255|0|1|255|255|255|255|");
    agent::SetOverride(agent::kRequestConfirmationBeforeInstall, 255);
    agent::SetOverride(agent::kBackgroundUpdate, 255);
    EXPECT_TRUE(info::RequestConfirmationBeforeInstall());
    EXPECT_FALSE(info::BackgroundUpdate());

    agent::ApplyOverrideList("|1||||||||");
    EXPECT_TRUE(agent::ConfirmBeforeCheck());
    EXPECT_EQ(agent::MakeOverrideList(), "|1|255|255|255|255|255|255|255|");
    agent::SetOverride(agent::kConfirmBeforeCheck, 255);
}

TEST(Descriptors, WritersAddTheReadableCompanion) {
    DescriptorFiles files("wt_write.info");
    DateTimeParts p;
    p.year = 2026;
    p.month = 12;
    p.day = 9;
    p.hour = 17;
    p.minute = 5;
    double serial = 0;
    ASSERT_TRUE(EncodeDateTime(p, serial));
    const int64_t s = agent::SecondsFromSerial(serial);
    ASSERT_TRUE(original::WriteProbeSecondsLast(s));
    ASSERT_TRUE(original::WriteReAskSecondsLast(s + 60));
    ASSERT_TRUE(original::WriteProbeSecondsInterval(3600));
    ASSERT_TRUE(original::WriteVersionOriginal(7));
    ASSERT_TRUE(original::WriteStamp(-2));
    const std::string base = agent::BaseDescriptorPath();
    EXPECT_EQ(original::ProbeSecondsLast(), s);
    EXPECT_EQ(ReadIniString(base, "OriginalSetup", "__ProbeSecondsLast", ""),
              "09-DEC-2026 17:05:00");
    EXPECT_EQ(ReadIniString(base, "OriginalSetup", "__ReAskSecondsLast", ""),
              "09-DEC-2026 17:06:00");
    EXPECT_EQ(original::ProbeSecondsInterval(), 3600);
    EXPECT_EQ(original::VersionOriginal(), 7);
    EXPECT_EQ(original::Stamp(), -2);
}

} // namespace
