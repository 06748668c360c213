// Chassis and board identity through the exports, with the HwProbe stand-in
// answering as the hardware and the system-ID file beside the plug-in.
#include "tests/win/vetter2/machine.h"
#include "tests/win/vetter2/plugin.h"

#include <string>

namespace {

using namespace v2;

class Identity : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin::Get().module(), nullptr);
        ClearPublished();
        Var<bool>(kIDsFromRegistry) = false;
    }
    void TearDown() override {
        Var<bool>(kIDsFromRegistry) = false;
        ClearPublished();
    }
    AscendoValues ascendo_;
};

bool DNumber(std::string* out, bool publish) {
    char buffer[512] = {};
    bool ok = Export<TextBoolFn>(kGetDNumber)(buffer, publish);
    *out = buffer;
    return ok;
}

TEST_F(Identity, DNumberFromTheBoardIdentifierAndWhatIsPublished) {
    struct Case {
        const char* board;
        bool ok;
        const char* dnumber;
        const char* stored; // "systemBoard" after a publishing call
    } cases[] = {
        {"ABC12-D1234-X1", true, "D1234-X1", "D1234-X1 == ABC12-D1234-X1"},
        {"D1234", true, "D1234", "D1234"},
        {"440BX Reference Platform", true, "440BX Reference Platform", "440BX Reference Platform"},
        {"Intel", false, "", "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.board);
        Hardware hw(std::string("[SMBIOS]\n1=") + c.board + "\n");
        AscendoValues fresh;
        std::string d;
        EXPECT_EQ(DNumber(&d, false), c.ok);
        EXPECT_EQ(d, c.dnumber);
        EXPECT_EQ(AscendoValues::Read("systemBoard"), "<none>"); // not without publish
        EXPECT_EQ(Env("SACHNUMMER"), "<unset>");
        EXPECT_EQ(DNumber(&d, true), c.ok);
        EXPECT_EQ(AscendoValues::Read("systemBoard"), c.stored);
        EXPECT_EQ(Env("SACHNUMMER"), c.board); // published before the D-number rule
        ClearPublished();
    }
}

TEST_F(Identity, BoardSourcesInOrderAndTheBlankTest) {
    char out[512];
    auto info = Export<BoardFn>(kGetBoardInfo);
    {
        Hardware hw("[SMBIOS]\n1=D1111\n[WMI]\n1=D2222\n");
        ASSERT_TRUE(info(out, false, nullptr));
        EXPECT_STREQ(out, "D1111"); // SMBIOS before WMI
    }
    {
        // Quoted INI values keep their blanks: 30 blanks are missing, 31 are a value.
        Hardware hw("[SMBIOS]\n1=\"" + std::string(30, ' ') + "\"\n[WMI]\n1=D2222\n2=\"" +
                    std::string(30, ' ') + "\"\n");
        ASSERT_TRUE(info(out, false, nullptr));
        EXPECT_STREQ(out, "D2222");
        EXPECT_EQ(CallText(kGetWmiChassis, false).result, 4);
    }
    {
        Hardware hw("[WMI]\n2=\"" + std::string(31, ' ') + "\"\n");
        TextAnswer a = CallText(kGetWmiChassis, false);
        EXPECT_EQ(a.result, 0);
        EXPECT_EQ(a.text, std::string(31, ' '));
    }
    {
        Hardware none("");
        EXPECT_FALSE(info(out, true, nullptr));
        EXPECT_EQ(CallText(kGetChassis, true).result, 4);
        EXPECT_EQ(CallText(kGetModelName, true).result, 4);
    }
    // Null outputs are refused, not written.
    Hardware hw("[SMBIOS]\n1=D1111\n2=CX1\n");
    EXPECT_FALSE(info(nullptr, false, nullptr));
    EXPECT_EQ(Export<TextIntFn>(kGetChassis)(nullptr, false), 3);
}

TEST_F(Identity, ModelNameIsCleanedButPublishedAsReturned) {
    Hardware hw("[WMI]\n0=\"  Rack\tServer 9  \"\n");
    TextAnswer a = CallText(kGetModelName, true);
    EXPECT_EQ(a.result, 0);
    EXPECT_EQ(a.text, "  Rack Server 9"); // leading blanks stay
    EXPECT_EQ(Env("CHASSISMODEL"), "  Rack\tServer 9  ");
}

TEST_F(Identity, VirtualModelIsTheChassisWithoutTheSystemIdFile) {
    Hardware hw("[WMI]\n0=VMware Virtual Platform\n2=CX100\n[SMBIOS]\n1=D1234\n");
    SystemIdFile file("D1234|CX|MAPPED|\t|no\n");
    size_t before = SystemIdEntries();
    TextAnswer a = CallText(kGetChassis, true);
    EXPECT_EQ(a.result, 0);
    EXPECT_EQ(a.text, "VMware Virtual Platform");
    EXPECT_EQ(SystemIdEntries(), before); // the file was not read
    EXPECT_EQ(AscendoValues::Read("Chassis"), "VMware Virtual Platform");
    EXPECT_EQ(CallText(kGetNativeChassis, false).text, "VMware Virtual Platform");
}

TEST_F(Identity, ChassisFromTheSourcesWhenTheSystemIdFileIsMissing) {
    Hardware hw("[WMI]\n0=Rack Server\n[SMBIOS]\n1=D1234\n2=CX100\n");
    EXPECT_EQ(Export<NoArgIntFn>(kReadSystemIdFile)(), 50);
    TextAnswer a = CallText(kGetChassis, true);
    EXPECT_EQ(a.result, 0);
    EXPECT_EQ(a.text, "CX100");
    EXPECT_EQ(Env("CHASSISID"), "CX100");
    EXPECT_EQ(AscendoValues::Read("Chassis"), "CX100");
    EXPECT_EQ(CallText(kGetAbstractChassis, false).result, 4);
}

const char kSystemIds[] = "# D-Number | native Chassis-ID | Abstract-ID | native Model-ID | blade\n"
                          "D-Number|native Chassis-ID|Abstract-ID|native Model-ID|is-blade?\n"
                          "---------+----------+-------+-----+----\n"
                          "\n"
                          "| D1234 | CX1 | CXB | Other Model | no |\n"
                          "| D1234 | CX1 | CXA |\t\t| yes |\n"
                          "| D5555 |\t\t| ' spaced ' | | no\n"
                          "| D7777 | ZR | ZRA | Rack Server | 'yes' \n"
                          "||||\n";

TEST_F(Identity, SystemIdFileRulesAndTheMappingWalk) {
    SystemIdFile file(kSystemIds);
    size_t before = SystemIdEntries();
    ASSERT_EQ(Export<NoArgIntFn>(kReadSystemIdFile)(), 0);
    // Comment and bars-only lines give none; title, ruler and the empty line one each.
    EXPECT_EQ(SystemIdEntries(), before + 7);
    ASSERT_EQ(Export<NoArgIntFn>(kReadSystemIdFile)(), 0);
    EXPECT_EQ(SystemIdEntries(), before + 14); // every read appends again

    struct Case {
        const char* model;
        const char* board;
        const char* chassis;
        const char* abstractId;
    } cases[] = {
        {"Rack Server", "ABC-D1234-X1", "CX100", "CXA"}, // the model line does not match
        {"Other Model", "D1234", "CX100", "CXB"},        // now the model line matches first
        {"Rack Server", "D1234", "CY100", "CY100"},      // no chassis prefix: the chassis itself
        {"Rack Server", "D5555", "ANY", " spaced "},     // empty chassis column, apostrophes
        {"Rack Server", "D7777", "ZR10", "ZRA"},
        {"Tower", "D7777", "ZR10", "ZR10"},   // model column compared exactly
        {"Rack Server", "D9999", "Q1", "Q1"}, // only the empty line's entry matches
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.board) + " " + c.chassis + " " + c.model);
        Hardware hw(std::string("[WMI]\n0=") + c.model + "\n2=" + c.chassis +
                    "\n[SMBIOS]\n1=" + c.board + "\n");
        TextAnswer a = CallText(kGetAbstractChassis, true);
        EXPECT_EQ(a.result, 0);
        EXPECT_EQ(a.text, c.abstractId);
        EXPECT_EQ(AscendoValues::Read("Chassis"), c.abstractId);
        EXPECT_EQ(CallText(kGetChassis, false).text, c.abstractId);
    }
}

