#include "core/process/processdata.h"

#include "core/util/ksub.h"

namespace {

// Items are appended as they are; a delimiter inside one would shift every
// later item against the other lists, so it is blanked.
std::string Item(std::string text) {
    for (char& c : text)
        if (c == '|') c = ' ';
    return text + "|";
}

} // namespace

void TProcessData::Reset() {
    processIds = fileNames = classNames = windowHandles = threadIds = titles = visibleFlags = "|";
}

bool TProcessData::Consider(const WindowInfo& w) {
    if (allWindows || !SUB::Contains(fileNames, w.fileName, true, true)) {
        processIds += Item(std::to_string(w.processId));
        fileNames += Item(w.fileName);
        classNames += Item(w.className);
        windowHandles += Item(std::to_string(w.handle));
        threadIds += Item(std::to_string(w.threadId));
        titles += Item(w.title);
        visibleFlags += Item(w.visible ? "1" : "0");
    }
    if (allWindows) return true;
    return !(w.fileName == wantedFileName || static_cast<int64_t>(w.processId) == wantedProcessId);
}

std::string ProcessListOf(const TProcessData& data, bool byPid, bool byWindow) {
    if (byPid) return SUB::JoinPairs(data.fileNames, data.processIds, true);
    if (byWindow) return SUB::JoinPairs(data.fileNames, data.windowHandles, true);
    // Every window is recorded, but the plain name list names each program once.
    return SUB::Unique(data.fileNames);
}
