// Bytes as the payload area: the extractor's block walk and entry decoding
// (stored and zlib) must stay in bounds whatever the lengths claim.
#include "core/package/entry.h"

#include <cstddef>
#include <cstdint>

namespace {
struct Sink : package::EntrySink {
    size_t total = 0;
    bool Begin(const package::EntryHeader& h) override {
        (void)package::IsSafeEntryName(h.name);
        return !h.header.empty();
    }
    bool Content(const char*, size_t n) override {
        total += n;
        return total < (64u << 20);
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    package::MemorySource src(std::string(reinterpret_cast<const char*>(data), size));
    uint64_t pos = 0;
    for (int n = 0; n < 1000; ++n) {
        package::StoredBlock b;
        if (!package::ReadStoredBlock(src, pos, size, b)) break;
        if (b.DataOffset() + b.available > size) __builtin_trap();
        Sink sink;
        std::string error;
        (void)package::DecodeEntry(src, b, sink, error);
        pos = b.Next();
    }
    return 0;
}
