// Hand after hand at the table: the real client, in this process with the
// table server's three computer players and the hall stand-in, plays every
// turn with mouse presses and between its moves gets what a restless person
// gives a table: presses on cards, the action and toolbar buttons, the board,
// the hall of fame, the chat history and the sound settings opened and closed,
// the leave dialog opened and shut with Esc, the avatars hovered and clicked,
// chat lines typed, the window minimised and brought back. After every hand
// the hand must have ended by play (the board shown, the next hand dealt),
// the server must have refused no frame of the client and never have acted
// for it.
//
// The run repeats from its seed. TESSAROC_SOAK_HANDS sets the number of
// hands (2 by default, which keeps the test short) and TESSAROC_SOAK_SEED
// the seed of the input and of the server's shuffles; scripts/soak runs a
// long one.

#include "Hall.h"
#include "InProcessTable.h"
#include "TableServer.h"
#include "app/Client.h"
#include "settlement/SettlementService.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

using namespace tessaroc;

constexpr double kClockScale = 10;
// A hand's bound: the deal, the bids, about thirty turns of the three
// computer players at their short pace and the person's turns.
constexpr int kHandLimitMs = 30000;
// From the server's end of a hand to the board on the client.
constexpr int kBoardLimitMs = 5000;

int fromEnvironment(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

bool shown(const forms::Element &element)
{
    return element.Visible() && element.Enabled();
}

QWidget &surfaceOf(const forms::Element &element)
{
    return *element.container();
}

void mouseAt(QWidget &surface, QEvent::Type type, QPointF at, Qt::MouseButton button,
             Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, surface.mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&surface, &event);
}

