#include "FrameDelivery.h"
#include "ServerFrames.h"

#include <gtest/gtest.h>

using namespace tessaroc;
using namespace tessaroc::tableserver;
using wire::MessageFrame;

namespace {

MessageFrame frameOf(std::uint8_t cmd, std::uint8_t tag = 0)
{
    MessageFrame frame;
    frame.setCmd(cmd);
    frame.setByte(100, tag);
    return frame;
}

std::vector<int> numbers(const std::vector<MessageFrame> &frames)
{
    std::vector<int> out;
    for (const auto &frame : frames)
        out.push_back(frame.u16le(wire::offset::kEcho));
    return out;
}

// All frames each connection was given, in one list per connection.
std::map<ConnectionId, std::vector<MessageFrame>> collect(FrameDelivery &delivery)
{
    std::map<ConnectionId, std::vector<MessageFrame>> out;
    for (auto &d : delivery.take())
        out[d.connection].insert(out[d.connection].end(), d.frames.begin(), d.frames.end());
    return out;
}

// Seat 0 has a person on connection 1, seat 1 a person away, seat 2 a
// computer player.
struct Table : ::testing::Test
{
    Table()
    {
        delivery.opened(1);
        delivery.seatPerson(0);
        delivery.bind(0, 1);
        delivery.seatPerson(1);
    }
    FrameDelivery delivery{ReplayPace{2, 300}};
};

TEST_F(Table, NumbersEachPersonsFramesAndSendsOnlyToConnectedOnes)
{
    delivery.toAll(frameOf(wire::CmdReady));
    delivery.toSeat(0, frameOf(wire::CmdChat));
    auto got = collect(delivery);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(numbers(got[1]), (std::vector<int>{1, 2}));
    // The seat away was numbered too; the computer player's seat never is.
    EXPECT_EQ(delivery.lastSequence(1), 1);
    EXPECT_EQ(delivery.lastSequence(2), 0);

    // The numbers wrap from 65535 to 1, never to 0.
    for (int i = 2; i < 0xFFFF; ++i)
        delivery.toSeat(0, frameOf(wire::CmdChat));
    delivery.take();
    delivery.toSeat(0, frameOf(wire::CmdChat));
    EXPECT_EQ(numbers(collect(delivery)[1]), (std::vector<int>{1}));

    // A new person at the seat starts again from 1.
    delivery.seatPerson(0);
    delivery.bind(0, 1);
    delivery.toSeat(0, frameOf(wire::CmdChat));
    EXPECT_EQ(numbers(collect(delivery)[1]), (std::vector<int>{1}));
}

TEST_F(Table, AClosingConnectionTakesNothingMoreAndAGoneOneNothingAtAll)
{
    delivery.opened(2);
    delivery.toConnection(2, frameOf(wire::CmdLogin));
    delivery.close(2);
    delivery.toConnection(2, frameOf(wire::CmdUserLeft));
    delivery.toSeat(0, frameOf(wire::CmdReady));
    auto deliveries = delivery.take();
    ASSERT_EQ(deliveries.size(), 2u);
    EXPECT_EQ(deliveries[0].connection, 2u);
    EXPECT_EQ(deliveries[0].frames.size(), 1u);
    EXPECT_TRUE(deliveries[0].close);
    EXPECT_EQ(deliveries[1].connection, 1u);

    delivery.closed(1);
    delivery.toSeat(0, frameOf(wire::CmdReady));
    EXPECT_TRUE(delivery.take().empty());
    EXPECT_FALSE(delivery.connectionOf(0));
}

TEST_F(Table, AReturningSeatGetsWhatFollowsItsEchoInPacedBurstsThenTheLiveFrames)
{
    delivery.toSeat(1, frameOf(wire::CmdLogin)); // before the hand: not logged
    delivery.startHandLog();
    for (std::uint8_t i = 0; i < 5; ++i)
        delivery.toSeat(1, frameOf(wire::CmdPlayed, i)); // numbers 2..6
    delivery.take();

    delivery.opened(7);
    delivery.bind(1, 7);
    const auto count = delivery.replay(1, 7, frameOf(wire::CmdReconnectAnswer), 3, 1000);
    EXPECT_EQ(count, 3u);
    delivery.toSeat(1, frameOf(wire::CmdChat)); // live, number 7
    auto first = delivery.take();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(numbers(first[0].frames), (std::vector<int>{0, 4, 5}));
    EXPECT_TRUE(delivery.pacing(7));
    EXPECT_EQ(delivery.nextDeadline(), 1300);

    EXPECT_FALSE(delivery.releaseDue(1299));
    EXPECT_TRUE(delivery.releaseDue(1300));
    EXPECT_EQ(numbers(delivery.take()[0].frames), (std::vector<int>{6, 7}));
    EXPECT_FALSE(delivery.pacing(7));
    EXPECT_FALSE(delivery.nextDeadline());

    // An echo the log does not hold sends the whole hand.
    delivery.opened(8);
    delivery.bind(1, 8);
    EXPECT_EQ(delivery.replay(1, 8, frameOf(wire::CmdReconnectAnswer), 60000, 2000), 6u);
}

} // namespace
