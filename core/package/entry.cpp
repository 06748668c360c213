#include "core/package/entry.h"

#include "core/package/format.h"
#include "core/util/ksub.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>
#include <zlib.h>

namespace package {

bool ReadStoredBlock(ByteSource& src, uint64_t offset, uint64_t end, StoredBlock& out) {
    uint8_t b[4];
    if (offset + 4 > end || !src.ReadExact(offset, b, 4)) return false;
    int32_t raw = int32_t(GetLE32(b));
    out.offset = offset;
    out.compressed = raw > 0;
    out.length = raw < 0 ? uint32_t(0) - uint32_t(raw) : uint32_t(raw);
    uint64_t room = end - (offset + 4);
    out.available = uint32_t(room < out.length ? room : out.length);
    return true;
}

EntryHeader ParseEntryHeader(const std::string& header) {
    EntryHeader h;
    h.header = header;
    if (header.find(kRunFileMarker) != std::string::npos) h.runEntry = header;
    h.name = SUB::Get(header, 0, "");
    int64_t t = SUB::GetInt64(header, 1, 0);
    h.dosTime = t > 0 && t <= int64_t(UINT32_MAX) ? uint32_t(t) : 0;
    size_t star = h.name.find(kRunFileMarker);
    if (star != std::string::npos) {
        h.runEntry = h.name;
        h.name.resize(star);
    }
    return h;
}

std::string MakeEntryHeader(const std::string& name, uint32_t dosTime) {
    return std::string(1, kEntryHeaderDelimiter) + name + kEntryHeaderDelimiter +
           std::to_string(dosTime) + kEntryHeaderDelimiter;
}

namespace {
// CON, PRN, AUX, NUL, COM1..9, LPT1..9 (also as "CON.txt" or "con "): Windows
// opens the device instead of a file in the target folder.
bool IsDeviceName(const std::string& component) {
    std::string stem = component.substr(0, component.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    for (char& c : stem)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" ||
        stem == "CONOUT$")
        return true;
    if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0)) {
        unsigned char d = static_cast<unsigned char>(stem[3]);
        // Digits 1..9 and the superscripts 1, 2, 3 of the ANSI code page.
        return (d >= '1' && d <= '9') || d == 0xB9 || d == 0xB2 || d == 0xB3;
    }
    return false;
}
} // namespace

std::string Printable(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            out += b;
        }
    }
    return out;
}

bool IsSafeEntryName(const std::string& name) {
    if (name.empty() || name[0] == '\\') return false;
    size_t start = 0;
    for (;;) {
        size_t end = name.find('\\', start);
        std::string part = name.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty() || part == "." || part == "..") return false;
        for (unsigned char c : part)
            if (c < 0x20 || std::strchr("<>:\"/|?*", c)) return false;
        // Windows drops trailing dots and blanks, which would make "..." a parent.
        if (part.back() == '.' || part.back() == ' ') return false;
        if (IsDeviceName(part)) return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

namespace {

// Splits decoded entry text into header and content as it arrives.
class TextSplitter {
  public:
    explicit TextSplitter(EntrySink& sink) : sink_(sink) {}
    // False when the entry ends here (skipped or stopped).
    bool Feed(const char* p, size_t n) {
        if (started_) return Deliver(p, n);
        const char* zero = static_cast<const char*>(std::memchr(p, 0, n));
        size_t take = zero ? size_t(zero - p) : n;
        if (header_.size() + take > kMaxEntryHeader) return Skip();
        header_.append(p, take);
        if (!zero) return true;
        if (header_.empty()) return Skip();
        started_ = true;
        if (!sink_.Begin(ParseEntryHeader(header_))) return Stop();
        return Deliver(zero + 1, n - take - 1);
    }
    EntryResult Finish() const {
        if (stopped_) return EntryResult::Stopped;
        return started_ ? EntryResult::Ok : EntryResult::Skipped;
    }
    bool Started() const { return started_; }

  private:
    bool Deliver(const char* p, size_t n) { return n == 0 || sink_.Content(p, n) || Stop(); }
    bool Skip() { return false; }
    bool Stop() {
        stopped_ = true;
        return false;
    }
    EntrySink& sink_;
    std::string header_;
    bool started_ = false;
    bool stopped_ = false;
};

struct InflateGuard {
    z_stream z{};
    bool ok = false;
    InflateGuard() { ok = inflateInit(&z) == Z_OK; }
    ~InflateGuard() {
        if (ok) inflateEnd(&z);
    }
};

} // namespace

EntryResult DecodeEntry(ByteSource& src, const StoredBlock& block, EntrySink& sink,
                        std::string& error) {
    error.clear();
    TextSplitter split(sink);
    std::vector<char> in(kReadChunk);
    uint64_t pos = block.DataOffset();
    uint32_t left = block.available;
    bool truncated = block.available < block.length;
    // The next chunk of the entry's bytes into `in`; 0 when the file ends early.
    auto readChunk = [&]() -> size_t {
        size_t want = left < in.size() ? left : in.size();
        size_t got = src.ReadAt(pos, in.data(), want);
        if (got == 0) {
            truncated = true;
            return 0;
        }
        pos += got;
        left -= uint32_t(got);
        return got;
    };

    if (!block.compressed) {
        while (left > 0) {
            size_t got = readChunk();
            if (got == 0) break;
            if (!split.Feed(in.data(), got)) return split.Finish();
        }
        if (truncated) return EntryResult::Truncated;
        return split.Finish();
    }

    InflateGuard g;
    if (!g.ok) {
        error = g.z.msg ? g.z.msg : "inflateInit failed";
        return EntryResult::InflateError;
    }
    std::vector<char> out(kReadChunk);
    bool ended = false;
    while (!ended && left > 0) {
        size_t got = readChunk();
        if (got == 0) break;
        g.z.next_in = reinterpret_cast<Bytef*>(in.data());
        g.z.avail_in = uInt(got);
        do {
            g.z.next_out = reinterpret_cast<Bytef*>(out.data());
            g.z.avail_out = uInt(out.size());
            int rc = inflate(&g.z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
                error = g.z.msg ? g.z.msg : zError(rc);
                return EntryResult::InflateError;
            }
            size_t produced = out.size() - g.z.avail_out;
            if (produced && !split.Feed(out.data(), produced)) return split.Finish();
            if (rc == Z_STREAM_END) {
                ended = true;
                break;
            }
            if (rc == Z_BUF_ERROR && produced == 0) break;
        } while (g.z.avail_in > 0 || g.z.avail_out == 0);
    }
    if (!ended) {
        if (truncated) return EntryResult::Truncated;
        error = "unexpected end of compressed data";
        return EntryResult::InflateError;
    }
    return split.Finish();
}

namespace {
struct TextSink : EntrySink {
    std::string& text;
    explicit TextSink(std::string& t) : text(t) {}
    bool Begin(const EntryHeader& h) override {
        text = h.header;
        text += '\0';
        return true;
    }
    bool Content(const char* p, size_t n) override {
        text.append(p, n);
        return true;
    }
};
} // namespace

EntryResult DecodeEntryText(ByteSource& src, const StoredBlock& block, std::string& text,
                            std::string& error) {
    text.clear();
    TextSink sink(text);
    return DecodeEntry(src, block, sink, error);
}

uint32_t PackDosTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1980 || year > 2107) return 0;
    uint32_t date = uint32_t(year - 1980) << 9 | uint32_t(month) << 5 | uint32_t(day);
    uint32_t time = uint32_t(hour) << 11 | uint32_t(minute) << 5 | uint32_t(second / 2);
    return date << 16 | time;
}

} // namespace package
