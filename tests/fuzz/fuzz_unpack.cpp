// A whole package file as the extractor reads it: trailer, the block walk
// with the header counter, entry decoding and the agent copy of the header
// part must stay in bounds whatever the trailer and lengths claim.
#include "core/package/entry.h"
#include "core/package/format.h"
#include "core/package/trailer.h"
#include "core/package/unpack_agent.h"

#include <cstddef>
#include <cstdint>

namespace {
struct Sink : package::EntrySink {
    size_t total = 0;
    bool Begin(const package::EntryHeader& h) override { return package::IsSafeEntryName(h.name); }
    bool Content(const char*, size_t n) override {
        total += n;
        return total < (64u << 20);
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    package::MemorySource src(std::string(reinterpret_cast<const char*>(data), size));
    package::PackageTrailer rec;
    package::ReadTrailer(src, rec);
    (void)package::ComputeCheckValue(src, rec.Size());
    if (!rec.MagicMatches()) return 0;
    const uint64_t end = package::PackageEnd(src);
    uint64_t pos = rec.PackageStart();
    uint64_t payloadStart = 0;
    int counter = 0;
    for (int n = 0; n < 1000 && end > pos && end - pos > package::kTrailerSize; ++n) {
        package::StoredBlock b;
        if (!package::ReadStoredBlock(src, pos, end, b) || b.available < b.length) break;
        if (b.Next() > end) __builtin_trap();
        pos = b.Next();
        if (++counter == rec.BlockCount()) payloadStart = pos;
        if (counter <= rec.BlockCount()) continue;
        Sink sink;
        std::string error;
        (void)package::DecodeEntry(src, b, sink, error);
    }
    std::string copy = package::MakeAgentCopy(src, payloadStart);
    if (!copy.empty() && copy.size() != payloadStart + package::kTrailerSize) __builtin_trap();
    return 0;
}
