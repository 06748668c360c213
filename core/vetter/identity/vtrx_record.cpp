#include "core/vetter/identity/vtrx_record.h"

#include <algorithm>
#include <cstring>

namespace vtrx {

namespace {

const uint8_t kMagic[4] = {'$', 'S', 'I', 'P'};

void Put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}
uint16_t Get16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

} // namespace

bool IsSuccessStatus(uint32_t status) {
    return status == 0 || status == 12 || status == 21 || status == 255;
}

bool IsReadyState(uint8_t state) {
    return state == 2 || state == 3;
}

std::array<uint8_t, kHeaderSize> EncodeHeader(const Header& h) {
    std::array<uint8_t, kHeaderSize> b{};
    std::memcpy(&b[kOffMagic], kMagic, 4);
    b[kOffVersion] = kFormatVersion;
    Put16(&b[kOffHeaderLength], uint16_t(kHeaderSize));
    Put32(&b[kOffDataLength], h.dataLength);
    Put32(&b[kOffCommand], h.command);
    Put32(&b[kOffObject], h.object);
    Put32(&b[kOffIndex], h.index);
    Put32(&b[kOffCabinet], h.cabinet);
    Put32(&b[kOffStatus], h.status);
    Put16(&b[kOffFlagsA], h.flagsA);
    Put16(&b[kOffFlagsB], h.flagsB);
    return b;
}

bool HasMagic(const uint8_t* bytes, size_t size) {
    return bytes && size >= 4 && std::memcmp(bytes, kMagic, 4) == 0;
}

bool DecodeHeader(const uint8_t* bytes, size_t size, Header* h) {
    if (!bytes || size < kHeaderSize || !HasMagic(bytes, size)) return false;
    h->dataLength = Get32(bytes + kOffDataLength);
    h->command = Get32(bytes + kOffCommand);
    h->object = Get32(bytes + kOffObject);
    h->index = Get32(bytes + kOffIndex);
    h->cabinet = Get32(bytes + kOffCabinet);
    h->status = Get32(bytes + kOffStatus);
    h->flagsA = Get16(bytes + kOffFlagsA);
    h->flagsB = Get16(bytes + kOffFlagsB);
    return true;
}

uint8_t PackFlags(uint16_t flagsA, uint16_t flagsB) {
    return uint8_t((flagsA & 0x3F) | ((flagsB & 0x03) << 6));
}

void UnpackFlags(uint8_t flags, uint16_t* flagsA, uint16_t* flagsB) {
    *flagsA = flags & 0x3F;
    *flagsB = (flags >> 6) & 0x03;
}

std::vector<uint8_t>& VtrxRequest::Slot(size_t dataLength) {
    std::vector<uint8_t>& s = slots_[current_];
    size_t need = std::max(kMinRecordSize, kHeaderSize + dataLength);
    if (s.size() < need) {
        std::vector<uint8_t> bigger(need, 0);
        if (!s.empty()) std::memcpy(bigger.data(), s.data(), kHeaderSize);
        s.swap(bigger);
    }
    std::memcpy(&s[kOffMagic], kMagic, 4);
    s[kOffVersion] = kFormatVersion;
    Put16(&s[kOffHeaderLength], uint16_t(kHeaderSize));
    return s;
}

uint32_t VtrxRequest::Read32(size_t off) const {
    const std::vector<uint8_t>& s = slots_[current_];
    return s.empty() ? 0 : Get32(&s[off]);
}

void VtrxRequest::Write32(size_t off, uint32_t v) {
    Put32(&Slot(0)[off], v);
}

void VtrxRequest::SetRequest(uint32_t command, uint32_t object, uint32_t index, uint32_t cabinet,
                             uint32_t status) {
    Header h;
    h.command = command;
    h.object = object;
    h.index = index;
    h.cabinet = cabinet;
    h.status = status;
    std::vector<uint8_t>& s = Slot(0);
    std::fill(s.begin(), s.end(), 0);
    std::array<uint8_t, kHeaderSize> b = EncodeHeader(h);
    std::memcpy(s.data(), b.data(), kHeaderSize);
}

void VtrxRequest::SetData(const uint8_t* bytes, size_t n) {
    if (!bytes) n = 0;
    std::vector<uint8_t>& s = Slot(n);
    std::fill(s.begin() + kHeaderSize, s.end(), 0);
    if (n) std::memcpy(&s[kHeaderSize], bytes, n);
    Put32(&s[kOffDataLength], uint32_t(n));
}

void VtrxRequest::SetDataValue(uint32_t value, size_t width) {
    if (width != 1 && width != 2 && width != 4) return;
    uint8_t b[4];
    Put32(b, value);
    SetData(b, width);
}

void VtrxRequest::OverlayHeader(const uint8_t* bytes, size_t n) {
    if (!bytes) return;
    std::vector<uint8_t>& s = Slot(0);
    // The data length belongs to the data really held, whatever the answer
    // header claims; the returned data sets it.
    uint32_t held = Get32(&s[kOffDataLength]);
    size_t keep = std::min(n, kHeaderSize);
    if (keep > 4) std::memcpy(&s[4], bytes + 4, keep - 4);
    Put32(&s[kOffDataLength], held);
    s[kOffVersion] = kFormatVersion;
    Put16(&s[kOffHeaderLength], uint16_t(kHeaderSize));
}

void VtrxRequest::SetStatus(uint32_t status) {
    Write32(kOffStatus, status);
}

void VtrxRequest::SetFlags(uint16_t flagsA, uint16_t flagsB) {
    std::vector<uint8_t>& s = Slot(0);
    Put16(&s[kOffFlagsA], flagsA);
    Put16(&s[kOffFlagsB], flagsB);
}

uint32_t VtrxRequest::Status() const {
    return HasRecord() ? Read32(kOffStatus) : kStatusNoRecord;
}

Header VtrxRequest::Fields() const {
    Header h;
    if (HasRecord()) DecodeHeader(slots_[current_].data(), slots_[current_].size(), &h);
    return h;
}

uint32_t VtrxRequest::DataLength() const {
    if (!HasRecord()) return 0;
    const std::vector<uint8_t>& s = slots_[current_];
    return std::min<uint32_t>(Read32(kOffDataLength), uint32_t(s.size() - kHeaderSize));
}

uint8_t VtrxRequest::DataByte(size_t n) const {
    return n < DataLength() ? slots_[current_][kHeaderSize + n] : 0;
}

std::vector<uint8_t> VtrxRequest::Data() const {
    if (!HasRecord()) return {};
    const std::vector<uint8_t>& s = slots_[current_];
    return std::vector<uint8_t>(s.begin() + kHeaderSize, s.begin() + kHeaderSize + DataLength());
}

std::string VtrxRequest::DataText() const {
    std::vector<uint8_t> d = Data();
    auto nul = std::find(d.begin(), d.end(), uint8_t(0));
    return std::string(d.begin(), nul);
}

std::vector<uint8_t> VtrxRequest::HeaderBytes() const {
    if (!HasRecord()) return {};
    const std::vector<uint8_t>& s = slots_[current_];
    return std::vector<uint8_t>(s.begin(), s.begin() + kHeaderSize);
}

} // namespace vtrx
