// Recording windows into the parallel lists and the lists made from them.
#include "core/process/processdata.h"

#include "core/util/ksub.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using W = TProcessData::WindowInfo;

std::vector<W> Desktop() {
    return {
        {10, "explorer.exe", "Shell_TrayWnd", 0x100, 11, "", true},
        {20, "product.exe", "ProductMain", 0x200, 21, "Product | Main", true},
        {20, "product.exe", "ProductTip", 0x210, 21, "", false},
        {30, "X_agent.exe", "AgentClass", 0x300, 31, "Agent", false},
        {40, "Product.exe", "ProductMain", 0x400, 41, "Product 2", true},
    };
}

// Feeds windows until Consider asks to stop; returns how many were visited.
size_t Enumerate(TProcessData& d, const std::vector<W>& windows) {
    d.Reset();
    size_t visited = 0;
    for (const W& w : windows) {
        ++visited;
        if (!d.Consider(w)) break;
    }
    return visited;
}

TEST(TProcessData, AllWindowsKeepsTheListsInStep) {
    TProcessData d;
    EXPECT_EQ(Enumerate(d, Desktop()), 5u);
    EXPECT_EQ(d.processIds, "|10|20|20|30|40|");
    EXPECT_EQ(d.fileNames, "|explorer.exe|product.exe|product.exe|X_agent.exe|Product.exe|");
    EXPECT_EQ(d.classNames, "|Shell_TrayWnd|ProductMain|ProductTip|AgentClass|ProductMain|");
    EXPECT_EQ(d.windowHandles, "|256|512|528|768|1024|");
    EXPECT_EQ(d.threadIds, "|11|21|21|31|41|");
    // A "|" in a title must not shift the items of the other lists.
    EXPECT_EQ(d.titles, "||Product   Main||Agent|Product 2|");
    EXPECT_EQ(d.visibleFlags, "|1|1|0|0|1|");
    for (const std::string* l : {&d.processIds, &d.fileNames, &d.classNames, &d.windowHandles,
                                 &d.threadIds, &d.titles, &d.visibleFlags})
        EXPECT_EQ(SUB::Count(*l), 5) << *l;
}

TEST(TProcessData, SearchRecordsEachProgramOnceAndStopsAtTheWanted) {
    struct Case {
        const char* what;
        const char* name;
        int64_t pid;
        size_t visited;
        const char* fileNames;
    } cases[] = {
        {"by name (case-sensitive)", "X_agent.exe", -1, 4u,
         "|explorer.exe|product.exe|X_agent.exe|"},
        {"by name, other case never stops", "x_agent.exe", -1, 5u,
         "|explorer.exe|product.exe|X_agent.exe|"},
        {"by id", "*", 20, 2u, "|explorer.exe|product.exe|"},
        {"the first window already", "explorer.exe", -1, 1u, "|explorer.exe|"},
    };
    for (const Case& c : cases) {
        TProcessData d;
        d.allWindows = false;
        d.wantedFileName = c.name;
        d.wantedProcessId = c.pid;
        EXPECT_EQ(Enumerate(d, Desktop()), c.visited) << c.what;
        EXPECT_EQ(d.fileNames, c.fileNames) << c.what;
        EXPECT_EQ(SUB::Count(d.processIds), SUB::Count(d.fileNames)) << c.what;
    }
}

TEST(ProcessListOf, PairsPerWindowNamesOnce) {
    TProcessData d;
    Enumerate(d, Desktop());
    EXPECT_EQ(ProcessListOf(d, true, false),
              "|explorer.exe=10|product.exe=20|product.exe=20|X_agent.exe=30|Product.exe=40|");
    EXPECT_EQ(
        ProcessListOf(d, false, true),
        "|explorer.exe=256|product.exe=512|product.exe=528|X_agent.exe=768|Product.exe=1024|");
    EXPECT_EQ(ProcessListOf(d, false, false), "|explorer.exe|product.exe|X_agent.exe|");
    TProcessData empty;
    EXPECT_EQ(SUB::Count(ProcessListOf(empty, true, false)), 0);
    EXPECT_EQ(SUB::Count(ProcessListOf(empty, false, false)), 0);
}

} // namespace
