#include "chat/ChatService.h"

#include "chat/SpeakBox.h"
#include "core/CoreContext.h"
#include "rules/DisplayPos.h"
#include "sound/SoundFiles.h"
#include "sound/SoundService.h"
#include "table/MainForm.h"
#include "wire/ChatFrame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>

namespace tessaroc::chat {

namespace {

// The gate lets one line through per 800 ms.
constexpr int kChatGateMs = 800;
// Characters of a system line.
constexpr int kSystemLineChars = 45;
// What a received quick phrase's bubble does: top alpha, fade-in step,
// fade-out step, hold.
constexpr std::int16_t kBubbleAlpha = 210;
constexpr std::int16_t kBubbleFadeIn = 8;
constexpr std::int16_t kBubbleFadeOut = 4;
constexpr std::int16_t kBubbleHold = 2000;

// Key codes as the table's handlers count them.
constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;
constexpr int kKeyAlt = 18;
constexpr int kKeyC = 67;
constexpr int kKeyF1 = 112;
constexpr int kKeyF6 = 117;

// The windows the chat box's F1 hides besides its own, by object name.
constexpr const char *kAutoModeHides[]
        = {"Information", "frmMingXi", "VosSet", "frmExit", "Hero", "ChuPai"};

int keyCodeOf(const QKeyEvent &event)
{
    const int key = event.key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return kKeyF1 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    switch (key) {
    case Qt::Key_Backspace:
        return kKeyBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kKeyEnter;
    case Qt::Key_Alt:
        return kKeyAlt;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    default:
        return 0;
    }
}

int shiftOf(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers m = event.modifiers();
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0)
            | (m & Qt::AltModifier ? 4 : 0);
}

QString qtext(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

} // namespace

ChatService::ChatService(double timeScale)
    : timeScale_(timeScale >= 1.0 ? timeScale : 1.0)
{
    TimerChat.setInterval(std::max(1, static_cast<int>(std::lround(kChatGateMs / timeScale_))));
    connect(&TimerChat, &QTimer::timeout, this, &ChatService::TimerChat_Timer);
}

// The windows go first, while nothing of the table is reached any more.
ChatService::~ChatService()
{
    // The seats' bubbles run on the table's clock and place themselves by
    // the table window: they go with the chat rather than outlive the table.
    for (int seat = 0; seat <= 3; ++seat)
        delete FindSpeakBox(seat);
    form_ = nullptr;
    core_ = nullptr;
    chatBox_ = nullptr;
    talk_.reset();
    huifu_.reset();
}

void ChatService::attach(table::MainForm &form, core::CoreContext &core, sound::SoundService &sound)
{
    form_ = &form;
    core_ = &core;
    sound_ = &sound;

    QLineEdit &box = form.messages.Chat.widget();
    chatBox_ = &box;
    box.installEventFilter(this);
    connect(&box, &QLineEdit::textChanged, this, [this] { Chat_Change(); });

    connect(&form.messages.Lbchat, &forms::Element::Click, this, [this] { Lbchat_Click(); });
    connect(&form.area.imgword1, &forms::Element::Click, this, [this] { imgword1_Click(); });
    connect(&form.area.imgword2, &forms::Element::Click, this, [this] { imgword2_Click(); });

    // The avatars of the other seats are loaded by the seat layout, after
    // this; each is connected as it comes.
    const auto connectAvatar = [this](forms::Image &avatar) {
        const int index = avatar.Index();
        connect(&avatar, &forms::Element::Click, this, [this, index] { Tou_Click(index); });
    };
    form.seats.Tou.forEach(connectAvatar);
    form.seats.Tou.setOnLoad(connectAvatar);
}

// --- The chat box ------------------------------------------------------------

QString ChatService::boxText() const
{
    return form_ ? form_->messages.Chat->text() : QString();
}

void ChatService::setBoxText(const QString &text)
{
    if (form_)
        form_->messages.Chat->setText(text);
}

void ChatService::caretToEnd()
{
    if (form_)
        form_->messages.Chat->end(false);
}

bool ChatService::eventFilter(QObject *watched, QEvent *event)
{
    if (form_ && chatBox_ && watched == chatBox_.data()) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto &key = static_cast<const QKeyEvent &>(*event);
            const int code = keyCodeOf(key);
            if (code >= kKeyF1 && code <= kKeyF6)
                Chat_KeyDown(code, shiftOf(key));
            if (code == kKeyEnter) {
                Chat_KeyPress(kKeyEnter);
                return true;
            }
            if (code == kKeyBackspace)
                Chat_KeyPress(kKeyBackspace);
            else if (!key.text().isEmpty() && key.text()[0].isPrint())
                Chat_KeyPress(key.text()[0].unicode());
            break;
        }
        case QEvent::FocusIn:
            Chat_GotFocus();
            break;
        case QEvent::FocusOut:
            Chat_LostFocus();
            break;
        default:
            break;
        }
    } else if (talk_ && watched == talk_->Text1 && event->type() == QEvent::KeyPress) {
        Text1_KeyDown(keyCodeOf(static_cast<const QKeyEvent &>(*event)));
    }
    return QObject::eventFilter(watched, event);
}

