// Owners of handles the program keeps: each releases its object exactly once, when it
// goes, also after being moved.

#include "base/win32/file_system.h"
#include "base/win32/handles.h"
#include "tests/wine/support/resource_counts.h"
#include "ui/win32/controls.h"

#include <gtest/gtest.h>

using namespace vistrel;
using testing_support::GdiObjectCount;

TEST(Owners, AnImageListGoesWithItsLastOwner) {
    const int before = GdiObjectCount();
    {
        UniqueImageList first(ImageList_Create(64, 64, ILC_COLOR32 | ILC_MASK, 4, 0));
        ASSERT_TRUE(first);
        EXPECT_GT(GdiObjectCount(), before);
        UniqueImageList second(std::move(first));
        EXPECT_FALSE(first);
        UniqueImageList third(ImageList_Create(16, 16, ILC_COLOR32, 1, 0));
        third = std::move(second); // the 16-pixel list goes now, the other with third
        EXPECT_GT(GdiObjectCount(), before);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(Owners, SystemMemoryIsFreedOnceAndErrorTextsLeaveNothingBehind) {
    HLOCAL memory = LocalAlloc(LMEM_MOVEABLE, 64);
    ASSERT_NE(memory, nullptr);
    {
        UniqueLocalMemory owner(memory);
        UniqueLocalMemory moved(std::move(owner));
        EXPECT_NE(LocalFlags(memory), LMEM_INVALID_HANDLE);
    }
    EXPECT_EQ(LocalFlags(memory), LMEM_INVALID_HANDLE);

    PROCESS_HEAP_ENTRY entry{};
    auto heapBytes = [&] {
        size_t busy = 0;
        HANDLE heap = GetProcessHeap();
        HeapLock(heap);
        entry.lpData = nullptr;
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                busy += entry.cbData;
        HeapUnlock(heap);
        return busy;
    };
    SystemErrorText(ERROR_ACCESS_DENIED);
    const size_t start = heapBytes();
    for (int i = 0; i < 2000; ++i)
        SystemErrorText(ERROR_ACCESS_DENIED);
    EXPECT_LT(heapBytes(), start + 16 * 1024);
}
