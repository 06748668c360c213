#pragma once
// Unit ProcessViewer, matching rules: a target path against a running
// process's executable texts.
#include <cstdint>
#include <functional>
#include <string>

// Stands for a target without a short form; never equals a real path.
extern const char* const kNoShortForm; // "*XX*"
// Replaces a candidate's file name when only full paths may match.
extern const char* const kNameHidden; // "*X*"

// The part after the last "\", "/" or ":".
std::string FileNamePart(const std::string& path);

// The 8.3 form of a path; empty when it has none (the file does not exist).
using ShortFormFn = std::function<std::string(const std::string&)>;

// What one process offers to be matched against.
struct ProcessCandidate {
    std::string fullName; // executable path (or text) as listed
    std::string baseName; // its file name; kNameHidden when only full paths count
};

// The target matches the full name, or the base name, or the short forms of
// target and full name are equal. A missing short form matches nothing, on
// either side.
bool CandidateMatches(const std::string& target, const std::string& targetShort,
                      const ProcessCandidate& candidate, const ShortFormFn& shortForm);

// The short form of a target for CandidateMatches: kNoShortForm when it has none.
std::string TargetShortForm(const std::string& target, const ShortFormFn& shortForm);

// In a name=pid list (reversed first, so its last item wins), the id of the
// first name that matches the file-name part of target, or whose short form
// matches the target's; 0 when none does. With keepFullTarget the whole
// target is compared (for lists of full paths).
uint32_t IdFromNameList(const std::string& nameList, const std::string& target,
                        const ShortFormFn& shortForm, bool keepFullTarget = false);
