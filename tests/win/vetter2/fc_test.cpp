// The Fibre Channel exports: inventory through the "HbaApi.dll" stand-in,
// the configuration file, the record constructors and the text helpers.
#include "tests/win/vetter2/child.h"
#include "tests/win/vetter2/plugin.h"

#include "core/vetter/fc/fc_records.h"

#include <cstring>
#include <string>

namespace {

using namespace v2;

const char kInventory[] = "?Get_FC_Ctrl_Peripherals@@YAHXZ";
const char kReadConfig[] = "?Read_FC_Config_File@@YAHPAD@Z";
const char kCtrlList[] = "?fc_ctrl_info_list@@3PAPAUfc_ctrl_info@@A";
const char kConfigList[] = "?fc_config_entry_list@@3PAPAUfc_config_file_entry@@A";

template <class T> size_t Count(T** list) {
    size_t n = 0;
    while (list && list[n])
        ++n;
    return n;
}

const char kAdapters[] =
    "[HbaApi]\nVersion=3\nAdapters=2\n"
    "[Adapter0]\nName=fc-closed\nOpen=0\n"
    "[Adapter1]\nName=fc1\nManufacturer=  Maker\t\nModel=Card \"1\"\n"
    "NodeWWN=20:00:00:00:C9:12:34:56\nVendorSpecificID=77\nPorts=2\n"
    "[Adapter1.Port0]\nPortWWN=10:00:00:00:C9:12:34:56\nPortSymbolicName=first\n"
    "[Adapter1.Port1]\nPortWWN=10:00:00:00:C9:12:34:57\nDiscovered=3\n"
    "[Adapter1.Port1.Discovered0]\nPortWWN=50:00:00:00:00:00:00:01\n"
    "Inquiry=VEND|Disk One|1.0\n"
    "[Adapter1.Port1.Discovered1]\nPortWWN=50:00:00:00:00:00:00:02\n"
    "[Adapter1.Port1.Discovered2]\nPortWWN=50:00:00:00:00:00:00:03\n"
    "Inquiry=VEND|Disk Three|2.5\n";

std::string Wwn(const HBA_WWN& w) {
    using Fn = char* (*)(HBA_wwn*, char*);
    char out[512];
    HBA_wwn copy = w;
    return Export<Fn>("?PrintWWN@@YAPADPAUHBA_wwn@@PAD@Z")(&copy, out);
}

TEST(FcInventory, WithoutTheLibraryAndThenThroughTheStandIn) {
    ASSERT_NE(Plugin::Get().module(), nullptr);
    fc_ctrl_info**& list = Var<fc_ctrl_info**>(kCtrlList);
    fc_ctrl_info** before = list;
    size_t count = Count(list);
    // Wine on Debian has no builtin "HbaApi.dll" and none lies on the search path.
    EXPECT_EQ(Export<NoArgIntFn>(kInventory)(), 53);
    EXPECT_EQ(list, before);

    testsupport::TempDir dir;
    ASSERT_TRUE(CopyFileA((testsupport::DistDir() + "\\HbaApi.dll").c_str(),
                          dir.file("HbaApi.dll").c_str(), FALSE));
    ASSERT_TRUE(testsupport::WriteWholeFile(dir.file("adapters.ini"), kAdapters));
    SetEnvironmentVariableA("HBAAPI_INI", dir.file("adapters.ini").c_str());
    SetDllDirectoryA(dir.path().c_str());
    int result = Export<NoArgIntFn>(kInventory)();
    SetDllDirectoryA(nullptr);
    SetEnvironmentVariableA("HBAAPI_INI", nullptr);
    EXPECT_EQ(GetModuleHandleA("HbaApi.dll"), nullptr); // released after the inventory
    ASSERT_EQ(result, 0);
    ASSERT_EQ(Count(list), count + 1); // the adapter that does not open is skipped

    const fc_ctrl_info* c = list[count];
    EXPECT_STREQ(c->attributes.Manufacturer, "Maker");
    EXPECT_STREQ(c->attributes.Model, "Card  1"); // quotes cleaned to blanks
    EXPECT_EQ(c->attributes.VendorSpecificID, 0u);
    EXPECT_EQ(c->attributes.NumberOfPorts, 2u);
    EXPECT_EQ(Wwn(c->attributes.NodeWWN), "20:00:00:00:C9:12:34:56");
    EXPECT_EQ(c->reserved, 0);
    const fc_port_info* p0 = c->firstPort;
    ASSERT_NE(p0, nullptr);
    EXPECT_EQ(Wwn(p0->attributes.PortWWN), "10:00:00:00:C9:12:34:56");
    EXPECT_STREQ(p0->attributes.PortSymbolicName, "first");
    EXPECT_EQ(p0->unused, -1);
    EXPECT_EQ(p0->discovered, nullptr);
    const fc_port_info* p1 = p0->nextPort;
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(p1->nextPort, nullptr);
    EXPECT_EQ(p1->attributes.NumberofDiscoveredPorts, 3u);

    const char* const inquiries[3] = {"Disk One", nullptr, "Disk Three"};
    const fc_port_info* d = p1->discovered;
    for (int i = 0; i < 3; ++i, d = d->discovered) {
        ASSERT_NE(d, nullptr) << i;
        EXPECT_EQ(Wwn(d->attributes.PortWWN), "50:00:00:00:00:00:00:0" + std::to_string(i + 1));
        EXPECT_EQ(d->nextPort, nullptr);
        EXPECT_EQ(d->unused, -1);
        if (!inquiries[i]) {
            EXPECT_EQ(d->inquiry, nullptr);
            continue;
        }
        ASSERT_NE(d->inquiry, nullptr);
        EXPECT_EQ(d->inquiry->controller, c);
        EXPECT_STREQ(d->inquiry->vendor, "VEND");
        EXPECT_STREQ(d->inquiry->product, inquiries[i]);
    }
    EXPECT_EQ(d, nullptr);
}

TEST(FcRecords, ConstructorsAndWwnText) {
    fc_ctrl_info**& list = Var<fc_ctrl_info**>(kCtrlList);
    size_t count = Count(list);
    fc_ctrl_info* c =
        Export<fc_ctrl_info* (*)()>("?get_new_ctrl_info_entry@@YAPAUfc_ctrl_info@@XZ")();
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(Count(list), count + 1);
    EXPECT_EQ(list[count], c);
    fc_port_info* p =
        Export<fc_port_info* (*)()>("?get_new_port_info_entry@@YAPAUfc_port_info@@XZ")();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->unused, -1);
    EXPECT_EQ(p->nextPort, nullptr);
    EXPECT_EQ(Count(list), count + 1); // ports are not listed
    fc_scsi_inquiry* q =
        Export<fc_scsi_inquiry* (*)()>("?get_new_inquiry_entry@@YAPAUfc_scsi_inquiry@@XZ")();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->vendor[0], 0);

    HBA_WWN w = {{0x10, 0x00, 0x00, 0x00, 0xC9, 0x12, 0x34, 0x56}};
    EXPECT_EQ(Wwn(w), "10:00:00:00:C9:12:34:56");
    using Fn = char* (*)(HBA_wwn*, char*);
    char out[512];
    EXPECT_STREQ(Export<Fn>("?PrintWWN@@YAPADPAUHBA_wwn@@PAD@Z")(nullptr, out), "invalid");
}

