#pragma once
// Pure parts of the executions: folder and target choice, the help text and
// the line-by-line text copy.
#include <cstdio>
#include <string>
#include <vector>

namespace vetter {

constexpr std::size_t kPathSize = 1024;

// Folder of "Create bx.arg File": a target beginning ".\" is taken below
// the base folder; the result ends with a backslash. Inputs are cleaned.
std::string BxArgFolder(const std::string& target, const std::string& base);
// Target of executions 2 and 3: the given path unless it is empty or the
// placeholder; then currentDir + "\" + defaultName.
std::string ExtractTarget(const std::string& given, const char* placeholder,
                          const std::string& currentDir, const char* defaultName);
// The texts "Show Help" writes, in order.
std::vector<std::string> HelpTexts(const std::string& program, const std::string& version);
// Copies text lines through a 256-byte buffer (longer lines in pieces).
// False when a read or write failed.
bool CopyTextLines(std::FILE* from, std::FILE* to);

// Where PrintDebug sends a message, or nowhere.
enum class DebugRoute { None, Screen, File };
DebugRoute ChooseDebugRoute(int level, int debugLevel, bool onScreen, int verboseLevel,
                            bool haveFile);

} // namespace vetter
