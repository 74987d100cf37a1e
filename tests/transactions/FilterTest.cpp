// Transaction filters: the fixed filters against every kind of record, the user's filter with its
// owner modes, criteria, presets and dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "tests/envelopes/EnvelopeTestSupport.h"
#include "tests/support/ScriptedFilterDialogs.h"
#include "tests/support/ScriptedUI.h"
#include "transactions/EditableFilter.h"
#include "transactions/Filters.h"

namespace {

const uint32_t C = XCommitted;

TXRecord Rec(uint32_t flags, uint32_t account, uint32_t envelope, int32_t amount = 100,
             const char* code = "") {
    TXRecord r;
    r.Init(TDate(1, 1, 2024));
    r.flags = flags;
    r.account = account;
    r.envelope = envelope;
    r.amount = amount;
    r.SetCode(code);
    return r;
}

// One character per record: '1' where the filter matches.
std::string Row(const TXFilter& f, const std::vector<TXRecord>& records) {
    std::string out;
    for (const TXRecord& r : records)
        out += f.Match(r) ? '1' : '0';
    return out;
}

TEST(FixedFilters, SelectByKindOwnerAndState) {
    TXRecord part = Rec(C | XKindPart, 7, 3);
    part.parent = 40;
    // plain, envelope-only, multiple, part, account transfer half, envelope transfer half
    const std::vector<TXRecord> kinds = {Rec(C | XAccount, 7, 3),
                                         Rec(C | XEnvelopeOnly, 0, 3),
                                         Rec(C | XKindMultiple, 7, 3),
                                         part,
                                         Rec(C | XKindAccountTransfer, 7, 3),
                                         Rec(C | XKindEnvelopeTransfer, 0, 3)};
    EXPECT_EQ(Row(TAccountFilter(7), kinds), "101010");
    EXPECT_EQ(Row(TAccountFilter(8), kinds), "000000");
    EXPECT_EQ(Row(TEnvelopeFilter(3), kinds), "110101");
    EXPECT_EQ(Row(TEnvelopeFilter(4), kinds), "000000");
    EXPECT_EQ(Row(TEnvelopeNoTransferFilter(), kinds), "010000");
    EXPECT_FALSE(TEnvelopeNoTransferFilter().Match(Rec(C | XEnvelopeOnly, 0, 3, 0)));
    EXPECT_EQ(Row(TAccountTransferFilter(7), kinds), "000010");
    EXPECT_EQ(Row(TAccountTransferFilter(8), kinds), "000000");
    EXPECT_EQ(Row(TMultKidsFilter(40), kinds), "000100");
    EXPECT_EQ(Row(TMultKidsFilter(0), kinds), "000000");

    TAccountFilter account(7);
    EXPECT_EQ(Row(TXBlankFilter(account), {Rec(XAccount, 7, 3), Rec(C | XAccount, 7, 3)}), "01");

    TImportFindFilter find(7, TDate(1, 6, 2024));
    std::vector<TXRecord> cleared(4, Rec(C | XAccount, 7, 3));
    cleared[1].accountCleared = XClearedPending;
    cleared[2].accountCleared = TDate(31, 5, 2024).Key();
    cleared[3].accountCleared = TDate(1, 6, 2024).Key();
    cleared[3].envelopeCleared = XClearedPending;  // only the account side counts
    EXPECT_EQ(Row(find, cleared), "1001");
    EXPECT_EQ(Row(find, {Rec(XAccount, 7, 3), Rec(C | XAccount, 8, 3), part, kinds[1]}), "0000");
}

// A budget with the envelopes Food, Bills { Rent, Power } and Monthly (an association holding an
// alias of Rent), and the account Checking.
class EditableFilterTest : public ::testing::Test {
protected:
    TScriptedUI ui;
    envtest::TScriptedEnvelopeDialogs envelopeDialogs;
    TScriptedFilterDialogs dialogs;
    TQuilletData doc;
    TDate today{15, 3, 2024};
    uint32_t checking = 0, food = 0, bills = 0, rent = 0, power = 0, monthly = 0;

