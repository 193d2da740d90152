// Three whole clients in one process, offscreen, at one table server with a
// computer player: a line typed in one client's chat box reaches the others
// and comes back to its sender as the sender's own line; a whisper reaches
// only its seat; a quick phrase shows its bubble at the speaker's seat.

#include "Grab.h"
#include "WaitUntil.h"
#include "app/Client.h"
#include "chat/SpeakBox.h"
#include "platform/HallLink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using tessaroc::app::Client;

constexpr int kLimitMs = 20000;
const QString kHallCaption = QStringLiteral("chat-e2e-hall");

bool waitUntil(const std::function<bool()> &done, int ms = kLimitMs)
{
    return tessaroc::test::waitUntil(done, ms);
}

QStringList history(Client &client)
{
    QStringList lines;
    QListWidget &list = *client.chat().Talk().Text1;
    for (int i = 0; i < list.count(); ++i)
        lines.append(list.item(i)->text());
    return lines;
}

// The display position of another client's seat in a client's eyes.
int posOf(Client &viewer, Client &other)
{
    const int own = tessaroc::rules::BitIndex(viewer.state().rules.HandRecords[0].seatBit);
    const int their = tessaroc::rules::BitIndex(other.state().rules.HandRecords[0].seatBit);
    return (their + 4 - own) & 3;
}

class ChatRun : public ::testing::Test
{
protected:
    ChatRun()
    {
        // The hall link's sockets and the single-instance locks live in a
        // runtime folder of this run.
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        server.setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(&server, &QProcess::readyRead,
                         [this] { serverOutput += QString::fromUtf8(server.readAll()); });
        server.start(QStringLiteral(TESSAROC_SERVER_PATH),
                     {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--bots"),
                      QStringLiteral("1")});
        waitUntil([this] { return serverOutput.contains(QStringLiteral("listening on")); });
        port = QRegularExpression(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"))
                       .match(serverOutput)
                       .captured(1)
                       .toUShort();
        hall.setHandler([](std::uint32_t, std::int64_t, std::int64_t) { return 1; });
        hall.listen(kHallCaption);
    }
    ~ChatRun() override
    {
        clients.clear();
        server.kill();
        server.waitForFinished(2000);
    }

    Client &sitDown(const QString &account)
    {
        const QString lock = QDir(runtime.path()).filePath(account + QStringLiteral(".lock"));
        clients.push_back(std::make_unique<Client>(10.0, lock));
        Client &client = *clients.back();
        const QString line = QStringLiteral("%1$pw$127.0.0.1$%2$0000001Room 1$0$$0$$$1$%3$%4$0$0$")
                                     .arg(account)
                                     .arg(port)
                                     .arg(kHallCaption, QStringLiteral("chat-e2e-") + account);
        EXPECT_TRUE(client.start(line.toStdString()));
        return client;
    }

    bool seated(Client &client, int others)
    {
        const auto &state = client.state();
        if (!state.loop.LoggedIn || state.rules.HandRecords[0].seatBit == 0)
            return false;
        int named = 0;
        for (std::size_t p = 1; p < 4; ++p)
            named += state.commands.custom[p].nickname.empty() ? 0 : 1;
        return named >= others;
    }

    static void type(Client &client, const QString &text)
    {
        QLineEdit &box = client.form().messages.Chat.widget();
        QTest::keyClicks(&box, text);
        QTest::keyClick(&box, Qt::Key_Return);
    }

    QTemporaryDir runtime;
    QProcess server;
    QString serverOutput;
    quint16 port = 0;
    tessaroc::platform::HallLink hall;
    std::vector<std::unique_ptr<Client>> clients;
};

TEST_F(ChatRun, ThreeClientsChatWhisperAndSeeABubble)
{
    Client &ann = sitDown(QStringLiteral("ann"));
    Client &bob = sitDown(QStringLiteral("bob"));
    Client &cat = sitDown(QStringLiteral("cat"));
    ASSERT_TRUE(waitUntil([&] { return seated(ann, 3) && seated(bob, 3) && seated(cat, 3); }))
            << serverOutput.toStdString();

    // A public line: everybody gets it, the sender as its own line.
    type(ann, QStringLiteral("hello all"));
    ASSERT_TRUE(waitUntil([&] {
        return history(bob).contains(QStringLiteral("ann说道： hello all"))
                && history(cat).contains(QStringLiteral("ann说道： hello all"))
                && history(ann).contains(QStringLiteral("你说道： hello all"));
    })) << serverOutput.toStdString();

    // A whisper from bob to ann: ann and bob see it, cat does not.
    ASSERT_TRUE(waitUntil([&] { return bob.state().loop.ChatGate; }));
    bob.chat().Tou_Click(posOf(bob, ann));
    EXPECT_EQ(bob.form().messages.Chat->text(), QStringLiteral("你对ann说 ："));
    type(bob, QStringLiteral("just you"));
    ASSERT_TRUE(waitUntil([&] {
        return history(ann).contains(QStringLiteral("bob对你说道： just you"))
                && history(bob).contains(QStringLiteral("你对ann说道： just you"));
    })) << serverOutput.toStdString();
    // Something said after the whisper reaches cat, so cat has had its chance.
    ASSERT_TRUE(waitUntil([&] { return ann.state().loop.ChatGate; }));
    type(ann, QStringLiteral("after"));
    ASSERT_TRUE(
            waitUntil([&] { return history(cat).contains(QStringLiteral("ann说道： after")); }));
    for (const QString &line : history(cat))
        EXPECT_FALSE(line.contains(QStringLiteral("just you"))) << line.toStdString();

    // A quick phrase from cat: a bubble at cat's seat in ann's table.
    cat.chat().imgword1_Click();
    QListWidget &phrases = *cat.chat().huifu().List1;
    ASSERT_GT(phrases.count(), 0) << "chat.ini beside the program";
    phrases.setCurrentRow(0);
    cat.chat().List1_DblClick();
    const int catPos = posOf(ann, cat);
    ASSERT_TRUE(waitUntil([&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = dynamic_cast<tessaroc::chat::frmSpeakBox *>(w);
            if (box && tessaroc::chat::windowTag(*box) == tessaroc::chat::SpeakBoxTag(catPos)
                && box->labPhrase->text() == phrases.item(0)->text() && box->alpha() > 100)
                return true;
        }
        return false;
    })) << serverOutput.toStdString();

    // What ann's table looks like with the bubble, and ann's history.
    QPixmap table = ann.form().grab();
    QPainter painter(&table);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *box = dynamic_cast<tessaroc::chat::frmSpeakBox *>(w);
        if (!box || tessaroc::chat::windowTag(*box) != tessaroc::chat::SpeakBoxTag(catPos))
            continue;
        const QPoint at = box->pos() - ann.form().pos();
        painter.setOpacity(box->windowOpacity());
        painter.setClipRegion(box->mask().translated(at));
        painter.drawPixmap(at, box->grab());
    }
    painter.end();
    QLabel shot;
    shot.setPixmap(table);
    shot.resize(table.size());
    EXPECT_FALSE(tessaroc::test::grabToPng(shot, QStringLiteral("e2e_chat_bubble")).isEmpty());
    ann.chat().Lbchat_Click();
    EXPECT_FALSE(tessaroc::test::grabToPng(ann.chat().Talk(), QStringLiteral("e2e_chat_history"))
                         .isEmpty());

    EXPECT_TRUE(serverOutput.contains(QStringLiteral("whisper")));
}

} // namespace
