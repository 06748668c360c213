// Drive encryption: the real export where Wine has no encryption provider,
// and the listing fed by a fake WMI session.
#include "tests/win/vetter2/child.h"
#include "tests/win/vetter2/plugin.h"

#include "vetter/environment/bitlocker_listing.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace v2;

TEST(BitLocker, WithoutTheProviderTheConnectionFails) {
    std::string out;
    // A process of its own: COM security is set once per process.
    EXPECT_EQ(RunChildCapturing("bitlocker", "", &out), 0);
    EXPECT_EQ(out.find("CIMV2: Could not connect. Error code = 0x"), 0u) << out;
    EXPECT_EQ(out.find("Volume"), std::string::npos) << out;
}

struct FakeVolume {
    std::wstring deviceId;
    long statusRead; // HRESULT of reading ConversionStatus
    uint32_t status;
    uint32_t method;
    long methodCall = 0; // HRESULT of GetEncryptionMethod
};

class FakeWmi : public vetter::EncryptableVolumes {
  public:
    explicit FakeWmi(std::vector<FakeVolume> volumes, long query = 0)
        : volumes_(std::move(volumes)), query_(query) {}
    long Query() override { return query_; }
    bool Next(std::wstring* id) override {
        if (next_ >= volumes_.size()) return false;
        current_ = &volumes_[next_++];
        *id = current_->deviceId;
        return true;
    }
    long ExecMethod(const std::wstring& path, const wchar_t* method) override {
        calls.push_back(path + L" " + method);
        return std::wstring(method) == L"GetEncryptionMethod" ? current_->methodCall : 0;
    }
    long ReadOutput(const wchar_t* name, uint32_t* value) override {
        if (std::wstring(name) == L"ConversionStatus") {
            *value = current_->status;
            return current_->statusRead;
        }
        *value = current_->method;
        return 0;
    }
    std::vector<std::wstring> calls;

  private:
    std::vector<FakeVolume> volumes_;
    size_t next_ = 0;
    FakeVolume* current_ = nullptr;
    long query_;
};

std::string Listing(FakeWmi& wmi, int* result) {
    std::FILE* f = std::tmpfile();
    *result = vetter::ListEncryptableVolumes(wmi, f);
    std::string text;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += char(c);
    std::fclose(f);
    return text;
}

TEST(BitLocker, ListingOfStatusesMethodsAndTheLockedVolume) {
    FakeWmi wmi({{L"\\\\?\\Volume{1111}\\", 0, 1, 4},
                 {L"\\\\?\\Volume{2222}\\", vetter::kVolumeLocked, 0, 0},
                 {L"\\\\?\\Volume{3333}\\", 0, 7, 9}});
    int result = -1;
    std::string text = Listing(wmi, &result);
    EXPECT_EQ(result, 48);
    EXPECT_EQ(text, "\nVolume: \\\\?\\Volume{1111}\\\n"
                    "ConversionStatus:\tFULLY ENCRYPTED\n"
                    "EncryptionMethod:\tAES 256\n"
                    "\nVolume: \\\\?\\Volume{2222}\\\n"
                    "Volume is locked\n"
                    "EncryptionMethod:\tNONE\n"
                    "\nVolume: \\\\?\\Volume{3333}\\\n"
                    "ConversionStatus:\tunknown\n"
                    "EncryptionMethod:\tunknown\n");
    ASSERT_EQ(wmi.calls.size(), 6u);
    EXPECT_EQ(wmi.calls[0],
              L"Win32_EncryptableVolume.DeviceID='\\\\?\\Volume{1111}\\' GetConversionStatus");
    EXPECT_EQ(wmi.calls[1],
              L"Win32_EncryptableVolume.DeviceID='\\\\?\\Volume{1111}\\' GetEncryptionMethod");
}

TEST(BitLocker, TextTables) {
    const char* status[] = {"FULLY DECRYPTED",
                            "FULLY ENCRYPTED",
                            "ENCRYPTION IN PROGRESS",
                            "DECRYPTION IN PROGRESS",
                            "ENCRYPTION PAUSED",
                            "DECRYPTION PAUSED",
                            "unknown"};
    const char* method[] = {
        "NONE", "AES 128 WITH DIFFUSER", "AES 256 WITH DIFFUSER", "AES 128", "AES 256", "unknown"};
    for (uint32_t v = 0; v < 7; ++v)
        EXPECT_STREQ(vetter::ConversionStatusText(v), status[v]);
    for (uint32_t v = 0; v < 6; ++v)
        EXPECT_STREQ(vetter::EncryptionMethodText(v), method[v]);
    EXPECT_STREQ(vetter::ConversionStatusText(0xFFFFFFFFu), "unknown");
}

TEST(BitLocker, FailuresAndNoVolumes) {
    int result = -1;
    FakeWmi none({});
    EXPECT_EQ(Listing(none, &result), "");
    EXPECT_EQ(result, 48);

    FakeWmi query({}, long(0x80041010));
    EXPECT_EQ(Listing(query, &result), "Query for processes failed. Error code = 0x80041010\n");
    EXPECT_EQ(result, 0);

    FakeVolume failing = {L"\\\\?\\Volume{4444}\\", 0, 2, 0, long(0x80041002)};
    FakeWmi method({failing, {L"\\\\?\\Volume{5555}\\", 0, 0, 0}});
    std::string text = Listing(method, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(text, "\nVolume: \\\\?\\Volume{4444}\\\nConversionStatus:\tENCRYPTION IN PROGRESS\n"
                    "Query for processes failed. Error code = 0x80041002\n");
    EXPECT_EQ(method.calls.size(), 2u); // the second volume is not reached
}

} // namespace
