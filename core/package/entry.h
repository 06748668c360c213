#pragma once
// Payload entries: an int32 length (negative = stored, positive = zlib stream)
// and the entry text "header" 0x00 "content"; the header is the list
// |name|dos-time| where a "*" in the name marks the file to run.
#include "core/package/byte_source.h"

#include <cstdint>
#include <functional>
#include <string>

namespace package {

constexpr char kRunFileMarker = '*';
constexpr char kEntryHeaderDelimiter = '|';
constexpr size_t kReadChunk = 65536;
// A header longer than this is not a header: the entry is skipped.
constexpr size_t kMaxEntryHeader = 65536;

// One length-prefixed block (header block or entry) as it lies in the file.
struct StoredBlock {
    uint64_t offset = 0;     // of the length field
    uint32_t length = 0;     // N, the absolute value of the length field
    bool compressed = false; // the length field was positive
    uint32_t available = 0;  // bytes of the N that lie before the package end
    uint64_t DataOffset() const { return offset + 4; }
    uint64_t Next() const { return offset + 4 + uint64_t(length); }
};

// Reads the length field at offset; false when the 4 bytes are not there
// (before end). The absolute value of INT32_MIN is taken as 2^31.
bool ReadStoredBlock(ByteSource& src, uint64_t offset, uint64_t end, StoredBlock& out);

// The fields of an entry header.
struct EntryHeader {
    std::string header;   // as stored
    std::string name;     // item 0 cut before the run marker
    std::string runEntry; // set when the header holds the run marker
    uint32_t dosTime = 0; // item 1; 0 when missing or not a number
};
// Splits a header into its fields (the header must be non-empty).
EntryHeader ParseEntryHeader(const std::string& header);
std::string MakeEntryHeader(const std::string& name, uint32_t dosTime);

// A relative name that stays inside the target folder: not empty, no drive,
// no leading backslash, no "." or ".." component, no byte below 0x20 and none
// of <>:"/|?*, no component that names a device ("CON", "lpt1.txt"); the run
// marker is cut off before this test.
bool IsSafeEntryName(const std::string& name);
// Names and header texts read from a package, for messages: bytes outside
// 0x20..0x7E are written as \xHH, so a hostile name cannot upset the output.
std::string Printable(const std::string& s);

// Receives one entry as it is decoded. Begin is called once the header is
// complete; returning false from Begin or Content stops the entry.
struct EntrySink {
    virtual ~EntrySink() = default;
    virtual bool Begin(const EntryHeader& header) = 0;
    virtual bool Content(const char* data, size_t n) = 0;
};

enum class EntryResult {
    Ok,           // header and content delivered
    Skipped,      // empty header, or no 0x00 byte
    Truncated,    // the stored bytes end before the entry's length
    InflateError, // zlib rejected the data; error holds its message
    Stopped,      // the sink returned false
};

// Decodes one stored entry block, reading its bytes in chunks of at most 64 KB
// and inflating as it goes, so no entry needs to fit in memory.
EntryResult DecodeEntry(ByteSource& src, const StoredBlock& block, EntrySink& sink,
                        std::string& error);

// The whole entry text of a stored entry, for small entries and tests.
EntryResult DecodeEntryText(ByteSource& src, const StoredBlock& block, std::string& text,
                            std::string& error);

// DOS date and time packed into 32 bits (date in the high word); 0 for years
// outside 1980..2107.
uint32_t PackDosTime(int year, int month, int day, int hour, int minute, int second);

} // namespace package
