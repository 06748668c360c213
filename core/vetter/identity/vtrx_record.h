#pragma once
// The management service's "$SIP" request record: header layout, commands,
// objects and status values, and VtrxRequest, the slots a request is built in
// and its answer is read from.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vtrx {

constexpr size_t kHeaderSize = 48;
constexpr size_t kMinRecordSize = 52;
constexpr uint8_t kFormatVersion = 2;
constexpr size_t kSlotCount = 32;

// Field offsets of the little-endian header.
constexpr size_t kOffMagic = 0;
constexpr size_t kOffVersion = 4;
constexpr size_t kOffHeaderLength = 6;
constexpr size_t kOffDataLength = 8;
constexpr size_t kOffCommand = 12;
constexpr size_t kOffObject = 16;
constexpr size_t kOffIndex = 20;
constexpr size_t kOffCabinet = 24;
constexpr size_t kOffStatus = 28;
constexpr size_t kOffFlagsA = 36;
constexpr size_t kOffFlagsB = 38;
static_assert(kOffFlagsB + 2 + 8 == kHeaderSize, "header ends with 8 reserved bytes");

constexpr uint32_t kCmdServerState = 0x0C80;
constexpr uint32_t kCmdGetValue = 0x0C00;
constexpr uint32_t kCmdCabinetNumber = 0xE204;
constexpr uint32_t kCabinetAll = 0xFFFFFFFFu;

constexpr uint32_t kObjBiosVersion = 0xA006;
constexpr uint32_t kObjXcbFirmware = 0x1B06;
constexpr uint32_t kObjXcbModel = 0x1B08;
constexpr uint32_t kObjCabinetModel = 0x0608;
constexpr uint32_t kObjChassisId = 0x0108;
constexpr uint32_t kObjBoardPartNumber = 0x0201;
constexpr uint32_t kObjBoardModel = 0x0208;

constexpr uint32_t kStatusPreset = 22;
constexpr uint32_t kStatusRepeat = 15;
constexpr uint32_t kStatusCabinetFailed = 6;
constexpr uint32_t kStatusNoRecord = 23;
bool IsSuccessStatus(uint32_t status);

// State byte of the server-state answer.
constexpr uint8_t kStateStarting = 1;
bool IsReadyState(uint8_t state);

struct Header {
    uint32_t dataLength = 0;
    uint32_t command = 0;
    uint32_t object = 0;
    uint32_t index = 0;
    uint32_t cabinet = 0;
    uint32_t status = 0;
    uint16_t flagsA = 0;
    uint16_t flagsB = 0;
};

// A request header: magic, version 2, length 48, the given fields, the rest 0.
std::array<uint8_t, kHeaderSize> EncodeHeader(const Header& h);
// False for a null or short record or a wrong magic.
bool DecodeHeader(const uint8_t* bytes, size_t size, Header* h);
bool HasMagic(const uint8_t* bytes, size_t size);

// "VCRequestEx" carries flags A in bits 0-5 and flags B in bits 6-7 of a byte.
uint8_t PackFlags(uint16_t flagsA, uint16_t flagsB);
void UnpackFlags(uint8_t flags, uint16_t* flagsA, uint16_t* flagsB);

class VtrxRequest {
  public:
    VtrxRequest() = default;

    // Command, object, index, cabinet and status; flags cleared, no data.
    void SetRequest(uint32_t command, uint32_t object, uint32_t index, uint32_t cabinet,
                    uint32_t status = kStatusPreset);
    void SetData(const uint8_t* bytes, size_t n);
    // A 1-, 2- or 4-byte little-endian value as the data; other widths: none.
    void SetDataValue(uint32_t value, size_t width);
    // Replaces the header by up to 48 returned bytes (a short answer keeps the
    // rest of the old header); the magic and the data length are kept.
    void OverlayHeader(const uint8_t* bytes, size_t n);
    void SetStatus(uint32_t status);
    void SetFlags(uint16_t flagsA, uint16_t flagsB);

    bool HasRecord() const { return !slots_[current_].empty(); }
    // kStatusNoRecord without a record.
    uint32_t Status() const;
    bool IsSuccess() const { return HasRecord() && IsSuccessStatus(Status()); }
    Header Fields() const;
    uint32_t DataLength() const;
    // Byte n of the data; 0 beyond its end.
    uint8_t DataByte(size_t n) const;
    std::vector<uint8_t> Data() const;
    // The data up to its first NUL (the whole data when it has none).
    std::string DataText() const;
    // The 48 header bytes (empty without a record).
    std::vector<uint8_t> HeaderBytes() const;

  private:
    std::vector<uint8_t>& Slot(size_t dataLength);
    uint32_t Read32(size_t off) const;
    void Write32(size_t off, uint32_t v);

    std::array<std::vector<uint8_t>, kSlotCount> slots_;
    size_t current_ = 0;
};

} // namespace vtrx
