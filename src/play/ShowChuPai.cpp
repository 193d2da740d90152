#include "play/ShowChuPai.h"

#include "core/CoreContext.h"
#include "core/HandEvents.h"
#include "play/CardPictures.h"
#include "play/Effects.h"
#include "play/Fans.h"
#include "play/PlayedCardsAnimation.h"
#include "support/CardRow.h"
#include "table/MainForm.h"
#include "table/Rounding.h"

#include <QTime>

namespace tessaroc::play {

namespace {

// The top seat's played row is centred here, in design pixels.
constexpr double kTopPlayOrigin = 500;
// An open hand's played cards are spaced as cards of this width, in design
// pixels, and lie lower than those coming from the backs: the side seats'
// by kOpenHandDrop, the top seat's by its own drop at each scale.
constexpr double kOpenHandCardWidth = 80;
constexpr double kOpenHandDrop = 25;
constexpr double kOpenHandTopDropReduced = 30;
constexpr double kOpenHandTopDropFull = 15;

} // namespace

AnnouncedPlays::AnnouncedPlays(table::MainForm &form, core::CoreContext &context,
                               CardPictures &pictures, PlayEffects &effects, BackFans &fans)
    : form_(form)
    , c_(context)
    , pictures_(pictures)
    , effects_(effects)
    , fans_(fans)
{ }

void AnnouncedPlays::ShowChuPai(const core::AnnouncedPlay &play)
{
    if (!play.shown)
        return;
    const int pos = play.pos;
    const int n = play.count;
    const int kind = play.kind;

    for (int p = 1; p <= 3; ++p)
        form_.messages.Speak(p).setVisible(false);
    if (pos != 0)
        effects_.ShowBombBubble(pos, kind);
    form_.toolbar.Bank.ZOrder(0);
    effects_.reseed(static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay() / 1000));

    if (pos != 0) {
        forms::ControlArray<forms::Image> &group = *cardGroup(form_, pos);
        for (std::int16_t e : play.retired.pictures()) {
            if (forms::Image *card = group.find(e))
                card->setVisible(false);
        }
        if (play.bubbleHidden >= 0) {
            if (forms::Image *bubble = form_.messages.Speak.find(play.bubbleHidden))
                bubble->setVisible(false);
        }
        layOut(play);
        if (play.openHand) {
            openHandSlideIn(play);
            PlayedCardsAnimationOthers(form_, c_.state, c_.clock, n, pos);
        } else {
            PlayedCardsAnimation(form_, c_.state, c_.clock, n, pos);
        }
        if (play.handEmpty) {
            fans_.HideBackFan(pos);
        } else {
            effects_.PlayBombAnimation(kind);
            effects_.PlayKindSound(kind);
        }
        form_.messages.Speak(pos).ZOrder(0);
        fans_.ShowBackFan(pos);
    }

    if (play.handEmpty)
        fans_.ShowHandEnd(pos);
}

void AnnouncedPlays::layOut(const core::AnnouncedPlay &play)
{
    // The cards face up and hidden, each at its place moved down and aside
    // by the animation's start offsets, later cards on top. The side seats'
    // plays begin where a row centred on their origin would end; the top
    // seat's is centred on 500.
    const int pos = play.pos;
    const int n = play.count;
    forms::ControlArray<forms::Image> &group = *cardGroup(form_, pos);
    rules::HandRecord &hand = c_.state.rules.HandRecords[static_cast<std::size_t>(pos)];
    const forms::LayoutScale s = c_.state.table.scale;
    const support::PlayedCards &look = support::kPlayedCards[static_cast<std::size_t>(pos)];
    hand.rowX = table::roundToInt16(s.x(support::playedRowOrigin(pos, n)));
    const support::CardRow row(hand.rowX, s);
    const support::CardRow topRow(s.x(kTopPlayOrigin), s);
    const double aside = s.x(support::kSlideIn * look.from);
    const double below = s.y(support::kSlideIn);
    const double width = s.x(look.width);
    const double spacing = play.openHand ? kOpenHandCardWidth : width;
    for (int j = 0; j < n; ++j) {
        const int e = play.pictures[static_cast<std::size_t>(j)];
        forms::Image *card = core::isCardPicture(e) ? group.find(e) : nullptr;
        if (!card)
            continue;
        if (play.openHand)
            card->setVisible(false);
        double left;
        double top = hand.rowY;
        if (pos == 2) {
            left = topRow.left(j, n, spacing);
            if (play.openHand)
                top += s.y(s.isReduced() ? kOpenHandTopDropReduced : kOpenHandTopDropFull);
            else
                top += s.isReduced() ? s.y(10) : -s.y(15);
        } else {
            left = row.end(n) + row.step(j, spacing);
            if (play.openHand)
                top += s.y(kOpenHandDrop);
        }
        card->Move(left + aside, top + below, width, s.y(look.height));
        pictures_.ShowCardPicture(pos, e, CardPictureNo(play.cards[static_cast<std::size_t>(j)]));
        card->ZOrder(0);
        card->setStretch(true);
    }
}

void AnnouncedPlays::openHandSlideIn(const core::AnnouncedPlay &play)
{
    // The open hand's slide-in takes the row's pictures from the seat's
    // card count on, the play's slots once the hand has given them up; each
    // goes back by the slide-in's start offsets and comes to the front.
    const int pos = play.pos;
    forms::ControlArray<forms::Image> &group = *cardGroup(form_, pos);
    const forms::LayoutScale s = c_.state.table.scale;
    const support::PlayedCards &look = support::kPlayedCards[static_cast<std::size_t>(pos)];
    const double aside = s.x(support::kSlideIn * look.from);
    const double below = s.y(support::kSlideIn);
    const int kept = c_.state.rules.HandRecords[static_cast<std::size_t>(pos)].validCount();
    for (int e = kept + play.count - 1; e >= kept; --e) {
        forms::Image *card = core::isCardPicture(e) ? group.find(e) : nullptr;
        if (!card)
            continue;
        card->ZOrder(0);
        card->setStretch(true);
        card->Move(card->Left() + aside, card->Top() + below);
    }
}

} // namespace tessaroc::play