// Runs before the box applies the key.
void ChatService::Chat_KeyPress(int keyAscii)
{
    Talk().trim();
    if (!form_ || !core_)
        return;

    if (keyAscii == kKeyEnter) {
        if (core_->state.loop.line.Spectator)
            return;
        bool &gate = core_->state.loop.ChatGate;
        if (gate) {
            // Closed before the text is looked at: an empty Enter also
            // holds the next line back.
            gate = false;
            TimerChat.start();
            sendLine(Sender::Enter, std::nullopt);
        } else if (!boxText().isEmpty()) {
            Talk().addLine(QString::fromUtf16(kTooFast));
            setBoxText(QString());
        }
        return;
    }

    if (keyAscii == kKeyBackspace && !WhisperPrefix.isEmpty()) {
        QLineEdit &box = form_->messages.Chat.widget();
        ChatSavedText = box.text();
        const int selStart = box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
        if (selStart <= WhisperPrefix.size())
            WhisperCancel = true;
    }
}

// One Backspace into the prefix ends the whisper and leaves what followed
// the prefix when the key came.
void ChatService::Chat_Change()
{
    if (!WhisperCancel)
        return;
    WhisperCancel = false;
    const qsizetype keep = std::max<qsizetype>(0, ChatSavedText.size() - WhisperPrefix.size());
    const QString rest = ChatSavedText.right(keep);
    WhisperPrefix.clear();
    ChatTarget = 0;
    ChatScratch.clear();
    setBoxText(rest);
    caretToEnd();
}

void ChatService::Chat_KeyDown(int keyCode, int)
{
    if (!core_)
        return;
    if (core_->state.gamedllstate > 0 && keyCode >= kKeyF1 && keyCode <= kKeyF6 && SetKeyDown)
        SetKeyDown(keyCode);
    if (keyCode == kKeyF1)
        enterAutoMode();
}

// F1 leaves the table to the automatic player and gets out of the way.
void ChatService::enterAutoMode()
{
    core::CoreState &state = core_->state.core;
    state.AutoMode = true;
    if (form_->frmMingXiLoaded())
        form_->frmMingXi().hide();
    HideTalk();
    HideHuifu();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        for (const char *name : kAutoModeHides) {
            if (window->objectName() == QLatin1String(name))
                window->hide();
        }
    }
    state.AutoModeKey = true;
    state.TurnSeconds = 0;
    state.TableHidden = true;
    form_->setWindowStateCode(table::MainForm::Minimized);
    core_->hall.MinimiseHall();
}

void ChatService::TimerChat_Timer()
{
    TimerChat.stop();
    if (core_)
        core_->state.loop.ChatGate = true;
}

// The one procedure of the three senders.
void ChatService::sendLine(Sender sender, const std::optional<QuickPhrase> &phrase)
{
    if (!core_)
        return;
    ChatDraft draft;
    draft.boxText = boxText();
    draft.whisperPrefix = WhisperPrefix;
    draft.chatTarget = ChatTarget;
    draft.nickname = qtext(core_->state.commands.custom[0].nickname);
    draft.ownSeat = core_->ownSeatBit();
    draft.phrase = phrase;
    if (sender == Sender::Button)
        setBoxText(QString());

    auto composed = ComposeChatLine(draft);
    if (!composed)
        return;
    WhisperPrefix.clear();
    setBoxText(QString());
    core_->rings.PendingChat = composed->pendingChat.toStdString();
    core_->SendMsg(composed->frame);
}

void ChatService::BtnChat_Click()
{
    sendLine(Sender::Button, std::nullopt);
}

