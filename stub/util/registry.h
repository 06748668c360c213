#pragma once
// Unit Utils, registry and INI part: registry values by textual path, INI
// files through the private-profile functions. Every reader gives its
// default for a missing or unreadable value; nothing raises.
#include "core/util/regtext.h"

#include <windows.h>

#include <cstdint>
#include <string>

// Registry and INI values arrive through buffers of this size.
constexpr DWORD kValueBufferSize = 10241;

HKEY RootKeyOf(const std::string& rootName);
HKEY SplitRegPath(const std::string& path, std::string& subkey);

// Any value type as text (RegDataText); view64 reads the 64-bit view.
std::string RegReadString(const std::string& path, const std::string& valueName,
                          const std::string& def, bool view64 = false);

std::string ReadIniString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& def);
int64_t ReadIniInt(const std::string& file, const std::string& section, const std::string& key,
                   int64_t def);
bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value);
bool WriteIniInt(const std::string& file, const std::string& section, const std::string& key,
                 int64_t value);