TEST_F(Identity, RegistryValuesOnlyWithIDsFromRegistry) {
    ASSERT_TRUE(AscendoValues::Write("Chassis", "CXREG"));
    ASSERT_TRUE(AscendoValues::Write("systemBoard", "D1234-X1 == ABC12-D1234-X1"));
    auto registry = Export<RegistryFn>(kGetRegistry);
    char name[] = "Chassis", board[] = "systemBoard", missing[] = "NoSuchValue";
    char out[512] = "untouched";
    bool found = false;
    EXPECT_FALSE(registry(name, out, true, &found));
    EXPECT_FALSE(found);
    EXPECT_STREQ(out, "untouched");
    EXPECT_EQ(Env("CHASSISID"), "<unset>");

    Var<bool>(kIDsFromRegistry) = true;
    EXPECT_TRUE(registry(name, out, true, &found));
    EXPECT_TRUE(found);
    EXPECT_STREQ(out, "CXREG");
    EXPECT_EQ(Env("CHASSISID"), "CXREG");
    found = false;
    EXPECT_TRUE(registry(board, out, true, &found));
    EXPECT_TRUE(found);
    EXPECT_STREQ(out, "D1234-X1");
    EXPECT_EQ(Env("SACHNUMMER"), "ABC12-D1234-X1");
    found = false;
    EXPECT_FALSE(registry(missing, out, false, &found));
    EXPECT_FALSE(found);
    EXPECT_FALSE(registry(nullptr, out, false, &found));

    // The stored chassis is the raw identifier the mapping starts from.
    Hardware hw("[WMI]\n2=CXWMI\n[SMBIOS]\n1=D4242\n");
    SystemIdFile file("D4242|CXREG|CXMAPPED|\t|no\n");
    TextAnswer a = CallText(kGetChassis, false);
    EXPECT_EQ(a.result, 0);
    EXPECT_EQ(a.text, "CXMAPPED");
    Var<bool>(kIDsFromRegistry) = false;
    EXPECT_EQ(CallText(kGetChassis, false).text, "CXWMI");
}

} // namespace
