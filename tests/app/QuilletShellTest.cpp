// The program's spine driven headless: start-up, idle passes, the File commands, backups and
// auto-save, over scripted ports and real files in a temporary folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/BudgetFile.h"
#include "app/FileLock.h"
#include "app/QuilletApp.h"
#include "app/QuilletConfig.h"
#include "app/Session.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "import/Importer.h"
#include "platform/Platform.h"
#include "tests/support/SavedBudget.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/TempFolder.h"
#include "transactions/XManager.h"
#include "transactions/XRecord.h"

namespace fs = std::filesystem;

namespace {

// The frame, the file dialogs, the clock, the importer and the update check, scripted in one.
struct TFakeWorld : TFramePort, TFileDialogPort, TClockPort, TImportRunnerPort, TUpdateCheckPort {
    std::string title;
    std::vector<TTreeWindowKind> opened;
    std::deque<std::string> chosen;  // file dialog answers; none left cancels
    std::vector<std::string> imported;
    bool enabled = true, ended = false;
    int splashes = 0, checks = 0;
    int64_t now = 1'000'000;
    TDate today{6, 12, 2026};

    void OpenTreeWindow(TTreeWindowKind kind, TChildPlacement& placement) override {
        opened.push_back(kind);
        placement.open = true;
    }
    bool CloseChildren() override { return true; }
    void SetTitle(const std::string& t) override { title = t; }
    void ShowModified(bool) override {}
    void ShowSplash() override { ++splashes; }
    void SetWaitCursor(bool) override {}
    bool MainWindowEnabled() override { return enabled; }
    void RestoreMainWindow() override {}
    void EndProgram() override { ended = true; }
    bool Choose(std::string& path) {
        if (chosen.empty()) return false;
        path = chosen.front();
        chosen.pop_front();
        return true;
    }
    bool ChooseOpenFile(const std::string&, const std::string&, const std::string&,
                        std::string& path) override {
        return Choose(path);
    }
    bool ChooseSaveFile(const std::string&, const std::string&, const std::string&,
                        const std::string&, std::string& path) override {
        return Choose(path);
    }
    int64_t Now() override { return now; }
    TDate Today() override { return today; }
    void ImportFile(TStatementKind, const std::string& path) override { imported.push_back(path); }
    void CheckForUpdates() override { ++checks; }
};

// Locks within the test; names in heldElsewhere belong to another instance.
struct TFakeLocks : TFileLockPort {
    std::set<std::string> heldElsewhere, held;
    struct TLock : TFileLock {
        std::set<std::string>& held;
        std::string name;
        TLock(std::set<std::string>& h, std::string n) : held(h), name(std::move(n)) {}
        ~TLock() override { held.erase(name); }
    };
    std::string FullPath(const std::string& path) override { return fs::absolute(path).string(); }
    std::unique_ptr<TFileLock> TryLock(const std::string& name, std::string&) override {
        if (heldElsewhere.count(name) || !held.insert(name).second) return nullptr;
        return std::make_unique<TLock>(held, name);
    }
};

class TTempPlatform : public TLinuxPlatform {
public:
    std::string root;
    std::string ConfigFolder() override { return root + "/config"; }
    std::string OlderConfigFolder() override { return {}; }
    std::string DocumentsFolder() override { return root + "/docs"; }
};

std::string ReadText(const fs::path& p) {
    const std::vector<uint8_t> bytes = TTempFolder::ReadFile(p);
    return std::string(bytes.begin(), bytes.end());
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.root = root.string();
        config.FindPath();
        config.Load();
        Options().reopenLastFile = 0;
    }
    void TearDown() override { app.reset(); }

    TQuilletOptions& Options() { return config.Options(); }

    TQuilletApp& Start(std::vector<std::string> args = {"quillet"}) {
        app.reset();  // the session's budget goes with the application before
        app = std::make_unique<TQuilletApp>(config, session, ports);
        app->Client().SetCommandLine(args);
        app->IdlePass();
        return *app;
    }
    TQuilletClient& Client() { return app->Client(); }

