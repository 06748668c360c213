// The qualification rules through the conditions the engine calls.
#include "tests/win/vetter2/machine.h"
#include "tests/win/vetter2/plugin.h"

#include <memory>
#include <string>

namespace {

using namespace v2;

class Rules : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin::Get().module(), nullptr);
        ClearPublished();
    }
    void TearDown() override { ClearPublished(); }
    AscendoValues ascendo_;
};

TEST_F(Rules, ValidSystemLists) {
    Hardware hw("[WMI]\n0=Rack Server\n2=CX100\n[SMBIOS]\n1=ABC12-D1234-X1\n");
    struct Case {
        const char* data;
        int expected;
    } cases[] = {
        {"board=\"D12\"", 1},
        {"board=\"D1234X\"", 0},
        {"board=\"D9,D1234-X\"", 1},
        {"board=\"D9\" chassis=\"CX1\"", 0},
        {"board=\"D1\" chassis=\"CX1\"", 1},
        {"board=\"D1\" chassis=\"CY\"", 0},
        {"chassis=\"CY, ,CZ\"", 1}, // a blank item matches everything
        {"chassis=\",,,\"", 0},
        {"chassis=\"\"", 0},
        {"chassis=", 0},
        {"motherboard=\"D1234\"", 1}, // the key is a plain substring
        {"board=\"\tD12\t\"", 1},     // items are cleaned
        {"winminver=\"6.1\"", 0},
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Condition(0, c.data), c.expected) << c.data;
}

TEST_F(Rules, TheChassisIsNotConsultedForABoardOnlyOrAFailingBoard) {
    Hardware hw("[WMI]\n0=Rack Server\n2=CX100\n[SMBIOS]\n1=ABC12-D1234-X1\n");
    // The chassis identification publishes "CHASSISID": it has not run.
    EXPECT_EQ(Condition(0, "board=\"D1\""), 1);
    EXPECT_EQ(Env("CHASSISID"), "<unset>");
    EXPECT_EQ(AscendoValues::Read("Chassis"), "<none>");
    EXPECT_EQ(Condition(0, "board=\"Q\" chassis=\"CX\""), 0);
    EXPECT_EQ(Env("CHASSISID"), "<unset>");
    EXPECT_EQ(Condition(0, "board=\"D1\" chassis=\"CX\""), 1);
    EXPECT_EQ(Env("CHASSISID"), "CX100");
    EXPECT_EQ(Env("SACHNUMMER"), "ABC12-D1234-X1");
}

TEST_F(Rules, BoardFoundAndVirtualMachine) {
    struct Case {
        const char* ini;
        int boardFound; // condition 1
        int isVirtual;  // condition 7
    } cases[] = {
        {"[SMBIOS]\n1=440BX Desktop\n2=CX1\n", 1, 1},
        {"[SMBIOS]\n1=D1234\n2=440BX Chassis\n", 1, 0}, // "440BX" counts for boards only
        {"[SMBIOS]\n1=D1234\n2=HVM guest\n", 1, 1},
        {"[WMI]\n0=Virtual Machine\n[SMBIOS]\n1=D1234\n", 1, 1},
        {"[SMBIOS]\n1=Intel\n2=CX1\n", 0, 0},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        Hardware hw(c.ini);
        EXPECT_EQ(Condition(1, ""), c.boardFound);
        EXPECT_EQ(Condition(7, ""), c.isVirtual);
    }
}

TEST_F(Rules, BladeDecidedByTheFirstMatchingEntry) {
    // Every read appends to the list, so each case has a board of its own.
    struct Case {
        const char* board;
        const char* file;
        int blade;
    } cases[] = {
        {"ABC-D4001-X1", "D40|\t|\t|\t| no\nD4001|\t|\t|\t| yes\n", 0},
        {"ABC-D5002-X1", "D5002|\t|\t|\t| yes\nD50|\t|\t|\t| no\n", 1},
        {"D3003", "D9| | | |yes\n", 0},
        {"D3004", "D3004| | | |'yes'\n", 1},
        {"D3005", "D3005| | | |Yes\n", 0},
        {"D3006", nullptr, 0}, // no file: false
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.board);
        Hardware hw(std::string("[SMBIOS]\n1=") + c.board + "\n");
        std::unique_ptr<SystemIdFile> file;
        if (c.file) file = std::make_unique<SystemIdFile>(c.file);
        EXPECT_EQ(Condition(6, ""), c.blade);
        EXPECT_EQ(Export<NoArgBoolFn>(kIsBlade)(), c.blade != 0);
    }
    // A later file cannot overrule the entries read before it.
    Hardware hw("[SMBIOS]\n1=D4001\n");
    SystemIdFile file("D4001| | | |yes\n");
    EXPECT_EQ(Condition(6, ""), 0); // "D40 ... no" of the first case still comes first
}

TEST_F(Rules, ZrChassisFromTheNativeIdentifier) {
    using Fn = bool (*)(bool);
    auto zr = Export<Fn>(kIsZrChassis);
    {
        Hardware hw("[WMI]\n2=ZR100\n[SMBIOS]\n1=D1\n");
        SystemIdFile file("D1|ZR|CXA| |no\n"); // the abstract identifier is not used
        EXPECT_TRUE(zr(false));
    }
    {
        Hardware hw("[WMI]\n2=CX100\n");
        EXPECT_FALSE(zr(false));
    }
    Hardware none("");
    EXPECT_FALSE(zr(false));
}

} // namespace
