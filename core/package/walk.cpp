#include "core/package/walk.h"

#include "core/package/trailer.h"

#include <cstdio>

namespace package {

std::string PartBaseName(const std::string& path) {
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".001") == 0)
        return path.substr(0, path.size() - 4);
    return path;
}

std::string NthPartName(const std::string& base, int n) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%03d", n);
    return base + suffix;
}

WalkResult WalkPackage(const std::string& path, PackageVisitor& visitor, std::string& error) {
    error.clear();
    const std::string base = PartBaseName(path);
    std::string current = path;
    int counter = 0;
    for (int number = 1;; ++number) {
        StdFileSource src(current);
        if (!src.IsOpen()) {
            error = current;
            return WalkResult::Missing;
        }
        PartInfo part;
        part.number = number;
        part.path = current;
        part.trailerRead = ReadTrailer(src, part.trailer);
        part.computedCheck = ComputeCheckValue(src, part.trailer.Size());
        part.checkPassed = CheckValuePasses(part.computedCheck, part.trailer.CheckValue());
        part.end = PackageEnd(src);
        if (!visitor.Part(part, src)) return WalkResult::Stopped;
        if (!part.checkPassed) {
            error = current;
            return WalkResult::CheckFailed;
        }
        if (part.trailer.MagicMatches()) {
            uint64_t pos = part.trailer.PackageStart();
            do {
                BlockInfo b;
                if (!ReadStoredBlock(src, pos, part.end, b.block)) break;
                b.counter = ++counter;
                b.isHeader = counter <= part.trailer.BlockCount();
                if (!visitor.Block(part, src, b)) return WalkResult::Stopped;
                pos = b.block.Next();
            } while (pos < part.end && part.end - pos > kTrailerSize);
        }
        if (!part.trailer.Flag(flag::kMorePartsFollow)) return WalkResult::Done;
        if (number >= 999) {
            error = "more than 999 parts";
            return WalkResult::Missing;
        }
        current = NthPartName(base, number + 1);
    }
}

} // namespace package
