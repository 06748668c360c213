#pragma once
// Unit Process, portable part: the record one window enumeration fills and
// the lists made from it.
#include <cstdint>
#include <string>

struct TProcessData {
    bool allWindows = true;
    std::string wantedFileName = "*";
    int64_t wantedProcessId = -1;
    // Parallel "|"-delimited lists: item i of each describes the same window.
    std::string processIds = "|";
    std::string fileNames = "|";
    std::string classNames = "|";
    std::string windowHandles = "|";
    std::string threadIds = "|";
    std::string titles = "|";
    std::string visibleFlags = "|";

    void Reset();

    struct WindowInfo {
        uint32_t processId = 0;
        std::string fileName;
        std::string className;
        uintptr_t handle = 0;
        uint32_t threadId = 0;
        std::string title;
        bool visible = false;
    };
    // Records the window when all windows are wanted or its file name is not
    // listed yet; false when the enumeration should stop here (not all
    // windows, and the file name or process id is the wanted one).
    bool Consider(const WindowInfo& w);
};

// ProcessList over a filled record: name=pid pairs (byPid), name=handle pairs
// (byWindow), one per recorded window; otherwise each file name once, in the
// order its first window was met.
std::string ProcessListOf(const TProcessData& data, bool byPid, bool byWindow);
