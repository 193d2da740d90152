#include "PlayShowFixture.h"

#include "core/HandEvents.h"
#include "rules/CardCode.h"
#include "rules/PlayKind.h"
#include "table/Rounding.h"

namespace tessaroc::play::test {
namespace {

using frames::kSeatBit;

wire::DealFrame handStart(std::uint8_t shownSeat = 4)
{
    return frames::handStart([](int i) { return rules::makeCard(3 + i % 13, 1 << (i % 4), i); },
                             {.seat = shownSeat, .suitBit = 1, .face = 5});
}

// A play of `faces` (suit bit 2, jokers 1; ids from 130 up) by the seat at display
// position pos.
wire::PlayedFrame play(int pos, int kind, const std::vector<int> &faces, std::uint8_t trick = 0)
{
    return frames::played(pos, kind, faces, trick, {.sameSuit = 2, .firstId = 130});
}

std::vector<int> many(int face, int n)
{
    return std::vector<int>(static_cast<std::size_t>(n), face);
}

// A table with four seated players after a deal, the landlord at the top.
struct Dealt : PlayTable
{
    explicit Dealt(Screen screen = Screen::Full)
        : PlayTable(screen)
    {
        seatFour(1);
        dispatch(handStart().encode());
        sound.played.clear();
    }
    forms::ControlArray<forms::Image> &group(int pos) { return *cardGroup(form(), pos); }
    // What the dispatcher does with a seat's play: applied to the hand's
    // state, then shown.
    void announce(const wire::MessageFrame &frame)
    {
        const wire::PlayedFrame played = wire::PlayedFrame::decode(frame);
        flow().ShowChuPai(core::ApplyAnnouncedPlay(state(), played,
                                                   core::DisplayPos(*context, played.mover)));
    }
};

class PlayAreas : public ::testing::TestWithParam<Screen>
{
};

// Where the cards of each seat come to rest: the row origins move left as a
// play grows, the cards 22 % of a card apart, later ones on top.
TEST_P(PlayAreas, EachSeatsCardsRestInItsArea)
{
    struct Case
    {
        int pos;
        int n;
        double origin; // design pixels
    };
    for (const Case c :
         {Case{1, 1, 165}, Case{1, 5, 165}, Case{1, 6, 155}, Case{1, 10, 80}, Case{1, 15, -20},
          Case{2, 1, 380}, Case{2, 7, 320}, Case{2, 12, 275}, Case{3, 3, 625}, Case{3, 9, 525},
          Case{3, 14, 455}, Case{3, 15, 355}, Case{3, 16, 230}}) {
        Dealt t(GetParam());
        const forms::LayoutScale s = t.scale();
        std::vector<int> faces;
        for (int j = 0; j < c.n; ++j)
            faces.push_back(3 + j % 13);
        t.dispatch(play(c.pos, rules::KindSingle, faces).encode());
        const rules::HandRecord &hand
                = t.state().rules.HandRecords[static_cast<std::size_t>(c.pos)];
        EXPECT_EQ(hand.rowX, table::roundToInt16(s.x(c.origin))) << c.pos << "/" << c.n;
        EXPECT_EQ(hand.cardCount, 25 - c.n);
        const double a = (0.11 * c.n + 0.39) * 90 * s.ScaleX;
        const double width = s.x(c.pos == 2 ? 75 : 77);
        const double left0 = c.pos == 2 ? s.x(500) - a : hand.rowX + a;
        const double top
                = c.pos != 2 ? hand.rowY : hand.rowY + (s.isReduced() ? s.y(10) : -s.y(15));
        const auto &row = t.state().play.TableCards[static_cast<std::size_t>(c.pos)];
        EXPECT_EQ(row[33], c.n);
        for (int j = 0; j < c.n; ++j) {
            EXPECT_EQ(row[static_cast<std::size_t>(j)], j);
            const forms::Image &card = t.group(c.pos)(j);
            EXPECT_TRUE(card.Visible());
            EXPECT_NEAR(card.Left(), left0 + 0.22 * j * width * s.ScaleX, 1e-2)
                    << c.pos << "/" << j;
            EXPECT_NEAR(card.Top(), top, 1e-2);
            EXPECT_EQ(card.Picture(), cardPictureId(t.state(), 3 + j % 13 + 16));
        }
        EXPECT_EQ(t.state().play.BackCount[static_cast<std::size_t>(c.pos - 1)], c.n);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, PlayAreas, ::testing::Values(Screen::Full, Screen::Reduced),
                         scaleName);

TEST(ShowChuPai, ASeatsPlaysTakeItsPicturesInSlotOrder)
{
    Dealt t;
    auto &g = t.group(3);
    t.dispatch(play(3, rules::KindPair, {5, 5}).encode());
    t.dispatch(play(3, rules::KindTriple, {8, 8, 8}).encode());
    const auto &now = t.state().play.TableCards[3];
    const auto &before = t.state().play.PrevTableCards[3];
    EXPECT_EQ(now[33], 3);
    EXPECT_EQ(std::vector<int>(now.begin(), now.begin() + 3), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(before[33], 2);
    EXPECT_EQ(std::vector<int>(before.begin(), before.begin() + 2), (std::vector<int>{0, 1}));
    EXPECT_FALSE(g(0).Visible());
    EXPECT_FALSE(g(1).Visible());
    EXPECT_TRUE(g(2).Visible());

    // The first play's pictures are shown again (the previous trick's view)
    // and a third play hides them once more.
    g(0).setVisible(true);
    t.dispatch(play(3, rules::KindSingle, {12}).encode());
    EXPECT_FALSE(g(0).Visible());
    EXPECT_FALSE(g(2).Visible());
    EXPECT_TRUE(g(5).Visible());
    EXPECT_EQ(before[33], 3);
    EXPECT_EQ(t.state().play.BackCount[2], 6);
    EXPECT_EQ(t.state().rules.HandRecords[3].cardCount, 19);
}

TEST(ShowChuPai, TheOwnPlayChangesNoPicture)
{
    Dealt t;
    std::vector<int> before;
    for (int i = 0; i <= 32; ++i)
        before.push_back(t.group(0)(i).Picture() * 2 + t.group(0)(i).Visible());
    t.dispatch(play(0, rules::KindBomb6, many(10, 6)).encode());
    std::vector<int> after;
    for (int i = 0; i <= 32; ++i)
        after.push_back(t.group(0)(i).Picture() * 2 + t.group(0)(i).Visible());
    EXPECT_EQ(before, after);
    EXPECT_EQ(t.state().play.SeatBombCount[0], 1);
    EXPECT_FALSE(t.form().effects.bombPlayer.Visible());
    EXPECT_TRUE(t.sound.played.empty()) << "the own play sounded when it was sent";
    EXPECT_FALSE(t.form().effects.UcDiZhu.Visible());

    // An emptied own hand shows the badge at the landlord's seat.
    t.state().rules.ownHand().setCardCount(0);
    t.dispatch(play(0, rules::KindSingle, {4}).encode());
    EXPECT_TRUE(t.form().effects.UcDiZhu.Visible());
}

TEST(ShowChuPai, BubblesOfEarlierPlaysGo)
{
    Dealt t;
    auto &speak = t.form().messages.Speak;
    for (int p = 0; p <= 3; ++p)
        speak(p).setVisible(true);
    t.state().core.BubbleSeat = 0;
    t.dispatch(play(2, rules::KindSingle, {6}).encode());
    EXPECT_FALSE(speak(0).Visible()) << "the bubble of the seat before";
    EXPECT_FALSE(speak(1).Visible());
    EXPECT_EQ(t.state().core.BubbleSeat, 2);

    for (int bubbleSeat : {-1, 3}) {
        Dealt u;
        u.state().core.BubbleSeat = static_cast<std::int16_t>(bubbleSeat);
        u.form().messages.Speak(0).setVisible(true);
        u.form().messages.Speak(3).setVisible(true);
        u.announce(play(3, rules::KindSingle, {6}).encode());
        EXPECT_TRUE(u.form().messages.Speak(0).Visible()) << bubbleSeat;
        EXPECT_EQ(u.state().core.BubbleSeat, 3);
    }
}

// A frame no hand can bring changes nothing: a face outside 3..17, more
// cards than a hand holds, a play past the seat's 33 slots.
TEST(ShowChuPai, AMalformedPlayChangesNothing)
{
    for (int fault = 0; fault < 4; ++fault) {
        Dealt t;
        wire::MessageFrame frame = play(1, rules::KindBomb6, many(9, 6)).encode();
        if (fault == 0)
            frame.setByte(21 + 4 * 2, 2);
        else if (fault == 1)
            frame.setByte(21 + 4 * 5, 40);
        else if (fault == 2)
            frame.setByte(17, 34);
        else
            t.state().play.BackCount[0] = 28;
        const rules::CardRulesState rules = t.state().rules;
        const core::PlayState kept = t.state().play;
        t.announce(frame);
        EXPECT_EQ(t.state().rules, rules) << fault;
        EXPECT_EQ(t.state().play.TableCards, kept.TableCards) << fault;
        EXPECT_EQ(t.state().play.BackCount, kept.BackCount) << fault;
        EXPECT_EQ(t.state().play.SeatBombCount, kept.SeatBombCount) << fault;
        EXPECT_EQ(t.state().play.BombCount, kept.BombCount) << fault;
        EXPECT_FALSE(t.group(1)(0).Visible()) << fault;
        EXPECT_FALSE(t.base.window->minimised) << fault;
    }
}

class OpenHands : public ::testing::TestWithParam<Screen>
{
};

// While the hands lie open (BidRowOn) another seat's cards come out of its
// open hand by their whole codes, take the pictures counted down from the
// seat's fan count, laid out hidden a little lower than usual, and the twin
// slide-in brings in the pictures from the seat's new card count on.
TEST_P(OpenHands, APlayComesOutOfTheOpenHand)
{
    for (int pos = 1; pos <= 3; ++pos) {
        SCOPED_TRACE(pos);
        Dealt t(GetParam());
        core::TableState &st = t.state();
        const forms::LayoutScale s = t.scale();
        st.play.BidRowOn = true;
        st.play.BackFanCount[static_cast<std::size_t>(pos - 1)] = 30;
        rules::HandRecord &hand = st.rules.HandRecords[static_cast<std::size_t>(pos)];
        std::vector<rules::CardCode> open;
        for (int k = 0; k < 25; ++k)
            open.push_back(rules::makeCard(3 + k % 13, 1 << (k % 4), k));
        // Two nines of the played suit with other card ids stay in the hand.
        open[3] = rules::makeCard(9, 2, 40);
        open[5] = rules::makeCard(9, 2, 41);
        open[10] = rules::makeCard(9, 2, 44);
        open[11] = rules::makeCard(9, 2, 42);
        for (std::size_t k = 0; k < open.size(); ++k)
            hand.slots[k].code = open[k];

        t.announce(frames::played(pos, rules::KindPair, {9, 9}, 0, {.sameSuit = 2, .firstId = 41})
                           .encode());

        std::vector<rules::CardCode> kept = open;
        kept.erase(kept.begin() + 11);
        kept.erase(kept.begin() + 5);
        ASSERT_EQ(hand.cardCount, 23);
        for (std::size_t k = 0; k < kept.size(); ++k)
            EXPECT_EQ(hand.slots[k].code, kept[k]) << "slot " << k;

        const auto &row = st.play.TableCards[static_cast<std::size_t>(pos)];
        EXPECT_EQ(row[33], 2);
        EXPECT_EQ(row[0], 30);
        EXPECT_EQ(row[1], 29);
        const double a = (0.11 * 2 + 0.39) * 90 * s.ScaleX;
        const double aside = pos == 3 ? s.x(24) : -s.x(24);
        double top = hand.rowY + s.y(24);
        if (pos != 2)
            top += s.y(25);
        else
            top += s.isReduced() ? s.y(30) : s.y(15);
        for (int j = 0; j < 2; ++j) {
            const forms::Image &card = t.group(pos)(30 - j);
            const double left0 = pos == 2 ? s.x(500) - a : hand.rowX + a;
            EXPECT_NEAR(card.Left(), left0 + 0.22 * j * 80 * s.ScaleX + aside, 1e-2) << j;
            EXPECT_NEAR(card.Top(), top, 1e-2) << j;
            EXPECT_EQ(card.Picture(), cardPictureId(st, 9 + 16));
            EXPECT_FALSE(card.Visible()) << "the twin slide-in leaves the laid-out pictures alone";
        }
        // The twin brings in the pictures of the slots the hand gave up.
        EXPECT_TRUE(t.group(pos)(23).Visible());
        EXPECT_TRUE(t.group(pos)(24).Visible());
        EXPECT_EQ(st.play.BackCount[static_cast<std::size_t>(pos - 1)], 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, OpenHands, ::testing::Values(Screen::Full, Screen::Reduced),
                         scaleName);

} // namespace
} // namespace tessaroc::play::test