void ChatService::Tou_Click(int index)
{
    if (!core_ || !form_ || !core_->state.loop.LoggedIn || index < 1 || index > 3)
        return;
    const auto seat = static_cast<std::size_t>(index);
    const QString nickname = qtext(core_->state.commands.custom[seat].nickname);
    if (nickname.isEmpty())
        return;
    const QString prefix = QStringLiteral("你对") + nickname + QStringLiteral("说 ：");
    ChatScratch = boxText();
    ChatTarget = core_->state.rules.HandRecords[seat].seatBit;
    if (!boxText().isEmpty() && ChatScratch.contains(WhisperPrefix))
        ChatScratch = ChatScratch.right(ChatScratch.size() - WhisperPrefix.size());
    WhisperPrefix = prefix;
    setBoxText(WhisperPrefix + ChatScratch);
    caretToEnd();
    form_->messages.Chat->setFocus();
}

// --- The quick phrases -------------------------------------------------------

void ChatService::phraseDblClick(int list)
{
    HuifuWindow &window = huifu();
    QListWidget &phrases = list == 2 ? *window.List2 : *window.List1;
    const int row = phrases.currentRow();
    // The phrase number travels in one byte.
    if (phrases.count() == 0 || row < 0 || row >= 255)
        return;
    QuickPhrase phrase;
    phrase.list = static_cast<std::uint8_t>(list);
    phrase.number = static_cast<std::uint8_t>(row + 1);
    phrase.text = phrases.item(row)->text();
    sendLine(Sender::Phrase, phrase);
    window.hide();
}

void ChatService::List1_DblClick()
{
    phraseDblClick(1);
}

void ChatService::List2_DblClick()
{
    phraseDblClick(2);
}

void ChatService::imgword1_Click()
{
    openPhrases(1);
}

void ChatService::imgword2_Click()
{
    openPhrases(2);
}

void ChatService::openPhrases(int page)
{
    if (Talk().isVisible())
        Talk().hide();
    HuifuWindow &window = huifu();
    if (window.isVisible()) {
        if (window.visiblePage() == page)
            window.hide();
        else
            window.showPage(page);
        return;
    }
    if (page == 2)
        window.show();
    SetFormTopmost(window, true);
    if (form_) {
        const auto &pic1 = form_->area.Pic1;
        if (!core_ || core_->state.table.scale.ScaleX >= 1.0f) {
            window.MoveTwips(pic1.Left() + form_->Left() + 0.3 * pic1.Width(),
                             pic1.Top() + form_->Top() + 0.66 * pic1.Height());
        } else {
            window.MoveTwips(pic1.Left() + form_->Left() + 0.22 * form_->Width(),
                             pic1.Top() + form_->Top() + 0.6 * form_->Height());
        }
    }
    window.showPage(page);
    window.show();
    if (page == 2) {
        window.raise();
        window.activateWindow();
    }
}

// --- The windows -------------------------------------------------------------

TalkWindow &ChatService::Talk()
{
    if (!talk_) {
        talk_ = std::make_unique<TalkWindow>();
        talk_->setObjectName(QStringLiteral("Talk"));
        talk_->Text1->installEventFilter(this);
        if (form_)
            talk_->MoveTwips(0.3 * form_->Width(), 0.66 * form_->Height());
    }
    return *talk_;
}

