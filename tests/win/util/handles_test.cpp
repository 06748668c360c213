#include "stub/util/handles.h"

#include <gtest/gtest.h>

TEST(Handles, OwnerClosesAndMoveTransfers) {
    HANDLE raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    {
        win::Handle a(raw);
        win::Handle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), raw);
        DWORD flags = 0;
        EXPECT_TRUE(GetHandleInformation(raw, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags)); // closed with its owner
}

TEST(Handles, GlobalAtomIsDeletedWithItsOwner) {
    const char* name = "stub-handles-test-atom";
    {
        win::GlobalAtom atom(GlobalAddAtomA(name));
        ASSERT_TRUE(atom);
        EXPECT_NE(GlobalFindAtomA(name), 0);
    }
    EXPECT_EQ(GlobalFindAtomA(name), 0);
}

TEST(Handles, InvalidFileHandleIsEmpty) {
    win::File f(CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr));
    EXPECT_FALSE(f);
}
