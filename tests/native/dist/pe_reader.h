#pragma once
// A small, bounds-checked reader of the PE headers and the resource tree,
// enough to check what the build put into an executable.

#include <cstdint>
#include <string>
#include <vector>

struct PeResource {
    uint32_t typeId = 0; // 0 when the type is named
    std::string typeName;
    uint32_t nameId = 0; // 0 when the resource is named
    std::string name;    // ASCII; other UTF-16 units become '?'
    uint32_t language = 0;
    std::string data;
};

struct PeInfo {
    uint32_t peOffset = 0;
    uint16_t machine = 0;
    uint16_t optionalMagic = 0;
    uint16_t subsystem = 0;
    std::vector<PeResource> resources;
};

// False with a reason when the headers or the resource tree do not fit the file.
bool ReadPe(const std::string& file, PeInfo& info, std::string& error);