    void SetUp() override {
        TDate::SetTodayForTesting(&today);
        TQuilletData::SetCurrent(&doc);
        TEnvelopeList& envs = doc.GetEnvelopes();
        TEnvelopeRoot* root = envs.GetEnvelopeRoot();
        root->NewEnvelope("Food");
        envelopeDialogs.properties.push_back({{"Bills"}});
        root->NewBundle();
        envs.FindByName("Bills")->NewEnvelope("Rent");
        envs.FindByName("Bills")->NewEnvelope("Power");
        envelopeDialogs.properties.push_back({{"Monthly"}});
        root->NewAssociation();
        envs.FindByName("Monthly")->Drop(envs.FindByName("Rent"));
        food = envs.FindId("Food");
        bills = envs.FindId("Bills");
        rent = envs.FindId("Rent");
        power = envs.FindId("Power");
        monthly = envs.FindId("Monthly");
        TAccountList& accounts = doc.GetAccounts();  // accounts need an envelope first
        accounts.GetAccountRoot()->NewAccount("Checking");
        checking = accounts.FindId("Checking");
        ASSERT_TRUE(checking && food && bills && rent && power && monthly);
    }
    void TearDown() override {
        TQuilletData::SetCurrent(nullptr);
        TDate::SetTodayForTesting(nullptr);
    }

