#pragma once
// Path macros of descriptor values expanded with this machine's names, date
// and folders. The agent hands over the installation folders first.
#include <string>

void SetInstallationFolders(const std::string& installDir, const std::string& sharedDir,
                            const std::string& auxDir);

// separator: put after a folder value (the agent passes "\").
std::string ExpandMacros(const std::string& text, const std::string& separator);
