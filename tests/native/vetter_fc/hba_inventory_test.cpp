#include "core/vetter/fc/hba_inventory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using namespace fc;

namespace {

// Packed pointer fields are read by value: a reference to one may be misaligned.
template <class T> T Val(T v) {
    return v;
}

struct FakePort {
    HBA_PORTATTRIBUTES attr{};
    bool ok = true;
};
struct FakeAdapter {
    std::string name;
    bool nameOk = true, opens = true, attributesOk = true;
    HBA_ADAPTERATTRIBUTES attr{};
    std::vector<FakePort> ports;
    std::map<int, std::vector<FakePort>> discovered;
    bool inquiryOk = true;
};

HBA_WWN Wwn(uint8_t last) {
    HBA_WWN w{};
    w.wwn[0] = 0x20;
    w.wwn[7] = last;
    return w;
}

class FakeHba : public HbaLibrary {
  public:
    bool opens = true;
    bool throwOnAttributes = false;
    std::vector<FakeAdapter> adapters;
    std::vector<std::string> calls;
    int openHandles = 0, closes = 0;
    std::vector<HBA_WWN> inquired;

    bool Open() override { return opens; }
    void Close() override { ++closes; }
    void RefreshAdapterConfiguration() override { calls.push_back("refresh"); }
    HBA_UINT32 GetNumberOfAdapters() override { return HBA_UINT32(adapters.size()); }
    HBA_STATUS GetAdapterName(HBA_UINT32 i, char* name) override {
        if (!adapters[i].nameOk) return 1;
        std::strcpy(name, adapters[i].name.c_str());
        return HBA_STATUS_OK;
    }
    HBA_HANDLE OpenAdapter(char* name) override {
        for (size_t i = 0; i < adapters.size(); ++i) {
            if (adapters[i].name == name && adapters[i].opens) {
                ++openHandles;
                return HBA_HANDLE(i + 1);
            }
        }
        return 0;
    }
    void CloseAdapter(HBA_HANDLE) override { --openHandles; }
    void RefreshInformation(HBA_HANDLE) override {}
    HBA_STATUS GetAdapterAttributes(HBA_HANDLE h, HBA_ADAPTERATTRIBUTES* a) override {
        if (throwOnAttributes) throw std::runtime_error("library fault");
        if (!At(h).attributesOk) return 1;
        *a = At(h).attr;
        return HBA_STATUS_OK;
    }
    HBA_STATUS GetAdapterPortAttributes(HBA_HANDLE h, HBA_UINT32 p,
                                        HBA_PORTATTRIBUTES* out) override {
        if (p >= At(h).ports.size() || !At(h).ports[p].ok) return 1;
        *out = At(h).ports[p].attr;
        return HBA_STATUS_OK;
    }
    HBA_STATUS GetDiscoveredPortAttributes(HBA_HANDLE h, HBA_UINT32 p, HBA_UINT32 d,
                                           HBA_PORTATTRIBUTES* out) override {
        std::vector<FakePort>& list = At(h).discovered[int(p)];
        if (d >= list.size() || !list[d].ok) return 1;
        *out = list[d].attr;
        return HBA_STATUS_OK;
    }
    HBA_STATUS GetRNIDMgmtInfo(HBA_HANDLE, HBA_MGMTINFO*) override {
        calls.push_back("rnid");
        return 1;
    }
    HBA_STATUS SendScsiInquiry(HBA_HANDLE h, HBA_WWN wwn, HBA_UINT64 lun, uint8_t evpd,
                               HBA_UINT32 page, void* rsp, HBA_UINT32 rspSize, void* sense,
                               HBA_UINT32 senseSize) override {
        EXPECT_EQ(lun, 0u);
        EXPECT_EQ(evpd, 0);
        EXPECT_EQ(page, 0u);
        EXPECT_EQ(rspSize, 256u);
        EXPECT_EQ(senseSize, 32u);
        EXPECT_EQ(static_cast<uint8_t*>(rsp)[255], 'x');
        EXPECT_EQ(static_cast<uint8_t*>(sense)[0], 'y');
        inquired.push_back(wwn);
        if (!At(h).inquiryOk) return 1;
        uint8_t* r = static_cast<uint8_t*>(rsp);
        std::memcpy(r + 8, "VENDOR\t ", 8);
        std::memcpy(r + 16, "\"Disk Model\"    ", 16);
        std::memcpy(r + 32, "1.0 ", 4);
        return HBA_STATUS_OK;
    }

  private:
    FakeAdapter& At(HBA_HANDLE h) { return adapters[h - 1]; }
};

struct Lists {
    fc_ctrl_info** ctrl = nullptr;
    size_t ctrlCount = 0;
    fc_scsi_inquiry** inq = nullptr;
    size_t inqCount = 0;
    std::vector<void*> ports;

