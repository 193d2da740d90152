#include "TableFixture.h"

#include "Grab.h"
#include "WaitUntil.h"
#include "forms/FittedText.h"
#include "play/CardPictures.h"
#include "rules/CardCode.h"
#include "support/CardRow.h"
#include "support/PictureIds.h"
#include "table/ExitDialog.h"
#include "table/HoverPictures.h"
#include "table/Rounding.h"
#include "table/TablePictures.h"
#include "table/TableWindowService.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <cstdlib>

namespace tessaroc::table::test {

namespace {

struct Seat
{
    int avatar;
    const char16_t *name;
    const char16_t *coins;
    const char16_t *level;
};

const Seat kSeats[] = {
        {240, u"晨风", u"金币: 35200", u"等级: 富农"},
        {251, u"小桃红", u"金币: 12800", u"等级: 长工"},
        {243, u"老船长", u"金币: 98000", u"等级: 地主"},
        {254, u"云朵", u"金币: 4600", u"等级: 佃户"},
};

// The own hand of a deal, sorted by face from the highest, as the deal shows
// it: jokers, twos, aces and so on down to the threes.
std::vector<rules::CardCode> dealtHand()
{
    std::vector<rules::CardCode> cards
            = {rules::makeCard(17, 1), rules::makeCard(16, 1), rules::makeCard(15, 8),
               rules::makeCard(15, 2), rules::makeCard(14, 4), rules::makeCard(14, 1),
               rules::makeCard(13, 8), rules::makeCard(13, 4), rules::makeCard(13, 2),
               rules::makeCard(12, 1), rules::makeCard(11, 8), rules::makeCard(11, 4),
               rules::makeCard(10, 2), rules::makeCard(10, 1), rules::makeCard(9, 8),
               rules::makeCard(9, 4),  rules::makeCard(8, 2),  rules::makeCard(7, 1),
               rules::makeCard(7, 8),  rules::makeCard(6, 4),  rules::makeCard(5, 2),
               rules::makeCard(5, 1),  rules::makeCard(4, 8),  rules::makeCard(3, 4),
               rules::makeCard(3, 2)};
    return cards;
}

// Lays the table out as it stands after a deal of 25 cards at the start of
// the own play turn: every seat taken, the own row sorted on the hand line,
// the other seats' card backs fanned out, the bottom cards in the middle and
// every button of the turn and the toolbar on show.
void dealTable(Table &t)
{
    MainForm &f = t.form();
    core::TableState &state = t.state;
    const forms::LayoutScale s = state.table.scale;
    const bool reduced = s.isReduced();

    f.area.Location.setCaption(QStringLiteral("新手场 8号桌"));
    for (int p = 0; p <= 3; ++p) {
        const Seat &seat = kSeats[p];
        loadPicture(f.seats.Tou(p), seat.avatar);
        f.seats.Nid(p).setCaption(QString::fromUtf16(seat.name));
        f.seats.Cash(p).setCaption(QString::fromUtf16(seat.coins));
        f.seats.Level(p).setCaption(QString::fromUtf16(seat.level));
    }
    f.AddSystemMessage(QStringLiteral("欢迎来到新手场，祝您游戏愉快！"));
    f.AddSystemMessage(QStringLiteral("老船长 叫了地主。"));

    // The own row, laid out as the hand sorting lays it out.
    const std::vector<rules::CardCode> hand = dealtHand();
    const int n = static_cast<int>(hand.size());
    const double rowX = state.rules.HandRecords[0].rowX;
    const support::CardRow row(reduced ? rowX + s.x(50) : rowX, s);
    for (int i = 0; i < n; ++i) {
        forms::Image &card = f.hands.cardImage0(i);
        loadPicture(card,
                    state.pictures.CardPictureIds[static_cast<std::size_t>(
                            play::CardPictureNo(hand[static_cast<std::size_t>(i)]))]);
        card.Move(single(row.left(i, n, card.Width())), state.table.HandLine);
        card.ZOrder(0);
        card.setVisible(true);
    }

    // The other seats' card backs and the bottom cards.
    const int fans[] = {reduced ? 939 : 936, reduced ? 938 : 935, reduced ? 937 : 934};
    for (int i = 0; i <= 2; ++i) {
        loadPicture(f.hands.shanImage(i), fans[i]);
        f.hands.shanImage(i).ZOrder(0);
        f.hands.shanImage(i).setVisible(true);
    }
    for (int k = 0; k <= 7; ++k) {
        f.hands.imgDiPai(k).setVisible(true);
        f.hands.imgDiPai(k).ZOrder(0);
    }

    // The deal ends by bringing the room strip and its neighbours back in
    // front of the cards.
    for (forms::Element *e : std::initializer_list<forms::Element *>{
                 &f.area.imgLocation, &f.area.Location, &f.area.imgword1, &f.area.imgword2,
                 &f.toolbar.Bank})
        e->ZOrder(0);

    // The own turn: play, hint and pass, and the sort button that every dealt
    // hand shows (the previous-trick and lower-all buttons are never shown).
    const auto &OperationPic = state.pictures.OperationPic;
    const int normalPictures[] = {0, 3, 6, 9};
    for (int b = 0; b <= 3; ++b) {
        loadPicture(f.actions.Operation(b),
                    OperationPic[static_cast<std::size_t>(normalPictures[b])]);
        f.actions.Operation(b).setEnabled(true);
        f.actions.Operation(b).setVisible(true);
        f.actions.Operation(b).ZOrder(0);
    }
}

// The card's picture as the card draws it: smoothly stretched to its
// painted rectangle.
QImage drawnCard(const forms::Image &card)
{
    const QRect r = card.paintRect();
    QImage image(r.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(QPoint(0, 0), r.size()), card.picture());
    return image;
}

bool near(QColor a, QColor b)
{
    constexpr int kTolerance = 32;
    return std::abs(a.red() - b.red()) <= kTolerance
            && std::abs(a.green() - b.green()) <= kTolerance
            && std::abs(a.blue() - b.blue()) <= kTolerance;
}

// Grabs the dealt table and keeps the picture for a person to look at. The
// picture is the whole window, and every card of the own row shows its own
// picture on the strip the next card leaves free.
void grabDealtTable(Table &t, const QString &name)
{
    MainForm &f = t.form();
    dealTable(t);
    QCoreApplication::processEvents();
    const QString path = tessaroc::test::grabToPng(f, name);
    ASSERT_FALSE(path.isEmpty());
    const QImage shot(path);
    ASSERT_EQ(shot.size(), f.size());

    const QPoint table = f.area.Pic1->geometry().topLeft();
    // The room strip, in front of the cards since the deal ended, covers the
    // bottom of the row's right end; the rows above it are compared.
    const int stripTop = f.area.imgLocation.paintRect().top();
    const int cards = static_cast<int>(dealtHand().size());
    for (int i = 0; i < cards; ++i) {
        const forms::Image &card = f.hands.cardImage0(i);
        const QRect r = card.paintRect();
        const int strip = i + 1 < cards ? f.hands.cardImage0(i + 1).paintRect().left() - r.left()
                                        : r.width();
        const QImage drawn = drawnCard(card);
        int compared = 0;
        int differing = 0;
        for (int y = 0; y < std::min(r.height(), stripTop - r.top()); ++y) {
            for (int x = 0; x < strip; ++x) {
                const QColor want = drawn.pixelColor(x, y);
                const QPoint at = table + r.topLeft() + QPoint(x, y);
                if (want.alpha() < 255 || !shot.rect().contains(at))
                    continue;
                ++compared;
                differing += near(shot.pixelColor(at), want) ? 0 : 1;
            }
        }
        ASSERT_GT(compared, 0) << "card " << i;
        EXPECT_LT(differing * 50, compared) << "card " << i << ": " << differing << " of "
                                            << compared << " pixels are not the card's";
    }
}

} // namespace

// The dealt table on a framed screen and on the reduced one; the pictures
// stay for a person to look at after the layout changed: grabs/table_full.png
// and grabs/table_reduced.png in the build folder.
TEST(TableScreenshot, FullTableWithDealtHand)
{
    Table t(1280, 1024);
    grabDealtTable(t, QStringLiteral("table_full"));
}

TEST(TableScreenshot, ReducedTableWithDealtHand)
{
    Table t(kSmallScreen[0], kSmallScreen[1]);
    grabDealtTable(t, QStringLiteral("table_reduced"));
}

namespace {

// Where the pictures go, as grabToPng puts them.
QString grabPath(const QString &name)
{
    const QString configured = qEnvironmentVariable("TESSAROC_GRAB_DIR");
    const QString dir
            = configured.isEmpty() ? QDir::current().filePath(QStringLiteral("grabs")) : configured;
    QDir().mkpath(dir);
    return QDir(dir).filePath(name + QStringLiteral(".png"));
}

// The table window with a pop-up window over it, drawn as the screen shows
// them: the pop-up at its place relative to the table, at its opacity.
void grabWithPopup(MainForm &form, QWidget &popup, const QString &name)
{
    QCoreApplication::processEvents();
    QImage shot = form.grab().toImage();
    QPainter painter(&shot);
    painter.setOpacity(popup.windowOpacity());
    painter.drawPixmap(popup.geometry().topLeft() - form.geometry().topLeft(), popup.grab());
    painter.end();
    const QString path = grabPath(name);
    ASSERT_TRUE(shot.save(path, "PNG")) << path.toStdString();
}

// A small page served on 127.0.0.1 for the web panels.
class PageServer
{
public:
    PageServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    socket->readAll();
                    const QByteArray body
                            = "<html><body style='margin:0;background:#ffe9a8;font:14px "
                              "sans-serif'>"
                              "<div style='padding:6px;color:#8a2c00'><b>Tessaroc</b><br>"
                              "loopback page</div></body></html>";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: "
                                  "close\r\nContent-Length: "
                                  + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString url() const
    {
        return QStringLiteral("http://127.0.0.1:%1/ad").arg(server_.serverPort());
    }

private:
    QTcpServer server_;
};

// A page in the web engine may take long on a busy machine.
bool serveUntil(const std::function<bool()> &done, int ms = 30000)
{
    return ::tessaroc::test::waitUntil(done, ms);
}

} // namespace

// The pictures of the second half of the table window, at both scales, for a
// person to look at: grabs/leave_dialog_{full,reduced}.png,
// grabs/player_card_{full,reduced}.png, grabs/web_panel_{full,reduced}.png
// and the turn clocks.
class TableOverlays : public ::testing::TestWithParam<bool>
{
protected:
    QString suffix() const
    {
        return GetParam() ? QStringLiteral("_reduced") : QStringLiteral("_full");
    }
};

// The own turn clock with two-digit seconds, its digits whole at both
// scales: grabs/turn_clock_19_{full,reduced}.png and
// grabs/turn_clock_10_{full,reduced}.png, the clock and what lies around it.
TEST_P(TableOverlays, TurnClockAtNineteenAndTenSeconds)
{
    Table t(GetParam() ? kSmallScreen[0] : kFullScreen[0],
            GetParam() ? kSmallScreen[1] : kFullScreen[1]);
    MainForm &f = t.form();
    dealTable(t);
    TableWindowService window(f, t.state);
    for (const int seconds : {19, 10}) {
        window.ShowTurnClock(core::services::TableWindow::ClockKind::Play, 0, seconds);
        const QRect around = f.turn.Time_Img.paintRect()
                                     .united(f.turn.Number.paintRect())
                                     .adjusted(-24, -24, 24, 24);
        QCoreApplication::processEvents();
        const QString path = tessaroc::test::grabToPng(
                f.area.Pic1.widget(), QStringLiteral("turn_clock_%1").arg(seconds) + suffix(),
                around);
        EXPECT_FALSE(path.isEmpty());
        ASSERT_NE(f.turn.Number.fitted(), nullptr);
        EXPECT_EQ(f.turn.Number.fitted()->shownLines().join(QString()), QString::number(seconds));
    }
}

TEST_P(TableOverlays, LeaveDialogOverTheTable)
{
    Table t(GetParam() ? kSmallScreen[0] : 1280, GetParam() ? kSmallScreen[1] : 1024);
    dealTable(t);
    t.state.rules.InGame = true;
    t.form().ShowLeaveDialog();
    ExitDialog &dialog = t.form().frmExit();
    EXPECT_TRUE(dialog.Label2.Visible());
    EXPECT_TRUE(dialog.isTranslucent());
    grabWithPopup(t.form(), dialog, QStringLiteral("leave_dialog") + suffix());
}

TEST_P(TableOverlays, PlayerCardShown)
{
    Table t(GetParam() ? kSmallScreen[0] : 1280, GetParam() ? kSmallScreen[1] : 1024);
    dealTable(t);
    core::PlayerRecord &r = t.state.commands.custom[2];
    r.nickname = "老船长";
    r.sex = 1;
    r.location = "宁波";
    r.points = 98000;
    r.credit = 100;
    r.logins = 412;
    r.disconnects = 3;
    r.wins = 230;
    r.losses = 181;
    t.form().hover().Tou_MouseMove(2);
    Information &card = t.form().hover().information();
    ASSERT_TRUE(card.isVisible());
    grabWithPopup(t.form(), card, QStringLiteral("player_card") + suffix());
}

TEST_P(TableOverlays, WebPanelsShowingALoopbackPage)
{
    if (!platform::WebPanel::EngineAvailable())
        GTEST_SKIP() << "the web engine cannot start here: "
                     << platform::WebPanel::EngineError().toStdString();
    Table t(GetParam() ? kSmallScreen[0] : 1280, GetParam() ? kSmallScreen[1] : 1024);
    MainForm &f = t.form();
    dealTable(t);
    TableWindowService window(f, t.state);
    t.state.loop.shuffle.ShuffleCaptions = {"正在随机换座中..", "正在随机换座中...",
                                            "正在随机换座中....", "正在随机换座中....."};
    PageServer server;
    int documents = 0;
    for (auto *panel : {&f.area.WebBrowser1.widget(), &f.area.WebBrowser2.widget()})
        QObject::connect(panel, &platform::WebPanel::DocumentComplete, [&] { ++documents; });
    window.ShowWebPanel(server.url());
    f.bid.Imgwealth.setVisible(true);
    window.PlaceReadyClockAndShuffle();
    window.ShowSeatShuffle(QStringLiteral("正在随机换座中.."), server.url());
    ASSERT_TRUE(serveUntil([&] { return documents >= 2; }));
    // Let the pages paint before the picture is taken.
    QElapsedTimer settle;
    settle.start();
    serveUntil([&] { return settle.elapsed() > 500; });
    EXPECT_TRUE(f.area.WebBrowser1.Visible());
    EXPECT_DOUBLE_EQ(f.area.WebBrowser1.Left(), f.area.Bird.Left() + 2);
    EXPECT_TRUE(f.area.WebBrowser2.Visible());
    const QString path = grabPath(QStringLiteral("web_panel") + suffix());
    ASSERT_TRUE(f.grab().save(path, "PNG"));
}

INSTANTIATE_TEST_SUITE_P(Scales, TableOverlays, ::testing::Bool(),
                         [](const auto &param) { return param.param ? "Reduced" : "Full"; });

} // namespace tessaroc::table::test
