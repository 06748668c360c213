#include "core/util/cmdline.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CmdLine, TailDropsTheProgramName) {
    const std::string exe = "C:\\Apps\\stub.exe";
    struct Case {
        std::string commandLine, exePath, expected;
    } cases[] = {
        {"\"C:\\Apps\\stub.exe\" /a=1", exe, "/a=1"},
        {"C:\\Apps\\stub.exe /a=1 ", exe, "/a=1"},
        {"\"C:\\APPS\\STUB.EXE\"  /a", exe, "/a"},
        {"stub.exe /x", exe, "/x"},
        {"\"C:\\Apps\\stub.exe\"", exe, ""},
        {"\"C:\\Apps\\stub.exe\" \"", exe, ""},
        {"C:\\Apps\\stub.exe\"", exe, ""},
        {"C:\\Apps\\stub.exe x", exe, ""},
        {"stub /a", exe, "stub /a"},
        {"  /a  ", "", "/a"},
        {"\"C:\\Apps\\Y_stub.exe\" /SpanDiskFName1=C:\\Apps\\stub.exe", "C:\\Apps\\Y_stub.exe",
         "/SpanDiskFName1=C:\\Apps\\stub.exe"},
        {"", exe, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommandTailOf(c.commandLine, c.exePath), c.expected) << c.commandLine;
}

TEST(CmdLine, OptionListUsesByteOne) {
    EXPECT_EQ(CmdOptionList("/A=1 /B=x y", '/'), "\x01\x01"
                                                 "A=1\x01"
                                                 "B=x y\x01");
    EXPECT_EQ(CmdOptionList("-A=\"q\" -B", '-'), "\x01\x01"
                                                 "A=q\x01"
                                                 "B\x01");
    EXPECT_EQ(CmdOptionList("", '/'), "\x01 \x01");
}

TEST(CmdLine, Values) {
    struct Case {
        std::string tail, name, expected;
    } cases[] = {
        {"/sleepx=30", "/SleepX", "30"},
        {"/SleepX=", "/SleepX", ""},
        {"/SleepX= ", "/SleepX", ""},
        {"/A=1 /B=x y", "B", "x y"},
        {"/A=1 /B=x y", "/a", "1"},
        {"/A=1 /A=2", "A", "1"},
        {"/A = 5", "A", "5"},
        {"/P=\"C:\\Program Files\\x\" /Q=1", "/P", "C:\\Program Files\\x"},
        {"-x=3", "-x", "3"},
        {"-x=3", "/x", "dflt"},
        {"/x=3", "-x", "dflt"},
        {"/AB=1", "A", "dflt"},
        {"/B=1", "A", "dflt"},
        {"/K=a/b", "K", "a/b"},
        {"/K=a /b", "K", "a"},
        {"foo/X=1", "X", "dflt"},
        {"/X=1", "X=", "1"},
        {"/X=1", "", "dflt"},
        {"/X=1", "//", "dflt"},
        {"/X=1", "  /X  ", "1"},
        {"/OriginalInfoFile=C:\\a b\\c.info /hide", "OriginalInfoFile", "C:\\a b\\c.info"},
        {"", "X", "dflt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetCmdValueOf(c.tail, c.name, "dflt"), c.expected) << c.tail << " / " << c.name;
}

TEST(CmdLine, IntegersAndWords) {
    EXPECT_EQ(GetCmdIntOf("/sleepx=30", "/SleepX", -1), 30);
    EXPECT_EQ(GetCmdIntOf("/SleepX=", "/SleepX", -1), -1);
    EXPECT_EQ(GetCmdIntOf("/SleepX=abc", "/SleepX", -1), -1);
    EXPECT_EQ(GetCmdIntOf("/N=-5 /M=2", "N", 0), -5);
    EXPECT_EQ(GetCmdIntOf("/N=99999999999", "N", 0), 99999999999LL);
    EXPECT_EQ(GetCmdIntOf("", "N", 7), 7);

    struct Case {
        std::string tail, word;
        bool expected;
    } words[] = {
        {"/hide", "/hide", true},   {"/HIDE /x", "/hide", true}, {"/x /hide", " /hide ", true},
        {"/hidex", "/hide", false}, {"", "/hide", false},        {"/a b", "", false},
        {"/a b", "   ", false},     {"/a=/hide", "/hide", true},
    };
    for (const Case& c : words)
        EXPECT_EQ(HasCmdWordOf(c.tail, c.word), c.expected) << c.tail << " / " << c.word;
}

} // namespace
