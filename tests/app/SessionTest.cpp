#include "app/Session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/BudgetFile.h"
#include "app/FileLock.h"
#include "core/Idler.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "platform/Platform.h"
#include "tests/support/SavedBudget.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/TempFolder.h"
#include "transactions/XManager.h"

namespace fs = std::filesystem;

namespace {

struct TCountedLock : TFileLock {
    int* held;
    explicit TCountedLock(int* h) : held(h) { ++*held; }
    ~TCountedLock() override { --*held; }
};

struct TCountingIdler : TIdler {
    int calls = 0;
    void Idle() override { ++calls; }
};

TEST(SessionTest, LoadingLeavesTheOpenBudgetAloneUntilTheFileIsRead) {
    TScriptedUI ui;
    TLinuxPlatform platform;
    TTempFolder dir;
    std::string error, file = SaveBudget(dir / "Other.qlt", [](TQuilletData&other) {
                           other.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope("Rent");
                       });

    int locks = 0;
    TSession session(platform);
    session.Open(std::make_unique<TQuilletData>(), "Open.qlt",
                 std::make_unique<TCountedLock>(&locks));
    TQuilletData* open = session.Document();
    ASSERT_EQ(TQuilletData::Current(), open);

    // Reading another file never marks or changes the open budget.
    std::unique_ptr<TQuilletData> read = LoadBudgetFile(file, error);
    ASSERT_NE(read, nullptr) << error;
    EXPECT_FALSE(open->IsModified());
    EXPECT_EQ(open->GetEnvelopes().FindId("Rent"), 0u);
    EXPECT_EQ(read->GetXManager().Document(), read.get());

    // A file that cannot be read keeps the open budget, its name and its lock.
    EXPECT_FALSE(session.Load((dir / "missing.qlt").string(), nullptr, error));
    EXPECT_EQ(session.Document(), open);
    EXPECT_EQ(session.Path(), "Open.qlt");
    EXPECT_EQ(locks, 1);

    session.AutoSave().Tick(1);
    ASSERT_TRUE(session.Load(file, std::make_unique<TCountedLock>(&locks), error)) << error;
    EXPECT_EQ(locks, 1);  // the old lock went with the old budget
    EXPECT_EQ(TQuilletData::Current(), session.Document());
    EXPECT_NE(session.Document()->GetEnvelopes().FindId("Rent"), 0u);
    EXPECT_EQ(session.AutoSave().Minutes(), 0);

    session.Close();
    EXPECT_EQ(TQuilletData::Current(), nullptr);
    EXPECT_EQ(locks, 0);
}

TEST(SessionTest, AutoSaveComesDueAfterTheIntervalAndTheIdlePassRunsItOnce) {
    TLinuxPlatform platform;
    TSession session(platform);
    TAutoSaveCounter& counter = session.AutoSave();
    TCountingIdler idler;
    int saves = 0;
    session.SetSaveCommand([&] {
        ++saves;
        EXPECT_FALSE(counter.BeginSave());  // one save at a time
        session.IdlePass();                 // a message box's own loop: no second pass inside
    });
    for (int i = 0; i < 5; ++i)
        counter.Tick(0);  // off
    session.IdlePass();
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(idler.calls, 1);
    counter.Tick(2);
    counter.Tick(2);
    EXPECT_EQ(counter.State(), TAutoSaveCounter::TState::Idle);
    counter.Tick(2);  // the third tick after a reset
    counter.Tick(2);  // a due save stops the count
    EXPECT_EQ(counter.Minutes(), 3);
    session.IdlePass();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(idler.calls, 2);
    EXPECT_EQ(counter.State(), TAutoSaveCounter::TState::Idle);
    EXPECT_EQ(counter.Minutes(), 0);
}

}  // namespace