    // A budget on disk whose document date tells one generation from another.
    std::string WriteBudget(const std::string& name, int day, bool accountsOpen = false) {
        return SaveBudget(root / name, [&](TQuilletData& doc) {
            doc.SetDate(TDate(day, 1, 2026));
            doc.AccountsPlacement().open = accountsOpen;
        });
    }
    static int DayOf(const fs::path& path) {
        std::string error;
        auto doc = LoadBudgetFile(path.string(), error);
        return doc ? doc->GetDate().Day() : -1;
    }

    TTempFolder folder;
    const fs::path root = folder.path;
    TTempPlatform platform;
    TFixedScreen screen;
    TConfigFile config{platform, screen};
    TScriptedUI ui;
    TFakeWorld world;
    TFakeLocks locks;
    TShellPorts ports{platform, locks, world, world, world, world, world};
    TSession session{platform};
    std::unique_ptr<TQuilletApp> app;
};

TEST_F(ShellTest, NewFileQuestionOnlyWhenNothingWasNamed) {
    // "-f" on a file another instance holds: the lock message, nothing open, no question.
    std::string path = WriteBudget("Home.qlt", 1);
    locks.heldElsewhere.insert(LockName(path));
    Start({"quillet", "-f", path});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].text, LockRefusedMessage(path));
    EXPECT_EQ(Client().Document(), nullptr);
    EXPECT_EQ(Client().FileName(), "");

    // Nothing named and re-open off: asked once; No leaves the empty frame.
    ui.messages.clear();
    ui.answers = {TMsgResult::No};
    Start();
    app->IdlePass();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, NoFileQuestion);
    EXPECT_EQ(world.title, "Quillet 3.1 ");
    EXPECT_EQ(world.splashes, 2);
}

TEST_F(ShellTest, ReopensTheLastFileWithItsWindowsAndTitle) {
    std::string path = WriteBudget("Last.qlt", 1, true);
    Options().reopenLastFile = 1;
    Options().lastFile = path;
    Start();
    ASSERT_NE(Client().Document(), nullptr);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(world.opened, std::vector<TTreeWindowKind>{TTreeWindowKind::Accounts});
    EXPECT_EQ(world.title, "Last.qlt - Quillet 3.1 ");
    EXPECT_TRUE(Client().HoldsLock());
}

TEST_F(ShellTest, OpenRetriesWithTheExtensionAndReportsTheNameAsGiven) {
    WriteBudget("Home.qlt", 1);
    Start({"quillet", "-f", (root / "Home").string()});
    ASSERT_NE(Client().Document(), nullptr);
    EXPECT_EQ(Client().FileName(), (root / "Home.qlt").string());
    EXPECT_EQ(locks.held, std::set<std::string>{LockName((root / "Home.qlt").string())});

    ui.answers = {TMsgResult::No};
    std::ofstream(root / "Bad.qlt") << "not a budget";
    world.chosen = {(root / "Bad.qlt").string()};
    Client().OpenCommand();
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, "Error opening file: " + (root / "Bad.qlt").string() + ".");
    EXPECT_EQ(Client().Document(), nullptr);
    EXPECT_TRUE(locks.held.empty());
}

