#pragma once
// Pieces of the extraction that are plain logic over bytes: the agent copy
// of a package and the names the extractor tests.
#include "core/package/byte_source.h"

#include <cstdint>
#include <string>

namespace package {

// True when an agent copy may be made from this package file: its name ends
// with ".exe" or ".exe.001", in any case.
bool IsAgentCopySource(const std::string& packagePath);

// The agent copy of a package: its first payloadStart bytes (stub image and
// header blocks) with the 4 bytes at offset 252 zeroed, then the package's
// trailer with byte 69 set to 1 and the size field set to 74. Empty when the
// trailer cannot be read or fewer than payloadStart bytes are there.
std::string MakeAgentCopy(ByteSource& src, uint64_t payloadStart);

} // namespace package
