// The watchdog: warnings on idle passes when a watched balance sinks below its threshold.
#include <gtest/gtest.h>

#include "core/Idler.h"
#include "envelopes/Bundle.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "envelopes/Watchdog.h"
#include "tests/envelopes/EnvelopeTestSupport.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/Streams.h"

using namespace envtest;

namespace {

TEST(WatchdogTest, WarnsOncePerFurtherDropBelowTheThreshold) {
    TWatchState state;
    std::vector<std::string> warnings;
    for (int64_t balance : {6000, 4500, 4500, 3000, 7000, 2000})
        warnings.push_back(WatchCheck(state, true, balance, 50.0f, "Envelope", "Food"));
    EXPECT_EQ(warnings,
              (std::vector<std::string>{"", "Envelope \"Food\" is below its Threshold. (45.00)", "",
                                        "Envelope \"Food\" is below its Threshold. (30.00)", "",
                                        "Envelope \"Food\" is below its Threshold. (20.00)"}));

    // The first pass only looks, however low the balance already is.
    TWatchState fresh;
    EXPECT_EQ(WatchCheck(fresh, true, -100, 0.0f, "Bundle", "Bills"), "");
    EXPECT_EQ(WatchCheck(fresh, true, -123456, 0.0f, "Bundle", "Bills"),
              "Bundle \"Bills\" is below Zero. (-1,234.56)");

    // With the watchdog off nothing is recorded, so a drop meanwhile warns once it is back on.
    EXPECT_EQ(WatchCheck(fresh, false, -200000, 0.0f, "Bundle", "Bills"), "");
    EXPECT_EQ(fresh.lastBalance, -123456);
    EXPECT_NE(WatchCheck(fresh, true, -200000, 0.0f, "Bundle", "Bills"), "");

    // The float threshold is compared unrounded: 0.004 is 0.4 cents, so 0 is below it.
    TWatchState tiny{false, 1};
    EXPECT_NE(WatchCheck(tiny, true, 0, 0.004f, "Envelope", "E"), "");
}

TEST(WatchdogTest, IdlePassesWarnForEnvelopesAndBundles) {
    TScriptedUI ui;
    TScriptedEnvelopeDialogs dialogs;
    TEnvelopeList list;
    TEnvelopeNode* root = list.GetEnvelopeRoot();
    dialogs.properties.push_back({{"Bills"}, 10.0f});
    ASSERT_TRUE(root->NewBundle());
    auto* bills = static_cast<TBundle*>(list.FindByName("Bills"));
    ASSERT_TRUE(bills->NewEnvelope("Rent", true));
    ASSERT_TRUE(root->NewEnvelope("Quiet", false));
    auto* rent = static_cast<TEnv*>(list.FindByName("Rent"));
    rent->SetThreshold(20.0f);

    TIdler::RunIdlers();  // first pass: only looks
    list.ChangeBalance(rent->GetId(), -500);
    list.ChangeBalance(list.FindId("Quiet"), -500);
    TIdler::RunIdlers();
    ASSERT_EQ(ui.messages.size(), 1u);  // the bundle and Quiet are not watched
    EXPECT_EQ(ui.messages[0].text, "Envelope \"Rent\" is below its Threshold. (-5.00)");
    EXPECT_EQ(ui.messages[0].caption, "Quillet");
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);

    bills->ToggleWatchdog();
    list.ChangeBalance(rent->GetId(), -100);
    TIdler::RunIdlers();
    ASSERT_EQ(ui.messages.size(), 3u);
    // In the order the nodes were made: the bundle first.
    EXPECT_EQ(ui.messages[1].text, "Bundle \"Bills\" is below its Threshold. (-6.00)");
    EXPECT_EQ(ui.messages[2].text, "Envelope \"Rent\" is below its Threshold. (-6.00)");
    TIdler::RunIdlers();
    EXPECT_EQ(ui.messages.size(), 3u);

    // Reading a node starts it afresh: no warning on its first pass.
    auto copy = streambytes::ReadAs<TEnvelopeList>(streambytes::WriteOne(&list));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(static_cast<TEnv*>(copy->FindByName("Rent"))->GetWatchState().firstPass);
}

}  // namespace
