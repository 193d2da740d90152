// The own play as the table shows it: what leaves through the send ring,
// where each played picture comes to rest, which notice, sound and
// explosion show, and that nothing moves when the rules refuse the play.
#include "PlayFixture.h"

#include "rules/CardCode.h"
#include "wire/SentFrames.h"

#include <QPalette>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace tessaroc::play::test {
namespace {

using rules::makeCard;

constexpr int S = 1, H = 2, C = 4, D = 8; // suit bits

struct PlayCase
{
    const char *name;
    std::vector<rules::CardCode> hand;
    std::vector<int> raise; // slots
    int kind; // expected byte 18
    std::vector<int> ids; // expected card ids in judged order
    const char *sound; // "" for none
    int bomb; // resource shown by bombPlayer, 0 none
};

const std::vector<PlayCase> &playCases()
{
    static const std::vector<PlayCase> cases = {
            {"single",
             {makeCard(5, S, 1), makeCard(9, H, 2), makeCard(12, C, 3)},
             {1},
             1,
             {2},
             "sys070.wav",
             0},
            {"triple with pair",
             {makeCard(3, S, 10), makeCard(8, S, 11), makeCard(3, H, 12), makeCard(8, H, 13),
              makeCard(8, C, 14), makeCard(14, D, 15)},
             {0, 1, 2, 3, 4},
             6,
             {11, 13, 14, 10, 12},
             "sys070.wav",
             0},
            {"pair chain from the twos",
             {makeCard(3, S, 20), makeCard(3, H, 21), makeCard(15, S, 22), makeCard(15, H, 23),
              makeCard(14, S, 24), makeCard(14, H, 25), makeCard(9, D, 26)},
             {0, 1, 2, 3, 4, 5},
             4,
             {20, 21, 22, 23, 24, 25},
             "liandui.wav",
             0},
            {"bomb of five",
             {makeCard(7, S, 30), makeCard(7, H, 31), makeCard(7, C, 32), makeCard(7, D, 33),
              makeCard(7, S, 34), makeCard(10, H, 35)},
             {0, 1, 2, 3, 4},
             10,
             {30, 31, 32, 33, 34},
             "sys040.wav",
             879},
            {"bomb of seven",
             {makeCard(9, S, 40), makeCard(9, H, 41), makeCard(9, C, 42), makeCard(9, D, 43),
              makeCard(9, S, 44), makeCard(9, H, 45), makeCard(9, C, 46), makeCard(4, D, 47)},
             {0, 1, 2, 3, 4, 5, 6},
             12,
             {40, 41, 42, 43, 44, 45, 46},
             "sys040.wav",
             930},
            {"four jokers",
             {makeCard(16, 1, 50), makeCard(16, 1, 51), makeCard(17, 1, 52), makeCard(17, 1, 53),
              makeCard(6, H, 54)},
             {0, 1, 2, 3},
             14,
             {52, 53, 50, 51},
             "sys060.wav",
             881},
            {"the last cards",
             {makeCard(11, S, 60), makeCard(11, H, 61)},
             {0, 1},
             2,
             {60, 61},
             "",
             0},
    };
    return cases;
}

class OwnPlay : public ::testing::TestWithParam<bool>
{
};

TEST_P(OwnPlay, EveryKindLandsInThePlayRowWithItsSoundAndExplosion)
{
    for (const PlayCase &c : playCases()) {
        SCOPED_TRACE(c.name);
        PlayTable t(GetParam());
        t.deal(c.hand);
        t.openTurn(true);
        std::vector<int> pictures;
        for (int slot : c.raise) {
            t.raise(slot);
            pictures.push_back(
                    t.state.rules.ownHand().slots[static_cast<std::size_t>(slot)].picIndex);
        }
        const rules::HandRecord own = t.state.rules.ownHand();
        t.play->JudgeChuPai();

        const auto frames = t.sent();
        ASSERT_EQ(frames.size(), 1u);
        const auto &b = frames[0].bytes();
        EXPECT_EQ(b[3], 7);
        EXPECT_EQ(b[6], 2);
        EXPECT_EQ(b[15], 2);
        EXPECT_EQ(b[17], c.ids.size());
        EXPECT_EQ(b[18], c.kind);
        for (std::size_t j = 0; j < c.ids.size(); ++j)
            EXPECT_EQ(b[20 + j], c.ids[j]) << "card " << j;

        // Each picture of the play rests in the own play row, in judged
        // order from the left, face up and visible.
        const float sx = t.state.table.scale.ScaleX;
        const float sy = t.state.table.scale.ScaleY;
        const int n = static_cast<int>(c.ids.size());
        const auto &row = t.state.play.TableCards[0];
        ASSERT_EQ(row[33], n);
        for (int i = 0; i < n; ++i) {
            const int p = row[static_cast<std::size_t>(i)];
            const forms::Image &picture = t.form->hands.cardImage0(p);
            EXPECT_TRUE(picture.Visible());
            // It started 24 pixels lower and to the right and slid in.
            EXPECT_NEAR(picture.Top(), own.rowY, 0.01);
            EXPECT_NEAR(picture.Left(), own.rowX - (n * 0.11 + 0.39) * 90 * sx + i * 0.22 * 80 * sx,
                        0.01);
            EXPECT_DOUBLE_EQ(picture.Width(), std::nearbyint(80 * sx));
            EXPECT_DOUBLE_EQ(picture.Height(), std::nearbyint(108 * sy));
        }
        // The rest of the hand stays on the hand line.
        const rules::HandRecord &after = t.state.rules.ownHand();
        EXPECT_EQ(after.cardCount, static_cast<int>(own.cardCount) - n);
        for (int i = 0; i < after.cardCount; ++i)
            EXPECT_EQ(t.cardOfSlot(i).Top(), t.state.table.HandLine);

        EXPECT_EQ(t.sounds(),
                  c.sound[0] ? std::vector<std::string>{c.sound} : std::vector<std::string>{});
        EXPECT_EQ(t.form->effects.bombPlayer.Visible(), c.bomb != 0);
        if (c.bomb) {
            EXPECT_EQ(t.form->effects.bombPlayer.loops(), 1);
        }

        // The turn is closed and the play is the one to beat.
        const core::ClockState &clocks = t.state.loop.clocks;
        EXPECT_FALSE(clocks.MaySendPlay);
        EXPECT_FALSE(clocks.HandActive);
        EXPECT_FALSE(t.state.loop.slots.armed(core::LoopSlot::PlayClock));
        EXPECT_FALSE(t.form->turn.Time_Img.Visible());
        for (int op = 0; op <= 2; ++op)
            EXPECT_FALSE(t.form->actions.Operation(op).Visible());
        EXPECT_EQ(t.state.rules.prevPlay.kind, c.kind);
        EXPECT_EQ(t.state.rules.prevPlay.count, n);
        EXPECT_FALSE(t.play->ChuPai().Loaded());
    }
}

INSTANTIATE_TEST_SUITE_P(BothScales, OwnPlay, ::testing::Values(false, true),
                         [](const auto &scale) { return scale.param ? "Reduced" : "Full"; });

TEST(OwnPlayRefused, NoKindOrNoBeatShowsTheNoticeAndMovesNothing)
{
    struct Case
    {
        const char *name;
        bool againstAPair;
        std::vector<int> raise;
        bool toFront;
    };
    const Case cases[] = {
            {"no kind", false, {0, 1}, true},
            {"does not beat", true, {0}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PlayTable t;
        t.deal({makeCard(4, S, 1), makeCard(9, H, 2), makeCard(12, C, 3)});
        t.openTurn(!c.againstAPair);
        if (c.againstAPair) {
            t.state.rules.prevPlay.kind = rules::KindSingle;
            t.state.rules.prevPlay.count = 1;
            t.state.rules.prevPlay.cards[0] = makeCard(13, S);
        }
        for (int slot : c.raise)
            t.raise(slot);
        std::vector<std::pair<double, double>> before;
        for (int i = 0; i < 3; ++i)
            before.emplace_back(t.cardOfSlot(i).Left(), t.cardOfSlot(i).Top());

        t.play->JudgeChuPai();

        EXPECT_TRUE(t.sent().empty());
        EXPECT_TRUE(t.play->ChuPai().Visible());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(t.cardOfSlot(i).Left(), before[static_cast<std::size_t>(i)].first);
            EXPECT_EQ(t.cardOfSlot(i).Top(), before[static_cast<std::size_t>(i)].second);
        }
        EXPECT_EQ(t.state.rules.ownHand().cardCount, 3);
        EXPECT_TRUE(t.state.loop.clocks.MaySendPlay);
        EXPECT_TRUE(t.state.loop.clocks.HandActive);
        EXPECT_TRUE(t.state.loop.slots.armed(core::LoopSlot::PlayClock));
        EXPECT_TRUE(t.sounds().empty());
        // Centred on the table window.
        const ChuPaiWindow &notice = *t.play->ChuPai().window();
        EXPECT_NEAR(notice.LeftTwips() + notice.WidthTwips() / 2,
                    t.form->Left() + t.form->Width() / 2, 15);
        EXPECT_NEAR(notice.TopTwips() + notice.HeightTwips() / 2,
                    t.form->Top() + t.form->Height() / 2, 15);
    }
}

TEST(OwnPlayPass, NothingRaisedPassesWhenFollowingAndDoesNothingWhenLeading)
{
    PlayTable t;
    t.deal({makeCard(4, S, 1), makeCard(9, H, 2)});
    t.openTurn(true);
    t.play->JudgeChuPai();
    EXPECT_TRUE(t.sent().empty());
    EXPECT_TRUE(t.sounds().empty());
    EXPECT_TRUE(t.state.loop.clocks.HandActive);

    t.state.rules.prevPlay.kind = rules::KindSingle;
    t.state.rules.prevPlay.count = 1;
    t.state.rules.prevPlay.cards[0] = makeCard(15, S);
    t.play->JudgeChuPai();
    const auto frames = t.sent();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(wire::PlayFrame::decode(frames[0]), wire::PlayFrame::pass(2));
    EXPECT_EQ(t.sounds(), std::vector<std::string>{"sys080.wav"});
    EXPECT_FALSE(t.state.loop.clocks.HandActive);
    EXPECT_FALSE(t.state.loop.slots.armed(core::LoopSlot::PlayClock));
    for (int op = 0; op <= 2; ++op) {
        EXPECT_FALSE(t.form->actions.Operation(op).Visible());
        EXPECT_FALSE(t.form->actions.Operation(op).Enabled());
    }
}

// A press that runs inside the own play's animation finds the turn closed:
// no pass is queued behind the play.
TEST(OwnPlayPresses, APressDuringTheAnimationQueuesNothing)
{
    PlayTable t;
    t.clock.step = 1;
    t.deal({makeCard(4, S, 1), makeCard(9, H, 2), makeCard(10, H, 3)});
    t.openTurn(false);
    t.state.rules.prevPlay.kind = rules::KindSingle;
    t.state.rules.prevPlay.count = 1;
    t.state.rules.prevPlay.cards[0] = makeCard(8, S);
    t.raise(1);
    int pressed = 0;
    QTimer::singleShot(0, [&] {
        ++pressed;
        press(*t.form, t.form->hands.cardImage0(0), Qt::RightButton);
        pressAt(t.form->area.Pic1.widget(), QPointF(5, 300), Qt::RightButton);
        t.play->Operation_Click(PlayFlowService::OpPass);
        t.play->Operation_Click(PlayFlowService::OpPlay);
    });
    t.play->JudgeChuPai();
    EXPECT_EQ(pressed, 1);
    const auto frames = t.sent();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes()[15], 2) << "the play, and no pass behind it";
}

