// The management-service query functions against the vtrx-sim stand-in,
// which logs every call with its arguments.
#include "tests/win/vetter/registry_fixtures.h"
#include "tests/win/vetter2/machine.h"
#include "tests/win/vetter2/plugin.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace v2;

constexpr const char kChassisVtrx[] = "?Get_Chassis_ID_VTRX@@YAHPAD_N@Z";
constexpr const char kBoardModelVtrx[] = "?Get_Systemboard_Model_VTRX@@YAHPAD_N@Z";
constexpr const char kSachnummerVtrx[] = "?Get_Systemboard_Sachnummer_VTRX@@YAHPAD_N@Z";
constexpr const char kCabinetModelVtrx[] = "?Get_CabinetModel_VTRX@@YAHPAD_N@Z";
constexpr const char kBiosVersion[] = "?Get_BIOS_Version@@YAHPAD_N@Z";
constexpr const char kXcbFirmware[] = "?Get_XCB_Firmware_VTRX@@YAHPAD_N@Z";
constexpr const char kXcbModel[] = "?Get_XCB_Model_VTRX@@YAHPAD_N@Z";
constexpr const char kCabinetNumber[] = "?Get_CabinetNumber_VTRX@@YAHPAK_N@Z";
// The HOSTMON upgrade code of the product table and a product of the test's own.
const char kHostmon[] = "{2C9E4A61-0B7D-4E58-A3F1-6D02B7C9E814}";
const char kProduct[] = "{5D1E2F30-4A5B-4C6D-8E7F-90A1B2C3D4E5}";
constexpr unsigned kSeamWaitMs = 150;

std::string SimPath() {
    return "\"" + testsupport::DistDir() + "\\vtrx-sim.exe\"";
}

// One request as the stand-in logged it: "0C80", "0C00/0108", "E204/cabinet=65535".
std::vector<std::string> Requests(const std::string& log) {
    std::vector<std::string> out;
    std::istringstream lines(log);
    std::string line;
    auto le32 = [](const std::string& hex, size_t byte) {
        unsigned v = 0;
        for (int i = 3; i >= 0; --i)
            v = v * 256 + unsigned(std::stoul(hex.substr((byte + i) * 2, 2), nullptr, 16));
        return v;
    };
    while (std::getline(lines, line)) {
        char text[64];
        size_t h = line.find("call CmdRequest header=");
        if (h != std::string::npos) {
            std::string hex = line.substr(h + 23, 96);
            unsigned command = le32(hex, 12), object = le32(hex, 16), cabinet = le32(hex, 24);
            if (command == 0x0C00)
                std::snprintf(text, sizeof text, "0C00/%04X", object);
            else if (command == 0xE204)
                std::snprintf(text, sizeof text, "E204/cabinet=%u", cabinet);
            else
                std::snprintf(text, sizeof text, "%04X", command);
            out.push_back(text);
            continue;
        }
        size_t c = line.find(" command=");
        if (line.rfind("call VCRequest", 0) == 0 && c != std::string::npos) {
            std::string command = line.substr(c + 9, 4);
            std::string object = line.substr(line.find(" object=") + 8, 4);
            size_t cab = line.find(" cabinet=");
            std::string cabinet = line.substr(cab + 9, line.find(' ', cab + 1) - cab - 9);
            if (command == "0C00")
                out.push_back("0C00/" + object);
            else if (command == "E204")
                out.push_back("E204/cabinet=" + cabinet);
            else
                out.push_back(command);
        }
    }
    return out;
}

class Service : public ::testing::Test {
  protected:
    static void TearDownTestSuite() { testsupport::RunAndWait(SimPath() + " /unregserver"); }
    void SetUp() override {
        ASSERT_NE(Plugin::Get().module(), nullptr);
        ClearPublished();
        SetEnvironmentVariableA("VETTER_TEST_VTRX_WAIT_MS", std::to_string(kSeamWaitMs).c_str());
        _putenv(("VETTER_TEST_VTRX_WAIT_MS=" + std::to_string(kSeamWaitMs)).c_str());
    }
    void TearDown() override { ClearPublished(); }

    void Start(const std::string& script) {
        ASSERT_TRUE(testsupport::WriteWholeFile(dir_.file("script.ini"), script));
        DeleteFileA(dir_.file("calls.log").c_str());
        ASSERT_EQ(testsupport::RunAndWait(SimPath() +
                                          " /regserver /script=" + dir_.file("script.ini") +
                                          " /log=" + dir_.file("calls.log")),
                  0);
    }
    std::string Log() { return testsupport::ReadWholeFile(dir_.file("calls.log")); }

