#pragma once
// The agent's two descriptor files beside its executable: one typed reader
// per key (reading the file afresh every time), the writers, AgentText and
// the process's eight overrides.
#include "core/agent/descriptor_rules.h"

#include <cstdint>
#include <string>

namespace agent {

// Parameter-block item 1 of the running package: names both files.
void SetDescriptorItem(const std::string& item);
// Beside the running executable.
std::string UpdateDescriptorPath();
std::string BaseDescriptorPath();

// Seconds since 30 December 1899, local time.
int64_t NowSeconds();

// Section AutoUpdate of the base descriptor, or def.
std::string AgentText(const std::string& key, const std::string& def);

constexpr char kStandardButtons[] = "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|";

// The base descriptor (".original").
namespace original {
int64_t ProbeSecondsInterval();
int64_t ProbeSecondsLast();
int64_t ReAskSecondsInterval();
int64_t ReAskSecondsLast();
int32_t VersionOriginal();
int32_t Stamp();
std::string ProgramName();
std::string TargetDir();
std::string SharedDir();
std::string AuxiliaryDir();
std::string StartUpLink();
std::string CheckforNewUpdateLink();
std::string BtnText();
std::string Error();
std::string Confirm();
std::string Attention();
int32_t CharSet();
std::string FontName();
int32_t FontSize();

bool WriteProbeSecondsInterval(int64_t seconds);
// Writes the value and then its readable companion key.
bool WriteProbeSecondsLast(int64_t seconds);
bool WriteReAskSecondsInterval(int64_t seconds);
bool WriteReAskSecondsLast(int64_t seconds);
bool WriteVersionOriginal(int32_t version);
bool WriteStamp(int32_t stamp);
} // namespace original

// The update descriptor (".info").
namespace info {
int64_t AutoInform();
int32_t VersionNew();
int32_t Stamp();
std::string ValidVersions();
std::string DownloadURL_UPDATE();
std::string NameOfUpdateFile();
int32_t SizeOfUpdateFile();
std::string ProgramName();
bool RequestConfirmationBeforeDownload();
bool RequestConfirmationBeforeDownloadForce();
bool RequestConfirmationBeforeInstall();
bool RequestConfirmationBeforeInstallForce();
bool BackgroundUpdate();
std::string ShutDownMethod();
std::string RunningProcess();
bool RestartProcess();
bool InformFinish();
bool RemoveStartUpShortcut();
bool RemoveCheckForNewUpdateShortcut();
std::string DownloadURL_INFORM();
std::string NameOfInformFile();
int32_t SizeOfInformFile();
int32_t AutoInformW();
int32_t AutoInformH();
} // namespace info

// The process's overrides (all 255 at start).
bool ConfirmBeforeCheck();
std::string MakeOverrideList();
void ApplyOverrideList(const std::string& text);
void SetOverride(int which, int64_t value);

} // namespace agent
