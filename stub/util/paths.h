#pragma once
// Unit Utils, folder part: the standard folders and path clean-up, with the
// ANSI code page's two-byte characters respected.
#include "core/util/pathtext.h"

#include <string>

// The path without, or with exactly one, trailing backslash ("C:\" -> "C:").
std::string PathSlash(const std::string& path, bool withSlash);
// Inner doubled backslashes made single; with dropSlash no trailing one.
std::string CleanPath(const std::string& path, bool dropSlash);

// Full path of the running executable; with baseOnly its file name without
// the last extension.
std::string ExePath(bool baseOnly);
std::string ExeDir(bool withSlash);
std::string WindowsDir(bool withSlash);
std::string SystemDir(bool withSlash);
std::string TempDir(bool withSlash);