    testsupport::TempDir dir_;
};

TEST_F(Service, NullOutputIsABadCallWithoutContactingTheService) {
    Start("[Values]\n0108=CX100\n");
    for (const char* name : {kChassisVtrx, kBoardModelVtrx, kSachnummerVtrx, kCabinetModelVtrx,
                             kBiosVersion, kXcbFirmware, kXcbModel})
        EXPECT_EQ(Export<TextIntFn>(name)(nullptr, true), 3) << name;
    using CabinetFn = int (*)(unsigned long*, bool);
    EXPECT_EQ(Export<CabinetFn>(kCabinetNumber)(nullptr, false), 3);
    EXPECT_EQ(Log(), "");
}

TEST_F(Service, StartingStateIsWaitedForThenTheValueIsAsked) {
    Start("[Cabinet]\nType=I2\nValue=7\n[State]\nSequence=1,1,1,2\n[Values]\n0108=CX100\n");
    DWORD start = GetTickCount();
    TextAnswer a = CallText(kChassisVtrx, false);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(a.result, 0);
    EXPECT_EQ(a.text, "CX100");
    EXPECT_EQ(Requests(Log()),
              (std::vector<std::string>{"0C80", "0C80", "0C80", "0C80", "0C00/0108"}));
    EXPECT_GE(elapsed, 3 * kSeamWaitMs - 50); // three waits
    std::string log = Log();
    EXPECT_NE(log.find("put ClientName=win_vetter2_tests lcid=0400"), std::string::npos) << log;
    EXPECT_NE(log.find("get ServerCabinetNumber lcid=0400"), std::string::npos);
    // The cabinet number from the property travels in every request.
    EXPECT_NE(log.find("call CmdRequest header=245349500200300000000000800C00000000000000000000"
                       "07000000"),
              std::string::npos);
    EXPECT_EQ(log.find("E204"), std::string::npos);
}