TEST_F(ShellTest, BackupsRotateOncePerOpening) {
    Options().backupLevels = 3;
    std::string path = WriteBudget("Home.qlt", 1);
    for (int run = 2; run <= 5; ++run) {
        Start({"quillet", "-f", path});
        ASSERT_NE(Client().Document(), nullptr);
        Client().Document()->SetDate(TDate(run, 1, 2026));
        Client().Save();
        Client().Save();  // a second save in one run rotates nothing
        app.reset();
    }
    // Each backup n is the file as it stood n openings ago; a fourth level never appears.
    EXPECT_EQ(DayOf(root / "Home.qlt"), 5);
    EXPECT_EQ(DayOf(root / "Home.backup1.qlt"), 4);
    EXPECT_EQ(DayOf(root / "Home.backup2.qlt"), 3);
    EXPECT_EQ(DayOf(root / "Home.backup3.qlt"), 2);
    EXPECT_FALSE(fs::exists(root / "Home.backup4.qlt"));
    EXPECT_TRUE(ui.messages.empty());

    // Level 0 touches no backup.
    app.reset();
    Options().backupLevels = 0;
    std::ofstream(root / "Home.backup3.qlt") << "kept";
    Start({"quillet", "-f", path});
    Client().Save();
    EXPECT_EQ(ReadText(root / "Home.backup3.qlt"), "kept");
    EXPECT_EQ(DayOf(root / "Home.backup1.qlt"), 4);
}

TEST_F(ShellTest, UnequalTotalsEndTheProgramWithoutSaving) {
    std::string path = WriteBudget("Home.qlt", 1);
    Start({"quillet", "-f", path});
    TEnvelopeList& envelopes = Client().Document()->GetEnvelopes();
    ASSERT_TRUE(envelopes.GetEnvelopeRoot()->NewEnvelope("Food"));
    envelopes.ChangeBalance(envelopes.FindId("Food"), 5);
    for (int i = 0; i < 10; ++i)
        app->TimerTick();  // auto-save due
    app->IdlePass();
    EXPECT_TRUE(world.ended);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);
    EXPECT_EQ(ui.messages[0].text.rfind("Account and Envelope balances are not equal.", 0), 0u);
    EXPECT_EQ(DayOf(path), 1);
    EXPECT_EQ(fs::exists(root / "Home.backup1.qlt"), false);
    app->IdlePass();
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(ShellTest, CloseSavesWithoutAskingWhenAutoSaveIsOn) {
    std::string path = WriteBudget("Home.qlt", 1);
    Start({"quillet", "-f", path});
    Client().Document()->SetDate(TDate(9, 1, 2026));
    Client().Document()->SetModified();
    EXPECT_TRUE(app->CanClose());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(DayOf(path), 9);
    EXPECT_FALSE(Client().HoldsLock());

    // Without auto-save the question comes, and Cancel keeps everything open.
    Options().autoSaveMinutes = 0;
    Start({"quillet", "-f", path});
    Client().Document()->SetModified();
    ui.answers = {TMsgResult::Cancel};
    EXPECT_FALSE(app->CanClose());
    EXPECT_EQ(ui.messages.back().text, ModifiedQuestion);
    EXPECT_NE(Client().Document(), nullptr);
}

TEST_F(ShellTest, TimerCountsToTheIntervalAndTheIdlePassSaves) {
    std::string path = WriteBudget("Home.qlt", 1);
    Options().autoSaveMinutes = 2;
    Start({"quillet", "-f", path});
    Client().Document()->SetDate(TDate(7, 1, 2026));
    Client().Document()->SetModified();
    app->TimerTick();
    app->TimerTick();
    app->IdlePass();
    EXPECT_EQ(DayOf(path), 1);
    app->TimerTick();
    app->IdlePass();
    EXPECT_EQ(DayOf(path), 7);
}

TEST_F(ShellTest, UpdateReminderOncePerRunWhenDue) {
    std::string path = WriteBudget("Home.qlt", 1);
    Options().updateCheckDays = 29;
    Options().lastUpdateCheck = TDate(7, 11, 2026);  // 29 days before today: due
    Start({"quillet", "-f", path});
    app->IdlePass();
    EXPECT_TRUE(ui.messages.empty());  // not before a minute has passed
    world.now += 61;
    ui.answers = {TMsgResult::Yes};
    app->IdlePass();
    app->IdlePass();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Check for Updates");
    EXPECT_EQ(world.checks, 1);
    EXPECT_EQ(Options().lastUpdateCheck, world.today);
}