TEST(OwnPlayMinimised, NoSoundButTheExplosionStillLoads)
{
    PlayTable t;
    t.deal({makeCard(16, 1, 50), makeCard(16, 1, 51), makeCard(17, 1, 52), makeCard(17, 1, 53),
            makeCard(6, H, 54)});
    t.openTurn(true);
    for (int i = 0; i < 4; ++i)
        t.raise(i);
    t.form->setWindowStateCode(table::MainForm::Minimized);
    t.play->JudgeChuPai();
    EXPECT_TRUE(t.sounds().empty());
    EXPECT_TRUE(t.form->effects.bombPlayer.Visible());
}

TEST(IllegalPlayNoticeLife, GoneFifteenHundredMillisecondsAfterItsFirstShowing)
{
    PlayTable t;
    t.clock.step = 0;
    IllegalPlayNotice &notice = t.play->ChuPai();
    notice.Show(0, 0, 15360, 11520, true);
    t.clock.advance(500);
    notice.Show(1500, 0, 15360, 11520, true); // re-centred, not restarted
    EXPECT_NEAR(notice.window()->LeftTwips(), 1500 + (15360 - 2670) / 2.0, 15);
    t.clock.advance(900);
    notice.Timer1().poll();
    EXPECT_TRUE(notice.Loaded());
    notice.Hide();
    t.clock.advance(100);
    notice.Timer1().poll();
    EXPECT_FALSE(notice.Loaded()) << "a hidden notice is destroyed all the same";
    notice.Show(0, 0, 15360, 11520, false);
    EXPECT_TRUE(notice.Visible());
}

