#pragma once

#include "chat/ChatPhrases.h"
#include "chat/ChatText.h"
#include "chat/ChatWindows.h"
#include "wire/MessageFrame.h"

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace tessaroc::core {
struct CoreContext;
}
namespace tessaroc::sound {
class SoundService;
}
namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::chat {

// The table's chat: the chat box and its flood gate, whispers, the quick
// phrases, the history, the receiver with its word filter and the speech
// bubbles.
//
// The program builds the service before the table window and the play flow
// (which holds a reference to it) and attaches it to the window and the core
// once both stand. Until then, and in windows built without a chat, the members touch
// only the chat's own windows and send nothing.
class ChatService : public QObject
{
public:
    // `timeScale` makes the flood gate's timer and the bubbles' fade run that
    // many times faster, as the program's clock does.
    explicit ChatService(double timeScale = 1.0);
    ~ChatService() override;

    void attach(table::MainForm &form, core::CoreContext &core, sound::SoundService &sound);
    // The folder "chat.ini" is read from; the program's own by default.
    void setProgramFolder(const QString &folder) { programFolder_ = folder; }

    // What the table window's events and the toolbar ask of the chat.
    virtual void HideTalk();
    virtual void HideHuifu();
    // Leaving the table: the history list Text1 of Talk emptied.
    virtual void ClearHistory();
    // The toolbar's send button: the typed-line send without the flood gate
    // and without the spectator test.
    void BtnChat_Click();
    // The history window's label (and the toolbar's history button): shows or
    // hides the history.
    void Lbchat_Click();
    // The history shown top-most at a place in screen twips (the table's
    // Alt and C chord shows it so), and whether it is showing.
    void ShowTalk(double left, double top);
    bool TalkVisible() const { return talk_ && talk_->isVisible(); }
    // Starts a whisper to the seat at a display position (1..3).
    void Tou_Click(int index);
    // Alt then C (or C then Alt) with nothing else between: true once both
    // keys of the chord are in; the caller then acts. Shared by the history
    // list and the table.
    bool KeyChordStep(int keyCode);

    // The chat box's events.
    void Chat_KeyPress(int keyAscii);
    void Chat_Change();
    void Chat_KeyDown(int keyCode, int shift);
    void Chat_GotFocus() { ChatHasFocus = true; }
    void Chat_LostFocus() { ChatHasFocus = false; }
    void TimerChat_Timer();

    // The two phrase buttons of the table.
    void imgword1_Click();
    void imgword2_Click();

    // A double-click on a phrase of either page.
    void List1_DblClick();
    void List2_DblClick();

    // The history window's key handler.
    void Text1_KeyDown(int keyCode);

    // Every chat line from the server that is not item traffic.
    void ReceiveChat(const wire::MessageFrame &message);

    // The two windows, loaded on first use; loading the phrase window reads
    // the phrases.
    TalkWindow &Talk();
    HuifuWindow &huifu();
    bool talkLoaded() const { return talk_ != nullptr; }
    bool huifuLoaded() const { return huifu_ != nullptr; }

    // The item library's key forwarding (F1 to F6) while it runs.
    std::function<void(int)> SetKeyDown;

    // The chat state.
    QString WhisperPrefix;
    std::uint8_t ChatTarget = 0;
    QString ChatScratch;
    QString ChatSavedText;
    bool WhisperCancel = false;
    bool ChatHasFocus = false;
    std::array<bool, 2> KeyChord{};
    QTimer TimerChat;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Sender { Enter, Button, Phrase };
    void sendLine(Sender sender, const std::optional<QuickPhrase> &phrase);
    void phraseDblClick(int list);
    void showSpeech(int pos, std::uint8_t list, std::uint8_t number);
    void enterAutoMode();
    void openPhrases(int page);
    QString boxText() const;
    void setBoxText(const QString &text);
    void caretToEnd();

    double timeScale_;
    QString programFolder_;
    table::MainForm *form_ = nullptr;
    core::CoreContext *core_ = nullptr;
    sound::SoundService *sound_ = nullptr;
    // Held as an object only: the box sends its filter events (its focus
    // going) while it is being destroyed, when it is no line edit any more.
    QPointer<QObject> chatBox_;
    std::unique_ptr<TalkWindow> talk_;
    std::unique_ptr<HuifuWindow> huifu_;
};

} // namespace tessaroc::chat
