#include "app/UpdateCheck.h"

#include <gtest/gtest.h>

TEST(UpdateCheckTest, BuildAndAddress) {
    EXPECT_EQ(BuildNumberFromTag("$Change: 1004 $"), 1004);
    EXPECT_EQ(BuildNumberFromTag("$Change$"), 0);
    EXPECT_EQ(QuilletBuildNumber(), 1004);

    EXPECT_EQ(MakeUpdateRequest("http://127.0.0.1:8080/u").url, "http://127.0.0.1:8080/u");
    EXPECT_EQ(MakeUpdateRequest("").url, DefaultUpdateUrl);
    EXPECT_EQ(MakeUpdateRequest(nullptr).url, DefaultUpdateUrl);
    EXPECT_EQ(MakeUpdateRequest(nullptr).agent, "QuilletUpdate");
    EXPECT_EQ(std::string_view(DefaultUpdateUrl).substr(0, 8), "https://");
}

TEST(UpdateCheckTest, RepliesAreComparedWithTheRunningBuild) {
    auto reply = [](const char* major, const char* minor, const char* build) {
        return std::string("<update><major>") + major + "</major><minor>" + minor +
               "</minor><build>" + build + "</build><dlink>https://x/d</dlink></update>";
    };
    TUpdateVerdict same = JudgeUpdateReply(reply("3", "1", "1004"));
    EXPECT_EQ(same.outcome, TUpdateOutcome::Current);
    EXPECT_EQ(same.message, "You have version 3.1 Build 1004, which is the most current version.");

    TUpdateVerdict newer = JudgeUpdateReply(reply("3", "2", "1"));
    EXPECT_EQ(newer.outcome, TUpdateOutcome::Newer);
    EXPECT_EQ(newer.message,
              "New version 3.2 Build 1 is available.\n\nWould you like to go online now to "
              "download the update?");
    EXPECT_EQ(newer.downloadLink, "https://x/d");

    EXPECT_EQ(JudgeUpdateReply(reply("2", "9", "9999")).outcome, TUpdateOutcome::Current);
    EXPECT_EQ(JudgeUpdateReply(reply("3", "1", "1005")).outcome, TUpdateOutcome::Newer);
    EXPECT_EQ(JudgeUpdateReply(reply("4", "x", "")).outcome, TUpdateOutcome::Newer);
    EXPECT_EQ(JudgeUpdateReply(reply("3", "1", "99999999999")).outcome, TUpdateOutcome::Current);
    EXPECT_EQ(JudgeUpdateReply("<html>Not found</html>").outcome, TUpdateOutcome::Current);

    TUpdateVerdict none = JudgeUpdateReply("");
    EXPECT_EQ(none.outcome, TUpdateOutcome::Failed);
    EXPECT_EQ(none.message, UpdateErrorText);

    // Elements past the first 1,024 bytes are not read.
    EXPECT_EQ(JudgeUpdateReply(std::string(1024, ' ') + reply("9", "0", "0")).outcome,
              TUpdateOutcome::Current);
    EXPECT_EQ(UpdateElement("<dlink/><major>5</major>", "dlink"), "");
    EXPECT_EQ(UpdateElement("<major>5", "major"), "");
}

TEST(UpdateCheckTest, TheReminderComesOncePerRunWhenDue) {
    const TDate today(15, 6, 2026);
    TDate last(16, 5, 2026);  // 30 days before
    TUpdateReminder reminder;
    EXPECT_FALSE(reminder.Pass(true, 30, 60, today, last));   // not yet a minute past start
    EXPECT_FALSE(reminder.Pass(false, 30, 61, today, last));  // busy
    EXPECT_EQ(last, TDate(16, 5, 2026));
    EXPECT_TRUE(reminder.Pass(true, 30, 61, today, last));
    EXPECT_EQ(last, today);
    EXPECT_FALSE(reminder.Pass(true, 30, 500, today, last));

    TDate recent(17, 5, 2026);  // 29 days before: not asked, yet the date moves on
    TUpdateReminder notDue;
    EXPECT_FALSE(notDue.Pass(true, 30, 61, today, recent));
    EXPECT_TRUE(notDue.Handled());
    EXPECT_EQ(recent, today);

    TDate old(1, 1, 2008);
    TUpdateReminder off;
    EXPECT_FALSE(off.Pass(true, 0, 1000, today, old));
    EXPECT_FALSE(off.Handled());
    EXPECT_EQ(old, TDate(1, 1, 2008));
}
