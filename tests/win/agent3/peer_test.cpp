// A peer program registered through "/WM_MSG=" with the real agent copy:
// the answers 50 and 51, then the progress codes of a check that installs
// an update, with overrides set beforehand from this process.
#include "agent_folder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace agent3;

struct Note {
    unsigned long long code;
    long long value;
};

// The "msg=... wParam=... lParam=..." lines of the peer's log.
std::vector<Note> Notes(const std::string& log, unsigned message) {
    std::vector<Note> notes;
    std::istringstream in(log);
    std::string line;
    const std::string head = "msg=" + std::to_string(message) + " wParam=";
    while (std::getline(in, line)) {
        if (line.compare(0, head.size(), head) != 0) continue;
        Note n = {};
        if (sscanf(line.c_str() + head.size(), "%llu lParam=%lld", &n.code, &n.value) == 2)
            notes.push_back(n);
    }
    return notes;
}

constexpr unsigned kPeerMessage = WM_APP + 7;

TEST(AgentPeer, ReceivesAnswersAndProgressOfAnUpdateWithOverridesFromOutside) {
    AgentFolder f;
    ASSERT_TRUE(f.InstallAgent());
    ASSERT_TRUE(f.OfferUpdate(kToken));
    // The file asks before downloading, shows the setup and keeps the product
    // ended; the overrides below turn all three round.
    Ini(f.info, "NewSetup", "RequestConfirmationBeforeDownload", "1");
    Ini(f.info, "NewSetup", "BackgroundUpdate", "0");
    Ini(f.info, "NewSetup", "RestartProcess", "0");
    ASSERT_TRUE(f.StartProduct());

    EXPECT_EQ(f.RunAgent(""), 0);
    HWND copy = WaitForCopyWindow(15000);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Control(copy, 21, 0), 0);
    EXPECT_EQ(Control(copy, 23, 1), 0);
    EXPECT_EQ(Control(copy, 25, 1), 0);

    // The peer registers and asks for the check in one start of the agent;
    // it ends when the copy's loop ends (code 43).
    const std::string log = f.root.file("peer.txt");
    const std::string cl = "\"" + testsupport::DistDir() + "\\Peer.exe\" /LOG=" + log +
                           " /MS=120000 \"" + f.agentExe + "\" /TEST=1";
    EXPECT_EQ(testsupport::RunAndWait(cl, 130000), 0) << testsupport::ReadWholeFile(log);

    const std::string text = testsupport::ReadWholeFile(log);
    const std::vector<Note> notes = Notes(text, kPeerMessage);
    const std::vector<std::pair<unsigned long long, long long>> expected = {
        {50, reinterpret_cast<LONG_PTR>(copy)},
        {51, WM_USER + 101},
        {40, 1},
        {40, 2},
        {41, 1},
        {41, 2},
        {42, 1},
        {42, 2},
        {43, 0}};
    ASSERT_EQ(notes.size(), expected.size()) << text;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(notes[i].code, expected[i].first) << "note " << i << "\n" << text;
        EXPECT_EQ(notes[i].value, expected[i].second) << "note " << i << "\n" << text;
    }
    // The peer used the answers: code 4 through the announced message.
    EXPECT_NE(text.find("reply code=4 result=1"), std::string::npos) << text;

    EXPECT_EQ(IniText(f.base, "OriginalSetup", "VersionOriginal"), "2");
    const std::string record = testsupport::ReadWholeFile(f.engineRecord);
    EXPECT_NE(record.find("ShowWindow=0"), std::string::npos) << record;
    EXPECT_TRUE(WaitFor(
        [&] { return Count(testsupport::ReadWholeFile(f.productRecord), "start") == 2; }, 20000))
        << testsupport::ReadWholeFile(f.productRecord);
    const std::string trace = f.Trace();
    EXPECT_NE(trace.find(" /_ZZ=99 /WAIT=10 /TRANSIENT=|255|0|255|1|255|1|255|255|"),
              std::string::npos)
        << trace;
    EXPECT_EQ(trace.find("ATTENTION"), std::string::npos);

    // The fresh copy carries the handed-over overrides.
    EXPECT_TRUE(WaitFor([&] { return Count(f.Trace(), "Create X_ File ") >= 2; }, 40000));
    EXPECT_TRUE(WaitFor(
        [&] { return Count(f.Trace(), "ApplyOverrideList: |255|0|255|1|255|1|255|255|") >= 1; },
        20000))
        << f.Trace();
}

} // namespace
