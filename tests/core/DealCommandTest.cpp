#include "DispatchFixture.h"

#include "rules/CardCode.h"

namespace tessaroc::core::test {
namespace {

wire::DealFrame handStart(std::uint8_t form = wire::kDealHandStart)
{
    wire::DealFrame deal = frames::handStart(
            [](int i) { return rules::makeCard(3 + i % 13, 1 << (i % 4), i + 1); });
    deal.form = form;
    deal.resumeValue = 448;
    return deal;
}

wire::DealFrame bottomCards(std::uint8_t seat)
{
    return frames::bottomCards(seat, [](int i) { return rules::makeCard(10 + i % 6, 2, 120 + i); });
}

TEST(DealCommand, HandStartWithTheDealPutsTheClientIntoThePlayingState)
{
    Client client;
    client.seatFour();
    client.timers.keepAlive = true;
    client.state.core.WealthDouble = 0;
    const int clearedBefore = client.window->cleared;
    for (int i = 0; i < 4; ++i)
        client.form().seats.OK(i).setVisible(true);
    const wire::MessageFrame frame = handStart().encode();
    SCOPED_TRACE(wire::describe(frame));
    client.dispatch(frame);

    const MainLoopState &loop = client.loop();
    EXPECT_TRUE(client.state.rules.InGame);
    EXPECT_TRUE(loop.HandStarted);
    EXPECT_TRUE(loop.DealArmed);
    EXPECT_TRUE(loop.slots.armed(core::LoopSlot::ConnWatch));
    EXPECT_FALSE(loop.slots.armed(core::LoopSlot::PlayClock));
    EXPECT_FALSE(loop.slots.armed(core::LoopSlot::ReadyClock));
    EXPECT_FALSE(client.timers.keepAlive);
    EXPECT_TRUE(client.state.core.ButtonDown[2]);
    EXPECT_EQ(client.state.commands.ResumeValue, 448);
    EXPECT_EQ(client.state.core.LandlordPos, 2); // seat bit 4 from own seat bit 1
    EXPECT_EQ(client.state.commands.ShownCard, 2 * 16 + 14);
    EXPECT_EQ(client.window->cleared, clearedBefore + 1);
    EXPECT_TRUE(client.log.called("play.FaPai"));
    EXPECT_TRUE(client.log.called("items.ClearProps")); // the switched-off library reads -1
    EXPECT_EQ(client.hall.posts.back(), wire::kTableMsgHandStart);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(client.form().seats.OK(i).Visible());
    EXPECT_TRUE(client.form().actions.Operation(3).Visible());
    EXPECT_FALSE(client.form().bid.lblDifen.Visible());
    EXPECT_FALSE(client.form().bid.Imgwealth.Visible());
}

// The connection watch, armed since the login, looks at the socket every
// second tick; a hand start arms it without putting it off by a tick.
TEST(DealCommand, HandStartKeepsTheConnectionWatchOnItsBeat)
{
    Client client;
    client.seatFour();
    LoopSlots &slots = client.loop().slots;
    slots.arm(LoopSlot::ConnWatch);
    slots.countTick();
    client.dispatch(handStart().encode());
    EXPECT_TRUE(slots.armed(LoopSlot::ConnWatch));
    EXPECT_EQ(slots.ticks(LoopSlot::ConnWatch), 1);
}

TEST(DealCommand, HandStartWithoutDealNeitherClearsNorDeals)
{
    Client client;
    client.seatFour();
    client.state.core.LandlordPos = 3;
    client.state.commands.ShownCard = 17;
    const int clearedBefore = client.window->cleared;
    client.dispatch(handStart(0).encode());
    EXPECT_EQ(client.window->cleared, clearedBefore);
    EXPECT_FALSE(client.log.called("play.FaPai"));
    EXPECT_EQ(client.state.core.LandlordPos, 3);
    EXPECT_EQ(client.state.commands.ShownCard, 17);
    EXPECT_TRUE(client.state.rules.InGame);
    EXPECT_EQ(client.state.commands.ResumeValue, 448);
    // It still starts a hand: results of the last one that never made a set
    // go, as at a deal.
    EXPECT_TRUE(client.log.called("settlement.DropResultFrames"));
}

TEST(DealCommand, HeldItemFramesGoOutAtTheNextHandStart)
{
    Client client;
    client.seatFour();
    wire::MessageFrame held;
    held.setCmd(wire::CmdProp45);
    held.setByte(20, 0x55);
    client.loop().HeldFrames[0] = {false, held};
    client.loop().HeldFrames[1] = {true, held}; // still capturing: stays
    client.dispatch(handStart(0).encode());
    wire::MessageFrame sent;
    ASSERT_TRUE(client.rings.SendRing.takeFrame(sent));
    EXPECT_EQ(sent.cmd(), wire::CmdProp45);
    EXPECT_EQ(sent.byteAt(20), 0x55);
    EXPECT_FALSE(client.rings.SendRing.hasFrame());
    EXPECT_EQ(client.loop().HeldFrames[0].frame.cmd(), 0);
    EXPECT_FALSE(client.loop().HeldFrames[1].armed);
}

TEST(DealCommand, ShowCardDoubleShowsItsValue)
{
    Client client;
    client.seatFour();
    wire::DealFrame deal = handStart();
    deal.showCardDouble = 3;
    client.dispatch(deal.encode());
    EXPECT_TRUE(client.form().bid.lblDifen.Visible());
    EXPECT_EQ(client.form().bid.lblDifen.Caption(), QStringLiteral("3"));
    EXPECT_TRUE(client.form().bid.imgBeishu1.Visible());
    EXPECT_EQ(client.state.commands.ShowCardDouble, 3);
}

// A table minimised or maximised comes back to its normal state at a hand
// start and the hall goes down, unless the player hid the table (F1); a table
// in its normal state is left as it is.
TEST(DealCommand, TableComesBackToItsNormalStateUnlessHiddenByTheAutoMode)
{
    struct Case
    {
        const char *name;
        bool minimised;
        bool maximised;
        bool hidden;
        bool restored;
    };
    for (const Case c :
         {Case{"minimised", true, false, false, true}, Case{"maximised", false, true, false, true},
          Case{"normal", false, false, false, false},
          Case{"minimisedHidden", true, false, true, false},
          Case{"maximisedHidden", false, true, true, false}}) {
        SCOPED_TRACE(c.name);
        Client client;
        client.seatFour();
        client.window->minimised = c.minimised;
        client.window->maximised = c.maximised;
        client.state.core.TableHidden = c.hidden;
        const int hallMinimisedBefore = client.log.count("hall.MinimiseHall");
        const int restoredBefore = client.window->restored;
        client.dispatch(handStart().encode());
        EXPECT_EQ(client.window->restored - restoredBefore, c.restored ? 1 : 0);
        EXPECT_EQ(client.window->minimised, c.minimised && !c.restored);
        EXPECT_EQ(client.window->maximised, c.maximised && !c.restored);
        EXPECT_EQ(client.log.count("hall.MinimiseHall") > hallMinimisedBefore, c.restored);
    }
}

class OwnBottomCards : public ::testing::TestWithParam<Client::Screen>
{
};

TEST_P(OwnBottomCards, JoinTheOwnHandAtTheEndOfTheRow)
{
    Client client(GetParam());
    client.seatFour(2);
    client.window->asked.calls.clear();
    client.dispatch(bottomCards(0x12).encode()); // own seat bit with a high bit set
    const rules::HandRecord &own = client.state.rules.ownHand();
    EXPECT_EQ(own.cardCount, 33);
    std::vector<std::string> placed;
    for (int i = 0; i < 8; ++i) {
        const int slot = 25 + i;
        const auto code = own.slots[static_cast<std::size_t>(slot)].code;
        // Ids of 128 and more stay what the server sent.
        EXPECT_EQ(rules::cardId(code), 120 + i);
        EXPECT_EQ(own.slots[static_cast<std::size_t>(slot)].picIndex, slot);
        placed.push_back("PlaceOwnBottomCard " + std::to_string(slot));
        EXPECT_TRUE(client.form().hands.cardImage0(slot).Visible()) << slot;
    }
    EXPECT_EQ(client.window->asked.calls, placed);
    ASSERT_EQ(client.play.faces.size(), 8u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(
                client.play.faces[static_cast<std::size_t>(i)],
                (std::array<int, 3>{0, 25 + i, own.slots[static_cast<std::size_t>(25 + i)].code}));
    EXPECT_TRUE(client.log.called("play.DiPaiAnimation 0"));
    EXPECT_TRUE(client.log.called("play.SortHandByFace 0 33"));
    EXPECT_TRUE(client.state.rules.InGame);
}

INSTANTIATE_TEST_SUITE_P(BothScales, OwnBottomCards, kBothScales, screenName);

TEST(DealCommand, BottomCardsOfAnotherSeatOnlyAnimate)
{
    Client client;
    client.seatFour();
    client.state.rules.ownHand().setCardCount(25);
    client.dispatch(bottomCards(8).encode());
    EXPECT_EQ(client.state.rules.ownHand().cardCount, 25);
    EXPECT_TRUE(client.log.called("play.DiPaiAnimation 3"));
    EXPECT_TRUE(client.state.commands.LastTrickReady);
    EXPECT_TRUE(client.play.faces.empty());
}

TEST(DealCommand, BottomCardsForNoSeatAreIgnored)
{
    for (const std::uint8_t seat : {0, 3, 0x0F, 0x30}) {
        Client client;
        client.seatFour();
        client.dispatch(bottomCards(seat).encode());
        EXPECT_FALSE(client.log.called("play.DiPaiAnimation 0")) << int(seat);
        EXPECT_EQ(client.state.rules.ownHand().cardCount, 0) << int(seat);
    }
}

} // namespace
} // namespace tessaroc::core::test
