#pragma once
// Unit UnPack: writes the payload entries of a package, and of the part files
// that follow it, into a target folder.
#include "stub/net/progbar.h"

#include <string>

// Extracts packagePath (the package, or its ".001" part) into targetFolder.
// checkPassed: false when the check value fails or no package file exists.
// runEntry: item 0 of the last entry marked "*", as stored; empty when none
// or after a cancelled disk prompt. agentCopyName: file name of the agent
// copy to write (empty = none). diskPrompt holds "<DISK_NUM>".
// Returns an empty text, or the error that ended extraction (zlib's message
// for data it rejects).
std::string Extract(const std::string& packagePath, const std::string& targetFolder,
                    const std::string& agentCopyName, bool& checkPassed, ProgressHandler progress,
                    const std::string& diskPrompt, const std::string& promptTitle,
                    const std::string& buttons, int charset, bool forcePrompt,
                    std::string& runEntry);

// The user-facing calls of the extraction; tests replace them.
struct UnPackUi {
    // The disk prompt; true = OK.
    bool (*confirmDisk)(const std::string& text, const std::string& title, int charset,
                        const std::string& buttons);
    void (*errorMsg)(const std::string& text, int charset, const std::string& buttons);
    void (*setAutoPlayCancel)(bool enable);
    // Ejects the medium of path's drive when it is a CD drive.
    bool (*ejectCD)(const std::string& path);
};
UnPackUi& UnPackUiHooks();
// The built-in calls (KMsgBox, the CD eject).
UnPackUi DefaultUnPackUi();
// Only the first failed write of a process is shown; tests re-arm it.
void ResetUnPackWriteFailure();
