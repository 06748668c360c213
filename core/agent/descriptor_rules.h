#pragma once
// Text rules of the agent's two descriptor files: where they lie, how a value
// is typed, the readable companion of a seconds value, and the eight
// in-memory overrides of the yes/no keys. No file access here.
#include <cstdint>
#include <string>

namespace agent {

// Values arrive through buffers of 10241 bytes.
constexpr size_t kMaxValueBytes = 10240;

struct DescriptorPaths {
    std::string update; // the ".info" file
    std::string base;   // the ".original" file
};
// exeDir with one trailing backslash; descriptorItem is parameter-block item 1.
DescriptorPaths DescriptorPathsFor(const std::string& exeDir, const std::string& descriptorItem);

// A string value: at most kMaxValueBytes, and an empty value gives def.
std::string StringValue(const std::string& raw, const std::string& def);
// Only the exact text "1" is true.
bool FlagValue(const std::string& raw);

// Seconds counted from the date serial's origin (30 December 1899).
int64_t SecondsFromSerial(double serial);
// "09-DEC-2026 17:05:00"; empty for a value outside the calendar.
std::string SecondsCompanion(int64_t seconds);

// Indexes into the override bytes, in the order of the override list.
enum OverrideIndex : int {
    kConfirmBeforeCheck = 0,
    kRequestConfirmationBeforeDownload,
    kRequestConfirmationBeforeInstall,
    kBackgroundUpdate,
    kInformFinish,
    kRestartProcess,
    kRequestConfirmationBeforeDownloadForce,
    kRequestConfirmationBeforeInstallForce,
    kOverrideCount
};
constexpr uint8_t kOverrideUnset = 255;

class Overrides {
  public:
    Overrides();
    uint8_t Get(int which) const;
    // Stores the low 8 bits; an index outside 0..7 is ignored.
    void SetOverride(int which, int64_t value);
    // The file's flag unless the byte is set; a set byte is yes only when 1.
    bool Flag(int which, bool fileFlag) const;
    bool ConfirmBeforeCheck() const { return Get(kConfirmBeforeCheck) == 1; }
    // "|255|255|255|255|255|255|255|255|" with nothing set.
    std::string MakeOverrideList() const;
    // Items 0..7 in list order; a missing or non-numeric item leaves its byte.
    void ApplyOverrideList(const std::string& text);

  private:
    uint8_t bytes_[kOverrideCount];
};

} // namespace agent
