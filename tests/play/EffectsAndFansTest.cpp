#include "PlayShowFixture.h"

#include "Grab.h"
#include "play/CardPictures.h"
#include "play/Effects.h"
#include "rules/CardCode.h"
#include "rules/PlayKind.h"
#include "support/PictureStore.h"
#include "table/TablePictures.h"

#include <QImage>

#include <optional>
#include <string_view>

namespace tessaroc::play::test {
namespace {

using frames::kSeatBit;

wire::DealFrame handStart(std::uint8_t shownSeat)
{
    return frames::handStart([](int i) { return frames::placeSuited(3 + i % 15, i, i); },
                             {.seat = shownSeat, .suitBit = 8, .face = 12});
}

wire::PlayedFrame play(int pos, int kind, const std::vector<int> &faces, std::uint8_t trick = 0)
{
    return frames::played(pos, kind, faces, trick, {.firstId = 70});
}

std::vector<int> many(int face, int n)
{
    return std::vector<int>(static_cast<std::size_t>(n), face);
}

// Four players after a deal; the landlord is the seat with bit `landlordBit`.
struct Dealt : PlayTable
{
    explicit Dealt(Screen screen = Screen::Full, std::uint8_t landlordBit = 4)
        : PlayTable(screen)
    {
        seatFour(1);
        dispatch(handStart(landlordBit).encode());
        sound.played.clear();
    }
};

// Which animation an animated control shows: its frame on show is the first
// frame of that picture.
std::optional<int> animationOnShow(const forms::ucAniGIF &control, std::initializer_list<int> ids)
{
    const std::optional<QByteArray> shown = control.AnimatedGIF();
    if (!shown)
        return std::nullopt;
    const QImage image = support::PictureStore::decode(*shown).convertToFormat(QImage::Format_ARGB32);
    for (int id : ids) {
        const QImage first = support::PictureStore::decode(support::PictureStore::resourceBytes(id))
                                     .convertToFormat(QImage::Format_ARGB32);
        if (first == image)
            return id;
    }
    return 0;
}

// The explosion and the sound of each kind of play, the own play's and the
// announced ones'; the random number is asked only to pick a small explosion.
TEST(PlayEffects, EachKindHasItsExplosionAndSound)
{
    struct Case
    {
        int kind;
        double random;
        int bomb;
        std::string_view file;
        bool gameFolder;
    };
    const Case cases[] = {
            {rules::KindSingle, 0, 0, "sys070.wav", false},
            {rules::KindPair, 0, 0, "sys070.wav", false},
            {rules::KindTriple, 0, 0, "sys070.wav", false},
            {rules::KindTripleWithPair, 0, 0, "sys070.wav", false},
            {rules::KindBomb4, 0, 0, "sys070.wav", false},
            {rules::KindPairChain, 0, 0, "liandui.wav", true},
            {rules::KindTripleChain, 0, 0, "feiji.wav", true},
            {rules::KindPlaneWithPairs, 0, 0, "feiji.wav", true},
            {rules::KindPlaneWithPairsAlt, 0, 0, "feiji.wav", true},
            {rules::KindBomb5, 0.0, 879, "sys040.wav", false},
            {rules::KindBomb5, 0.49, 879, "sys040.wav", false},
            {rules::KindBomb6, 0.5, 880, "sys040.wav", false},
            {rules::KindBomb6, 0.99, 880, "sys040.wav", false},
            {rules::KindBomb7, 0.3, 930, "sys040.wav", false},
            {rules::KindBomb8, 0.7, 930, "sys040.wav", false},
            {rules::KindFourJokers, 0, 881, "sys060.wav", false},
            {rules::KindNone, 0, 0, "", false},
            {15, 0, 930, "", false},
    };
    for (const Case &c : cases) {
        int asked = 0;
        const int bomb = BombPicture(c.kind, [&] {
            ++asked;
            return c.random;
        });
        EXPECT_EQ(bomb, c.bomb) << c.kind << " r=" << c.random;
        EXPECT_EQ(asked, bomb == 879 || bomb == 880 ? 1 : 0) << c.kind;
        const KindSound sound = KindSoundOf(c.kind);
        EXPECT_EQ(sound.file, c.file) << c.kind;
        EXPECT_EQ(sound.gameFolder, c.gameFolder) << c.kind;
    }
}

TEST(PlayEffects, BubbleExplosionAndSoundByKind)
{
    struct Case
    {
        int pos;
        int kind;
        std::vector<int> faces;
        int bubble; // 0: none
        std::vector<int> explosions; // empty: none
        const char *sound; // "": none
    };
    const std::vector<Case> cases = {
            {1, rules::KindBomb4, many(7, 4), 381, {}, "sys070.wav"},
            {3, rules::KindBomb5, many(7, 5), 383, {879, 880}, "sys040.wav"},
            {1, rules::KindBomb6, many(8, 6), 381, {879, 880}, "sys040.wav"},
            {2, rules::KindBomb7, many(6, 7), 382, {930}, "sys040.wav"},
            {3, rules::KindBomb8, many(5, 8), 383, {930}, "sys040.wav"},
            {2, rules::KindFourJokers, {16, 16, 17, 17}, 883, {881}, "sys060.wav"},
            {1, rules::KindFourJokers, {16, 16, 17, 17}, 882, {881}, "sys060.wav"},
            {3, rules::KindPairChain, {5, 5, 6, 6, 7, 7}, 0, {}, "liandui.wav"},
            {3, rules::KindTripleChain, {5, 5, 5, 6, 6, 6}, 0, {}, "feiji.wav"},
            {2, rules::KindPlaneWithPairs, {5, 5, 5, 6, 6, 6, 9, 9, 10, 10}, 0, {}, "feiji.wav"},
            {2, rules::KindPlaneWithPairsAlt, {5, 5, 5, 6, 6, 6, 9, 9, 10, 10}, 0, {}, "feiji.wav"},
            {1, rules::KindSingle, {9}, 0, {}, "sys070.wav"},
            {1, rules::KindPair, {9, 9}, 0, {}, "sys070.wav"},
            {1, rules::KindTriple, {9, 9, 9}, 0, {}, "sys070.wav"},
            {1, rules::KindTripleWithPair, {9, 9, 9, 4, 4}, 0, {}, "sys070.wav"},
            {1, 0, {9}, 0, {}, ""},
            {1, 15, {9}, 0, {930}, ""},
    };
    for (const Case &c : cases) {
        Dealt t;
        forms::Image &bubble = t.form().messages.Speak(c.pos);
        table::loadPicture(bubble, 18);
        t.dispatch(play(c.pos, c.kind, c.faces).encode());
        const std::string what = std::to_string(c.pos) + "/" + std::to_string(c.kind);
        EXPECT_EQ(bubble.Visible(), c.bubble != 0) << what;
        EXPECT_EQ(bubble.Picture(), c.bubble != 0 ? c.bubble : 18) << what;
        forms::ucAniGIF &bomb = t.form().effects.bombPlayer;
        if (c.explosions.empty()) {
            EXPECT_FALSE(bomb.Visible()) << what;
        } else {
            EXPECT_TRUE(bomb.Visible()) << what;
            EXPECT_EQ(bomb.loops(), 1) << what;
            const std::optional<int> shown = animationOnShow(bomb, {879, 880, 881, 930});
            ASSERT_TRUE(shown) << what;
            EXPECT_NE(std::find(c.explosions.begin(), c.explosions.end(), *shown),
                      c.explosions.end())
                    << what << " shows " << *shown;
        }
        const std::vector<std::string> sounds
                = *c.sound ? std::vector<std::string>{c.sound} : std::vector<std::string>{};
        EXPECT_EQ(t.sound.playedNames(), sounds) << what;
        for (int v : t.sound.volumes)
            EXPECT_EQ(v, 3000);
    }
}

TEST(PlayEffects, WithoutSoundTheBubblesAndExplosionsStillShow)
{
    for (int way = 0; way < 2; ++way) {
        Dealt t;
        if (way == 0)
            t.state().sound.EffectsOn = false;
        else
            t.base.window->minimised = true;
        t.dispatch(play(2, rules::KindFourJokers, {16, 16, 17, 17}).encode());
        EXPECT_TRUE(t.form().messages.Speak(2).Visible());
        EXPECT_TRUE(t.form().effects.bombPlayer.Visible());
        EXPECT_TRUE(t.sound.played.empty());
    }
}

// The play that empties a hand: the bubble, but neither explosion nor the
// kind's sound; the badge at the landlord's seat and the sound of the
// landlord's result, on every client alike.
TEST(PlayEffects, TheLastPlayOfAHandEndsIt)
{
    struct Case
    {
        std::uint8_t landlordBit;
        int playsOut; // display position
        int badge;
        const char *sound;
    };
    for (const Case c : {Case{4, 2, 931, "win.wav"}, Case{4, 3, 932, "lose.wav"},
                         Case{2, 1, 931, "win.wav"}, Case{8, 2, 932, "lose.wav"}}) {
        Dealt t(Screen::Full, c.landlordBit);
        t.state().rules.HandRecords[static_cast<std::size_t>(c.playsOut)].setCardCount(5);
        t.dispatch(play(c.playsOut, rules::KindBomb5, many(11, 5)).encode());
        EXPECT_TRUE(t.form().messages.Speak(c.playsOut).Visible());
        EXPECT_FALSE(t.form().effects.bombPlayer.Visible());
        EXPECT_EQ(t.sound.playedNames(), std::vector<std::string>{c.sound});
        EXPECT_FALSE(t.form().hands.shanImage(c.playsOut - 1).Visible());
        EXPECT_FALSE(t.form().hands.Labrest(c.playsOut).Visible());
        const forms::ucAniGIF &badge = t.form().effects.UcDiZhu;
        EXPECT_TRUE(badge.Visible());
        EXPECT_EQ(animationOnShow(badge, {931, 932}), c.badge);
    }
}

TEST(HandEndBadge, StandsAtTheLandlordsSeat)
{
    struct Case
    {
        int landlord;
        double top;
        double reducedTop;
        double left;
    };
    for (Screen screen : {Screen::Full, Screen::Reduced}) {
        for (const Case c : {Case{0, 454, 434, 10}, Case{1, 140, 140, 10}, Case{2, 70, 70, 325},
                             Case{3, 140, 140, 780}}) {
            PlayTable t(screen);
            t.state().core.LandlordPos = static_cast<std::int16_t>(c.landlord);
            t.state().rules.HandRecords[static_cast<std::size_t>(c.landlord)].setCardCount(0);
            t.flow().fans().ShowHandEnd(c.landlord);
            const forms::LayoutScale s = t.scale();
            const forms::ucAniGIF &badge = t.form().effects.UcDiZhu;
            EXPECT_TRUE(badge.Visible());
            EXPECT_NEAR(badge.Top(), s.y(s.isReduced() ? c.reducedTop : c.top), 1e-3);
            EXPECT_NEAR(badge.Left(), s.x(c.left), 1e-3);
            EXPECT_EQ(badge.Stretch(), 4);
            EXPECT_EQ(badge.loops(), 0);
            EXPECT_EQ(badge.Width(), 260) << "the badge takes the animation's size";
            EXPECT_EQ(t.sound.playedNames(), std::vector<std::string>{"win.wav"});
        }
    }
}

TEST(HandEndBadge, NoLandlordNoBadgeAndNoSound)
{
    for (std::int16_t landlord : {-1, 4, 200}) {
        PlayTable t;
        t.state().core.LandlordPos = landlord;
        t.form().hands.Labrest(2).setVisible(true);
        t.flow().fans().ShowHandEnd(2);
        EXPECT_FALSE(t.form().effects.UcDiZhu.Visible());
        EXPECT_TRUE(t.sound.played.empty());
        EXPECT_FALSE(t.form().hands.Labrest(2).Visible());
    }
}

// The fan picture of each seat for every count, with the count beside it
// from ten down; counts without a fan leave it as it was.
TEST(BackFans, EveryCountAtEverySeat)
{
    constexpr int kMarker = 18;
    const auto expectedFan = [](int pos, int n, bool reduced) -> int {
        const int r = reduced ? 1 : 0;
        if (n < 1 || n > 20)
            return kMarker;
        if (n <= 10) {
            const int base[3][2] = {{889, 899}, {259, 269}, {909, 919}};
            return base[pos - 1][r] + n;
        }
        const int to15[3][2] = {{940, 943}, {941, 944}, {942, 945}};
        const int to20[3][2] = {{946, 949}, {947, 950}, {948, 951}};
        if (n <= 15)
            return to15[pos - 1][r];
        if (n == 16)
            return pos == 1 ? to15[0][r] : pos == 2 ? to20[1][r] : kMarker;
        return to20[pos - 1][r];
    };
    for (Screen screen : {Screen::Full, Screen::Reduced}) {
        const bool reduced = screen == Screen::Reduced;
        PlayTable t(screen);
        for (int pos = 1; pos <= 3; ++pos) {
            for (int n = 0; n <= 26; ++n) {
                forms::Image &fan = t.form().hands.shanImage(pos - 1);
                forms::Label &count = t.form().hands.Labrest(pos);
                table::loadPicture(fan, kMarker);
                fan.setVisible(false);
                fan.setStretch(true);
                count.setVisible(false);
                count.setCaption(QString());
                t.state().rules.HandRecords[static_cast<std::size_t>(pos)].setCardCount(n);
                t.flow().fans().ShowBackFan(pos);
                const std::string what = std::to_string(pos) + "/" + std::to_string(n)
                        + (reduced ? " reduced" : "");
                EXPECT_EQ(fan.Picture(), expectedFan(pos, n, reduced)) << what;
                EXPECT_EQ(fan.Visible(), n >= 1 && n <= 20) << what;
                EXPECT_EQ(count.Visible(), n >= 1 && n <= 10) << what;
                if (n >= 1 && n <= 10) {
                    EXPECT_EQ(count.Caption(), QString::number(n) + QStringLiteral("张")) << what;
                }
                const bool highest = n <= 20 && (pos == 2 ? n >= 16 : n >= 17);
                EXPECT_EQ(fan.Stretch(), !(reduced && highest)) << what;
            }
        }
    }
}

TEST(BackFans, TheOneCardFansMove)
{
    for (Screen screen : {Screen::Full, Screen::Reduced}) {
        PlayTable t(screen);
        const forms::LayoutScale s = t.scale();
        for (int pos = 1; pos <= 3; ++pos) {
            forms::Image &fan = t.form().hands.shanImage(pos - 1);
            fan.setStretch(true);
            fan.Move(101, 50, 143.5, 120);
            t.state().rules.HandRecords[static_cast<std::size_t>(pos)].setCardCount(1);
            t.flow().fans().ShowBackFan(pos);
            if (pos == 2) {
                EXPECT_NEAR(fan.Left(), 101 + 72, 1e-3) << "half of the rounded width 144";
                EXPECT_NEAR(fan.Top(), 50 + s.y(10), 1e-3);
            } else {
                EXPECT_NEAR(fan.Top(), s.y(335), 1e-3);
                EXPECT_EQ(fan.Left(), 101);
            }
        }
    }
}

TEST(BackFans, ASeatThatPlaysOutLosesItsFan)
{
    Dealt t;
    t.state().rules.HandRecords[1].setCardCount(2);
    t.dispatch(play(1, rules::KindPair, {9, 9}).encode());
    EXPECT_FALSE(t.form().hands.shanImage(0).Visible());
    EXPECT_EQ(t.form().hands.shanImage(0).Picture(), 0);
}

// After the hand the next deal leaves nothing of the last one moving: the
// explosion and the badge are gone, the flights down, the plays off the table.
TEST(PlayEffects, NothingOfTheLastHandMovesIntoTheNext)
{
    Dealt t;
    t.dispatch(play(2, rules::KindBomb7, many(6, 7)).encode());
    t.state().rules.HandRecords[3].setCardCount(1);
    t.dispatch(play(3, rules::KindSingle, {9}).encode());
    ASSERT_TRUE(t.form().effects.bombPlayer.AnimatedGIF());
    ASSERT_TRUE(t.form().effects.UcDiZhu.Visible());

    t.dispatch(handStart(4).encode());
    EXPECT_FALSE(t.form().effects.bombPlayer.AnimatedGIF());
    EXPECT_FALSE(t.form().effects.UcDiZhu.AnimatedGIF());
    EXPECT_FALSE(t.form().effects.UcDiZhu.Visible());
    for (int k = 0; k <= 10; ++k)
        EXPECT_FALSE(t.form().hands.imgCardMove(k).Visible());
    for (int p = 1; p <= 3; ++p) {
        for (int i = 0; i <= 32; ++i)
            EXPECT_FALSE(cardGroup(t.form(), p)->operator()(i).Visible()) << p << "/" << i;
    }
    EXPECT_EQ(t.state().rules.HandRecords[3].cardCount, 25);
}

// The table during a hand at both scales, for a person to look at: the deal,
// a play from each seat with a bomb's explosion, and the hand's end with the
// fans, the counts and the badge.
TEST(PlayScreenshots, ADealThePlaysAndTheHandsEnd)
{
    for (Screen screen : {Screen::Full, Screen::Reduced}) {
        const QString scale
                = screen == Screen::Full ? QStringLiteral("full") : QStringLiteral("reduced");
        Dealt t(screen, 4);
        ::tessaroc::test::grabToPng(t.form(), QStringLiteral("play_deal_") + scale);
        t.dispatch(play(3, rules::KindPairChain, {7, 7, 8, 8, 9, 9}).encode());
        t.dispatch(play(0, rules::KindSingle, {11}).encode());
        t.dispatch(play(1, rules::KindTripleWithPair, {12, 12, 12, 4, 4}).encode());
        t.dispatch(play(2, rules::KindBomb7, many(10, 7)).encode());
        ::tessaroc::test::grabToPng(t.form(), QStringLiteral("play_bomb_") + scale);
        t.state().rules.HandRecords[3].setCardCount(12);
        t.state().rules.HandRecords[1].setCardCount(8);
        t.dispatch(play(3, rules::KindSingle, {14}, 1).encode());
        t.dispatch(play(1, rules::KindPair, {15, 15}).encode());
        t.state().rules.HandRecords[2].setCardCount(2);
        t.dispatch(play(2, rules::KindPair, {16, 16}).encode());
        EXPECT_TRUE(t.form().effects.UcDiZhu.Visible());
        ::tessaroc::test::grabToPng(t.form(), QStringLiteral("play_handend_") + scale);
    }
}

} // namespace
} // namespace tessaroc::play::test