TEST(IllegalPlayNoticeColours, SplitRGBGivesTheThreeBytes)
{
    std::int32_t r = 0, g = 0, b = 0;
    EXPECT_EQ(SplitRGB(0x00FF8040, r, g, b), 0);
    EXPECT_EQ(r, 0x40);
    EXPECT_EQ(g, 0x80);
    EXPECT_EQ(b, 0xFF);
}

// A frame of the cross-fade on a small picture: three pixels wide (rows of 9
// bytes padded to 12), two high, the rows stored bottom-up, each pixel blue,
// green, red; each byte t of Picture1 and 1 - t of picCopy, halves rounded to
// the even byte.
TEST(IllegalPlayNoticeFade, AFrameBlendsTheTwoPicturesIntoBottomUpRows)
{
    QImage picture1(3, 2, QImage::Format_RGB32);
    QImage picCopy(3, 2, QImage::Format_RGB32);
    picture1.fill(Qt::black);
    picCopy.fill(Qt::black);
    picture1.setPixel(0, 0, qRgb(200, 100, 50)); // top left
    picCopy.setPixel(0, 0, qRgb(0, 3, 51));
    picture1.setPixel(2, 1, qRgb(10, 20, 30)); // bottom right
    picCopy.setPixel(2, 1, qRgb(30, 20, 13));
    const FadeComponents components(picture1, picCopy, 3, 2);
    FadeBitmap bitmap(3, 2);
    ASSERT_EQ(bitmap.stride, 12);
    ASSERT_EQ(bitmap.bits.size(), 25u);

    const auto bytes = [](std::array<int, 3> bottomRight, std::array<int, 3> topLeft) {
        std::vector<std::uint8_t> bits(25, 0);
        for (std::size_t i = 0; i < 3; ++i) {
            bits[6 + i] = static_cast<std::uint8_t>(bottomRight[i]); // first row stored
            bits[12 + i] = static_cast<std::uint8_t>(topLeft[i]);
        }
        return bits;
    };
    components.drawFrame(1.0, bitmap);
    EXPECT_EQ(bitmap.bits, bytes({30, 20, 10}, {50, 100, 200})) << "Picture1 alone";
    EXPECT_EQ(bitmap.image().convertToFormat(QImage::Format_RGB32), picture1);
    components.drawFrame(0.5, bitmap);
    // Green 51.5 goes up to 52, blue 50.5 down to 50 and 21.5 up to 22.
    EXPECT_EQ(bitmap.bits, bytes({22, 20, 20}, {50, 52, 100}));
    components.drawFrame(0.0, bitmap);
    EXPECT_EQ(bitmap.image().convertToFormat(QImage::Format_RGB32), picCopy);
}

