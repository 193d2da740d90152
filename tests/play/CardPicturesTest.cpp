#include "PlayShowFixture.h"

#include "play/CardPictures.h"
#include "support/PictureStore.h"
#include "table/TablePictures.h"

namespace tessaroc::play::test {
namespace {

constexpr int kBack = 18;

TEST(CardPictureNo, IsFacePlusSixteenPerSuit)
{
    struct Case
    {
        int face;
        int suitBit;
        int pictureNo;
    };
    const Case cases[] = {
            {3, 1, 3},   {10, 1, 10}, {15, 1, 15}, // suit index 0
            {16, 1, 16}, {17, 1, 17}, {16, 0, 16}, // jokers: their faces
            {3, 2, 19},  {15, 2, 31}, // suit index 1
            {3, 4, 35},  {14, 4, 46}, {15, 4, 47}, // suit index 2
            {3, 8, 51},  {15, 8, 63}, // suit index 3
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CardPictureNo(rules::makeCard(c.face, c.suitBit, 99)), c.pictureNo)
                << "face " << c.face << " suit bit " << c.suitBit;
    }
}

struct NumberCase
{
    int number;
    enum { Shown, Refused, NoPicture } outcome;
};

class CardPictureNumbers : public ::testing::TestWithParam<NumberCase>
{
};

// Every number is tried on a card that shows the back: a shown number
// changes its picture to the table's entry; a refused one takes the table out
// of sight and brings the hall back; a number past the table changes nothing.
TEST_P(CardPictureNumbers, ShowsRefusesOrLeavesThePicture)
{
    PlayTable t;
    const NumberCase c = GetParam();
    forms::Image &card = t.form().hands.cardImage2(5);
    table::loadPicture(card, kBack);
    card.Move(40, 50, 75, 101);
    card.setVisible(false);

    t.flow().ShowCardPicture(2, 5, c.number);

    EXPECT_EQ(card.rect(), QRectF(40, 50, 75, 101)) << "the place and size stay";
    EXPECT_FALSE(card.Visible());
    switch (c.outcome) {
    case NumberCase::Shown:
        EXPECT_EQ(card.Picture(), cardPictureId(t.state(), c.number));
        EXPECT_NE(card.Picture(), 0);
        EXPECT_FALSE(t.base.window->minimised);
        break;
    case NumberCase::Refused:
        EXPECT_EQ(card.Picture(), kBack);
        EXPECT_TRUE(t.base.window->minimised);
        EXPECT_EQ(t.base.log.count("hall.RestoreHall"), 1);
        break;
    case NumberCase::NoPicture:
        EXPECT_EQ(card.Picture(), kBack);
        EXPECT_FALSE(t.base.window->minimised);
        EXPECT_FALSE(t.base.log.called("hall.RestoreHall"));
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
        Numbers, CardPictureNumbers,
        ::testing::Values(
                // The jokers, the back and a face of each suit.
                NumberCase{16, NumberCase::Shown}, NumberCase{17, NumberCase::Shown},
                NumberCase{18, NumberCase::Shown}, NumberCase{3, NumberCase::Shown},
                NumberCase{15 + 16, NumberCase::Shown}, NumberCase{14 + 32, NumberCase::Shown},
                NumberCase{3 + 48, NumberCase::Shown}, NumberCase{63, NumberCase::Shown},
                // No card has these: a joker of suit index 1 or 3, faces 0..2.
                NumberCase{0, NumberCase::Refused}, NumberCase{2, NumberCase::Refused},
                NumberCase{32, NumberCase::Refused}, NumberCase{34, NumberCase::Refused},
                NumberCase{50, NumberCase::Refused}, NumberCase{64, NumberCase::Refused},
                NumberCase{65, NumberCase::Refused}, NumberCase{98, NumberCase::Refused},
                NumberCase{114, NumberCase::Refused}, NumberCase{128, NumberCase::Refused},
                NumberCase{255, NumberCase::Refused},
                // These pass the test but lie past the 64 pictures, or below.
                NumberCase{67, NumberCase::NoPicture}, NumberCase{80, NumberCase::NoPicture},
                NumberCase{82, NumberCase::NoPicture}, NumberCase{99, NumberCase::NoPicture},
                NumberCase{127, NumberCase::NoPicture}, NumberCase{-1, NumberCase::NoPicture},
                NumberCase{-40, NumberCase::NoPicture}));

TEST(CardPictures, TheTestComesBeforeThePosition)
{
    PlayTable t;
    t.flow().ShowCardPicture(7, 0, 3);
    EXPECT_FALSE(t.base.window->minimised) << "a good number on no seat does nothing";
    t.flow().ShowCardPicture(7, 0, 32);
    EXPECT_TRUE(t.base.window->minimised);
    EXPECT_EQ(t.base.log.count("hall.RestoreHall"), 1);
}

TEST(CardPictures, AnElementOutsideTheGroupIsLeftAlone)
{
    PlayTable t;
    for (int index : {-1, 33, 1000})
        t.flow().ShowCardPicture(0, index, 3);
    EXPECT_FALSE(t.base.window->minimised);
}

TEST(CardPictures, TheReducedTableShowsTheReducedFaces)
{
    PlayTable full(Screen::Full);
    PlayTable reduced(Screen::Reduced);
    full.flow().ShowCardPicture(0, 0, 3);
    reduced.flow().ShowCardPicture(0, 0, 3);
    EXPECT_EQ(full.form().hands.cardImage0(0).Picture(), cardPictureId(full.state(), 3));
    EXPECT_EQ(reduced.form().hands.cardImage0(0).Picture(), cardPictureId(reduced.state(), 3));
    EXPECT_NE(full.form().hands.cardImage0(0).Picture(),
              reduced.form().hands.cardImage0(0).Picture());
}

TEST(ShownCard, ShowsTheCardTurnedUpAndHidesItKeepingThePicture)
{
    PlayTable t;
    t.state().commands.ShownCard = 14 + 32;
    forms::Image &shown = t.form().hands.ImgLPai(2);
    t.flow().cardPictures().ShowShownCard(2, -1);
    EXPECT_TRUE(shown.Visible());
    EXPECT_EQ(shown.Picture(), cardPictureId(t.state(), 14 + 32));

    t.flow().cardPictures().ShowShownCard(2, 0);
    EXPECT_FALSE(shown.Visible());
    EXPECT_EQ(shown.Picture(), cardPictureId(t.state(), 14 + 32));
    EXPECT_EQ(t.state().commands.ShownCard, 14 + 32);
}

TEST(ShownCard, AShownCardWithoutAPictureIsShownAsItWas)
{
    for (std::int16_t number : {70, 32, -3, 500}) {
        PlayTable t;
        forms::Image &shown = t.form().hands.ImgLPai(1);
        table::loadPicture(shown, kBack);
        t.state().commands.ShownCard = number;
        t.flow().cardPictures().ShowShownCard(1, -1);
        EXPECT_TRUE(shown.Visible()) << number;
        EXPECT_EQ(shown.Picture(), kBack) << number;
        EXPECT_FALSE(t.base.window->minimised) << number;
    }
    PlayTable t;
    t.flow().cardPictures().ShowShownCard(9, -1); // no such seat: nothing
}

TEST(LoadPictureInto, PlacesTheImageAtAWholeLeft)
{
    PlayTable t;
    forms::Image &bubble = t.form().messages.Speak(1);
    bubble.Move(7, 9);
    EXPECT_TRUE(LoadPictureInto(876, u"GIF", bubble, 100.5));
    EXPECT_EQ(bubble.Left(), 100);
    EXPECT_EQ(bubble.Top(), 9);
    EXPECT_EQ(bubble.Picture(), 876);
    EXPECT_TRUE(LoadPictureInto(877, u"GIF", bubble, 101.5));
    EXPECT_EQ(bubble.Left(), 102);
    EXPECT_TRUE(LoadPictureInto(878, u"GIF", bubble));
    EXPECT_EQ(bubble.Left(), 102) << "no Left: the image keeps its place";
    EXPECT_FALSE(LoadPictureInto(31999, u"GIF", bubble, 5.0)) << "no such picture";
    EXPECT_EQ(bubble.Picture(), 878);
    EXPECT_EQ(bubble.Left(), 102);
}

} // namespace
} // namespace tessaroc::play::test