void pressAt(QWidget &surface, QPointF at, Qt::MouseButton button = Qt::LeftButton)
{
    mouseAt(surface, QEvent::MouseButtonPress, at, button, button);
    mouseAt(surface, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

void pressOn(const forms::Element &element)
{
    pressAt(surfaceOf(element), element.rect().center());
}

void keyTo(QWidget &widget, Qt::Key key, const QString &text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &up);
}

// Esc on the table area, which a person gives the focus first: keys typed
// while a control inside it (the chat box) has the focus are that control's.
void escOnTable(QWidget &table)
{
    table.setFocus();
    keyTo(table, Qt::Key_Escape);
}

// Typed key by key, as a keyboard (or an input method) sends the characters.
void typeInto(QWidget &widget, const QString &text)
{
    for (const QChar ch : text)
        keyTo(widget, Qt::Key_unknown, QString(ch));
}

// The restless person: one random piece of input at a time.
class Restless
{
public:
    Restless(app::Client &client, std::uint32_t seed)
        : client_(client)
        , random_(seed)
    { }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    // Something a person does while waiting or before a move; never a play,
    // a pass, a bid or the leave button of the leave dialog.
    void fidget()
    {
        table::MainForm &form = client_.form();
        QWidget &table = form.area.Pic1.widget();
        if (minimised_) {
            // Back from the task bar before anything else.
            form.setWindowStateCode(table::MainForm::Normal);
            form.activateWindow();
            minimised_ = false;
            ++counts_[Restore];
            return;
        }
        if (leaveDialogOpen_ && chance(0.7)) {
            escOnTable(table);
            leaveDialogOpen_ = false;
            ++counts_[Esc];
            return;
        }
        switch (below(11)) {
        case 0:
        case 1:
            pressCard();
            return;
        case 2: {
            // Sort, the previous trick, lower all.
            const int index = 3 + below(3);
            if (const forms::Image *button = form.actions.Operation.find(index);
                button && shown(*button)) {
                pressOn(*button);
                ++counts_[Action];
            }
            return;
        }
        case 3: {
            // The chat history, the sound settings, the board, the hall of
            // fame: each a toggle.
            static constexpr int kToggles[] = {1, 3, 5, 6};
            const forms::Image *button = form.toolbar.AnNiu.find(kToggles[below(4)]);
            if (button && shown(*button)) {
                pressOn(*button);
                ++counts_[Toolbar];
            }
            return;
        }
        case 4:
            // The leave dialog, by its toolbar button or by Esc.
            if (leaveDialogOpen_)
                return;
            if (const forms::Image *exit = form.toolbar.AnNiu.find(8);
                exit && shown(*exit) && chance(0.5))
                pressOn(*exit);
            else
                escOnTable(table);
            leaveDialogOpen_ = true;
            ++counts_[LeaveDialog];
            return;
        case 5:
        case 6: {
            // An avatar hovered, now and then clicked (which starts a
            // whisper to that seat); or the pointer moved away again.
            const int pos = below(5);
            if (pos == 4) {
                mouseAt(table, QEvent::MouseMove,
                        QPointF(table.width() / 2.0, table.height() / 3.0), Qt::NoButton,
                        Qt::NoButton);
                return;
            }
            const forms::Image *avatar = form.seats.Tou.find(pos);
            if (!avatar || !avatar->Visible())
                return;
            mouseAt(surfaceOf(*avatar), QEvent::MouseMove, avatar->rect().center(), Qt::NoButton,
                    Qt::NoButton);
            if (chance(0.2))
                pressOn(*avatar);
            ++counts_[Avatar];
            return;
        }
        case 7:
        case 8: {
            static const QString kLines[] = {
                    QStringLiteral("hello"),
                    QStringLiteral("快点吧，等得花儿都谢了"),
                    QStringLiteral("   "),
                    QStringLiteral("%s %n %d \\ $ \" '"),
                    QStringLiteral("a very long line of chat that goes on and on past what the box "
                                   "shows and what a frame can carry at all, and on"),
                    QStringLiteral("好牌！"),
            };
            QLineEdit &box = form.messages.Chat.widget();
            typeInto(box, kLines[below(static_cast<int>(std::size(kLines)))]);
            if (chance(0.5))
                keyTo(box, Qt::Key_Return, QStringLiteral("\r"));
            else
                pressOn(form.toolbar.AnNiu(0));
            ++counts_[Chat];
            return;
        }
        case 9:
            // A right-click on the table lowers the raised cards.
            pressAt(table,
                    QPointF(below(std::max(1, table.width())), below(std::max(1, table.height()))),
                    Qt::RightButton);
            ++counts_[RightClick];
            return;
        case 10:
            // Minimised by the window's own button or by the table's hide
            // button, which also hands the turns to the clock until the
            // window is back.
            if (chance(0.8))
                form.setWindowStateCode(table::MainForm::Minimized);
            else if (const forms::Image *hide = form.toolbar.AnNiu.find(4); hide && shown(*hide))
                pressOn(*hide);
            else
                return;
            minimised_ = true;
            ++counts_[Minimise];
            return;
        default:
            return;
        }
    }

    // A card of the own hand pressed: raised, or lowered again.
    void pressCard()
    {
        std::vector<const forms::Element *> cards;
        client_.form().hands.cardImage0.forEach([&](const forms::Image &card) {
            if (shown(card))
                cards.push_back(&card);
        });
        if (cards.empty())
            return;
        pressOn(*cards[static_cast<std::size_t>(below(static_cast<int>(cards.size())))]);
        ++counts_[Card];
    }

    // A person's pace: one piece of input every 10 to 150 ms of the sped-up
    // client (a tenth of a second to a second and a half of the table's time).
    bool due()
    {
        if (!next_.hasExpired())
            return false;
        next_.setRemainingTime(10 + below(141));
        return true;
    }

    // Back to a window a person can play in: restored, no leave dialog.
    void settle()
    {
        while (minimised_ || leaveDialogOpen_)
            fidget();
    }

    void report() const
    {
        static const char *const kNames[]
                = {"cards",   "action buttons", "toolbar",      "leave dialogs", "Esc",
                   "avatars", "chat lines",     "right clicks", "minimised",     "restored"};
        for (int i = 0; i < kKinds; ++i)
            std::printf("%s %d%s", kNames[i], counts_[i], i + 1 < kKinds ? ", " : "\n");
    }

private:
    enum Kind {
        Card,
        Action,
        Toolbar,
        LeaveDialog,
        Esc,
        Avatar,
        Chat,
        RightClick,
        Minimise,
        Restore,
        kKinds
    };
    app::Client &client_;
    std::mt19937 random_;
    bool minimised_ = false;
    bool leaveDialogOpen_ = false;
    QDeadlineTimer next_{0};
    int counts_[kKinds] = {};
};

TEST(Soak, HandAfterHandWithARestlessPerson)
{
    const int hands = fromEnvironment("TESSAROC_SOAK_HANDS", 2);
    const auto seed = static_cast<std::uint32_t>(fromEnvironment("TESSAROC_SOAK_SEED", 17));
    std::printf("soak: %d hands, seed %u\n", hands, seed);

    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("TMPDIR", runtime.path().toUtf8());

    tableserver::EngineOptions options;
    options.bots = 3;
    options.seed = seed;
    options.startWithoutReady = true; // the first hand soon after the person sits down
    options.firstHandWaitMs = 300;
    options.nextHandWaitMs = 600000; // the next hand waits for the person's ready
    options.botDelayMinMs = 30;
    options.botDelayMaxMs = 60;
    options.playSeconds = 60; // 6 seconds on the sped-up client
    options.checkClientFrames = true;
    std::vector<std::string> log;
    tableserver::TableServer server(options, [&](const std::string &line) { log.push_back(line); });
    std::vector<std::string> refused;
    server.engine().setClientFrameReport([&](const std::string &line) { refused.push_back(line); });
    ASSERT_TRUE(server.listen(0)) << server.errorString().toStdString();
    const auto saw = [&](const std::string &text) { return test::logHas(log, text); };
    const auto record = [&] {
        std::string all;
        for (const std::string &line : log)
            all += line + "\n";
        return all;
    };

    const hall::HallOptions hallOptions = test::headlessHall(server.port(), QStringLiteral("soak"));
    hall::Hall hallWindow(hallOptions);
    ASSERT_TRUE(hallWindow.open());

    app::Client client(kClockScale, runtime.filePath(QStringLiteral("tessaroc.lock")));
    client.settlement().setRecordsPath(runtime.filePath(QStringLiteral("info.qn")));
    ASSERT_TRUE(client.start(hall::clientCommandLine(hallOptions).toStdString()));
    table::MainForm &form = client.form();
    core::TableState &state = client.state();
    Restless person(client, seed);

    // One turn's plan: some fidgeting, then the move.
    enum class Move { Hint, OwnPick, Pass };
    struct Turn
    {
        bool open = false;
        int fidgets = 0;
        Move move = Move::Hint;
        bool picked = false;
        bool hinted = false;
    } turn;

    int bids = 0, plays = 0, readies = 0;
    const auto step = [&] {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (shown(form.bid.btnJiaofen(1))) {
            if (!person.due())
                return;
            if (person.chance(0.5)) {
                person.fidget();
                return;
            }
            person.settle();
            pressOn(form.bid.btnJiaofen(person.chance(0.3) ? 0 : 1));
            ++bids;
            return;
        }
        if (const forms::Image *choice = form.actions.tanOperation.find(0);
            choice && shown(*choice)) {
            person.settle();
            pressOn(form.actions.tanOperation(person.below(2)));
            return;
        }
        const core::ClockState &clocks = state.loop.clocks;
        if (!clocks.HandActive || !clocks.MaySendPlay) {
            turn.open = false;
            if (person.due())
                person.fidget();
            return;
        }
        if (!turn.open) {
            turn = Turn{true, person.below(4), static_cast<Move>(person.below(3)), false, false};
            if (person.chance(0.6))
                turn.move = Move::Hint;
        }
        if (turn.fidgets > 0) {
            if (person.due()) {
                --turn.fidgets;
                person.fidget();
            }
            return;
        }
        person.settle();
        if (turn.move == Move::Pass) {
            if (shown(form.actions.Operation(2)))
                pressOn(form.actions.Operation(2));
            turn.move = Move::Hint; // leading: no pass, so the hint's play
            return;
        }
        if (turn.move == Move::OwnPick && !turn.picked) {
            // A few cards of the person's own choosing, and play: the client
            // judges them, and a play it refuses leaves the turn open.
            for (int n = 1 + person.below(3); n > 0; --n)
                person.pressCard();
            if (shown(form.actions.Operation(0)))
                pressOn(form.actions.Operation(0));
            turn.picked = true;
            turn.move = Move::Hint;
            return;
        }
        if (!turn.hinted && shown(form.actions.Operation(1))) {
            pressOn(form.actions.Operation(1));
            turn.hinted = true;
        } else if (turn.hinted && shown(form.actions.Operation(0))) {
            pressOn(form.actions.Operation(0));
            turn.hinted = false;
            ++plays;
        }
    };
    const auto runUntil = [&](const std::function<bool()> &done, int ms) {
        QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired())
            step();
        return done();
    };

    for (int hand = 1; hand <= hands; ++hand) {
        const std::string over = "hand " + std::to_string(hand) + ": ";
        ASSERT_TRUE(runUntil([&] { return saw(over) || saw(" abandoned"); }, kHandLimitMs))
                << "hand " << hand << " did not end\n"
                << record();
        ASSERT_TRUE(saw(over)) << record();
        // The board of this hand comes up by itself.
        person.settle();
        QDeadlineTimer boardDeadline(kBoardLimitMs);
        while (!(client.settlementWindows().ScoreVisible() && state.settlement.JuNum == hand)
               && !boardDeadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_TRUE(client.settlementWindows().ScoreVisible()) << "hand " << hand;
        EXPECT_EQ(state.settlement.JuNum, hand);
        // Every hand so far in the records file.
        QFile records(client.settlement().records().path());
        ASSERT_TRUE(records.open(QIODevice::ReadOnly)) << records.fileName().toStdString();
        const QByteArray sections = records.readAll();
        for (int h = 1; h <= hand; ++h)
            EXPECT_TRUE(sections.contains("[juNum:" + QByteArray::number(h) + "]")) << "hand " << h;
        EXPECT_TRUE(refused.empty()) << refused.front() << "\n" << record();
        if (hand == hands)
            break;
        // The next hand: the person says ready, now or after a while, or
        // lets the ready clock say it.
        const std::string next = "hand " + std::to_string(hand + 1) + " (resume";
        const int readyAfter = person.below(3);
        int steps = 0;
        ASSERT_TRUE(runUntil(
                [&] {
                    if (++steps == 40 * readyAfter + 1 && readyAfter < 2
                        && shown(form.toolbar.AnNiu(2))) {
                        person.settle();
                        pressOn(form.toolbar.AnNiu(2));
                        ++readies;
                    }
                    return saw(next);
                },
                kHandLimitMs))
                << "hand " << hand + 1 << " was not dealt\n"
                << record();
        // The new hand as dealt, with nothing of the last one left: as many
        // card pictures as cards, none of them raised. The person keeps
        // still while the cards come.
        person.settle();
        const auto cardsShown = [&] {
            int shownCards = 0;
            form.hands.cardImage0.forEach(
                    [&](const forms::Image &card) { shownCards += card.Visible() ? 1 : 0; });
            return shownCards;
        };
        QDeadlineTimer dealDeadline(kBoardLimitMs);
        while (!(state.rules.InGame && state.rules.ownHand().validCount() >= 25
                 && cardsShown() == state.rules.ownHand().validCount())
               && !dealDeadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_TRUE(state.rules.InGame && state.rules.ownHand().validCount() >= 25)
                << "the client holds no new hand " << hand + 1 << "\n"
                << record();
        EXPECT_EQ(cardsShown(), state.rules.ownHand().validCount()) << "hand " << hand + 1;
        form.hands.cardImage0.forEach([&](const forms::Image &card) {
            if (card.Visible()) {
                EXPECT_GE(card.Top(), state.table.HandLine - 0.5)
                        << "a raised card in hand " << hand + 1;
            }
        });
    }
    person.settle();
    EXPECT_TRUE(refused.empty()) << record();
    EXPECT_FALSE(saw("made to leave")) << record();
    EXPECT_FALSE(saw("rules refuse")) << record();
    EXPECT_FALSE(saw("leaves the table")) << record();
    EXPECT_FALSE(saw("did not play in time")) << record();
    EXPECT_FALSE(saw("did not bid in time")) << record();
    std::printf("soak: %d hands at layout scale %.3f, bids %d, plays by hint %d, readies %d\n",
                hands, static_cast<double>(state.table.scale.ScaleX), bids, plays, readies);
    person.report();
}

} // namespace
