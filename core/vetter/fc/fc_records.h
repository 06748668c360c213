#pragma once
// The inventory and configuration records, byte-exact and packed. Pointer
// fields take 4 bytes on 32-bit Windows (the shipped layout) and 8 in the
// 64-bit test build; every other field has the same offset in both.

#include "core/vetter/fc/hba_types.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

struct fc_port_info;
struct fc_scsi_inquiry;

#pragma pack(push, 1)
struct fc_ctrl_info {
    HBA_ADAPTERATTRIBUTES attributes;
    uint8_t reserved;
    fc_port_info* firstPort;
};

struct fc_port_info {
    HBA_PORTATTRIBUTES attributes;
    int32_t unused; // -1 from creation on
    fc_port_info* nextPort;
    fc_port_info* discovered; // first discovered (adapter port) / next (discovered port)
    fc_scsi_inquiry* inquiry;
};

struct fc_scsi_inquiry {
    fc_ctrl_info* controller;
    char vendor[10];
    char product[20];
    char revision[6];
};

struct fc_config_sub_record {
    char first[20];
    char second[440];
    char third[8];
    fc_config_sub_record* next;
};

struct fc_config_file_entry {
    char column0[20];
    char column1[20];
    char vendorIdText[6];
    char deviceIdText[6];
    char subVendorIdText[6];
    char subSystemIdText[6];
    int32_t vendorId;
    int32_t deviceId;
    int32_t subVendorId;
    int32_t subSystemId;
    uint8_t reserved;
    char column6[20];
    char column7[20];
    char column8[20];
    char column12[20];
    char column9[80];
    char column10[80];
    char column11[7];
    fc_config_sub_record* firstSub;
};
#pragma pack(pop)

constexpr size_t kPtr = sizeof(void*);
static_assert(offsetof(fc_ctrl_info, reserved) == 2192, "fc_ctrl_info byte");
static_assert(offsetof(fc_ctrl_info, firstPort) == 2193, "fc_ctrl_info port");
static_assert(sizeof(fc_ctrl_info) == 2193 + kPtr, "fc_ctrl_info");
static_assert(offsetof(fc_port_info, unused) == 632, "fc_port_info -1 field");
static_assert(offsetof(fc_port_info, nextPort) == 636, "fc_port_info next");
static_assert(sizeof(fc_port_info) == 636 + 3 * kPtr, "fc_port_info");
static_assert(offsetof(fc_scsi_inquiry, vendor) == kPtr, "inquiry vendor");
static_assert(sizeof(fc_scsi_inquiry) == kPtr + 36, "fc_scsi_inquiry");
static_assert(offsetof(fc_config_sub_record, second) == 20, "sub second");
static_assert(offsetof(fc_config_sub_record, third) == 460, "sub third");
static_assert(offsetof(fc_config_sub_record, next) == 468, "sub next");
static_assert(sizeof(fc_config_sub_record) == 468 + kPtr, "fc_config_sub_record");
static_assert(offsetof(fc_config_file_entry, column1) == 20, "column 1");
static_assert(offsetof(fc_config_file_entry, vendorIdText) == 40, "Vendor-Id");
static_assert(offsetof(fc_config_file_entry, deviceIdText) == 46, "Device-Id");
static_assert(offsetof(fc_config_file_entry, subVendorIdText) == 52, "Sub-Vendor-Id");
static_assert(offsetof(fc_config_file_entry, subSystemIdText) == 58, "Sub-System-Id");
static_assert(offsetof(fc_config_file_entry, vendorId) == 64, "Vendor-Id value");
static_assert(offsetof(fc_config_file_entry, subSystemId) == 76, "Sub-System-Id value");
static_assert(offsetof(fc_config_file_entry, column6) == 81, "column 6");
static_assert(offsetof(fc_config_file_entry, column7) == 101, "column 7");
static_assert(offsetof(fc_config_file_entry, column8) == 121, "column 8");
static_assert(offsetof(fc_config_file_entry, column12) == 141, "column 12");
static_assert(offsetof(fc_config_file_entry, column9) == 161, "column 9");
static_assert(offsetof(fc_config_file_entry, column10) == 241, "column 10");
static_assert(offsetof(fc_config_file_entry, column11) == 321, "column 11");
static_assert(offsetof(fc_config_file_entry, firstSub) == 328, "sub-record chain");
static_assert(sizeof(fc_config_file_entry) == 328 + kPtr, "fc_config_file_entry");
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(fc_ctrl_info) == 2197 && sizeof(fc_port_info) == 648 &&
                  sizeof(fc_scsi_inquiry) == 40 && sizeof(fc_config_file_entry) == 332 &&
                  sizeof(fc_config_sub_record) == 472,
              "shipped record sizes");
#endif

namespace fc {

// Zero-filled records and the growth of the null-terminated pointer lists.
// Seams let tests run out of memory at a chosen record.
struct Allocation {
    void* (*zeroed)(size_t count, size_t size) = std::calloc;
    void* (*grow)(void* block, size_t size) = std::realloc;
};

// Appends a record pointer, keeping the list null-terminated; false (list
// unchanged) when the list cannot grow.
bool AppendPointer(void*** list, size_t* count, void* record, const Allocation& a);

// A new zero-filled record appended to its list; null when out of memory.
template <class T> T* NewListedRecord(T*** list, size_t* count, const Allocation& a = {}) {
    T* record = static_cast<T*>(a.zeroed(1, sizeof(T)));
    if (!record) return nullptr;
    if (!AppendPointer(reinterpret_cast<void***>(list), count, record, a)) {
        std::free(record);
        return nullptr;
    }
    return record;
}

// A new zero-filled port record with its -1 field set; null when out of memory.
fc_port_info* NewPortRecord(const Allocation& a = {});

} // namespace fc
