#pragma once
// The run-mode rules of the entry: functions of the package's trailer and
// parameter block, the running file's path and the command line, so that the
// Windows layer only supplies those and the open windows.
#include <cstdint>
#include <string>

namespace runmodes {

constexpr char kAgentClassPrefix[] = ".AutoUpdate.";
constexpr char kAgentCopyPrefix[] = "X_";
constexpr char kSpanLevelOption[] = "/SpanCdLvl=";
constexpr char kSpanFirstPartOption[] = "/SpanDiskFName1=";
constexpr char kOriginExeOption[] = "/OriginExe=";
constexpr int64_t kFirstSpanLevel = 1;
constexpr int64_t kRelaunchSpanLevel = 2;

// Class of the main window and the single-instance key: an agent's is
// ".AutoUpdate." + the running file's base name, a setup's the full path.
std::string WindowClassNameFor(bool isAgent, const std::string& exePath);
// Class of the transient agent's window: ".AutoUpdate.X_" + the base name of
// parameter-block item 2.
std::string XAgentClassName(const std::string& agentName);

// The running file's name equals item 2 (trimmed, case-insensitively).
bool IsPlainAgentFile(bool isAgent, const std::string& exePath, const std::string& agentName);
// The running file's name equals "X_" + item 2, compared the same way.
bool IsXAgentFile(bool isAgent, const std::string& exePath, const std::string& agentName);

// First disk of a multi-disk set, not yet relaunched ("/SpanCdLvl=" 1 or absent).
bool IsFirstSpanRunOf(bool firstDiskFlag, const std::string& commandTail);
// The relaunched copy ("/SpanCdLvl=2").
bool IsSpanRelaunchOf(const std::string& commandTail);

} // namespace runmodes
