#include "core/agent/update_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace agent;

TEST(UpdateRules, OfferTextPicksTheSecondPart) {
    const OfferTexts t{"A-PROG_NAME ", "s12", "s13", "s18", "s19"};
    struct Case {
        bool confirmInstall, force;
        const char* tail;
    };
    const Case cases[] = {
        {false, false, "s12"}, {true, false, "s13"}, {false, true, "s18"}, {true, true, "s19"}};
    for (const Case& c : cases)
        EXPECT_EQ(OfferText(t, c.confirmInstall, c.force), std::string("A-PROG_NAME ") + c.tail);
    EXPECT_EQ(WithProgramName("PROG_NAME and PROG_NAME", "Tool"), "Tool and Tool");
    EXPECT_EQ(WithProgramName("none", "Tool"), "none");
}

TEST(UpdateRules, ConfirmationAndFinish) {
    // The force flag alone shows nothing; a user-requested check asks nothing.
    EXPECT_EQ(ConfirmationOf(false, true, 0), Confirmation::None);
    EXPECT_EQ(ConfirmationOf(false, false, 0), Confirmation::None);
    EXPECT_EQ(ConfirmationOf(true, false, 0), Confirmation::Ask);
    EXPECT_EQ(ConfirmationOf(true, true, 0), Confirmation::Inform);
    EXPECT_EQ(ConfirmationOf(true, false, 1), Confirmation::None);
    EXPECT_EQ(ConfirmationOf(true, false, 2), Confirmation::Ask);

    EXPECT_EQ(FinishOf(false, true, 1, true), Finish::None);
    EXPECT_EQ(FinishOf(true, false, 0, true), Finish::None);
    EXPECT_EQ(FinishOf(true, true, 0, false), Finish::Inform);
    EXPECT_EQ(FinishOf(true, false, 1, false), Finish::Inform);
    EXPECT_EQ(FinishOf(true, true, 0, true), Finish::AskRestart);
}

TEST(UpdateRules, ShutDownMethodsCompareExactly) {
    struct Case {
        const char* value;
        ShutDownMethod method;
        bool waits;
    };
    const Case cases[] = {
        {"Issue a Message Box", ShutDownMethod::AskUser, true},
        {"Using WM_CLOSE", ShutDownMethod::WmClose, true},
        {"Using WM_QUIT", ShutDownMethod::WmQuit, true},
        {"Using Terminate Process", ShutDownMethod::Terminate, true},
        {"Don't Shut Down", ShutDownMethod::DontShutDown, false},
        {"using wm_close", ShutDownMethod::Other, true},
        {" Using WM_CLOSE", ShutDownMethod::Other, true},
        {"", ShutDownMethod::Other, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShutDownMethodOf(c.value), c.method) << c.value;
        EXPECT_EQ(WaitsAfterShutDown(ShutDownMethodOf(c.value)), c.waits) << c.value;
    }
}

TEST(UpdateRules, RunningState) {
    EXPECT_EQ(RunningStateAfterShutDown(kNotRunning, false), kNotRunning);
    EXPECT_EQ(RunningStateAfterShutDown(kNotRunning, true), kNotRunning);
    EXPECT_EQ(RunningStateAfterShutDown(kWasRunning, true), kWasRunning);
    EXPECT_EQ(RunningStateAfterShutDown(kWasRunning, false), kEndedByShutDown);
}

TEST(UpdateRules, NoticeTextIsTheFifthField) {
    struct Case {
        const char* content;
        const char* text;
    };
    const Case cases[] = {
        {"x|tok|a|b|Hello", "Hello"},
        {"x|tok|a|b|one | two | three", "one | two | three"},
        {"|||||", "|"},
        {"x|tok|a|b|", ""},
        {"x|tok|a|b", ""},
        {"no separators", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NoticeText(c.content), c.text) << c.content;
}

TEST(UpdateRules, NoticeFontsAndLayout) {
    EXPECT_EQ(NoticeTextFace("Tahoma"), "Verdana");
    EXPECT_EQ(NoticeTextFace(""), "Verdana");
    EXPECT_EQ(NoticeTextFace("Arial"), "Arial");

    NoticeLayout with = NoticeLayoutFor(400, 300, true);
    EXPECT_EQ(with.text.left, 3);
    EXPECT_EQ(with.text.top, 0);
    EXPECT_EQ(with.text.width, 397);
    EXPECT_EQ(with.text.height, 257);
    EXPECT_EQ(with.button.left, 120);
    EXPECT_EQ(with.button.top, 267);
    EXPECT_EQ(with.button.width, 160);
    EXPECT_EQ(with.button.height, 25);
    EXPECT_EQ(with.lineY, 257);

    NoticeLayout without = NoticeLayoutFor(401, 300, false);
    EXPECT_EQ(without.text.height, 300);
    EXPECT_EQ(without.text.width, 398);
    EXPECT_EQ(without.button.width, 0);
    EXPECT_EQ(without.lineY, -1);
    // A client narrower than the button: the half is truncated toward zero.
    EXPECT_EQ(NoticeLayoutFor(101, 50, true).button.left, -29);
}

} // namespace
