// The shipped stub executable as the package reader and Windows expect it.
#include "tests/native/dist/pe_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

constexpr uint16_t kMachineI386 = 0x14c;
constexpr uint16_t kMagicPe32 = 0x10b;
constexpr uint16_t kSubsystemGui = 2;
constexpr uint32_t kPeHeaderOffset = 256;
constexpr uint32_t kRtIcon = 3;
constexpr uint32_t kRtGroupIcon = 14;
constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kRtManifest = 24;
constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

std::string SourcePath(const std::string& relative) {
    const char* root = std::getenv("STUB_SOURCE");
    return std::string(root ? root : ".") + "/" + relative;
}

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return true;
}

uint32_t U32At(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

bool SameAscii(std::string a, std::string b) {
    for (char& c : a)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (char& c : b)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return a == b;
}

class ShippedStub : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!ReadFile(SourcePath("dist/stub.exe"), file_))
            GTEST_SKIP() << "dist/stub.exe has not been built";
        std::string error;
        ASSERT_TRUE(ReadPe(file_, pe_, error)) << error;
    }
    std::vector<const PeResource*> OfType(uint32_t type) const {
        std::vector<const PeResource*> found;
        for (const PeResource& r : pe_.resources)
            if (r.typeId == type) found.push_back(&r);
        return found;
    }
    std::string file_;
    PeInfo pe_;
};

} // namespace

TEST_F(ShippedStub, IsA32BitGuiProgramWithItsPeHeaderAt256) {
    EXPECT_EQ(U32At(file_, 0x3C), kPeHeaderOffset);
    EXPECT_EQ(file_.compare(kPeHeaderOffset, 4, std::string("PE\0\0", 4)), 0);
    EXPECT_EQ(file_.substr(248, 8), std::string(8, '\0')) << "the package end pointer's place";
    EXPECT_EQ(pe_.machine, kMachineI386);
    EXPECT_EQ(pe_.optionalMagic, kMagicPe32);
    EXPECT_EQ(pe_.subsystem, kSubsystemGui);
}

TEST_F(ShippedStub, ManifestAsksForAdministratorCommonControls6AndListsFourSystems) {
    auto manifests = OfType(kRtManifest);
    ASSERT_EQ(manifests.size(), 1u);
    const std::string& xml = manifests[0]->data;
    EXPECT_NE(xml.find("level=\"requireAdministrator\""), std::string::npos);

    std::smatch m;
    const std::regex controls("<assemblyIdentity[^>]*name=\"Microsoft\\.Windows\\.Common-Controls\""
                              "[^>]*>");
    ASSERT_TRUE(std::regex_search(xml, m, controls));
    EXPECT_NE(m.str().find("version=\"6.0.0.0\""), std::string::npos) << m.str();

    const char* systems[] = {
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
    };
    for (const char* id : systems)
        EXPECT_NE(xml.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos)
            << id;
}

TEST_F(ShippedStub, MainIconGroupNamesIconsThatArePresent) {
    const PeResource* group = nullptr;
    for (const PeResource* r : OfType(kRtGroupIcon))
        if (SameAscii(r->name, "MainIcon")) group = r;
    ASSERT_NE(group, nullptr) << "no icon group named MainIcon";

    // GRPICONDIR: reserved, type 1, count, then 14-byte entries ending in the icon id.
    const std::string& g = group->data;
    ASSERT_GE(g.size(), 6u);
    const unsigned count = static_cast<unsigned char>(g[4]) | static_cast<unsigned char>(g[5]) << 8;
    ASSERT_GT(count, 0u);
    ASSERT_GE(g.size(), 6 + 14 * count);
    auto icons = OfType(kRtIcon);
    for (unsigned i = 0; i < count; ++i) {
        const size_t at = 6 + 14 * i + 12;
        const uint32_t id =
            static_cast<unsigned char>(g[at]) | static_cast<unsigned char>(g[at + 1]) << 8;
        bool present = false;
        for (const PeResource* icon : icons)
            present = present || (icon->nameId == id && !icon->data.empty());
        EXPECT_TRUE(present) << "icon " << id;
    }
}

TEST_F(ShippedStub, VersionResourceCarriesTheFileVersionOfTheResourceScript) {
    std::string rc;
    ASSERT_TRUE(ReadFile(SourcePath("stub/control/stub.rc"), rc));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(rc, m, std::regex("FILEVERSION\\s+(\\d+),(\\d+),(\\d+),(\\d+)")));
    const uint32_t wantMS = std::stoul(m[1]) << 16 | std::stoul(m[2]);
    const uint32_t wantLS = std::stoul(m[3]) << 16 | std::stoul(m[4]);

    auto versions = OfType(kRtVersion);
    ASSERT_EQ(versions.size(), 1u);
    const std::string& v = versions[0]->data;
    // VS_FIXEDFILEINFO: signature, struct version, file version MS, LS.
    size_t at = std::string::npos;
    for (size_t i = 0; i + 16 <= v.size(); i += 4)
        if (U32At(v, i) == kFixedFileInfoSignature) {
            at = i;
            break;
        }
    ASSERT_NE(at, std::string::npos) << "no fixed file info";
    EXPECT_EQ(U32At(v, at + 8), wantMS);
    EXPECT_EQ(U32At(v, at + 12), wantLS);
}

TEST_F(ShippedStub, CopiesCutInsideTheHeadersAreRejectedByTheReader) {
    // Keeps the checks above honest: the reader fails rather than misreads.
    for (size_t length : {size_t(0), size_t(64), size_t(kPeHeaderOffset + 10),
                          size_t(kPeHeaderOffset + 24 + 100)}) {
        SCOPED_TRACE(length);
        PeInfo info;
        std::string error;
        EXPECT_FALSE(ReadPe(file_.substr(0, length), info, error));
        EXPECT_FALSE(error.empty());
    }
}
