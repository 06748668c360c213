// The stand-in "HbaApi.dll", loaded by path and driven through the same
// inventory logic the plug-in uses.
#include "core/vetter/fc/fc_text.h"
#include "core/vetter/fc/hba_inventory.h"
#include "tests/support/wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

template <class T> T Val(T v) {
    return v;
}

const char* const kIni = "[HbaApi]\n"
                         "Version=3\n"
                         "Adapters=2\n"
                         "[Adapter0]\n"
                         "Name=fc-closed\n"
                         "Open=0\n"
                         "[Adapter1]\n"
                         "Name=fc1\n"
                         "Manufacturer=  Maker\t\n"
                         "Model=LPe 1\n"
                         "NodeWWN=20:00:00:00:C9:12:34:56\n"
                         "VendorSpecificID=77\n"
                         "Ports=2\n"
                         "[Adapter1.Port0]\n"
                         "PortWWN=10:00:00:00:C9:12:34:56\n"
                         "PortSymbolicName=first\n"
                         "[Adapter1.Port1]\n"
                         "PortWWN=10:00:00:00:C9:12:34:57\n"
                         "Discovered=3\n"
                         "[Adapter1.Port1.Discovered0]\n"
                         "PortWWN=50:00:00:00:00:00:00:01\n"
                         "Inquiry=VEND|Disk One|1.0\n"
                         "[Adapter1.Port1.Discovered1]\n"
                         "PortWWN=50:00:00:00:00:00:00:02\n"
                         "[Adapter1.Port1.Discovered2]\n"
                         "PortWWN=50:00:00:00:00:00:00:03\n"
                         "Inquiry=VEND|Disk Three|2.5\n";

class LoadedHba : public fc::HbaForwarder {
  public:
    explicit LoadedHba(HMODULE m) : module_(m) {
        fc::HbaFunctions f;
        Find(f.getVersion, "HBA_GetVersion");
        Find(f.getNumberOfAdapters, "HBA_GetNumberOfAdapters");
        Find(f.getAdapterName, "HBA_GetAdapterName");
        Find(f.openAdapter, "HBA_OpenAdapter");
        Find(f.closeAdapter, "HBA_CloseAdapter");
        Find(f.getAdapterAttributes, "HBA_GetAdapterAttributes");
        Find(f.getAdapterPortAttributes, "HBA_GetAdapterPortAttributes");
        Find(f.getDiscoveredPortAttributes, "HBA_GetDiscoveredPortAttributes");
        Find(f.getRNIDMgmtInfo, "HBA_GetRNIDMgmtInfo");
        Find(f.refreshAdapterConfiguration, "HBA_RefreshAdapterConfiguration");
        Find(f.refreshInformation, "HBA_RefreshInformation");
        Find(f.sendScsiInquiry, "HBA_SendScsiInquiry");
        SetFunctions(f);
    }
    bool Open() override { return module_ != nullptr; }
    void Close() override { ++closes; }
    int closes = 0;

  private:
    template <class F> void Find(F& f, const char* name) {
        f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
        EXPECT_NE(reinterpret_cast<void*>(f), nullptr) << name;
    }
    HMODULE module_;
};

class HbaStandin : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::WriteWholeFile(dir_.file("HbaApi.ini"), kIni));
        SetEnvironmentVariableA("HBAAPI_INI", dir_.file("HbaApi.ini").c_str());
        SetEnvironmentVariableA("HBAAPI_LOG", dir_.file("calls.log").c_str());
        module_ = LoadLibraryA((testsupport::DistDir() + "\\HbaApi.dll").c_str());
        ASSERT_NE(module_, nullptr) << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
        SetEnvironmentVariableA("HBAAPI_INI", nullptr);
        SetEnvironmentVariableA("HBAAPI_LOG", nullptr);
    }
    testsupport::TempDir dir_;
    HMODULE module_ = nullptr;
};

TEST_F(HbaStandin, AnswersFromItsIniFile) {
    LoadedHba hba(module_);
    ASSERT_NE(hba.Functions().getVersion, nullptr);
    EXPECT_EQ(hba.Functions().getVersion(), 3u);
    EXPECT_EQ(hba.GetNumberOfAdapters(), 2u);
    char name[256] = "";
    EXPECT_EQ(hba.GetAdapterName(1, name), HBA_STATUS_OK);
    EXPECT_STREQ(name, "fc1");
    EXPECT_NE(hba.GetAdapterName(2, name), HBA_STATUS_OK);
    char closed[] = "fc-closed";
    EXPECT_EQ(hba.OpenAdapter(closed), 0u);
    HBA_HANDLE h = hba.OpenAdapter(name);
    ASSERT_NE(h, 0u);
    HBA_PORTATTRIBUTES p{};
    EXPECT_EQ(hba.GetAdapterPortAttributes(h, 1, &p), HBA_STATUS_OK);
    EXPECT_EQ(p.NumberofDiscoveredPorts, 3u);
    EXPECT_EQ(fc::FormatWWN(p.PortWWN.wwn), "10:00:00:00:C9:12:34:57");
    EXPECT_NE(hba.GetAdapterPortAttributes(h, 2, &p), HBA_STATUS_OK);
    EXPECT_NE(hba.GetDiscoveredPortAttributes(h, 1, 3, &p), HBA_STATUS_OK);
    hba.CloseAdapter(h);
}

TEST_F(HbaStandin, InventoryOfTwoPortsWithThreeDiscovered) {
    LoadedHba hba(module_);
    fc_ctrl_info** ctrl = nullptr;
    size_t ctrlCount = 0;
    fc_scsi_inquiry** inq = nullptr;
    size_t inqCount = 0;
    ASSERT_EQ(fc::TakeInventory(hba, {&ctrl, &ctrlCount, &inq, &inqCount}), fc::kInventoryOk);
    EXPECT_EQ(hba.closes, 1);
    ASSERT_EQ(ctrlCount, 1u); // the adapter that does not open is skipped
    fc_ctrl_info* c = ctrl[0];
    EXPECT_STREQ(c->attributes.Manufacturer, "Maker");
    EXPECT_STREQ(c->attributes.Model, "LPe 1");
    EXPECT_EQ(c->attributes.VendorSpecificID, 0u);
    EXPECT_EQ(c->attributes.NumberOfPorts, 2u);
    fc_port_info* p0 = c->firstPort;
    ASSERT_NE(p0, nullptr);
    EXPECT_STREQ(p0->attributes.PortSymbolicName, "first");
    fc_port_info* p1 = p0->nextPort;
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(Val(p1->nextPort), nullptr);
    int n = 0;
    for (fc_port_info* d = p1->discovered; d; d = d->discovered)
        ++n;
    EXPECT_EQ(n, 3);
    ASSERT_EQ(inqCount, 2u); // the second discovered port answers no inquiry
    EXPECT_STREQ(inq[0]->vendor, "VEND");
    EXPECT_STREQ(inq[0]->product, "Disk One");
    EXPECT_STREQ(inq[0]->revision, "1.0");
    EXPECT_STREQ(inq[1]->product, "Disk Three");
    EXPECT_EQ(inq[1]->controller, c);
    fc_port_info* d1 = p1->discovered->discovered;
    EXPECT_EQ(Val(d1->inquiry), nullptr);

    std::string log = testsupport::ReadWholeFile(dir_.file("calls.log"));
    EXPECT_NE(log.find("SendScsiInquiry 2 5000000000000001 lun 0 evpd 0 page 0 rsp 256 sense 32"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("GetRNIDMgmtInfo 2"), std::string::npos);
    EXPECT_NE(log.find("CloseAdapter 2"), std::string::npos);
}

} // namespace
