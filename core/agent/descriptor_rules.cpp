#include "core/agent/descriptor_rules.h"

#include "core/util/dates.h"
#include "core/util/ksub.h"
#include "core/util/numbers.h"
#include "core/util/pathtext.h"

#include <cmath>

namespace agent {

namespace {

std::string FileNamePart(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

DescriptorPaths DescriptorPathsFor(const std::string& exeDir, const std::string& descriptorItem) {
    DescriptorPaths paths;
    paths.update = exeDir + FileNamePart(descriptorItem);
    paths.base = exeDir + FileBaseName(descriptorItem, true) + ".original";
    return paths;
}

std::string StringValue(const std::string& raw, const std::string& def) {
    if (raw.empty()) return def;
    return raw.size() > kMaxValueBytes ? raw.substr(0, kMaxValueBytes) : raw;
}

bool FlagValue(const std::string& raw) {
    return raw == "1";
}

int64_t SecondsFromSerial(double serial) {
    // Beyond this the product with 86400 no longer fits the result.
    constexpr double kLimit = 9.0e18 / 86400.0;
    if (!(serial > -kLimit && serial < kLimit)) return 0;
    return std::llround(serial * 86400.0);
}

std::string SecondsCompanion(int64_t seconds) {
    return DateTimeText(" ", static_cast<double>(seconds) / 86400.0);
}

Overrides::Overrides() {
    for (uint8_t& b : bytes_)
        b = kOverrideUnset;
}

uint8_t Overrides::Get(int which) const {
    return which >= 0 && which < kOverrideCount ? bytes_[which] : kOverrideUnset;
}

void Overrides::SetOverride(int which, int64_t value) {
    if (which >= 0 && which < kOverrideCount) bytes_[which] = static_cast<uint8_t>(value & 0xFF);
}

bool Overrides::Flag(int which, bool fileFlag) const {
    uint8_t b = Get(which);
    return b == kOverrideUnset ? fileFlag : b == 1;
}

std::string Overrides::MakeOverrideList() const {
    std::string list = "|";
    for (uint8_t b : bytes_)
        list += std::to_string(b) + "|";
    return list;
}

void Overrides::ApplyOverrideList(const std::string& text) {
    for (int i = 0; i < kOverrideCount; ++i) {
        std::string item = SUB::Get(text, i, "");
        if (item.empty()) continue;
        // Two different defaults tell a number from a text that is none.
        int64_t a = TextToInt64(item, 0), b = TextToInt64(item, 1);
        if (a != b) continue;
        SetOverride(i, a);
    }
}

} // namespace agent
