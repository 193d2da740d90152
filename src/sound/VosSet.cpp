#include "sound/VosSet.h"

#include "core/TableState.h"
#include "sound/SoundService.h"
#include "support/PictureStore.h"

namespace tessaroc::sound {

namespace {

// Entries of the dialog button pictures.
constexpr int kOkPicture = 0;
constexpr int kCancelPicture = 2;
constexpr int kSwitchOffPicture = 4; // reads "关闭"
constexpr int kSwitchOnPicture = 5; // reads "开启"
constexpr int kBluePicture = 6; // reads "蓝底"
constexpr int kGreenPicture = 7; // reads "绿底"

constexpr double kButtonWidth = 65;
constexpr double kButtonHeight = 30;

} // namespace

VosSetHost::~VosSetHost() = default;

VosSet::VosSet(core::TableState &state, SoundService &sound, VosSetHost &host,
               const QString &ownRecordText, QWidget *parent)
    : forms::PopupWindow(Options{true, true}, parent)
    , Image1(this)
    , Command2(this)
    , Command1(this)
    , state_(state)
    , sound_(sound)
    , host_(host)
{
    setObjectName(QStringLiteral("VosSet"));
    setWindowTitle(QStringLiteral("音效设置"));
    setPicture(support::PictureStore::designPicture(u"dialog_sound"), 0);
    setFixedSize(picture().isNull() ? QSize(220, 330) : picture().size());
    for (int row = 0; row < kRows; ++row) {
        forms::Image &label = Image1.Load(row);
        label.setStretch(true);
        label.setPicture(
                support::PictureStore::designPicture(QStringLiteral("sound_label_%1").arg(row)), 0);
        label.Move(16, 40 + 56 * row, 91, 35);
        label.setVisible(true);
    }
    Command1.Load(1);
    Command2.Load(1);
    Command2.Load(2);
    Command2.Load(3);
    const auto clickable = [](forms::ControlArray<forms::Image> &buttons, auto handler) {
        buttons.forEach([handler](forms::Image &button) {
            QObject::connect(&button, &forms::Element::Click, &button,
                             [handler, &button] { handler(button.Index()); });
        });
    };
    clickable(Command2, [this](int index) { Command2_Click(index); });
    clickable(Command1, [this](int index) { Command1_Click(index); });
    Form_Load(ownRecordText);
}

// The buttons take their pictures and places, and nothing is pending. The
// switch rows show the action that suits each switch as it stands, so that a
// window loaded again after an unload never offers to switch on what is
// already on; the colour row keeps its own rule.
void VosSet::Form_Load(const QString &ownRecordText)
{
    const std::pair<int, int> dialogButtons[] = {{0, kOkPicture}, {1, kCancelPicture}};
    for (auto [index, picture] : dialogButtons) {
        forms::Image &button = Command1(index);
        button.setStretch(true);
        support::LoadGifResource(
                support::pictureId(
                        state_.pictures.DialogButtonPic[static_cast<std::size_t>(picture)]),
                u"GIF", &button);
        button.setWidth(kButtonWidth);
        button.setHeight(kButtonHeight);
    }
    Command1(0).Move(28, 264);
    Command1(1).Move(Command1(0).Left() + Command1(0).Width() * 1.4, Command1(0).Top());
    Command1(1).setVisible(true);

    for (int row = 0; row < kRows; ++row) {
        RowPending[static_cast<std::size_t>(row)] = false;
        forms::Image &button = Command2(row);
        button.setStretch(true);
        const forms::Image &label = Image1(row);
        button.Move(label.Left() + label.Width() + 20, label.Top() + 3, kButtonWidth,
                    kButtonHeight);
        button.setVisible(true);
        if (row == Colour)
            setButtonPicture(row,
                             ownRecordText == QStringLiteral("00") ? kBluePicture : kGreenPicture);
        else
            showButton(row);
    }
}

void VosSet::Command2_Click(int Index)
{
    if (Index < 0 || Index >= kRows)
        return;
    RowPending[static_cast<std::size_t>(Index)] = !RowPending[static_cast<std::size_t>(Index)];
    switchRow(Index);
}

void VosSet::Command1_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    hide();
    if (Index == 1) {
        for (int row = 0; row < kRows; ++row) {
            if (RowPending[static_cast<std::size_t>(row)])
                switchRow(row);
        }
    }
    RowPending.fill(false);
}

void VosSet::switchRow(int row)
{
    core::SoundSwitches &switches = state_.sound;
    switch (row) {
    case Music:
        switches.MusicOn = !switches.MusicOn;
        if (switches.MusicOn) {
            sound_.PlaySoundFile(sound_.paths().SoundTable[1], true);
            sound_.SetSoundVolume(SoundService::kFullVolume);
        } else {
            sound_.StopSound();
        }
        break;
    case Effects:
        switches.EffectsOn = !switches.EffectsOn;
        break;
    case Voice:
        switches.VoiceOn = !switches.VoiceOn;
        break;
    case Colour:
        // The reduced table has its own small picture; the colour row leaves
        // it alone.
        if (!fullScale())
            return;
        switches.TableColour = !switches.TableColour;
        host_.redrawTable(switches.TableColour);
        break;
    default:
        return;
    }
    showButton(row);
    // The item library hears the game sounds' switch whenever the voices are
    // switched.
    if (row == Voice && state_.gamedllstate > 0)
        host_.reportSoundState(switches.EffectsOn);
}

void VosSet::showButton(int row)
{
    const core::SoundSwitches &switches = state_.sound;
    switch (row) {
    case Music:
        setButtonPicture(row, switches.MusicOn ? kSwitchOffPicture : kSwitchOnPicture);
        break;
    case Effects:
        setButtonPicture(row, switches.EffectsOn ? kSwitchOffPicture : kSwitchOnPicture);
        break;
    case Voice:
        setButtonPicture(row, switches.VoiceOn ? kSwitchOffPicture : kSwitchOnPicture);
        break;
    case Colour:
        setButtonPicture(row, switches.TableColour ? kGreenPicture : kBluePicture);
        break;
    default:
        break;
    }
}

void VosSet::setButtonPicture(int row, int dialogPicture)
{
    forms::Image &button = Command2(row);
    support::LoadGifResource(
            support::pictureId(
                    state_.pictures.DialogButtonPic[static_cast<std::size_t>(dialogPicture)]),
            u"GIF", &button);
    button.setWidth(kButtonWidth);
    button.setHeight(kButtonHeight);
}

bool VosSet::fullScale() const
{
    return state_.table.scale.ScaleX == 1.0f;
}

} // namespace tessaroc::sound
