#include "core/Idler.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

int calls = 0;

struct TCounter : TIdler {
    void Idle() override { ++calls; }
};

// Destroys another entry, and makes a new one, while the pass is running.
struct TMeddler : TIdler {
    TIdler* victim = nullptr;
    std::unique_ptr<TCounter> made;
    void Idle() override {
        delete victim;
        victim = nullptr;
        if (!made) made = std::make_unique<TCounter>();
    }
};

TEST(IdlerTest, PassesSkipDestroyedEntriesAndReachNewOnes) {
    size_t before = TIdler::CountIdlers();
    calls = 0;
    {
        TMeddler meddler;
        meddler.victim = new TCounter;
        TCounter last;
        EXPECT_EQ(TIdler::CountIdlers(), before + 3);
        TIdler::RunIdlers();
        EXPECT_EQ(calls, 2);  // last and the one made during the pass; the victim is gone
        EXPECT_EQ(TIdler::CountIdlers(), before + 3);
        TIdler::RunIdlers();
        EXPECT_EQ(calls, 4);
    }
    EXPECT_EQ(TIdler::CountIdlers(), before);
}

}  // namespace
