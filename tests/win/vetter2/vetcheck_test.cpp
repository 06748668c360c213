// vetcheck against the stand-ins: what the identity exports find and the
// answers of all nine conditions, as a support engineer sees them.
#include "tests/win/vetter2/child.h"
#include "tests/win/vetter2/machine.h"
#include "tests/win/vetter2/plugin.h"

#include <string>

namespace {

using namespace v2;

std::string Vetcheck(const std::string& args, long* code) {
    std::string out;
    *code = RunCapturing("\"" + testsupport::DistDir() + "\\vetcheck.exe\" " + args, &out);
    return out;
}

TEST(Vetcheck, IdentityAndAllConditionsAgainstTheStandIns) {
    ASSERT_NE(Plugin::Get().module(), nullptr);
    AscendoValues ascendo;
    testsupport::TempDir dir;
    ASSERT_TRUE(testsupport::WriteWholeFile(
        dir.file("data.txt"), "board=\"D12\" chassis=\"CX1\" winminver=\"5.0\" appname=\"MOBA\" "
                              "rivappname=\"HOSTMON\""));
    long code = -1;
    std::string out;
    {
        Hardware hw("[WMI]\n0=Rack Server 9\n2=CX100\n[SMBIOS]\n1=ABC12-D1234-X1\n");
        out = Vetcheck("--data-file " + dir.file("data.txt"), &code);
    }
    EXPECT_EQ(code, 0);
    for (const char* line :
         {"model Rack Server 9\n", "chassis CX100\n", "d-number D1234-X1\n",
          "condition 0 \"Valid System ?\" = 1\n",
          "condition 1 \"Chassis and/or D-Number found ?\" = 1\n",
          "condition 2 \"Is VTRX available ?\" = 0\n", "condition 3 \"Is WinPE OS ?\" = 0\n",
          "condition 4 \"Valid Windows ?\" = 1\n", "condition 6 \"Is Blade System ?\" = 0\n",
          "condition 7 \"Is Virtual Machine ?\" = 0\n",
          "condition 8 \"Is Competing Application installed ?\" = 0\n",
          "published CHASSISID=CX100\n", "published SACHNUMMER=ABC12-D1234-X1\n",
          "published CHASSISMODEL=Rack Server 9\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << out;
    EXPECT_NE(out.find("condition 5 \"Is W2K8 R2 OS ?\" = "), std::string::npos);

    Hardware virtualBoard("[SMBIOS]\n1=440BX Reference\n");
    out = Vetcheck("", &code);
    for (const char* line :
         {"model not determined (4)\n", "chassis not determined (4)\n",
          "d-number 440BX Reference\n", "condition 7 \"Is Virtual Machine ?\" = 1\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << out;
}

} // namespace
