// Record blocks in memory the system maps: every record survives each growth, from the C
// allocator into a mapping and from one mapping size to the next.
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "transactions/XManager.h"

TEST(LargeBlockMemory, RecordsSurviveEveryGrowth) {
    const TXRecordBlock::TMemory before = InstallLargeBlockMemory();
    {
        TXManager store;  // 1,000 slots to start with: from the C allocator
        TXRecord r{};
        r.flags = XCommitted | XAccount;
        constexpr int32_t Count = 40000;  // about 10 MB: mapped, then remapped as it grows
        for (int32_t i = 0; i < Count; ++i) {
            r.amount = i;
            r.date = static_cast<uint32_t>(i);
            store.NewRecord(r);
        }
        store.Flush();
        ASSERT_EQ(store.GetCount(), static_cast<uint32_t>(Count));
        for (int32_t i = 0; i < Count; ++i) {
            ASSERT_EQ(store.RecordAt(static_cast<uint32_t>(i) + 1).amount, i);
            ASSERT_EQ(store.RecordAt(static_cast<uint32_t>(i) + 1).id,
                      static_cast<uint32_t>(i) + 1);
        }
    }
    TXRecordBlock::SetMemory(before);
}
