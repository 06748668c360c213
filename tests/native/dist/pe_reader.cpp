#include "tests/native/dist/pe_reader.h"

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr int kResourceLevels = 3; // type, name, language
constexpr uint32_t kResourceDirectoryIndex = 2;

class Reader {
  public:
    explicit Reader(const std::string& bytes) : b_(bytes) {}
    bool Has(uint64_t offset, uint64_t size) const {
        return offset <= b_.size() && size <= b_.size() - offset;
    }
    bool U16(uint64_t offset, uint16_t& v) const {
        if (!Has(offset, 2)) return false;
        v = static_cast<uint16_t>(Byte(offset) | Byte(offset + 1) << 8);
        return true;
    }
    bool U32(uint64_t offset, uint32_t& v) const {
        uint16_t lo = 0, hi = 0;
        if (!U16(offset, lo) || !U16(offset + 2, hi)) return false;
        v = static_cast<uint32_t>(lo) | static_cast<uint32_t>(hi) << 16;
        return true;
    }
    std::string Bytes(uint64_t offset, uint64_t size) const {
        return b_.substr(static_cast<size_t>(offset), static_cast<size_t>(size));
    }

  private:
    uint32_t Byte(uint64_t offset) const { return static_cast<unsigned char>(b_[offset]); }
    const std::string& b_;
};

struct Section {
    uint32_t virtualAddress, virtualSize, rawSize, rawOffset;
};

class ResourceWalker {
  public:
    ResourceWalker(const Reader& r, const std::vector<Section>& sections, uint64_t root)
        : r_(r), sections_(sections), root_(root) {}

    bool Walk(std::vector<PeResource>& out, std::string& error) {
        PeResource path;
        return Directory(root_, 0, path, out, error);
    }

  private:
    bool RvaToOffset(uint32_t rva, uint32_t size, uint64_t& offset) const {
        for (const Section& s : sections_) {
            if (rva < s.virtualAddress) continue;
            uint64_t delta = rva - s.virtualAddress;
            if (delta + size > s.rawSize) continue;
            offset = s.rawOffset + delta;
            return r_.Has(offset, size);
        }
        return false;
    }

    bool Name(uint32_t field, std::string& name) const {
        uint64_t at = root_ + (field & ~kHighBit);
        uint16_t length = 0;
        if (!r_.U16(at, length) || !r_.Has(at + 2, 2ull * length)) return false;
        for (uint16_t i = 0; i < length; ++i) {
            uint16_t unit = 0;
            r_.U16(at + 2 + 2ull * i, unit);
            name += unit < 0x80 ? static_cast<char>(unit) : '?';
        }
        return true;
    }

    bool Directory(uint64_t at, int level, PeResource& path, std::vector<PeResource>& out,
                   std::string& error) {
        uint16_t named = 0, ids = 0;
        if (!r_.U16(at + 12, named) || !r_.U16(at + 14, ids)) {
            error = "resource directory outside the file";
            return false;
        }
        for (uint32_t i = 0; i < static_cast<uint32_t>(named) + ids; ++i) {
            uint32_t nameField = 0, target = 0;
            uint64_t entry = at + 16 + 8ull * i;
            if (!r_.U32(entry, nameField) || !r_.U32(entry + 4, target)) {
                error = "resource entry outside the file";
                return false;
            }
            PeResource here = path;
            std::string name;
            if ((nameField & kHighBit) && !Name(nameField, name)) {
                error = "resource name outside the file";
                return false;
            }
            uint32_t id = (nameField & kHighBit) ? 0 : nameField;
            if (level == 0) {
                here.typeId = id;
                here.typeName = name;
            } else if (level == 1) {
                here.nameId = id;
                here.name = name;
            } else {
                here.language = id;
            }
            bool isDirectory = (target & kHighBit) != 0;
            if (isDirectory != (level + 1 < kResourceLevels)) {
                error = "resource tree is not three levels deep";
                return false;
            }
            if (isDirectory) {
                if (!Directory(root_ + (target & ~kHighBit), level + 1, here, out, error))
                    return false;
                continue;
            }
            uint32_t rva = 0, size = 0;
            uint64_t dataOffset = 0;
            if (!r_.U32(root_ + target, rva) || !r_.U32(root_ + target + 4, size) ||
                !RvaToOffset(rva, size, dataOffset)) {
                error = "resource data outside the file";
                return false;
            }
            here.data = r_.Bytes(dataOffset, size);
            out.push_back(here);
        }
        return true;
    }

    const Reader& r_;
    const std::vector<Section>& sections_;
    uint64_t root_;
};

} // namespace

bool ReadPe(const std::string& file, PeInfo& info, std::string& error) {
    Reader r(file);
    info = PeInfo();
    if (!r.Has(0, 0x40) || file.compare(0, 2, "MZ") != 0) {
        error = "no MZ header";
        return false;
    }
    r.U32(0x3C, info.peOffset);
    const uint64_t pe = info.peOffset;
    uint16_t sectionCount = 0, optionalSize = 0;
    if (!r.Has(pe, 24) || file.compare(pe, 4, std::string("PE\0\0", 4)) != 0) {
        error = "no PE signature where e_lfanew points";
        return false;
    }
    r.U16(pe + 4, info.machine);
    r.U16(pe + 6, sectionCount);
    r.U16(pe + 20, optionalSize);
    const uint64_t optional = pe + 24;
    if (!r.U16(optional, info.optionalMagic) || !r.Has(optional, optionalSize)) {
        error = "optional header outside the file";
        return false;
    }
    const bool plus = info.optionalMagic == 0x20b;
    if (!plus && info.optionalMagic != 0x10b) {
        error = "unknown optional header magic";
        return false;
    }
    const uint64_t countAt = optional + (plus ? 108 : 92);
    const uint64_t directories = countAt + 4;
    uint32_t directoryCount = 0, resourceRva = 0, resourceSize = 0;
    if (!r.U16(optional + 68, info.subsystem) || !r.U32(countAt, directoryCount) ||
        countAt + 4 > optional + optionalSize) {
        error = "optional header too short";
        return false;
    }
    if (directoryCount > kResourceDirectoryIndex &&
        directories + 8 * (kResourceDirectoryIndex + 1) <= optional + optionalSize) {
        r.U32(directories + 8 * kResourceDirectoryIndex, resourceRva);
        r.U32(directories + 8 * kResourceDirectoryIndex + 4, resourceSize);
    }

    std::vector<Section> sections;
    const uint64_t table = optional + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        Section s{};
        uint64_t at = table + 40ull * i;
        if (!r.U32(at + 8, s.virtualSize) || !r.U32(at + 12, s.virtualAddress) ||
            !r.U32(at + 16, s.rawSize) || !r.U32(at + 20, s.rawOffset)) {
            error = "section table outside the file";
            return false;
        }
        sections.push_back(s);
    }
    if (resourceRva == 0) return true;

    uint64_t root = 0;
    bool found = false;
    for (const Section& s : sections) {
        if (resourceRva >= s.virtualAddress && resourceRva - s.virtualAddress < s.rawSize) {
            root = s.rawOffset + (resourceRva - s.virtualAddress);
            found = r.Has(root, 16);
            break;
        }
    }
    if (!found) {
        error = "resource directory outside the file";
        return false;
    }
    return ResourceWalker(r, sections, root).Walk(info.resources, error);
}
