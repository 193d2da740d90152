#pragma once

#include "FrameBuilders.h"
#include "RecordingServices.h"

#include "chat/ChatService.h"
#include "core/CoreContext.h"
#include "core/HallService.h"
#include "core/TableState.h"
#include "items/ItemService.h"
#include "platform/Clock.h"
#include "platform/SoundDevice.h"
#include "settlement/SettlementService.h"
#include "sound/SoundService.h"
#include "table/MainForm.h"
#include "table/TableWindowService.h"
#include "wire/MsgRings.h"

#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace tessaroc::chat::test {

// A sound device that plays nothing and keeps the file name of every voice
// loaded.
struct VoiceLog final : platform::SoundDevice
{
    bool Create() override { return true; }
    std::unique_ptr<platform::SoundBuffer> CreateSoundBufferFromFile(const QString &path,
                                                                     std::uint32_t) override;
    std::vector<QString> loaded; // file names without folders
};

// The real table window at full or reduced scale, laid out and cleared, the
// chat attached to it and to a client core whose other services do nothing,
// a manual clock, and a program folder of the test's own for "chat.ini".
// Seats are filled with `seat`; the own seat bit starts as 1.
class ChatTable
{
public:
    explicit ChatTable(bool reduced = false, const QByteArray &phrasesFile = defaultPhrases());
    ~ChatTable();

    // Two pages of three phrases, GBK.
    static QByteArray defaultPhrases();

    // A seated user at a display position.
    void seat(int pos, std::uint8_t seatBit, const QString &nickname, std::uint8_t sex = 1);
    // The frames queued for sending since the last call.
    std::vector<wire::MessageFrame> sent();
    // The history's entries.
    QStringList history();
    // The history's entries read back as one line: the first entry, then
    // each continuation entry after its mark.
    QString historyAsLine();
    QString box() const { return form->messages.Chat->text(); }
    QLineEdit &chatBox() { return form->messages.Chat.widget(); }
    int hallMinimised() const;

    QTemporaryDir folder;
    core::TableState state;
    wire::MsgRings rings;
    platform::ManualClock clock;
    VoiceLog voices;
    core::HallService tableHall;
    sound::SoundService tableSound;
    items::ItemService tableItems;
    ChatService chat;
    settlement::SettlementService tableSettlement;
    std::unique_ptr<table::MainForm> form;
    std::unique_ptr<table::TableWindowService> window;
    std::unique_ptr<fakes::RecordingServices> services;
    std::unique_ptr<core::CoreContext> context;
};

using frames::chatFrame;

// Closes every speech bubble left open.
void closeSpeakBoxes();

} // namespace tessaroc::chat::test
