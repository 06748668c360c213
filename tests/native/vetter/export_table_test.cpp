// The shipped 32-bit plug-in read as a file: export names, machine, imports.
#include "tests/native/vetter/vetter_export_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

class PeFile {
  public:
    explicit PeFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool empty() const { return bytes_.empty(); }
    uint32_t U32(size_t at) const { return at + 4 <= bytes_.size() ? Read(at, 4) : 0; }
    uint16_t U16(size_t at) const { return at + 2 <= bytes_.size() ? uint16_t(Read(at, 2)) : 0; }
    size_t pe() const { return U32(0x3c); }
    uint16_t machine() const { return U16(pe() + 4); }
    // File offset of an RVA, or 0.
    size_t Offset(uint32_t rva) const {
        size_t optSize = U16(pe() + 20);
        size_t sections = pe() + 24 + optSize;
        for (unsigned i = 0; i < U16(pe() + 6); ++i) {
            size_t s = sections + 40 * i;
            uint32_t va = U32(s + 12), size = U32(s + 16), raw = U32(s + 20);
            if (rva >= va && rva < va + size) return raw + (rva - va);
        }
        return 0;
    }
    std::string Text(uint32_t rva) const {
        size_t at = Offset(rva);
        std::string s;
        while (at && at < bytes_.size() && bytes_[at])
            s += bytes_[at++];
        return s;
    }
    uint32_t Directory(int index) const { return U32(pe() + 24 + 96 + 8 * index); }

    std::set<std::string> ExportNames() const {
        std::set<std::string> names;
        size_t dir = Offset(Directory(0));
        if (!dir) return names;
        uint32_t count = U32(dir + 24), table = U32(dir + 32);
        for (uint32_t i = 0; i < count; ++i)
            names.insert(Text(U32(Offset(table) + 4 * i)));
        return names;
    }
    // DLL name -> imported names ("#n" for an ordinal).
    std::vector<std::pair<std::string, std::vector<std::string>>> Imports() const {
        std::vector<std::pair<std::string, std::vector<std::string>>> out;
        size_t d = Offset(Directory(1));
        for (; d && U32(d + 12); d += 20) {
            std::vector<std::string> items;
            uint32_t thunks = U32(d) ? U32(d) : U32(d + 16);
            for (size_t t = Offset(thunks); t && U32(t); t += 4) {
                uint32_t v = U32(t);
                items.push_back(v & 0x80000000u ? "#" + std::to_string(v & 0xffff) : Text(v + 2));
            }
            out.emplace_back(Text(U32(d + 12)), items);
        }
        return out;
    }

  private:
    uint32_t Read(size_t at, int n) const {
        uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | uint8_t(bytes_[at + i]);
        return v;
    }
    std::string bytes_;
};

std::string ShippedDll() {
    const char* source = std::getenv("STUB_SOURCE");
    return std::string(source ? source : ".") + "/dist/Vetter.dll";
}

TEST(VetterShippedDll, ExportsExactlyTheTable) {
    PeFile dll(ShippedDll());
    if (dll.empty()) GTEST_SKIP() << "no 32-bit build in dist/ (make win32)";
    EXPECT_EQ(dll.machine(), 0x14c); // i386
    std::set<std::string> expected(std::begin(kVetterExportNames), std::end(kVetterExportNames));
    ASSERT_EQ(expected.size(), 104u);
    EXPECT_EQ(dll.ExportNames(), expected);
}

TEST(VetterShippedDll, ImportsHwProbeAndInstallerByOrdinalAndNoMinGWRuntime) {
    PeFile dll(ShippedDll());
    if (dll.empty()) GTEST_SKIP() << "no 32-bit build in dist/ (make win32)";
    bool hwprobe = false, msi = false;
    for (const auto& [name, items] : dll.Imports()) {
        std::string lower = name;
        for (char& c : lower)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(lower.find("libgcc"), std::string::npos) << name;
        EXPECT_EQ(lower.find("libstdc++"), std::string::npos) << name;
        EXPECT_EQ(lower.find("libwinpthread"), std::string::npos) << name;
        if (lower == "hwprobe.dll") {
            hwprobe = true;
            EXPECT_EQ(std::set<std::string>(items.begin(), items.end()),
                      (std::set<std::string>{"WMISystemInfo", "SMBIOSSystemInfo"}));
        }
        if (lower == "msi.dll") {
            msi = true;
            EXPECT_EQ(std::set<std::string>(items.begin(), items.end()),
                      (std::set<std::string>{"#204", "#67"}));
        }
    }
    EXPECT_TRUE(hwprobe);
    EXPECT_TRUE(msi);
}

} // namespace
