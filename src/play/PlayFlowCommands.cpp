// What the server's deal and play announcements ask of the play flow, in its
// least form: the cards are held where the rules and the turn clocks read
// them, and shown face up in their rows. The animations are not here yet.
#include "play/PlayFlowService.h"

#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "rules/CardCode.h"
#include "table/MainForm.h"
#include "table/TablePictures.h"
#include "wire/ReceivedFrames.h"

#include <algorithm>

namespace tessaroc::play {

namespace {

constexpr int kDealtCards = 25;
// Trick codes after which nothing is left to beat.
constexpr std::uint8_t kNothingToBeat[] = {1, 9, 10};

forms::ControlArray<forms::Image> &cardRow(table::MainForm &form, int pos)
{
    switch (pos) {
    case 1:
        return form.hands.cardImage1;
    case 2:
        return form.hands.cardImage2;
    case 3:
        return form.hands.cardImage3;
    default:
        return form.hands.cardImage0;
    }
}

} // namespace

void PlayFlowService::FaPai(const wire::MessageFrame &frame)
{
    const wire::DealFrame deal = wire::DealFrame::decode(frame);
    rules::CardRulesState &rules = c_.state.rules;
    rules::HandRecord &own = rules.ownHand();
    const auto cards = deal.cards();
    own.setCardCount(static_cast<int>(cards.size()));
    for (std::size_t i = 0; i < cards.size() && i < own.slots.size(); ++i)
        own.slots[i] = {cards[i], static_cast<std::int16_t>(i)};
    for (std::size_t p = 1; p < rules.HandRecords.size(); ++p)
        rules.HandRecords[p].setCardCount(kDealtCards);
    SortHandByFace(0, own.validCount());
}

void PlayFlowService::DiPaiAnimation(int) { }

void PlayFlowService::SortHandByFace(int p, int n)
{
    sorting_.SortHandByFace(p, n);
}

void PlayFlowService::SortHandByGroup(int p, int n)
{
    sorting_.SortHandByGroup(p, n);
}

void PlayFlowService::ShowCardPicture(int pos, int index, int pictureNo)
{
    pictures_.ShowCardPicture(pos, index, pictureNo);
}

void PlayFlowService::ShowChuPai(const wire::MessageFrame &frame)
{
    const wire::PlayedFrame played = wire::PlayedFrame::decode(frame);
    const int p = core::DisplayPos(c_, played.mover);
    if (p < 0)
        return;
    const auto cards = played.cards();
    rules::CardRulesState &rules = c_.state.rules;
    rules.prevPlay.set(played.kind, static_cast<int>(cards.size()), cards);

    if (p != 0) {
        // The seat's cards go from its hand to its play area.
        rules::HandRecord &hand = rules.HandRecords[static_cast<std::size_t>(p)];
        hand.setCardCount(std::max(0, hand.validCount() - static_cast<int>(cards.size())));
        core::PlayState &play = c_.state.play;
        auto &row = play.TableCards[static_cast<std::size_t>(p)];
        auto &previous = play.PrevTableCards[static_cast<std::size_t>(p)];
        auto &pictures = cardRow(form_, p);
        const auto hide = [&](const core::PlayState::CardPictureRow &r) {
            const int count = std::clamp<int>(r[core::PlayState::kCountColumn], 0,
                                              core::PlayState::kCountColumn);
            for (int j = 0; j < count; ++j) {
                if (forms::Image *card = pictures.find(r[static_cast<std::size_t>(j)]))
                    card->setVisible(false);
            }
        };
        hide(previous);
        hide(row);
        previous = row;
        const forms::LayoutScale s = c_.state.table.scale;
        const double left = hand.rowX;
        const double top = hand.rowY;
        for (std::size_t j = 0; j < cards.size(); ++j) {
            const int index = static_cast<int>(j);
            row[j] = static_cast<std::int16_t>(index);
            ShowCardPicture(p, index, rules::CardPictureNo(cards[j]));
            if (forms::Image *card = pictures.find(index)) {
                card->Move(left + index * s.x(18), top);
                card->setVisible(true);
                card->ZOrder(0);
            }
        }
        row[core::PlayState::kCountColumn] = static_cast<std::int16_t>(cards.size());
    }

    if (std::find(std::begin(kNothingToBeat), std::end(kNothingToBeat), played.trickCode)
        != std::end(kNothingToBeat))
        rules.prevPlay.kind = rules::KindNone;
}

} // namespace tessaroc::play