TEST(IllegalPlayNoticeFade, TwentyFramesFromPicture1Down)
{
    const std::vector<double> weights = FadeWeights();
    ASSERT_EQ(weights.size(), 20u);
    EXPECT_EQ(weights.front(), 1.0);
    EXPECT_NEAR(weights.back(), 0.05, 1e-9);
    for (std::size_t i = 1; i < weights.size(); ++i)
        EXPECT_NEAR(weights[i - 1] - weights[i], 0.05, 1e-9);
}

// The fade takes what the screen shows at the notice's place, here another
// window of a plain colour lying over the notice, and its last frame covers
// the notice's own picture until the notice is hidden.
TEST(IllegalPlayNoticeFade, TheLastFrameShowsWhatTheScreenShowsThere)
{
    ChuPaiWindow notice;
    notice.move(100, 100);
    notice.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&notice));
    const QPoint middle(ChuPaiWindow::kWidth / 2, ChuPaiWindow::kHeight / 2);
    const QRgb picture = notice.grab().toImage().pixel(middle);

    const QColor over(0x40, 0x80, 0xC0);
    ASSERT_NE(picture, over.rgb());
    QWidget cover;
    cover.setWindowFlag(Qt::FramelessWindowHint);
    cover.setAutoFillBackground(true);
    QPalette palette = cover.palette();
    palette.setColor(QPalette::Window, over);
    cover.setPalette(palette);
    cover.setGeometry(0, 0, 640, 480);
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
    cover.repaint();

    notice.FadeInOverScreen();
    const QImage faded = notice.grab().toImage();
    for (const QPoint p : {QPoint(0, 0), middle, QPoint(ChuPaiWindow::kWidth - 1, 0),
                           QPoint(ChuPaiWindow::kWidth - 1, ChuPaiWindow::kHeight - 1)})
        EXPECT_EQ(faded.pixel(p), over.rgb()) << p.x() << "," << p.y();

    notice.hide();
    notice.show();
    EXPECT_EQ(notice.grab().toImage().pixel(middle), picture);
}

} // namespace
} // namespace tessaroc::play::test