    InventoryLists View() { return {&ctrl, &ctrlCount, &inq, &inqCount}; }
    ~Lists() {
        for (size_t i = 0; i < ctrlCount; ++i) {
            for (fc_port_info* p = ctrl[i]->firstPort; p;) {
                for (fc_port_info* d = p->discovered; d;) {
                    fc_port_info* nd = d->discovered;
                    std::free(d);
                    d = nd;
                }
                fc_port_info* np = p->nextPort;
                std::free(p);
                p = np;
            }
            std::free(ctrl[i]);
        }
        for (size_t i = 0; i < inqCount; ++i)
            std::free(inq[i]);
        std::free(ctrl);
        std::free(inq);
    }
};

FakeAdapter TwoPortAdapter() {
    FakeAdapter a;
    a.name = "fc0";
    std::strcpy(a.attr.Manufacturer, "  \"Maker\"\t");
    std::strcpy(a.attr.Model, "LPe1\n");
    a.attr.VendorSpecificID = 0xDEADBEEF;
    a.attr.NumberOfPorts = 2;
    a.ports.resize(2);
    for (int p = 0; p < 2; ++p) {
        a.ports[p].attr.PortWWN = Wwn(uint8_t(p));
        a.ports[p].attr.PortSupportedFc4Types[0] = 0xFF;
        std::strcpy(a.ports[p].attr.PortSymbolicName, " port\t");
    }
    a.ports[1].attr.NumberofDiscoveredPorts = 3;
    for (int d = 0; d < 3; ++d) {
        FakePort fp;
        fp.attr.PortWWN = Wwn(uint8_t(0x10 + d));
        a.discovered[1].push_back(fp);
    }
    return a;
}

TEST(FcInventory, NoLibraryLeavesTheListUnchanged) {
    FakeHba hba;
    hba.opens = false;
    Lists l;
    EXPECT_EQ(TakeInventory(hba, l.View()), kInventoryNoLibrary);
    EXPECT_EQ(l.ctrl, nullptr);
    EXPECT_EQ(l.ctrlCount, 0u);
    EXPECT_EQ(hba.closes, 0);
}

TEST(FcInventory, TwoPortsThreeDiscoveredLinked) {
    FakeHba hba;
    hba.adapters.push_back(TwoPortAdapter());
    Lists l;
    ASSERT_EQ(TakeInventory(hba, l.View()), kInventoryOk);
    ASSERT_EQ(l.ctrlCount, 1u);
    EXPECT_EQ(l.ctrl[1], nullptr);
    fc_ctrl_info* c = l.ctrl[0];
    EXPECT_STREQ(c->attributes.Manufacturer, "Maker");
    EXPECT_STREQ(c->attributes.Model, "LPe1");
    EXPECT_EQ(c->attributes.VendorSpecificID, 0u);
    EXPECT_EQ(c->reserved, 0);

    fc_port_info* p0 = c->firstPort;
    ASSERT_NE(p0, nullptr);
    fc_port_info* p1 = p0->nextPort;
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(Val(p1->nextPort), nullptr);
    EXPECT_EQ(Val(p0->discovered), nullptr);
    EXPECT_EQ(p0->unused, -1);
    EXPECT_STREQ(p0->attributes.PortSymbolicName, "port");
    EXPECT_EQ(p0->attributes.PortSupportedFc4Types[0], 0);

    int n = 0;
    for (fc_port_info* d = p1->discovered; d; d = d->discovered, ++n) {
        EXPECT_EQ(d->attributes.PortWWN.wwn[7], 0x10 + n);
        EXPECT_EQ(d->unused, -1);
        ASSERT_NE(Val(d->inquiry), nullptr);
        EXPECT_EQ(d->inquiry->controller, c);
        EXPECT_EQ(Val(d->nextPort), nullptr);
    }
    EXPECT_EQ(n, 3);
    ASSERT_EQ(l.inqCount, 3u);
    EXPECT_STREQ(l.inq[0]->vendor, "VENDOR");
    EXPECT_STREQ(l.inq[0]->product, "Disk Model");
    EXPECT_STREQ(l.inq[0]->revision, "1.0");
    ASSERT_EQ(hba.inquired.size(), 3u);
    EXPECT_EQ(hba.inquired[2].wwn[7], 0x12);
    EXPECT_EQ(std::count(hba.calls.begin(), hba.calls.end(), "rnid"), 2);
    EXPECT_EQ(hba.openHandles, 0);
    EXPECT_EQ(hba.closes, 1);

    // A second inventory appends behind the first.
    ASSERT_EQ(TakeInventory(hba, l.View()), kInventoryOk);
    EXPECT_EQ(l.ctrlCount, 2u);
    EXPECT_EQ(l.inqCount, 6u);
}

TEST(FcInventory, FailingItemsAreSkipped) {
    FakeHba hba;
    FakeAdapter noName = TwoPortAdapter(), noOpen = TwoPortAdapter(), noAttr = TwoPortAdapter(),
                partial = TwoPortAdapter();
    noName.nameOk = false;
    noOpen.name = "fc1";
    noOpen.opens = false;
    noAttr.name = "fc2";
    noAttr.attributesOk = false;
    partial.name = "fc3";
    partial.ports[0].ok = false;
    partial.discovered[1][1].ok = false;
    partial.inquiryOk = false;
    hba.adapters = {noName, noOpen, noAttr, partial};
    Lists l;
    ASSERT_EQ(TakeInventory(hba, l.View()), kInventoryOk);
    ASSERT_EQ(l.ctrlCount, 1u);
    fc_port_info* p = l.ctrl[0]->firstPort;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->attributes.PortWWN.wwn[7], 1);
    EXPECT_EQ(Val(p->nextPort), nullptr);
    ASSERT_NE(Val(p->discovered), nullptr);
    ASSERT_NE(Val(p->discovered->discovered), nullptr);
    EXPECT_EQ(p->discovered->discovered->attributes.PortWWN.wwn[7], 0x12);
    EXPECT_EQ(Val(p->discovered->inquiry), nullptr);
    EXPECT_EQ(l.inqCount, 0u);
    EXPECT_EQ(hba.openHandles, 0);
}

