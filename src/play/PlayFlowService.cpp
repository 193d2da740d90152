#include "play/PlayFlowService.h"

#include "chat/ChatService.h"
#include "core/CoreContext.h"
#include "sound/SoundFiles.h"
#include "sound/SoundService.h"
#include "table/HoverPictures.h"
#include "table/MainForm.h"
#include "table/OwnCardRow.h"
#include "table/TablePictures.h"

#include <random>

namespace tessaroc::play {

PlayFlowService::PlayFlowService(table::MainForm &form, core::CoreContext &context,
                                 const PlaySubsystems &subsystems)
    : form_(form)
    , c_(context)
    , subsystems_(subsystems)
    , pictures_(form, context)
    , sorting_(form, context, pictures_)
    , deal_(form, context, pictures_, sorting_)
    , effects_(form, context)
    , fans_(form, context)
    , announced_(form, context, pictures_, effects_, fans_)
    // The context may still be under construction (the program builds it
    // after the services it names): what is kept from now on comes from the
    // table window, which is built.
    , chuPai_(form.clock())
    , tableWindows_(std::make_unique<TablePlayWindows>(form, form.tableState(), subsystems))
    , windows_(tableWindows_.get())
{
    auto engine = std::make_shared<std::mt19937_64>(std::random_device{}());
    random_ = [engine] {
        return std::uniform_real_distribution<double>(0.0, 1.0)(*engine);
    };
    connectInput();
}

PlayFlowService::~PlayFlowService() = default;

forms::Image *PlayFlowService::ownCard(int picIndex) const
{
    return picIndex >= 0 ? form_.hands.cardImage0.find(picIndex) : nullptr;
}

void PlayFlowService::LowerOwnCard(int picIndex)
{
    forms::Image *card = ownCard(picIndex);
    const support::CardRow row = table::ownCardRow(c_.state);
    if (card && row.isRaised(card->Top()))
        card->setTop(row.restingTop());
}

void PlayFlowService::RaiseOwnCard(int picIndex)
{
    if (forms::Image *card = ownCard(picIndex))
        card->setTop(table::ownCardRow(c_.state).raisedTop(card->Height()));
}

void PlayFlowService::lowerRaisedCards()
{
    const rules::HandRecord &own = c_.state.rules.ownHand();
    for (int i = 0; i < own.validCount(); ++i)
        LowerOwnCard(own.slots[static_cast<std::size_t>(i)].picIndex);
}

void PlayFlowService::playEffect(const QString &path, bool unlessMinimised)
{
    if (!c_.state.sound.EffectsOn)
        return;
    if (unlessMinimised && c_.window.IsMinimised())
        return;
    c_.sound.PlaySoundFile(path, false);
    c_.sound.SetSoundVolume(sound::SoundService::kFullVolume);
}

void PlayFlowService::playPkEffect(std::string_view file, bool unlessMinimised)
{
    playEffect(subsystems_.sound.paths().PkSoundDir
                       + QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size())),
               unlessMinimised);
}

void PlayFlowService::playGameEffect(std::string_view file, bool unlessMinimised)
{
    playEffect(subsystems_.sound.paths().GameSoundDir
                       + QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size())),
               unlessMinimised);
}

void PlayFlowService::stopPlayClock()
{
    c_.slotControl().stopPlayClock();
    form_.turn.Number.setVisible(false);
    form_.turn.Time_Img.setVisible(false);
}

void PlayFlowService::resetActionButtons()
{
    const auto &pictures = c_.state.pictures.OperationPic;
    for (int b = 0; b <= 2; ++b) {
        if (forms::Image *button = form_.actions.Operation.find(b)) {
            button->setEnabled(false);
            table::loadPicture(*button, pictures[static_cast<std::size_t>(3 * b)]);
        }
    }
}

void PlayFlowService::closeTurnButtons()
{
    stopPlayClock();
    c_.loop().clocks.HandActive = false;
    for (int b = 0; b <= 2; ++b) {
        if (forms::Image *button = form_.actions.Operation.find(b))
            button->setVisible(false);
    }
    resetActionButtons();
}

// A click on a table mate's portrait starts a whisper to that seat.
void PlayFlowService::Tou_Click(int seat)
{
    subsystems_.chat.Tou_Click(seat);
}

// The pointer over a seat shows its player card.
void PlayFlowService::Tou_MouseMove(int seat)
{
    form_.hover().Tou_MouseMove(seat);
}

} // namespace tessaroc::play
