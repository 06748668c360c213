// Captured runs of console children: output and error text converted from
// the OEM code page, exit codes, large output, cancelling, start failures.
#include "stub/util/process.h"

#include "tests/win/process/probes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using procprobes::Hex;

// OEM to ANSI the long way round, through UTF-16.
std::string OemToAnsiViaWide(const std::string& oem) {
    std::wstring wide(oem.size(), L'\0');
    int n = MultiByteToWideChar(CP_OEMCP, 0, oem.data(), static_cast<int>(oem.size()), &wide[0],
                                static_cast<int>(wide.size()));
    std::string out(static_cast<size_t>(n) * 2, '\0');
    int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, &out[0], static_cast<int>(out.size()),
                                nullptr, nullptr);
    out.resize(static_cast<size_t>(m));
    return out;
}

struct Outcome {
    bool ok = false;
    std::string error, output;
    DWORD code = 0;
};

Outcome Captured(const std::string& probe, const std::string& args, CaptureCallback cb = nullptr,
                 void* user = nullptr, DWORD waitAfter = 0) {
    Outcome r;
    r.ok = RunCaptured(procprobes::SelfPath(), "--proc-probe=" + probe + " " + args, SW_HIDE, cb,
                       user, waitAfter, r.error, r.output, r.code);
    return r;
}

TEST(RunCaptured, OutputAndErrorArriveInTheAnsiCodePage) {
    // "Grüße" and "Öl" in code page 437 bytes; other OEM pages give other letters.
    const std::string out = "Gr\x81\xe1"
                            "e\r\nline 2\r\n";
    const std::string err = "\x99l failed";
    ASSERT_NE(OemToAnsiViaWide(out), out) << "OEM and ANSI pages agree here; nothing to test";
    Outcome r = Captured("print", "/Out=" + Hex(out) + " /Err=" + Hex(err) + " /Code=0");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.code, 0u);
    EXPECT_EQ(r.output, OemToAnsiViaWide(out));
    EXPECT_EQ(r.error, OemToAnsiViaWide(err));
}

TEST(RunCaptured, ExitCodesDecideTheResult) {
    struct Case {
        DWORD code;
        bool ok;
    } cases[] = {{0, true},
                 {1, false},
                 {3, false},
                 {21, false},
                 {255, false},
                 // The still-active code as a real exit code ends the run too.
                 {259, false}};
    for (const Case& c : cases) {
        Outcome r = Captured("print", "/Out=" + Hex("x") + " /Code=" + std::to_string(c.code));
        EXPECT_EQ(r.ok, c.ok) << c.code;
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.output, "x");
        EXPECT_EQ(r.error, "");
    }
}

// Wine gives the child normal priority whatever class it was created with,
// so only the start-up flags and show mode are checked.
TEST(RunCaptured, StartsHiddenWithPipedHandles) {
    Outcome r = Captured("startup", "");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.output.substr(0, 6), "321 0 "); // 0x141, SW_HIDE
}

struct Chunks {
    std::string all;
    int calls = 0;
    bool cancelAtFirst = false;
};
void Collect(void* user, const std::string& text, bool& cancel) {
    Chunks& c = *static_cast<Chunks*>(user);
    c.all += text;
    ++c.calls;
    if (c.cancelAtFirst) cancel = true;
}

TEST(RunCaptured, LargeOutputIsReadAcrossPassesUntilDrained) {
    Chunks chunks;
    for (bool withCallback : {false, true}) {
        Outcome r = Captured("big", "/Bytes=200000", withCallback ? Collect : nullptr, &chunks);
        EXPECT_TRUE(r.ok);
        ASSERT_EQ(r.output.size(), 200000u);
        EXPECT_EQ(r.output.substr(0, 3), "abc");
        EXPECT_EQ(r.output[199999], static_cast<char>('a' + 199999 % 26));
        EXPECT_EQ(r.error, std::string(100000, 'y'));
        if (withCallback) {
            EXPECT_EQ(chunks.all.size(), 300000u);
            EXPECT_GE(chunks.calls, 10); // no read takes more than 30000 bytes
        }
    }
}

TEST(RunCaptured, TheCallbackEndsAChildThatWouldRunForever) {
    Chunks chunks;
    chunks.cancelAtFirst = true;
    const DWORD start = GetTickCount();
    Outcome r = Captured("forever", "", Collect, &chunks);
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.code, 255u);
    EXPECT_EQ(r.output, "started\r\n");
    EXPECT_EQ(chunks.all, "started\r\n");
}

TEST(RunCaptured, WaitsTheTimeAfterTheChildEnded) {
    const DWORD start = GetTickCount();
    Outcome r = Captured("print", "/Out=" + Hex("done") + " /Code=0", nullptr, nullptr, 700);
    EXPECT_GE(GetTickCount() - start, 650u);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.output, "done");
}

TEST(RunCaptured, AProgramThatCannotStartGivesCode21AndAText) {
    Chunks chunks;
    std::string error, output = "old";
    DWORD code = 0;
    const std::string program = "C:\\no such folder\\missing.exe";
    EXPECT_FALSE(RunCaptured(program, "/a", SW_HIDE, Collect, &chunks, 0, error, output, code));
    EXPECT_EQ(code, 21u);
    EXPECT_EQ(output, "");
    const std::string head = "\"C:\\no such folder\\missing.exe\" /a --- ";
    ASSERT_GT(error.size(), head.size());
    EXPECT_EQ(error.substr(0, head.size()), head);
    EXPECT_EQ(chunks.all, error + "\r\n");

    const std::string longParameters(33000, 'p');
    EXPECT_FALSE(RunCaptured(procprobes::SelfPath(), longParameters, SW_HIDE, nullptr, nullptr, 0,
                             error, output, code));
    EXPECT_EQ(code, 21u);
    EXPECT_EQ(error, "Command line is too long");
}

} // namespace