TEST(FcInventory, ExceptionClosesTheLibraryAndSucceeds) {
    FakeHba hba;
    hba.adapters.push_back(TwoPortAdapter());
    hba.throwOnAttributes = true;
    Lists l;
    EXPECT_EQ(TakeInventory(hba, l.View()), kInventoryOk);
    EXPECT_EQ(hba.closes, 1);
    EXPECT_EQ(hba.openHandles, 0);
}

int gAllowed = 0;
void* LimitedCalloc(size_t n, size_t size) {
    if (gAllowed-- <= 0) return nullptr;
    return std::calloc(n, size);
}

TEST(FcInventory, OutOfMemoryAtEveryRecord) {
    // Records in order: controller, port 0, port 1, then discovered + inquiry x3.
    for (int allowed = 0; allowed < 9; ++allowed) {
        FakeHba hba;
        hba.adapters.push_back(TwoPortAdapter());
        Lists l;
        gAllowed = allowed;
        Allocation a;
        a.zeroed = LimitedCalloc;
        EXPECT_EQ(TakeInventory(hba, l.View(), a), kInventoryNoMemory) << allowed;
        EXPECT_EQ(l.ctrlCount, allowed > 0 ? 1u : 0u);
        EXPECT_EQ(hba.closes, 1);
        EXPECT_EQ(hba.openHandles, 0);
    }
}

// Entry points for the forwarder, as a loaded library would give them.
HBA_UINT32 TwoAdapters() {
    return 2;
}
HBA_HANDLE OpenSeven(char*) {
    return 7;
}

class TableLibrary : public HbaForwarder {
  public:
    using HbaForwarder::HbaForwarder;
    bool Open() override { return true; }
    void Close() override {}
};

TEST(FcForwarder, MissingFunctionsAnswerDefaultsAndReport) {
    std::vector<std::string> log;
    TableLibrary f([&](const HbaMessage& m, const char* text) {
        log.push_back(std::to_string(m.level) + text);
    });
    char name[256] = "";
    HBA_ADAPTERATTRIBUTES a{};
    HBA_PORTATTRIBUTES p{};
    HBA_MGMTINFO info{};
    EXPECT_EQ(f.GetNumberOfAdapters(), 0u);
    EXPECT_EQ(f.GetAdapterName(0, name), 1u);
    EXPECT_EQ(f.OpenAdapter(name), 0u);
    EXPECT_EQ(f.GetAdapterAttributes(1, &a), 1u);
    EXPECT_EQ(f.GetAdapterPortAttributes(1, 0, &p), 1u);
    EXPECT_EQ(f.GetDiscoveredPortAttributes(1, 0, 0, &p), 1u);
    EXPECT_EQ(f.GetRNIDMgmtInfo(1, &info), 1u);
    EXPECT_EQ(f.SendScsiInquiry(1, HBA_WWN{}, 0, 0, 0, nullptr, 0, nullptr, 0), 1u);
    f.CloseAdapter(1);
    f.RefreshInformation(1);
    f.RefreshAdapterConfiguration();
    const char* expected[] = {
        "4\nCHbaApi             : GetNumberOfAdapters undefined",
        "4\nCHbaApi             : GetAdapterName undefined",
        "4\nCHbaApi             : OpenAdapter undefined",
        "4\nCHbaApi             : GetAdapterAttributes undefined",
        "4\nCHbaApi             : GetAdapterPortAttributes undefined",
        "4\nCHbaApi             : GetDiscoveredPortAttributes undefined",
        "4\nCHbaApi             : GetRNIDMgmtInfo undefined",
        "4\nCHbaApi             :SendScsiInquiry undefined",
        "4\nCHbaApi             : Close Adapter",
        "4\nCHbaApi             : Refresh Info",
        "4\nCHbaApi             : Refresh Adapter Config",
    };
    for (const char* e : expected) {
        EXPECT_NE(std::find(log.begin(), log.end(), e), log.end()) << e;
    }

    HbaFunctions fn;
    fn.getNumberOfAdapters = TwoAdapters;
    fn.openAdapter = OpenSeven;
    f.SetFunctions(fn);
    EXPECT_EQ(f.GetNumberOfAdapters(), 2u);
    EXPECT_EQ(f.OpenAdapter(name), 7u);
}

} // namespace
