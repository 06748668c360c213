#include "core/process/matching.h"

#include "core/util/ksub.h"
#include "core/util/numbers.h"
#include "core/util/text.h"

const char* const kNoShortForm = "*XX*";
const char* const kNameHidden = "*X*";

std::string FileNamePart(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string TargetShortForm(const std::string& target, const ShortFormFn& shortForm) {
    std::string s = shortForm ? shortForm(target) : std::string();
    return s.empty() ? std::string(kNoShortForm) : s;
}

bool CandidateMatches(const std::string& target, const std::string& targetShort,
                      const ProcessCandidate& candidate, const ShortFormFn& shortForm) {
    if (SameTextTrim(target, candidate.fullName)) return true;
    // The hidden name stands for "no name", not for a name a target could give.
    if (candidate.baseName != kNameHidden && SameTextTrim(target, candidate.baseName)) return true;
    if (targetShort.empty() || targetShort == kNoShortForm || !shortForm) return false;
    // Two paths without short forms must not match each other through it.
    const std::string candidateShort = shortForm(candidate.fullName);
    return !candidateShort.empty() && SameTextTrim(targetShort, candidateShort);
}

uint32_t IdFromNameList(const std::string& nameList, const std::string& target,
                        const ShortFormFn& shortForm, bool keepFullTarget) {
    std::string names, ids;
    SUB::SplitPairs(SUB::Reverse(nameList), names, ids);
    const std::string name = keepFullTarget ? target : FileNamePart(target);
    const std::string targetShort = TargetShortForm(name, shortForm);
    const int count = SUB::Count(names);
    for (int i = 0; i < count; ++i) {
        const std::string candidate = SUB::Get(names, i);
        bool match = SameTextTrim(candidate, name);
        if (!match && targetShort != kNoShortForm && shortForm) {
            const std::string s = shortForm(candidate);
            match = !s.empty() && SameTextTrim(s, targetShort);
        }
        if (!match) continue;
        const int64_t id = TextToInt64(SUB::Get(ids, i), 0);
        return id > 0 && id <= UINT32_MAX ? static_cast<uint32_t>(id) : 0;
    }
    return 0;
}