    // A committed record of Checking.
    TXRecord A(uint32_t envelope, int32_t amount = 100, const char* code = "") const {
        return Rec(C | XAccount, checking, envelope, amount, code);
    }
    // Puts criteria in force through the dialog's OK, as the user would.
    void Use(TEditableFilter& f, const TFilterCriteria& c) {
        dialogs.edits.push_back([c](TFilterCriteria& shown) { shown = c; });
        ASSERT_TRUE(f.Edit());
    }
};

TEST_F(EditableFilterTest, OwnerModesAndBlankRows) {
    const TXRecord blankAccount = Rec(XNewAccountRecord, checking, rent, -500);
    const TXRecord blankEnvelope = Rec(XNewEnvelopeRecord, 0, rent, -500);

    // Blank rows pass on the owner's tests alone, whatever the criteria.
    TEditableFilter ledger(FilterAccountLedger | FilterBlankRows, checking);
    Use(ledger, {.amount = TAmountChoice::Deposit});
    EXPECT_EQ(
        Row(ledger, {blankAccount, A(food, -500), A(food), Rec(C | XAccount, checking + 1, food),
                     Rec(C | XKindPart, checking, food), Rec(C | XEnvelopeOnly, checking, food)}),
        "101000");
    TEditableFilter report(FilterAccountLedger | FilterNoViewSettings, checking);
    EXPECT_EQ(Row(report, {blankAccount, A(food)}), "01");

    // Envelope views offer envelope-only blank rows only.
    const std::vector<TXRecord> envelopeRows = {blankEnvelope, blankAccount, A(rent),
                                                Rec(C | XEnvelopeOnly, 0, power), A(food)};
    EXPECT_EQ(Row(TEditableFilter(FilterEnvelopeLedger | FilterBlankRows, rent), envelopeRows),
              "10100");
    // A bundle covers what lies under it; an association what its aliases stand for.
    EXPECT_EQ(Row(TEditableFilter(FilterEnvelopeGroup | FilterBlankRows, bills), envelopeRows),
              "10110");
    TEditableFilter group(FilterEnvelopeGroup | FilterNoViewSettings, bills);
    EXPECT_EQ(Row(group, envelopeRows), "00110");
    group.SetId(monthly);
    EXPECT_EQ(Row(group, envelopeRows), "00100");
}

TEST_F(EditableFilterTest, DateAmountAndTextCriteria) {
    TEditableFilter f(FilterAccountLedger, checking);
    auto amounts = [&](std::vector<int32_t> cents) {
        std::vector<TXRecord> rs;
        for (int32_t c : cents)
            rs.push_back(A(food, c));
        return Row(f, rs);
    };
    Use(f, {.amount = TAmountChoice::Range});  // -100.00 to 100.00
    EXPECT_EQ(amounts({-10001, -10000, 10000, 10001}), "0110");
    // A float just below 0.29 still means 29 cents; a bound beyond any record counts as 0.
    Use(f, {.amount = TAmountChoice::Range, .minimum = -0.29f, .maximum = 0.29f});
    EXPECT_EQ(amounts({-30, -29, 29, 30}), "0110");
    Use(f, {.amount = TAmountChoice::Range, .minimum = 0.1f, .maximum = 3e7f});
    EXPECT_EQ(amounts({0, 10}), "00");
    Use(f, {.amount = TAmountChoice::Payment});
    EXPECT_EQ(amounts({-1, 0, 1}), "100");

    Use(f, {.date = TDateChoice::Range, .from = TDate(1, 3, 2024), .to = TDate(31, 3, 2024)});
    std::vector<TXRecord> dated;
    for (TDate d : {TDate(29, 2, 2024), TDate(1, 3, 2024), TDate(31, 3, 2024), TDate(1, 4, 2024)}) {
        dated.push_back(A(food));
        dated.back().date = d.Key();
    }
    EXPECT_EQ(Row(f, dated), "0110");

    std::vector<TXRecord> coded;
    for (const char* code : {"101", "12b", " 7", "ATM", "0", "", "-5", "1010", "310", "10"})
        coded.push_back(A(food, 1, code));
    Use(f, {.code = TCodeChoice::NumberOnly});
    EXPECT_EQ(Row(f, coded), "1110000111");
    Use(f, {.code = TCodeChoice::NonNumberOrMixed});
    EXPECT_EQ(Row(f, coded), "0001110000");
    Use(f, {.code = TCodeChoice::FieldText, .codeText = "10"});
    EXPECT_EQ(Row(f, coded), "1000000111");
    Use(f, {.code = TCodeChoice::FieldText, .codeText = "10", .codeExact = true});
    EXPECT_EQ(Row(f, coded), "0000000001");

    TXRecord r = A(food);
    r.SetPayableTo("Corner Store");
    r.SetMemo("weekly \xE9picerie");  // "é" in the record's code page
    Use(f, {.payableTo = TTextChoice::FieldText,
            .payableToText = "Store",
            .memo = TTextChoice::FieldText,
            .memoText = "\xE9pic"});
    EXPECT_TRUE(f.Match(r));
    Use(f, {.payableTo = TTextChoice::FieldText, .payableToText = "store"});  // case counts
    EXPECT_FALSE(f.Match(r));
    Use(f, {.memo = TTextChoice::FieldText, .memoExact = true});  // empty exact: empty field
    EXPECT_FALSE(f.Match(r));
    Use(f, {.memo = TTextChoice::FieldText});  // an empty text lies in any field
    EXPECT_TRUE(f.Match(r));
}

TEST_F(EditableFilterTest, ClearedTransferMultipleNodeAndImportFollowTheSide) {
    TXRecord r = A(rent);
    r.accountCleared = XClearedPending;
    r.envelopeCleared = TDate(1, 3, 2024).Key();
    TEditableFilter account(FilterAccountLedger, checking);
    TEditableFilter envelope(FilterEnvelopeLedger, rent);
    // "ae": whether the account ledger and the envelope ledger take the record.
    auto both = [&](const TFilterCriteria& c, const TXRecord& rec) {
        Use(account, c);
        Use(envelope, c);
        return std::string{account.Match(rec) ? '1' : '0', envelope.Match(rec) ? '1' : '0'};
    };
    EXPECT_EQ(both({.cleared = TClearedChoice::NotClearedOrPending}, r), "10");
    EXPECT_EQ(both({.cleared = TClearedChoice::Cleared}, r), "11");
    EXPECT_EQ(both({.cleared = TClearedChoice::NotCleared}, r), "00");

    const TFilterCriteria transfer{.node = TNodeChoice::Transfer};
    EXPECT_EQ(both(transfer, Rec(C | XKindAccountTransfer, checking, rent)), "10");
    EXPECT_EQ(both(transfer, Rec(C | XKindEnvelopeTransfer, checking, rent)), "01");
    const TFilterCriteria multiple{.node = TNodeChoice::Multiple};
    EXPECT_EQ(both(multiple, Rec(C | XKindMultiple, checking, rent)), "10");
    EXPECT_EQ(both(multiple, Rec(C | XKindPart, checking, rent)), "01");

    // "Envelope:" in the account ledger takes a node and what lies under it; "Account:" elsewhere.
    Use(account, {.node = TNodeChoice::Node, .nodeId = bills});
    EXPECT_EQ(Row(account, {A(power), A(food)}), "10");
    Use(envelope, {.node = TNodeChoice::Node, .nodeId = checking + 1});
    EXPECT_EQ(Row(envelope, {Rec(C | XAccount, checking + 1, rent), A(rent)}), "10");

    Use(account, {.import = TImportChoice::NewImportOnly});
    TXRecord imported = A(rent);
    EXPECT_FALSE(account.Match(imported));
    imported.newlyImported = 2;
    EXPECT_TRUE(account.Match(imported));
}

TEST_F(EditableFilterTest, DefaultsAndTheDialog) {
    TEditableFilter ledger(FilterAccountLedger | FilterBlankRows, checking);
    const TFilterCriteria d = ledger.GetCriteria();
    EXPECT_EQ(d.from, TDate(1, 3, 2024));
    EXPECT_EQ(d.to, today);
    EXPECT_EQ(d.nodeId, doc.GetEnvelopes().GetEnvelopeRoot()->GetId());
    EXPECT_FALSE(ledger.IsActive() || ledger.IsReconcileView() || ledger.IsDateRange());

    // The dialog opens on the criteria in force: choosing "Envelope:" there keeps the root.
    dialogs.edits.push_back([](TFilterCriteria& c) { c.node = TNodeChoice::Node; });
    ASSERT_TRUE(ledger.Edit());
    EXPECT_EQ(dialogs.last.criteria, d);
    EXPECT_EQ(dialogs.last.mode, FilterAccountLedger | FilterBlankRows);
    EXPECT_EQ(dialogs.last.nodes, &doc.GetEnvelopes());
    EXPECT_TRUE(dialogs.last.ShowsViewSettings());
    EXPECT_TRUE(ledger.IsActive() && ledger.Match(A(power)));

    // Cancel leaves everything as it was; texts longer than the record's fields are cut.
    const TFilterCriteria before = ledger.GetCriteria();
    EXPECT_FALSE(ledger.Edit());
    EXPECT_EQ(ledger.GetCriteria(), before);
    Use(ledger, {.codeText = std::string(30, 'c'), .memoText = std::string(200, 'm')});
    EXPECT_EQ(ledger.GetCriteria().codeText.size(), 19u);
    EXPECT_EQ(ledger.GetCriteria().memoText.size(), 89u);

    // Report filters pick accounts, starting from the first, and hide the view settings.
    TEditableFilter report(FilterEnvelopeGroup | FilterNoViewSettings, bills);
    EXPECT_EQ(report.GetCriteria().nodeId, checking);
    report.SetDateRange(TDate(1, 1, 2024), TDate(31, 1, 2024));
    report.SetDateRangeChosen(true);
    EXPECT_FALSE(report.Match(A(rent)));  // dated 0
    EXPECT_FALSE(report.Edit());
    EXPECT_EQ(dialogs.last.nodes, &doc.GetAccounts());
    EXPECT_FALSE(dialogs.last.ShowsViewSettings());

    EXPECT_EQ(FilterNodeLabels(report.GetMode()).transfer, "Envelope Transfer");
    EXPECT_EQ(FilterNodeLabels(ledger.GetMode()).node, "Envelope:");
}

TEST_F(EditableFilterTest, QuickPresets) {
    TEditableFilter f(FilterAccountLedger | FilterBlankRows, checking);
    const uint32_t day = TDate(2, 3, 2024).Key();
    // a deposit, a pending check, an uncleared ATM payment, a cleared deposit, an imported check
    std::vector<TXRecord> rs = {A(food, 5), A(food, -5, "101"), A(food, -5, "ATM"), A(food, 5),
                                A(food, -5, "101")};
    rs[1].accountCleared = XClearedPending;
    rs[3].accountCleared = rs[4].accountCleared = day;
    rs[4].newlyImported = 1;

    f.ViewAllUnreconciled(true);
    EXPECT_TRUE(f.IsActive() && f.IsReconcileView());
    EXPECT_TRUE(f.IsQuickFilterOn(TQuickFilter::AllUnreconciled));
    EXPECT_EQ(Row(f, rs), "11100");
    f.ViewUnreconciledDeposits(true);
    EXPECT_FALSE(f.IsQuickFilterOn(TQuickFilter::AllUnreconciled));
    EXPECT_EQ(Row(f, rs), "10000");
    f.ViewUnreconciledChecks(true);
    EXPECT_EQ(Row(f, rs), "01000");
    f.ViewUnreconciledNonChecks(true);
    EXPECT_EQ(Row(f, rs), "00100");
    f.ViewNewlyImported(true);
    EXPECT_EQ(Row(f, rs), "00001");

    // Switched off, a preset leaves the reset criteria.
    f.ViewNewlyImported(false);
    EXPECT_FALSE(f.IsActive() || f.IsReconcileView() ||
                 f.IsQuickFilterOn(TQuickFilter::NewlyImported));
    EXPECT_EQ(Row(f, rs), "11111");
    // The dialog's OK turns the preset off but keeps what the dialog was shown.
    f.ViewUnreconciledChecks(true);
    dialogs.edits.push_back([](TFilterCriteria&) {});
    ASSERT_TRUE(f.Edit());
    EXPECT_FALSE(f.IsQuickFilterOn(TQuickFilter::UnreconciledChecks));
    EXPECT_TRUE(f.IsActive() && f.IsReconcileView());
    EXPECT_EQ(Row(f, rs), "01000");
    f.Reset();
    EXPECT_FALSE(f.IsActive() || f.IsReconcileView());
    EXPECT_EQ(Row(f, rs), "11111");
}

TEST(EditableFilterNoBudget, FallsBackToTheIdsThemselves) {
    TEditableFilter group(FilterEnvelopeGroup, 5);
    EXPECT_EQ(group.GetCriteria().nodeId, 0u);
    EXPECT_EQ(Row(group, {Rec(C | XAccount, 1, 5), Rec(C | XAccount, 1, 6)}), "10");
    EXPECT_FALSE(group.Edit());  // the cancelling port
}

}  // namespace