TEST_F(Service, UnusableStatesGiveFourWithoutAValueRequest) {
    struct Case {
        const char* sequence;
        int result;
        std::vector<std::string> requests;
    } cases[] = {
        {"0", 4, {"0C80"}},
        {"4", 4, {"0C80"}},
        {"-1", 4, {"0C80"}},           // an answer left at status 22
        {"1,-1", 4, {"0C80", "0C80"}}, // unsuccessful during the wait
        {"3", 0, {"0C80", "0C00/0108"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sequence);
        Start(std::string("[State]\nSequence=") + c.sequence + "\n[Values]\n0108=CX100\n");
        EXPECT_EQ(CallText(kChassisVtrx, true).result, c.result);
        EXPECT_EQ(Requests(Log()), c.requests);
        EXPECT_EQ(Env("CHASSISID"), c.result == 0 ? "CX100" : "<unset>");
        ClearPublished();
    }
}

TEST_F(Service, MissingValueIsFatal) {
    Start("[State]\nSequence=2\n[Values]\n0108=CX100\n");
    EXPECT_EQ(CallText(kBiosVersion, false).result, 55); // object A006 answers status 5
    EXPECT_EQ(Requests(Log()), (std::vector<std::string>{"0C80", "0C00/A006"}));
}

TEST_F(Service, OnlyVCRequestAndThe32BitCabinetFallback) {
    Start("[Members]\nOffer=VCRequest,ServerCabinetNumber\n[Cabinet]\nType=I4\nValue=70000\n"
          "FallbackStatus=0\nFallbackData=3412\n[Values]\n0208=BOARD-M\n");
    TextAnswer a = CallText(kBoardModelVtrx, false);
    EXPECT_EQ(a.result, 0);
    EXPECT_EQ(a.text, "BOARD-M");
    std::string log = Log();
    EXPECT_EQ(Requests(log), (std::vector<std::string>{"E204/cabinet=65535", "0C80", "0C00/0208"}));
    EXPECT_EQ(log.find("call CmdRequest"), std::string::npos);
    EXPECT_EQ(log.find("call VCRequestEx"), std::string::npos);
    // Seven arguments: no flags.
    EXPECT_NE(log.find("command=0C00 object=0208 index=0 cabinet=4660 data= status=22 int=0 "
                       "lcid=0400"),
              std::string::npos)
        << log;

    using CabinetFn = int (*)(unsigned long*, bool);
    unsigned long cabinet = 0;
    EXPECT_EQ(Export<CabinetFn>(kCabinetNumber)(&cabinet, false), 0);
    EXPECT_EQ(cabinet, 0x1234u);
}

TEST_F(Service, CabinetNumberFromThePropertyOrZero) {
    using CabinetFn = int (*)(unsigned long*, bool);
    struct Case {
        const char* script;
        unsigned long cabinet;
    } cases[] = {
        {"[Cabinet]\nType=I2\nValue=3\n", 3},
        {"[Cabinet]\nType=Fail\nFallbackStatus=0\nFallbackData=0201\n", 0x0102},
        {"[Cabinet]\nType=I4\nValue=9\nFallbackStatus=0\nFallbackData=010203\n", 0}, // not 2 bytes
        {"[Cabinet]\nType=I4\nValue=9\nFallbackStatus=5\nFallbackData=0102\n", 0},
        // The state does not matter to the cabinet number.
        {"[Cabinet]\nType=I2\nValue=5\n[State]\nSequence=0\n", 5},
    };
    for (const Case& c : cases) {
        Start(c.script);
        unsigned long cabinet = 99;
        EXPECT_EQ(Export<CabinetFn>(kCabinetNumber)(&cabinet, false), 0) << c.script;
        EXPECT_EQ(cabinet, c.cabinet) << c.script;
    }
}

TEST_F(Service, PublishingSetsOnlyTheFunctionsVariable) {
    Start("[Values]\n0108=CX100\n0201=P40210-D1234\n0208=BOARD-M\n0608=CAB-M\nA006=BIOS 1.0\n");
    struct Case {
        const char* fn;
        const char* variable;
        const char* value;
    } cases[] = {
        {kChassisVtrx, "CHASSISID", "CX100"},
        {kCabinetModelVtrx, "CHASSISID", "CAB-M"},
        {kSachnummerVtrx, "SACHNUMMER", "P40210-D1234"},
        {kBoardModelVtrx, "SYSTEMMODEL", "BOARD-M"},
        {kBiosVersion, nullptr, "BIOS 1.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fn);
        TextAnswer quiet = CallText(c.fn, false);
        EXPECT_EQ(quiet.result, 0);
        EXPECT_EQ(quiet.text, c.value);
        for (const char* v : {"CHASSISID", "SACHNUMMER", "SYSTEMMODEL", "CHASSISMODEL"})
            EXPECT_EQ(Env(v), "<unset>") << v;
        EXPECT_EQ(CallText(c.fn, true).result, 0);
        if (c.variable) {
            EXPECT_EQ(Env(c.variable), c.value);
        }
        ClearPublished();
    }
}

TEST_F(Service, IdentityFallsBackToTheServiceOnlyWhenInstalledOrInWinPE) {
    Start("[Values]\n0108=CX-SVC\n0208=D7777-SVC\n");
    Hardware none("");
    AscendoValues ascendo;
    EXPECT_EQ(CallText(kGetNativeChassis, false).result, 4);
    EXPECT_EQ(Log(), ""); // not asked
    {
        vettertest::FakeMsiProduct hostmon(kHostmon, kProduct, "7.1");
        TextAnswer a = CallText(kGetNativeChassis, false);
        EXPECT_EQ(a.result, 0);
        EXPECT_EQ(a.text, "CX-SVC");
        char board[512] = {};
        EXPECT_TRUE(Export<BoardFn>(kGetBoardInfo)(board, false, nullptr));
        EXPECT_STREQ(board, "D7777-SVC");
    }
    DeleteFileA(dir_.file("calls.log").c_str());
    EXPECT_EQ(CallText(kGetChassis, false).result, 4);
    EXPECT_EQ(Log(), "");
    {
        WinPeKey winpe;
        TextAnswer a = CallText(kGetChassis, true);
        EXPECT_EQ(a.result, 0);
        EXPECT_EQ(a.text, "CX-SVC");
        EXPECT_EQ(Env("CHASSISID"), "CX-SVC"); // set by the service query itself
        EXPECT_EQ(AscendoValues::Read("Chassis"), "CX-SVC");
    }
}

TEST_F(Service, NotRegisteredIsFatal) {
    ASSERT_EQ(testsupport::RunAndWait(SimPath() + " /unregserver"), 0);
    EXPECT_EQ(CallText(kChassisVtrx, true).result, 55);
    EXPECT_EQ(Env("CHASSISID"), "<unset>");
}

} // namespace
