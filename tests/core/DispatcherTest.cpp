#include "DispatchFixture.h"

#include "wire/ChatFrame.h"

namespace tessaroc::core::test {
namespace {

wire::MessageFrame frameOf(std::uint8_t cmd, std::uint8_t echo0, std::uint8_t echo1)
{
    wire::MessageFrame frame;
    frame.setCmd(cmd);
    frame.setByte(wire::offset::kEcho, echo0);
    frame.setByte(wire::offset::kEcho + 1, echo1);
    return frame;
}

TEST(Dispatcher, KeepsEchoBytesOfEveryFrameButTheReconnectAnswer)
{
    Client client;
    client.dispatch(frameOf(0, 0x12, 0x34));
    EXPECT_EQ(client.rings.EchoBytes, (std::array<std::uint8_t, 2>{0x12, 0x34}));

    wire::MessageFrame answer = wire::ReconnectAnswerFrame{1}.encode();
    answer.setByte(wire::offset::kEcho, 0x99);
    answer.setByte(wire::offset::kEcho + 1, 0x98);
    client.dispatch(answer);
    EXPECT_EQ(client.rings.EchoBytes, (std::array<std::uint8_t, 2>{0x12, 0x34}));

    client.dispatch(frameOf(255, 7, 8));
    EXPECT_EQ(client.rings.EchoBytes, (std::array<std::uint8_t, 2>{7, 8}));
}

// A bubble that a handler shows stays up only until the next frame.
TEST(Dispatcher, EveryFrameHidesTheFourBubbles)
{
    Client client;
    client.seatFour();
    for (int i = 0; i < 4; ++i)
        client.form().messages.Speak(i).setVisible(true);
    client.dispatch(frameOf(3, 0, 0));
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(client.form().messages.Speak(i).Visible()) << i;
}

TEST(Dispatcher, FramesWithoutHandlerAndItemFramesAreDroppedWhileTheLibraryIsOff)
{
    for (const std::uint8_t code : {0, 3, 30, 44, 45, 46, 255}) {
        Client client;
        const TableState before = client.state;
        client.dispatch(frameOf(code, 1, 2));
        EXPECT_FALSE(client.log.called("items.Rec_MSG " + std::to_string(code))) << int(code);
        EXPECT_FALSE(client.loop().ScoreInfoAnnounced) << int(code);
        EXPECT_EQ(client.state.rules.InGame, before.rules.InGame);
    }
}

TEST(Dispatcher, ItemFramesReachTheRunningLibrary)
{
    Client client;
    client.state.gamedllstate = 1;
    client.dispatch(frameOf(30, 0, 0));
    client.dispatch(frameOf(46, 0, 0));
    EXPECT_TRUE(client.log.called("items.Rec_MSG 30"));
    EXPECT_TRUE(client.log.called("items.Rec_MSG 46"));
    EXPECT_TRUE(client.loop().ScoreInfoAnnounced);
}

struct ChatCase
{
    std::uint32_t kindWord;
    bool libraryRuns;
    bool toChat;
    bool toLibrary;
};

TEST(Dispatcher, ChatFramesGoToTheChatUnlessTheKindWordMarksItemTraffic)
{
    const ChatCase cases[] = {
            {0, false, true, false},          {273, false, true, false}, {272, false, false, false},
            {260, false, false, false},       {272, true, false, true},  {260, true, false, true},
            {0x80000110, false, true, false}, // a kind word with its top bit set is chat
    };
    for (const ChatCase &c : cases) {
        Client client;
        client.state.gamedllstate = c.libraryRuns ? 1 : 0;
        wire::MessageFrame frame;
        frame.setCmd(wire::CmdChat);
        frame.setU32be(wire::offset::kKindWord, c.kindWord);
        SCOPED_TRACE(wire::describe(frame));
        client.dispatch(frame);
        EXPECT_EQ(client.chat.received.size(), c.toChat ? 1u : 0u);
        EXPECT_EQ(client.log.called("items.Rec_MSG 19"), c.toLibrary);
    }
}

} // namespace
} // namespace tessaroc::core::test
