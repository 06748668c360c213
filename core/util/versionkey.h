#pragma once
// Unit Utils, version part: version keys that compare as texts and the
// classification of a Windows version into named releases.

#include <cstdint>
#include <string>

// Commas become points, other non-digits go; `count` numbers, each zero-padded
// to `width`, joined by points ("5, 30, 1", 4, 4 -> "0005.0030.0001.0000").
std::string VersionKey(const std::string& text, int width, int count);

// OS class flags, one bit per release.
enum OSClassFlag : uint32_t {
    OS_32S = 0,
    OS_95 = 1,
    OS_98 = 2,
    OS_ME = 4,
    OS_NT = 8,
    OS_2000 = 16,
    OS_XP = 32,
    OS_2003 = 64,
    OS_VISTA = 128,
    OS_XP64 = 256,
    OS_VISTA64 = 512,
    OS_7 = 1024,
    OS_764 = 2048,
    OS_2008 = 4096,
    OS_200864 = 8192,
    OS_2008R264 = 0x4000,
    OS_8 = 0x8000,
    OS_864 = 0x10000,
    OS_201264 = 0x20000,
    OS_81 = 0x40000,
    OS_8164 = 0x80000,
    OS_2012R264 = 0x100000,
    OS_10 = 0x200000,
    OS_1064 = 0x400000,
};

struct OSClassInfo {
    uint32_t flag = 0;
    std::string versionText; // major "." minor
    std::string name;        // "8.1", "2008R2.64", ...; empty for an unknown platform
};

// platform: 0 Win32s, 1 Windows 9x, 2 NT.
OSClassInfo OSClassOf(uint32_t platform, uint32_t major, uint32_t minor, uint32_t build,
                      bool is64BitWindows, bool isServer);
