#pragma once
// Units Utils and Win64, system part: version resources, the Windows version
// and its class, 64-bit Windows, and the user and machine names.
#include "core/util/versionkey.h"

#include <windows.h>

#include <cstdint>
#include <string>

// File version of `file` (the running executable when empty) as
// "%d.%d.%d.%d"; a version key when width > 1 or count < 4. Empty on failure.
std::string GetExeVersion(const std::string& file, int width = 1, int count = 4);
// ProductVersion text of the file's version resource, commas turned into
// points; the same key rule. Writes a four-field "QueryValue" console line.
std::string GetProductVersion(const std::string& file, int width = 1, int count = 4);
// Product version of kernel32.dll in the system folder.
std::string KernelVersion();

// The system's version record, read once; releases after 8.1 that report
// 6.3 to this program are corrected from kernel32's product version.
const OSVERSIONINFOA& GetOSVersion();
bool IsWinNT();
bool IsWinXP();
bool IsWin8OrLater();
bool IsServerOS();
bool Is64BitWindows();
// The class flag; also the version text ("6.1"), the class name, the
// service-pack text and the build number.
uint32_t OSClass(std::string& versionText, std::string& name, std::string& servicePack,
                 uint32_t& build);

std::string UserName();
std::string ComputerName();
std::string UserDomain();
// "...\Windows NT\CurrentVersion" (or "...\Windows\CurrentVersion" off NT) under HKLM.
std::string WindowsVersionKey();
std::string RegisteredOwner();
std::string RegisteredOrganization();

// Start-up of unit Win64: loads the shell, script and rich-edit libraries once,
// with the system's file-error boxes suppressed; they stay loaded.
void LoadWin64Libraries();
