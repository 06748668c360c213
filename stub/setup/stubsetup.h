#pragma once
// Unit StubSetup: the setup folder, the space check, the run of the setup
// engine and the setup start of the main window's first tick.
#include "core/package/tgfileinfo.h"

#include <windows.h>

#include <string>

// The temporary folder + "SETUP_" + the executable's DOS time; made afresh on
// first use.
const std::string& SetupFolder();
// DeleteTree of the setup folder, when it has been made.
void RemoveSetupFolder();
// A fixed drive among C:, D:, E: with more room than the temporary drive, as
// "X:\TEMP" (or "X:\TEMP\TEMP" when that exists); empty when there is none.
const std::string& AltTempRoot();
// AltTempRoot + "_" + a random number, made afresh; empty without a root.
const std::string& AltSetupFolder();

// "_" + the current thread id.
std::string ThreadToken();
// The "ForcePrompt" registry value reads "1".
bool ForcePrompt();

// The package's space-required value for the cluster size of folder's volume.
double SpaceRequired(const package::TGFileInfo& pkg, const std::string& folder);
// Asks before extracting when the package says so or space is short; true = go on.
bool SpaceCheck(const std::string& targetFolder, const package::TGFileInfo& pkg);

// Extracts packageFile into targetFolder and runs its entry marked "*"; true
// when the engine took the atom (deleted it). Hidden operation (foreground
// false) asks nothing and shows nothing.
bool SetupRun(const std::string& targetFolder, const std::string& packageFile,
              const std::string& agentCopyName, bool foreground, const std::string& arguments);

// The first timer tick of a setup's main window: the normal or the
// web-download setup, then the quit message.
void SetupStart(HWND window);

// The web-download setup; its unit fills it in. Null: nothing is run.
void SetWebDownloadSetup(void (*run)(const std::string& agentCopyName));
// Values of the agent's local descriptor (section, key); null: all empty.
void SetDescriptorReader(std::string (*read)(const std::string& section, const std::string& key));