TEST_F(ShellTest, PendingImportsRunOnceAndMissingFilesAreIgnored) {
    std::string path = WriteBudget("Home.qlt", 1);
    std::string statement = (root / "bank.qif").string();
    std::ofstream(statement) << "!Type:Bank\n";
    Start({"quillet", "-f", path, statement});
    Client().SetPendingImport(TStatementKind::Ofx, (root / "missing.ofx").string());
    EXPECT_EQ(Client().PendingOfx(), "");
    app->IdlePass();
    EXPECT_EQ(world.imported, std::vector<std::string>{statement});

    world.enabled = false;  // a modal dialog holds the frame: the import waits
    Client().SetPendingImport(TStatementKind::Qif, statement);
    app->IdlePass();
    EXPECT_EQ(world.imported.size(), 1u);
    world.enabled = true;
    app->IdlePass();
    EXPECT_EQ(world.imported.size(), 2u);
}

// A budget large enough that loading and saving it take a while: 15,000 transactions.
std::vector<uint8_t> LargeBudget() {
    TQuilletData doc;
    TQuilletData::SetCurrent(&doc);
    doc.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope("Food");
    doc.GetAccounts().GetAccountRoot()->NewAccount("Checking", "", 1, "Food");
    TXRecord r;
    for (int i = 0; i < 15000; ++i) {
        r.Init(TDate(1 + i % 28, 1 + (i / 28) % 12, 2000 + i / 336));
        r.flags = XCommitted | XAccount;
        r.account = 1;
        r.envelope = 1;
        r.date = r.created;
        r.SetPayableTo("Payee " + std::to_string(i));
        doc.GetXManager().NewRecord(r);
    }
    doc.GetXManager().Flush();
    doc.SetDate(TDate(1, 1, 2026));
    std::vector<uint8_t> bytes = WriteBudget(doc);
    TQuilletData::SetCurrent(nullptr);
    return bytes;
}

TEST_F(ShellTest, KilledSaveLeavesTheOldFileOrAWholeNewOne) {
    Options().backupLevels = 2;
    const std::vector<uint8_t> bytes = LargeBudget();
    const std::string old(bytes.begin(), bytes.end());
    const std::string path = (root / "Home.qlt").string();
    auto saveInChild = [&] {
        Start({"quillet", "-f", path});
        Client().Document()->SetDate(TDate(20, 1, 2026));
        Client().Save();
    };
    std::ofstream(path, std::ios::binary) << old;
    auto begun = std::chrono::steady_clock::now();
    saveInChild();
    auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
                     std::chrono::steady_clock::now() - begun)
                     .count();
    app.reset();
    ASSERT_EQ(DayOf(path), 20);

    std::mt19937 random(20261206);
    std::uniform_int_distribution<decltype(whole)> when(0, whole + whole / 4);
    for (int n = 0; n < 25; ++n) {
        fs::remove(root / "Home.backup1.qlt");
        fs::remove(root / "Home.backup2.qlt");
        std::ofstream(path, std::ios::binary) << old;
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            saveInChild();
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(when(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        // The budget is whole, old or new; a backup that exists is the old budget whole; and
        // nothing else is left in the folder.
        if (ReadText(path) != old) {
            EXPECT_EQ(DayOf(path), 20) << "budget damaged after a kill at case " << n;
        }
        if (fs::exists(root / "Home.backup1.qlt")) {
            EXPECT_EQ(ReadText(root / "Home.backup1.qlt"), old);
        }
        for (const auto& entry : fs::directory_iterator(root)) {
            std::string name = entry.path().filename().string();
            EXPECT_TRUE(entry.is_directory() || name == "Home.qlt" || name == "Home.backup1.qlt")
                << "left behind: " << name;
        }
    }
}

}  // namespace
