#pragma once
// The extractor's walk over a package and its part files: every stored block
// in file order, with the block counter running on across parts.
#include "core/package/byte_source.h"
#include "core/package/entry.h"
#include "core/package/format.h"

#include <functional>
#include <string>

namespace package {

struct PartInfo {
    int number = 1; // 1 for the package itself or its .001 file
    std::string path;
    PackageTrailer trailer;
    bool trailerRead = false;
    uint32_t computedCheck = 0;
    bool checkPassed = false;
    uint64_t end = 0; // package end (end pointer or file size)
};

struct BlockInfo {
    StoredBlock block;
    int counter = 0;       // 1-based, across parts
    bool isHeader = false; // counter not above trailer byte 1
};

class PackageVisitor {
  public:
    virtual ~PackageVisitor() = default;
    // Called for every part that exists; false stops the walk.
    virtual bool Part(const PartInfo& part, ByteSource& src) = 0;
    // Called for every block; false stops the walk.
    virtual bool Block(const PartInfo& part, ByteSource& src, const BlockInfo& block) = 0;
};

enum class WalkResult {
    Done,        // every part read
    Missing,     // a part file (or the package) does not exist; error names it
    CheckFailed, // a part did not pass its check value
    Stopped,     // the visitor stopped
};

// The base name for part files: the path without a final ".001".
std::string PartBaseName(const std::string& path);
std::string NthPartName(const std::string& base, int n);

WalkResult WalkPackage(const std::string& path, PackageVisitor& visitor, std::string& error);

} // namespace package
