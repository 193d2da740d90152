#include "ChatFixture.h"

#include "SendRingFrames.h"

#include "app/TableWindowWiring.h"
#include "chat/SpeakBox.h"
#include "forms/Fonts.h"
#include "support/PictureIds.h"
#include "wire/GbkText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tessaroc::chat::test {

namespace {

struct SilentBuffer final : platform::SoundBuffer
{
    bool Play(bool) override { return true; }
    bool Stop() override { return true; }
    bool SetCurrentPosition(std::int64_t) override { return true; }
    bool SetVolume(int) override { return true; }
};

} // namespace

std::unique_ptr<platform::SoundBuffer> VoiceLog::CreateSoundBufferFromFile(const QString &path,
                                                                           std::uint32_t)
{
    loaded.push_back(QFileInfo(path).fileName());
    return std::make_unique<SilentBuffer>();
}

QByteArray ChatTable::defaultPhrases()
{
    const std::string gbk
            = wire::utf8ToGbk("[Phrase1]\r\nnum=3\r\n1=大家好\r\n2=快点吧\r\n3=合作愉快\r\n"
                              "[Phrase2]\r\nnum=3\r\n1=炸得好\r\n2=谢谢你\r\n3=漂亮\r\n");
    return QByteArray(gbk.data(), static_cast<qsizetype>(gbk.size()));
}

ChatTable::ChatTable(bool reduced, const QByteArray &phrasesFile)
    : tableSound(state.sound, voices)
    , services(std::make_unique<fakes::RecordingServices>())
{
    forms::installFontSubstitutions();
    if (!phrasesFile.isNull()) {
        QFile file(QDir(folder.path()).filePath(QStringLiteral("chat.ini")));
        if (file.open(QIODevice::WriteOnly))
            file.write(phrasesFile);
    }
    chat.setProgramFolder(folder.path());
    tableSound.InitSoundPaths(folder.path());
    tableSound.InitSound();

    form = std::make_unique<table::MainForm>(state, clock, tableHall);
    app::ConnectTableWindow(*form, tableSound, tableItems, chat, tableSettlement);
    window = std::make_unique<table::TableWindowService>(*form, state);
    window->PrepareStartUp();
    window->FitToScreen(reduced ? 800 * 15.0 : 1024 * 15.0, reduced ? 600 * 15.0 : 768 * 15.0);
    support::InitPictureIds(state.pictures, state.table.scale.ScaleX);
    // The socket keeps reporting itself connected.
    services->socket.closeDisconnects = false;
    context = std::make_unique<core::CoreContext>(
            services->makeContext(state, rings, clock, *window));
    chat.attach(*form, *context, tableSound);
    window->InitSeatLayout();
    window->ShowTable();
    window->InitPlayLayout();
    window->ClearTable();
    for (int pos = 0; pos < 4; ++pos)
        state.table.VoiceSet[static_cast<std::size_t>(pos)] = static_cast<std::int16_t>(pos + 1);
    state.loop.ChatGate = true;
    state.loop.LoggedIn = true;
    seat(0, 1, QStringLiteral("小明"));
}

ChatTable::~ChatTable()
{
    closeSpeakBoxes();
}

void ChatTable::seat(int pos, std::uint8_t seatBit, const QString &nickname, std::uint8_t sex)
{
    const auto p = static_cast<std::size_t>(pos);
    state.commands.custom[p].nickname = nickname.toStdString();
    state.commands.custom[p].sex = sex;
    state.rules.HandRecords[p].seatBit = seatBit;
}

std::vector<wire::MessageFrame> ChatTable::sent()
{
    return ::tessaroc::test::takeQueuedFrames(rings);
}

QStringList ChatTable::history()
{
    QStringList lines;
    QListWidget &list = *chat.Talk().Text1;
    for (int i = 0; i < list.count(); ++i)
        lines.append(list.item(i)->text());
    return lines;
}

QString ChatTable::historyAsLine()
{
    const QStringList entries = history();
    QString line;
    for (qsizetype i = 0; i < entries.size(); ++i)
        line += i == 0 ? entries[i] : entries[i].mid(1);
    return line;
}

int ChatTable::hallMinimised() const
{
    return services->hall.minimises;
}

void closeSpeakBoxes()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == QString::fromUtf16(kSpeakBoxCaption))
            delete window;
    }
}

} // namespace tessaroc::chat::test
