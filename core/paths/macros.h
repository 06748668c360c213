#pragma once
// Angle-bracket path macros of descriptor values, expanded from the machine's
// names, dates and folders given as inputs, so that the rules are testable
// anywhere. The Windows layer fills MacroEnvironment.
#include "core/util/dates.h"
#include "core/util/pathtext.h"

#include <functional>
#include <string>

namespace paths {

struct MacroEnvironment {
    DateTimeParts now;
    char dateSeparator = '/';
    std::string longMonthNames[12]; // for "<Date=#"; English names when empty

    std::string loggedUserName, userName, companyName, computerName, domainName;

    // Installation folders from the local descriptor.
    std::string installDir, sharedDir, auxDir;

    std::string windowsDir, systemDir, system16Dir;
    std::string startMenuDir, programFilesDir, commonFilesDir, fontDir, srcDir, originDir, tempDir,
        serviceDir;
    // Shell folders, without trailing backslash.
    std::string userDir, userAppDataDir, userLocalAppDataDir, myDocumentsDir, userStartMenuDir,
        userStartProgramMenuDir, userDesktopDir, documentsAndSettingsDir, allUsersDir,
        allUsersAppDataDir, allUsersDocumentsDir, allUsersStartMenuDir, allUsersStartProgramMenuDir,
        allUsersDesktopDir;

    // The system's full-path expansion ("." and ".." resolved); identity when unset.
    std::function<std::string(const std::string&)> fullPath;
    LeadByteTest isLead = nullptr;
};

// The date text of a code ('#', '0'..'7'); empty for any other code.
std::string MacroDateText(char code, const MacroEnvironment& env);

std::string ExpandMacrosWith(const std::string& text, const std::string& separator,
                             const MacroEnvironment& env);

} // namespace paths
