#include "core/package/entry.h"
#include "core/package/format.h"
#include "core/package/trailer.h"
#include "core/package/unpack_agent.h"

#include <gtest/gtest.h>

using namespace package;

namespace {

std::string Image(size_t size) {
    std::string img(size, '\0');
    img[0] = 'M';
    img[1] = 'Z';
    if (size > 257) {
        img[256] = 'P';
        img[257] = 'E';
    }
    for (size_t i = 258; i < size; ++i)
        img[i] = char(i * 13 + 1);
    return img;
}

// image + blocks + payload + trailer, with an end pointer in the image.
std::string Package(size_t imageSize, const std::string& blocks, const std::string& payload,
                    std::string* trailerBytes = nullptr) {
    std::string f = Image(imageSize);
    PackageTrailer t;
    t.SetByte(field::kBlockCount, 2);
    t.SetU32(field::kPackageStart, uint32_t(f.size()));
    t.SetU32(field::kMagic, kTrailerMagic);
    t.SetU32(field::kCheckValue, kUncheckedValue);
    t.SetByte(field::kFlags, flag::kTraceLog);
    t.SetByte(field::kWriteAgentCopy, 1);
    t.SetU32(field::kSize, kTrailerSize);
    t.SetByte(20, 0x5C);
    f += blocks + payload + t.ToString();
    if (trailerBytes) *trailerBytes = t.ToString();
    return f;
}

TEST(AgentCopy, ImageAndBlocksWithTheAgentTrailer) {
    const std::string blocks = std::string("\x04\0\0\0abcd\x02\0\0\0xy", 14);
    std::string trailer;
    std::string file = Package(1024, blocks, std::string("\x05\0\0\0hello", 9), &trailer);
    // A signed file: the end pointer's low half is set and must be cleared.
    PutLE32(reinterpret_cast<uint8_t*>(&file[kEndPointerLowOffset]), uint32_t(file.size()));
    MemorySource src(file);
    std::string copy = MakeAgentCopy(src, 1024 + blocks.size());
    ASSERT_EQ(copy.size(), 1024 + blocks.size() + kTrailerSize);
    std::string expectedHead = file.substr(0, 1024 + blocks.size());
    PutLE32(reinterpret_cast<uint8_t*>(&expectedHead[kEndPointerLowOffset]), 0);
    EXPECT_EQ(copy.substr(0, expectedHead.size()), expectedHead);

    std::string t = copy.substr(expectedHead.size());
    for (size_t i = 0; i < kTrailerSize; ++i) {
        if (i == field::kIsAgent) {
            EXPECT_EQ(uint8_t(t[i]), 1);
        } else if (i < field::kSize) {
            EXPECT_EQ(t[i], trailer[i]) << "trailer byte " << i;
        }
    }
    EXPECT_EQ(GetLE32(reinterpret_cast<const uint8_t*>(&t[field::kSize])), kTrailerSize);

    // The copy reads back as an agent package without payload.
    MemorySource back(copy);
    PackageTrailer rec;
    ASSERT_TRUE(ReadTrailer(back, rec));
    EXPECT_TRUE(rec.MagicMatches());
    EXPECT_EQ(rec.Byte(field::kIsAgent), 1);
    EXPECT_EQ(ReadPackageEndPointer(back), 0u);
}

TEST(AgentCopy, ShortTrailerIsWrittenWhole) {
    // A trailer read with a size field above 74 still goes out as 74 bytes.
    std::string file = Package(600, "", "");
    PutLE32(reinterpret_cast<uint8_t*>(&file[file.size() - 4]), 80);
    file.insert(file.size() - kTrailerSize, 6, '\0');
    MemorySource src(file);
    std::string copy = MakeAgentCopy(src, 600);
    ASSERT_EQ(copy.size(), 600 + kTrailerSize);
    EXPECT_EQ(GetLE32(reinterpret_cast<const uint8_t*>(&copy[copy.size() - 4])), kTrailerSize);
}

TEST(AgentCopy, HostileStartsGiveNoCopyOrStayInBounds) {
    std::string file = Package(1024, "", "");
    MemorySource src(file);
    EXPECT_EQ(MakeAgentCopy(src, file.size() + 1), "");
    EXPECT_EQ(MakeAgentCopy(src, uint64_t(1) << 40), "");
    // A start inside the DOS header: nothing at 252 to clear, no write past the copy.
    std::string tiny = MakeAgentCopy(src, 100);
    ASSERT_EQ(tiny.size(), 100 + kTrailerSize);
    EXPECT_EQ(tiny.substr(0, 100), file.substr(0, 100));
    MemorySource noTrailer(std::string(300, 'x'));
    EXPECT_EQ(MakeAgentCopy(noTrailer, 10), "");
}

TEST(AgentCopy, SourceNamesIgnoreCase) {
    struct Case {
        const char* path;
        bool ok;
    } cases[] = {
        {"C:\\a\\setup.exe", true},   {"SETUP.EXE", true},      {"x.Exe.001", true},
        {"SET.EXE.001", true},        {"setup.exe.002", false}, {"setup.001", false},
        {"setup.exe.bak", false},     {"exe", false},           {"", false},
        {"C:\\pkg.exe\\data", false}, {"a.EXE.001", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsAgentCopySource(c.path), c.ok) << c.path;
}

TEST(SafeEntryNames, DevicesDrivesAndParentsAreRefused) {
    struct Case {
        const char* name;
        bool safe;
    } cases[] = {
        {"Engine.exe", true},
        {"sub\\dir\\file.txt", true},
        {"console.txt", true},
        {"COM10", true},
        {"LPT0.txt", true},
        {"conx", true},
        {"..\\evil.txt", false},
        {"a\\..\\..\\evil.txt", false},
        {"C:\\abs.txt", false},
        {"C:rel.txt", false},
        {"\\root.txt", false},
        {"\\\\server\\share\\x", false},
        {"\\\\?\\C:\\x", false},
        {"CON", false},
        {"con.txt", false},
        {"sub\\NUL", false},
        {"Aux .log", false},
        {"PRN", false},
        {"COM1", false},
        {"lpt9.dat", false},
        {"CONOUT$", false},
        {"COM\xB9", false},
        {"file.txt:stream", false},
        {"dots...", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSafeEntryName(c.name), c.safe) << c.name;
}

} // namespace
