// The own play: the rules decide (rules/JudgeChuPai), the table shows it.
#include "play/PlayFlowService.h"

#include "core/CoreContext.h"
#include "core/HandEvents.h"
#include "play/PlayedCardsAnimation.h"
#include "sound/SoundFiles.h"
#include "support/Waits.h"
#include "table/MainForm.h"
#include "table/OwnCardRow.h"
#include "wire/SentFrames.h"

#include <algorithm>
#include <span>

namespace tessaroc::play {

namespace {

constexpr std::int16_t kLastCardsWaitMs = 1000;

} // namespace

void PlayFlowService::showNotice(bool toFront)
{
    chuPai_.Show(form_.Left(), form_.Top(), form_.Width(), form_.Height(), toFront);
}

void PlayFlowService::JudgeChuPai()
{
    core::ClockState &clocks = c_.loop().clocks;
    rules::CardRulesState &rules = c_.state.rules;
    const rules::HandRecord &own = rules.ownHand();
    rules::OwnPlayInput input;
    const support::CardRow row = table::ownCardRow(c_.state);
    for (int slot = 0; slot < own.validCount(); ++slot) {
        const forms::Image *card = ownCard(own.slots[static_cast<std::size_t>(slot)].picIndex);
        input.raised[static_cast<std::size_t>(slot)] = card && row.isRaised(card->Top());
    }
    input.maySendPlay = clocks.MaySendPlay;
    // Drawn at every press, whatever the play turns out to be.
    const double random = random_ ? random_() : 0.0;
    const rules::OwnPlayDecision decision = rules::JudgeChuPai(rules, input);

    // Everything that closes the turn happens before the first wait, so a
    // press that runs inside the animation finds the turn closed and cannot
    // queue a second frame behind the play.
    const auto closeTurn = [&] {
        clocks.ClockSeconds = c_.state.core.TurnSeconds;
        clocks.HandActive = false;
        stopPlayClock();
        for (int b = 0; b <= 2; ++b) {
            if (forms::Image *button = form_.actions.Operation.find(b)) {
                button->setVisible(false);
                button->setEnabled(false);
            }
        }
    };

    switch (decision.outcome) {
    case rules::OwnPlayOutcome::Nothing:
        return;
    case rules::OwnPlayOutcome::Pass: {
        playPkEffect(sound::files::kPass, true);
        if (decision.sendFrame) {
            wire::MessageFrame frame = wire::PlayFrame::pass(c_.ownSeatBit()).encode();
            c_.SendMsg(frame);
        }
        closeTurnButtons();
        return;
    }
    case rules::OwnPlayOutcome::IllegalKind:
    case rules::OwnPlayOutcome::DoesNotBeat: {
        bool maySend = clocks.MaySendPlay;
        rules::ApplyOwnPlay(rules, maySend, decision);
        showNotice(decision.outcome == rules::OwnPlayOutcome::IllegalKind);
        return;
    }
    case rules::OwnPlayOutcome::AcceptedNotSent: {
        bool maySend = clocks.MaySendPlay;
        rules::ApplyOwnPlay(rules, maySend, decision);
        closeTurn();
        return;
    }
    case rules::OwnPlayOutcome::Sent:
        break;
    }

    closeTurn();
    const auto ids = decision.judgedIds();
    const auto count
            = static_cast<std::size_t>(std::clamp<int>(decision.count, 0, rules::kMaxHandCards));
    wire::MessageFrame frame
            = wire::PlayFrame::cards(c_.ownSeatBit(), static_cast<std::uint8_t>(decision.kind),
                                     std::span(ids.data(), count))
                      .encode();
    // The play becomes the play to beat and its cards leave the hand at once,
    // without waiting for the server's announcement.
    bool maySend = clocks.MaySendPlay;
    rules::ApplyOwnPlay(rules, maySend, decision);
    clocks.MaySendPlay = false;
    c_.SendMsg(frame);
    showOwnPlay(decision, random);
}

void PlayFlowService::showOwnPlay(const rules::OwnPlayDecision &decision, double random)
{
    const float scaleX = c_.state.table.scale.ScaleX;
    const float scaleY = c_.state.table.scale.ScaleY;
    const rules::HandRecord &own = c_.state.rules.ownHand();
    core::ApplyOwnPlayRow(c_.state, decision);
    const int n = std::clamp<int>(decision.count, 0, rules::kMaxHandCards);
    const support::PlayedCards &look = support::kPlayedCards[0];

    // The played pictures go to the own play row, hidden, each 24 pixels
    // below and to the right of its place; the animation brings them in.
    const support::CardRow played = table::ownCardRow(c_.state);
    for (int i = 0; i < n; ++i) {
        const rules::PlayedCard &card = decision.realOrder[static_cast<std::size_t>(i)];
        const int p = card.picIndex;
        if (forms::Image *picture = ownCard(p)) {
            picture->setVisible(false);
            picture->setWidth(look.width * scaleX);
            picture->setHeight(look.height * scaleX);
            picture->setTop(24.0 * scaleY + own.rowY);
            picture->setLeft(played.left(i, n, look.width) + 24 * scaleX);
            picture->setStretch(true);
            ShowCardPicture(0, p, CardPictureNo(card.code));
            picture->ZOrder(0);
        }
    }
    PlayedCardsAnimation(form_, c_.state, c_.clock, n, 0);

    // The last cards of a hand go out quietly.
    if (!decision.emptiesHand) {
        if (const int bomb = BombPicture(decision.kind, [random] { return random; }))
            effects_.ShowBomb(bomb);
        const KindSound sound = KindSoundOf(decision.kind);
        if (sound.gameFolder)
            playGameEffect(sound.file, true);
        else if (!sound.file.empty())
            playPkEffect(sound.file, true);
    }

    // The rest of the hand closes up along the row.
    const int remaining = own.validCount();
    const support::CardRow row = table::ownCardRow(c_.state);
    std::vector<forms::Image *> kept;
    for (int l = 0; l < remaining; ++l) {
        forms::Image *picture = ownCard(own.slots[static_cast<std::size_t>(l)].picIndex);
        if (!picture)
            continue;
        picture->setVisible(false);
        picture->setLeft(row.left(l, remaining, picture->Width()));
        kept.push_back(picture);
    }
    for (forms::Image *picture : kept)
        picture->setVisible(true);

    if (remaining == 0)
        support::Wait(c_.clock, kLastCardsWaitMs);
    if (c_.state.commands.SortMode == 0 && remaining > 0)
        SortHandByGroup(0, remaining);
    chuPai_.Hide();
    form_.toolbar.Bank.ZOrder(0);
}

} // namespace tessaroc::play
