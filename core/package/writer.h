#pragma once
// Writing packages: header blocks, payload entries compressed in parallel, the
// trailer with its space values and check value, and multi-disk part files.
#include "core/package/format.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace package {

// Entries hold at most this much file content, so an entry never needs much
// memory in the extractor; larger files become several same-name entries.
constexpr uint64_t kMaxEntryContent = 64ull << 20;
// Unit of parallel compression inside an entry (fixed, so the output does not
// depend on the number of threads).
constexpr size_t kCompressBlock = 1u << 20;

struct PayloadFile {
    std::string storedName; // relative path with backslashes
    std::string sourcePath; // where the tool reads it
    uint64_t size = 0;
    uint32_t dosTime = 0;
    bool run = false;    // stored with the run marker
    std::string runArgs; // text after the marker
};

struct BuildOptions {
    std::string stubImage; // the stub executable, bytes 248..255 zero
    std::string languageBlock;
    std::string parameterBlock;
    bool hasDownloadBlock = false;
    std::string downloadBlock;
    // Flag byte 65, bytes 66..69 and the reserved fields as the caller wants
    // them; the builder fills block count, start, file count, magic, check
    // value, space values and size.
    PackageTrailer trailer;
    std::vector<PayloadFile> files;
    int level = 6;
    unsigned threads = 0;  // 0 = all cores
    uint64_t diskSize = 0; // 0 = one file; else the most bytes per disk
    std::function<void(uint64_t done, uint64_t total)> progress;
};

struct BuiltEntry {
    std::string name;
    uint64_t textLength = 0;
    uint64_t storedLength = 0;
    bool compressed = false;
    int part = 0; // 0 = the package itself, n = part file n
};

struct BuildResult {
    std::vector<std::string> outputs; // the package, then part files in order
    std::vector<BuiltEntry> entries;
    uint64_t payloadBytes = 0;
};

// The nine space-required values for files of these sizes.
std::vector<uint32_t> SpaceRequiredValues(const std::vector<uint64_t>& sizes);

// The name of part file n (1-based) of the package at path.
std::string PartFileName(const std::string& packagePath, int n);

// Writes the package to outPath (and, with a disk size, its part files
// outPath.001, ...). On failure returns false with a message in error.
bool BuildPackage(const BuildOptions& opt, const std::string& outPath, BuildResult& result,
                  std::string& error);

} // namespace package