TEST(FcText, String2Int) {
    using Fn = int (*)(char*, int);
    auto fn = Export<Fn>("?string2int@@YAHPADH@Z");
    struct Case {
        const char* text;
        int base;
        int value;
    } cases[] = {
        {" -1f", 16, -31},    {"1g", 16, -1},
        {"", 16, -1},         {"  \n", 16, -1},
        {"0x1F\n ", 16, 31},  {"42", 10, 42},
        {"-", 10, -1},        {"10 1", 10, -1},
        {"FFFFFFFF", 16, -1}, {"7fffffff", 16, 0x7fffffff},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(fn(&text[0], c.base), c.value) << '"' << c.text << '"';
    }
    EXPECT_EQ(RunChild("string2int", "100000000"), 1); // beyond 32 bits ends the process
}

TEST(FcConfig, FileRulesAndRecords) {
    EXPECT_EQ(Export<int (*)(char*)>(kReadConfig)(nullptr), 51);
    char missing[] = "C:\\no\\such\\fc.cfg";
    EXPECT_EQ(Export<int (*)(char*)>(kReadConfig)(missing), 51);

    testsupport::TempDir dir;
    std::string path = dir.file("fc.cfg");
    ASSERT_TRUE(testsupport::WriteWholeFile(
        path,
        "# name | type | Vendor-Id | Device-Id | ...\n"
        "-----+-----+-----\n"
        "|||\n"
        "| FC-A | T1 | 1A2B | 0xF100 | 1a2b | 0001 | c6 | c7 | c8 | nine | ten | eleven | twelve"
        " | t1 | \"long\" | x1 | t2 | s2 |\n"
        "| FC-B | T2 | 3C4D | 2532 | 3C4D | 015C |\n"));
    fc_config_file_entry**& list = Var<fc_config_file_entry**>(kConfigList);
    size_t count = Count(list);
    ASSERT_EQ(Export<int (*)(char*)>(kReadConfig)(&path[0]), 0);
    ASSERT_EQ(Count(list), count + 2);
    const fc_config_file_entry* a = list[count];
    EXPECT_STREQ(a->column0, "FC-A");
    EXPECT_STREQ(a->vendorIdText, "1A2B");
    EXPECT_EQ(a->vendorId, 0x1A2B);
    EXPECT_EQ(a->deviceId, 0xF100);
    EXPECT_EQ(a->subVendorId, 0x1A2B);
    EXPECT_EQ(a->subSystemId, 1);
    EXPECT_STREQ(a->column9, "nine");
    EXPECT_STREQ(a->column11, "eleven");
    EXPECT_STREQ(a->column12, "twelve");
    ASSERT_NE(a->firstSub, nullptr);
    EXPECT_STREQ(a->firstSub->first, "t1");
    EXPECT_STREQ(a->firstSub->second, "long");
    EXPECT_STREQ(a->firstSub->third, "x1");
    ASSERT_NE(a->firstSub->next, nullptr);
    EXPECT_STREQ(a->firstSub->next->second, "s2");
    EXPECT_EQ(a->firstSub->next->third[0], 0);
    EXPECT_EQ(a->firstSub->next->next, nullptr);
    EXPECT_EQ(list[count + 1]->subSystemId, 0x015C);
    EXPECT_EQ(list[count + 1]->firstSub, nullptr);
}

TEST(FcConfig, BadHexValuesEndTheProcess) {
    testsupport::TempDir dir;
    struct Case {
        const char* line;
        long exitCode;
    } cases[] = {
        {"| FC | T1 |    | 1 | 2 | 3 |\n", 55}, // a blank Vendor-Id
        {"| FC | T1 | 1A2B | XYZ | 2 | 3 |\n", 55},
        {"| FC | T1 | 1A2B | 1 | 2 |\n", 55}, // no Sub-System-Id
        {"| FC | T1 | 100000000 | 1 | 2 | 3 |\n", 1},
        {"| FC | T1 | 1A2B | 1 | 2 | 3 |\n", 200}, // read to the end: the child returns
    };
    for (const Case& c : cases) {
        std::string path = dir.file("bad.cfg");
        ASSERT_TRUE(testsupport::WriteWholeFile(path, c.line));
        EXPECT_EQ(RunChild("fcconfig", path), c.exitCode) << c.line;
    }
}

} // namespace