HuifuWindow &ChatService::huifu()
{
    if (!huifu_) {
        huifu_ = std::make_unique<HuifuWindow>();
        huifu_->setObjectName(QStringLiteral("huifu"));
        const QString folder = programFolder_.isEmpty() ? QCoreApplication::applicationDirPath()
                                                        : programFolder_;
        huifu_->fill(ReadPhrases(QDir(folder).filePath(QString::fromUtf16(kPhrasesFileName))));
        connect(huifu_->List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
        connect(huifu_->List2, &QListWidget::itemDoubleClicked, this, [this] { List2_DblClick(); });
    }
    return *huifu_;
}

void ChatService::HideTalk()
{
    Talk().hide();
}

void ChatService::HideHuifu()
{
    huifu().hide();
}

void ChatService::ClearHistory()
{
    Talk().Text1->clear();
}

void ChatService::Lbchat_Click()
{
    TalkWindow &window = Talk();
    if (window.isVisible()) {
        window.hide();
        return;
    }
    if (!form_) {
        ShowTalk(window.LeftTwips(), window.TopTwips());
        return;
    }
    // The reduced table measures from the screen's corner.
    if (core_ && core_->state.table.scale.ScaleY < 1.0f)
        ShowTalk(0.22 * form_->Width(), 0.6 * form_->Height());
    else
        ShowTalk(form_->Left() + 0.3 * form_->Width(), form_->Top() + 0.66 * form_->Height());
}

void ChatService::ShowTalk(double left, double top)
{
    TalkWindow &window = Talk();
    window.show();
    SetFormTopmost(window, true);
    window.MoveTwips(left, top);
}

bool ChatService::KeyChordStep(int keyCode)
{
    if (keyCode == kKeyAlt)
        KeyChord[0] = true;
    else if (keyCode == kKeyC)
        KeyChord[1] = true;
    else
        KeyChord = {false, false};
    if (!(KeyChord[0] && KeyChord[1]))
        return false;
    KeyChord = {false, false};
    return true;
}

void ChatService::Text1_KeyDown(int keyCode)
{
    if (KeyChordStep(keyCode))
        Talk().hide();
}

// --- Receiving ---------------------------------------------------------------

void ChatService::ReceiveChat(const wire::MessageFrame &message)
{
    if (!core_ || !form_)
        return;
    const wire::ChatFrame chat = wire::ChatFrame::decode(message);
    const QString text = qtext(chat.text);

    if ((chat.sender.raw & 0x0F) == 0) {
        if (text.startsWith(QString::fromUtf16(kItemSeriesMark)) && core_->state.gamedllstate == -1)
            return;
        const QString line = ControlsAsSpaces(text);
        Talk().addLine(line);
        form_->AddSystemMessage(LeftChars(line, kSystemLineChars));
        return;
    }

    const std::uint8_t ownSeat = core_->ownSeatBit();
    const int pos = rules::DisplayPos(chat.sender.raw & 0x0F, ownSeat);
    if (ownSeat != 0 && (chat.phraseList == 1 || chat.phraseList == 2))
        showSpeech(pos, chat.phraseList, chat.phraseNo);

    std::array<QString, 4> nicknames;
    for (std::size_t p = 0; p < 4; ++p)
        nicknames[p] = qtext(core_->state.commands.custom[p].nickname);
    const bool whisper = chat.whisperTo.raw != 0;
    const int to = rules::DisplayPos(chat.whisperTo.raw, ownSeat);
    const QString line
            = FiltChatText(ControlsAsSpaces(ChatDisplayLine(text, whisper, pos, to, nicknames)));
    Talk().addLine(line);
    form_->AddSystemMessage(LeftChars(line, kSystemLineChars));

    if (pos > 0)
        core_->slotControl().startBlink();
}

// The bubble and the voice of a quick phrase use the receiver's own list; a
// number its list does not hold, or a table window that is not in its normal
// state, shows and plays nothing.
void ChatService::showSpeech(int pos, std::uint8_t list, std::uint8_t number)
{
    HuifuWindow &window = huifu();
    const QListWidget &phrases = list == 2 ? *window.List2 : *window.List1;
    const int row = number - 1;
    const QString phrase
            = row >= 0 && row < phrases.count() ? phrases.item(row)->text() : QString();
    if (phrase.isEmpty() || form_->WindowState() != table::MainForm::Normal)
        return;

    table::MainForm *form = form_;
    core::CoreContext *core = core_;
    ShowSpeakBox(pos, core_->clock, timeScale_, [form, core] {
        const support::LayoutScale scale = core->state.table.scale;
        return SpeakBoxPlace{form->Left(), form->Top(), scale.ScaleX, scale.ScaleY};
    });
    form_->messages.Chat->setFocus();
    if (frmSpeakBox *box = FindSpeakBox(pos)) {
        box->show();
        box->showMe(static_cast<std::int16_t>(pos), phrase, kBubbleAlpha, kBubbleFadeIn,
                    kBubbleFadeOut, kBubbleHold);
    }

    if (core_->state.sound.VoiceOn && sound_) {
        const auto p = static_cast<std::size_t>(pos);
        const std::string name = sound::files::PhraseVoiceFileName(
                core_->state.table.VoiceSet[p], core_->state.commands.custom[p].sex, list, number);
        sound_->PlaySoundChannel(sound_->paths().PkSoundDir + QString::fromStdString(name), pos);
    }
}

} // namespace tessaroc::chat
