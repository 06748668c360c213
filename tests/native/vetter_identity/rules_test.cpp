#include "core/vetter/identity/rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace identity;

namespace {

TEST(RulesList, PrefixMatchOverCleanedItems) {
    struct Case {
        const char* identifier;
        const char* list;
        bool match;
    } cases[] = {
        {"D1234-X1", "D12", true},
        {"D1234-X1", "D1234X", false},
        {"D1234-X1", "D5678,D1234", true},
        {"D1234-X1", " \"D1234\" ,D9", true},
        {"D1234-X1", "d1234", false},
        {"CX100", "D1, ,D2", true}, // a blank item matches everything
        {"CX100", ",,,", false},
        {"CX100", "", false},
        {"CX100", ",CX1,", true},
        {"", "A", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListMatch(c.identifier, c.list), c.match) << c.identifier << " / " << c.list;
    }
    EXPECT_EQ(ListItems(",a,,b ,"), (std::vector<std::string>{"a", "b"}));
}

struct Calls {
    int board = 0, chassis = 0;
};

TEST(RulesKeys, BoardAndChassisDecision) {
    struct Case {
        const char* data;
        bool boardFound, chassisFound, boardHolds, chassisHolds;
        bool expected;
        int boardCalls, chassisCalls;
    } cases[] = {
        {"board=\"D1\"", true, false, true, true, true, 1, 0},
        {"board=\"D1\" chassis=\"C\"", true, true, false, true, false, 1, 0},
        {"board=\"D1\" chassis=\"C\"", true, true, true, false, false, 1, 1},
        {"board=\"D1\" chassis=\"C\"", true, true, true, true, true, 1, 1},
        {"chassis=\"C\"", false, true, true, true, true, 0, 1},
        {"motherboard=\"D1\"", true, false, true, true, true, 1, 0},
        {"chassis", false, false, true, true, false, 0, 0},
        {"", false, false, true, true, false, 0, 0},
        // Both keys named: the board rule runs first, whichever values were read.
        {"board chassis=\"C\"", false, true, false, true, false, 1, 0},
    };
    for (const Case& c : cases) {
        Calls calls;
        bool got = DecideBoardAndChassis(
            c.data, c.boardFound, c.chassisFound,
            [&] {
                ++calls.board;
                return c.boardHolds;
            },
            [&] {
                ++calls.chassis;
                return c.chassisHolds;
            });
        EXPECT_EQ(got, c.expected) << c.data;
        EXPECT_EQ(calls.board, c.boardCalls) << c.data;
        EXPECT_EQ(calls.chassis, c.chassisCalls) << c.data;
    }
    EXPECT_FALSE(DecideBoardAndChassis(nullptr, true, true, nullptr, nullptr));
}

TEST(RulesVirtual, ChassisIgnores440BXAndZrIsAPrefix) {
    EXPECT_TRUE(IsVirtualChassisName("VMware Virtual Platform"));
    EXPECT_FALSE(IsVirtualChassisName("440BX"));
    EXPECT_TRUE(IsZrChassis("ZR100"));
    EXPECT_FALSE(IsZrChassis("zr100"));
    EXPECT_FALSE(IsZrChassis("Z"));
}

} // namespace
