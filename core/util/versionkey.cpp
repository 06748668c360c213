#include "core/util/versionkey.h"

#include "core/util/ksub.h"
#include "core/util/numbers.h"
#include "core/util/text.h"

std::string VersionKey(const std::string& text, int width, int count) {
    const std::string digits = KeepChars(ReplaceChar(text, ',', '.'), "0123456789.");
    const std::string list = "." + digits + ".";
    std::string key;
    for (int i = 0; i < count; ++i) {
        int64_t n = SUB::GetInt64(list, i, 0);
        // A negative number cannot come from digits; overflow reads as 0.
        if (n < 0) n = 0;
        key += IntToZeroPad(n, width) + ".";
    }
    return StripChar(key, '.', true);
}

namespace {

struct ClassRow {
    const char* version;
    const char* name;
    uint32_t flag;
};

const ClassRow kNtRows[] = {
    {"4.0", "NT", OS_NT},     {"5.0", "2000", OS_2000},   {"5.1", "XP", OS_XP},
    {"5.2", "2003", OS_2003}, {"6.0", "Vista", OS_VISTA}, {"6.1", "7", OS_7},
    {"6.2", "8", OS_8},       {"6.3", "8.1", OS_81},      {"10.0", "10", OS_10},
};
const ClassRow kNt64Rows[] = {
    {"5.2", "XP.64", OS_XP64}, {"6.0", "Vista.64", OS_VISTA64}, {"6.1", "7.64", OS_764},
    {"6.2", "8.64", OS_864},   {"6.3", "8.1.64", OS_8164},      {"10.0", "10.64", OS_1064},
};
const ClassRow kServer64Rows[] = {
    {"6.0", "2008.64", OS_200864},
    {"6.1", "2008R2.64", OS_2008R264},
    {"6.2", "2012.64", OS_201264},
    {"6.3", "2012R2.64", OS_2012R264},
};

template <size_t N> bool Apply(const ClassRow (&rows)[N], OSClassInfo& info) {
    for (const ClassRow& row : rows) {
        if (info.versionText == row.version) {
            info.name = row.name;
            info.flag = row.flag;
            return true;
        }
    }
    return false;
}

} // namespace

OSClassInfo OSClassOf(uint32_t platform, uint32_t major, uint32_t minor, uint32_t build,
                      bool is64BitWindows, bool isServer) {
    OSClassInfo info;
    info.versionText = std::to_string(major) + "." + std::to_string(minor);
    switch (platform) {
    case 0:
        info.name = "32S";
        info.flag = OS_32S;
        break;
    case 1:
        if (info.versionText == "4.10" && build == 3000) info.versionText = "4.90";
        if (info.versionText == "4.0") {
            info.name = "95";
            info.flag = OS_95;
        } else if (info.versionText == "4.10") {
            info.name = "98";
            info.flag = OS_98;
        } else if (info.versionText == "4.90") {
            info.name = "ME";
            info.flag = OS_ME;
        } else {
            info.name = "9x";
            info.flag = OS_95;
        }
        break;
    case 2:
        if (!Apply(kNtRows, info)) {
            info.name = "NTx";
            info.flag = OS_NT;
        }
        if (is64BitWindows) Apply(kNt64Rows, info);
        if (isServer && is64BitWindows) {
            Apply(kServer64Rows, info);
        } else if (isServer && info.versionText == "6.0") {
            info.name = "2008";
            info.flag = OS_2008;
        }
        break;
    default:
        break;
    }
    return info;
}
