#include "app/InstanceMessage.h"

#include <gtest/gtest.h>

TEST(InstanceMessageTest, StatementPathsAreKnownByTheirExtensionInAnyCase) {
    EXPECT_EQ(StatementKindOf("/home/a/May.OFX"), TStatementKind::Ofx);
    EXPECT_EQ(StatementKindOf("bank.Qfx"), TStatementKind::Ofx);
    EXPECT_EQ(StatementKindOf("cash.qif"), TStatementKind::Qif);
    EXPECT_FALSE(StatementKindOf("Home.qlt"));
    EXPECT_FALSE(StatementKindOf("qif"));
    EXPECT_FALSE(StatementKindOf("/tmp/ofx.d/notes"));
}

TEST(InstanceMessageTest, RequestsTravelThroughTheFrameAndBack) {
    const TImportRequest qif{TStatementKind::Qif, "/home/a/OFX files/May statement.qif"};
    auto text = MakeExecuteText(qif);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "QIF \"/home/a/OFX files/May statement.qif\"");
    auto decoded = DecodeInstanceMessage(EncodeInstanceMessage(*text));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(ParseExecuteText(*decoded), qif);  // the folder's "OFX" does not change the kind

    // Delivered a byte at a time, as a socket may.
    const std::string bytes = EncodeInstanceMessage("OFX \"/tmp/a.qfx\"");
    TInstanceMessageReader reader;
    for (char byte : bytes)
        reader.Feed(std::string_view(&byte, 1));
    ASSERT_EQ(reader.State(), TInstanceMessageReader::TState::Complete);
    EXPECT_EQ(ParseExecuteText(reader.Text()), (TImportRequest{TStatementKind::Ofx, "/tmp/a.qfx"}));

    EXPECT_FALSE(MakeExecuteText({TStatementKind::Ofx, "a\"b.ofx"}));
    EXPECT_FALSE(MakeExecuteText({TStatementKind::Ofx, ""}));
    EXPECT_FALSE(ParseExecuteText("OFX /tmp/a.ofx"));
    EXPECT_FALSE(ParseExecuteText("OFX \"/tmp/a.ofx"));
    EXPECT_FALSE(ParseExecuteText("OFX \"\""));
    EXPECT_FALSE(ParseExecuteText("CSV \"/tmp/a.csv\""));
}

TEST(InstanceMessageTest, MalformedAndOversizedMessagesAreRejected) {
    using TState = TInstanceMessageReader::TState;
    const std::string good = EncodeInstanceMessage("OFX \"/tmp/a.ofx\"");

    TInstanceMessageReader wrongStart;
    EXPECT_EQ(wrongStart.Feed("GET "), TState::Rejected);  // before the header is whole

    std::string wrongVersion = good;
    wrongVersion[4] = 2;
    EXPECT_FALSE(DecodeInstanceMessage(wrongVersion));

    // A length of 4 GB is refused from the header alone.
    std::string huge = std::string(InstanceMagic) + '\x01' + "\xFF\xFF\xFF\xFF";
    TInstanceMessageReader hugeReader;
    EXPECT_EQ(hugeReader.Feed(huge), TState::Rejected);
    EXPECT_EQ(hugeReader.Feed(good), TState::Rejected);  // and stays refused

    std::string justOver = EncodeInstanceMessage(std::string(MaxExecuteText, 'x'));
    justOver[8] = static_cast<char>(justOver[8] + 1);
    EXPECT_FALSE(DecodeInstanceMessage(justOver));
    EXPECT_TRUE(DecodeInstanceMessage(EncodeInstanceMessage(std::string(MaxExecuteText, 'x'))));

    EXPECT_FALSE(DecodeInstanceMessage(good.substr(0, good.size() - 1)));
    EXPECT_FALSE(DecodeInstanceMessage(good + "x"));
    EXPECT_FALSE(DecodeInstanceMessage(""));
    EXPECT_EQ(DecodeInstanceMessage(InstanceAcknowledgement()), "ACK");
}
