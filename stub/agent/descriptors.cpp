#include "stub/agent/descriptors.h"

#include "core/util/dates.h"
#include "stub/util/paths.h"
#include "stub/util/registry.h"

namespace agent {

namespace {

std::string g_item;
Overrides g_overrides;

std::string Text(const std::string& file, const char* section, const char* key,
                 const std::string& def) {
    return StringValue(ReadIniString(file, section, key, def), def);
}

int64_t Int(const std::string& file, const char* section, const char* key, int64_t def) {
    return ReadIniInt(file, section, key, def);
}

int32_t Int32(const std::string& file, const char* section, const char* key, int32_t def) {
    return static_cast<int32_t>(static_cast<uint32_t>(ReadIniInt(file, section, key, def)));
}

bool Flag(const std::string& file, const char* section, const char* key) {
    return FlagValue(ReadIniString(file, section, key, "0"));
}

std::string Base() {
    return BaseDescriptorPath();
}
std::string Update() {
    return UpdateDescriptorPath();
}

bool WriteSeconds(const char* key, const char* companion, int64_t seconds) {
    bool ok = WriteIniInt(Base(), "OriginalSetup", key, seconds);
    WriteIniString(Base(), "OriginalSetup", companion, SecondsCompanion(seconds));
    return ok;
}

} // namespace

void SetDescriptorItem(const std::string& item) {
    g_item = item;
}

std::string UpdateDescriptorPath() {
    return DescriptorPathsFor(ExeDir(true), g_item).update;
}

std::string BaseDescriptorPath() {
    return DescriptorPathsFor(ExeDir(true), g_item).base;
}

int64_t NowSeconds() {
    return SecondsFromSerial(NowSerial());
}

std::string AgentText(const std::string& key, const std::string& def) {
    return Text(Base(), "AutoUpdate", key.c_str(), def);
}

namespace original {
// clang-format off
int64_t ProbeSecondsInterval() { return Int(Base(), "OriginalSetup", "ProbeSecondsInterval", 0); }
int64_t ProbeSecondsLast() { return Int(Base(), "OriginalSetup", "ProbeSecondsLast", 0); }
int64_t ReAskSecondsInterval() { return Int(Base(), "OriginalSetup", "ReAskSecondsInterval", 0); }
int64_t ReAskSecondsLast() { return Int(Base(), "OriginalSetup", "ReAskSecondsLast", 0); }
int32_t VersionOriginal() { return Int32(Base(), "OriginalSetup", "VersionOriginal", 0); }
int32_t Stamp() { return Int32(Base(), "OriginalSetup", "Stamp", 0); }
std::string ProgramName() { return Text(Base(), "OriginalSetup", "ProgramName", ""); }
std::string TargetDir() { return Text(Base(), "Directories", "TargetDir", ""); }
std::string SharedDir() { return Text(Base(), "Directories", "SharedDir", ""); }
std::string AuxiliaryDir() { return Text(Base(), "Directories", "AuxiliaryDir", ""); }
std::string StartUpLink() { return Text(Base(), "UnInstall", "StartUpLink", ""); }
std::string CheckforNewUpdateLink() { return Text(Base(), "UnInstall", "CheckforNewUpdateLink", ""); }
std::string BtnText() { return Text(Base(), "MsgBox", "BtnText", kStandardButtons); }
std::string Error() { return Text(Base(), "MsgBox", "Error", "Error"); }
std::string Confirm() { return Text(Base(), "MsgBox", "Confirm", "Confirm"); }
std::string Attention() { return Text(Base(), "MsgBox", "Attention", "Attention"); }
int32_t CharSet() { return Int32(Base(), "MsgBox", "CharSet", 0); }
std::string FontName() { return Text(Base(), "MsgBox", "FontName", "Tahoma"); }
int32_t FontSize() { return Int32(Base(), "MsgBox", "FontSize", 8); }
// clang-format on

bool WriteProbeSecondsInterval(int64_t seconds) {
    return WriteIniInt(Base(), "OriginalSetup", "ProbeSecondsInterval", seconds);
}
bool WriteProbeSecondsLast(int64_t seconds) {
    return WriteSeconds("ProbeSecondsLast", "__ProbeSecondsLast", seconds);
}
bool WriteReAskSecondsInterval(int64_t seconds) {
    return WriteIniInt(Base(), "OriginalSetup", "ReAskSecondsInterval", seconds);
}
bool WriteReAskSecondsLast(int64_t seconds) {
    return WriteSeconds("ReAskSecondsLast", "__ReAskSecondsLast", seconds);
}
bool WriteVersionOriginal(int32_t version) {
    return WriteIniInt(Base(), "OriginalSetup", "VersionOriginal", version);
}
bool WriteStamp(int32_t stamp) {
    return WriteIniInt(Base(), "OriginalSetup", "Stamp", stamp);
}
} // namespace original

namespace info {
// clang-format off
int64_t AutoInform() { return Int(Update(), "General", "AutoInform", 0); }
int32_t VersionNew() { return Int32(Update(), "NewSetup", "VersionNew", 0); }
int32_t Stamp() { return Int32(Update(), "NewSetup", "Stamp", 0); }
std::string ValidVersions() { return Text(Update(), "NewSetup", "ValidVersions", ""); }
std::string DownloadURL_UPDATE() { return Text(Update(), "NewSetup", "DownloadURL_UPDATE", ""); }
std::string NameOfUpdateFile() { return Text(Update(), "NewSetup", "NameOfUpdateFile", ""); }
int32_t SizeOfUpdateFile() { return Int32(Update(), "NewSetup", "SizeOfUpdateFile", 0); }
std::string ProgramName() { return Text(Update(), "NewSetup", "ProgramName", ""); }
bool RequestConfirmationBeforeDownload() {
    return g_overrides.Flag(kRequestConfirmationBeforeDownload,
                            Flag(Update(), "NewSetup", "RequestConfirmationBeforeDownload"));
}
bool RequestConfirmationBeforeDownloadForce() {
    return g_overrides.Flag(kRequestConfirmationBeforeDownloadForce,
                            Flag(Update(), "NewSetup", "RequestConfirmationBeforeDownloadForce"));
}
bool RequestConfirmationBeforeInstall() {
    return g_overrides.Flag(kRequestConfirmationBeforeInstall,
                            Flag(Update(), "NewSetup", "RequestConfirmationBeforeInstall"));
}
bool RequestConfirmationBeforeInstallForce() {
    return g_overrides.Flag(kRequestConfirmationBeforeInstallForce,
                            Flag(Update(), "NewSetup", "RequestConfirmationBeforeInstallForce"));
}
bool BackgroundUpdate() {
    return g_overrides.Flag(kBackgroundUpdate, Flag(Update(), "NewSetup", "BackgroundUpdate"));
}
std::string ShutDownMethod() { return Text(Update(), "NewSetup", "ShutDownMethod", ""); }
std::string RunningProcess() { return Text(Update(), "NewSetup", "RunningProcess", ""); }
bool RestartProcess() {
    return g_overrides.Flag(kRestartProcess, Flag(Update(), "NewSetup", "RestartProcess"));
}
bool InformFinish() {
    return g_overrides.Flag(kInformFinish, Flag(Update(), "NewSetup", "InformFinish"));
}
bool RemoveStartUpShortcut() { return Flag(Update(), "NewSetup", "RemoveStartUpShortcut"); }
bool RemoveCheckForNewUpdateShortcut() {
    return Flag(Update(), "NewSetup", "RemoveCheckForNewUpdateShortcut");
}
std::string DownloadURL_INFORM() { return Text(Update(), "AutoInform", "DownloadURL_INFORM", ""); }
std::string NameOfInformFile() { return Text(Update(), "AutoInform", "NameOfInformFile", ""); }
int32_t SizeOfInformFile() { return Int32(Update(), "AutoInform", "SizeOfInformFile", 0); }
int32_t AutoInformW() { return Int32(Update(), "AutoInform", "AutoInformW", 360); }
int32_t AutoInformH() { return Int32(Update(), "AutoInform", "AutoInformH", 360); }
// clang-format on
} // namespace info

bool ConfirmBeforeCheck() {
    return g_overrides.ConfirmBeforeCheck();
}
std::string MakeOverrideList() {
    return g_overrides.MakeOverrideList();
}
void ApplyOverrideList(const std::string& text) {
    g_overrides.ApplyOverrideList(text);
}
void SetOverride(int which, int64_t value) {
    g_overrides.SetOverride(which, value);
}

} // namespace agent
