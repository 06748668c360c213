#include "core/agent/check_rules.h"

#include "core/util/ksub.h"
#include "core/util/text.h"

#include <limits>

namespace agent {

std::string LevelText(int level) {
    return SUB::Get(kResultList, level, "");
}

int LadderLevel(const LadderFacts& f) {
    int level = f.downloaded ? 1 : 0;
    if (level == 1 && f.versionOriginal > 0) level = 2;
    if (level == 2 &&
        (f.stampUpdate != f.stampBase || (f.reAskDue && f.reAskDue()) || f.userRequested))
        level = 3;
    if (level == 3 && f.versionNew > f.versionOriginal) level = 4;
    if (level == 4 && f.validForVersion && f.validForVersion()) level = 5;
    if (level == 5 && f.sizeMatches && f.sizeMatches()) level = 6;
    return level;
}

bool IsValidForVersionText(const std::string& list, int32_t versionOriginal) {
    if (list.empty()) return true;
    return ("," + list + ",").find("," + std::to_string(versionOriginal) + ",") !=
           std::string::npos;
}

bool SizeWithinTolerance(int64_t actual, int64_t expected) {
    // Both are 32-bit values in practice; guard the subtraction anyway.
    if ((expected > 0 && actual < std::numeric_limits<int64_t>::min() + expected) ||
        (expected < 0 && actual > std::numeric_limits<int64_t>::max() + expected))
        return false;
    int64_t d = actual - expected;
    return d > -kSizeTolerance && d < kSizeTolerance;
}

int64_t AddSaturated(int64_t a, int64_t b) {
    if (b > 0 && a > std::numeric_limits<int64_t>::max() - b)
        return std::numeric_limits<int64_t>::max();
    if (b < 0 && a < std::numeric_limits<int64_t>::min() - b)
        return std::numeric_limits<int64_t>::min();
    return a + b;
}

bool ReAskDueAt(int64_t now, int64_t interval, int64_t last) {
    return interval > 0 && now > AddSaturated(last, interval);
}

int ShotStatus(const ShotInputs& in) {
    if (!in.probeEnabled && !in.forceCheck) return 0;
    int64_t interval = in.testMode ? kTestModeInterval : in.interval;
    int result = in.now >= AddSaturated(in.last, interval) ? 1 : 0;
    if (in.interval == 0 && result == 1) result = 2;
    if (in.interval == -1) result = 0;
    if (in.forceCheck) result = 1;
    return result;
}

bool TestModeReadDue(bool force, uint32_t now, uint32_t lastRead) {
    return force || now > static_cast<uint32_t>(lastRead + kTestModeRefreshMs);
}

bool TestModeFor(const std::string& mode, const std::string& date, const std::string& today) {
    return mode == "1" && !today.empty() && date == today;
}

bool IsLocalSource(const std::string& source) {
    return source.size() < 2 || source[1] == ':';
}

std::string CheckQuestionText(const std::string& a, const std::string& b, const std::string& c,
                              const std::string& source, bool testMode,
                              const std::string& programName) {
    std::string text = a + (IsLocalSource(source) ? std::string() : b) + c +
                       (testMode ? std::string(kTestModeNote) : std::string());
    return ReplaceText(text, "PROG_NAME", programName);
}

std::string DownloadFailureText(bool aborted, const std::string& path, const std::string& s3,
                                const std::string& s4, const std::string& s5) {
    if (aborted) return s3;
    bool local = (path.size() >= 2 && path[1] == ':') || path.compare(0, 2, "\\\\") == 0;
    return path + "<P><P>" + (local ? s4 : s5);
}

StatusText DownloadStatusText(int kind) {
    switch (kind) {
    case 2:
        return {"s32", "Downloading UPDATE File..."};
    case 3:
        return {"s33", "Downloading INFORM File..."};
    default:
        return {"s31", "Downloading INFO File..."};
    }
}

std::string NoticeToken(const std::string& noticeText) {
    size_t first = noticeText.find('|');
    if (first == std::string::npos) return std::string();
    size_t second = noticeText.find('|', first + 1);
    if (second == std::string::npos) return noticeText.substr(first + 1);
    return noticeText.substr(first + 1, second - first - 1);
}

} // namespace agent
