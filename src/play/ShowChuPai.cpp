#include "play/ShowChuPai.h"

#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "play/CardPictures.h"
#include "play/Effects.h"
#include "play/Fans.h"
#include "rules/SortByGroup.h"
#include "support/CardRow.h"
#include "table/MainForm.h"
#include "table/Rounding.h"
#include "wire/ReceivedFrames.h"

#include <QTime>

#include <algorithm>
#include <limits>

namespace tessaroc::play {

namespace {

using Row = core::PlayState::CardPictureRow;
constexpr int kCount = core::PlayState::kCountColumn;
// The top seat's played row is centred here, in design pixels.
constexpr double kTopPlayOrigin = 500;

// The trick codes after which nothing is left to beat.
bool clearsPlayToBeat(int code)
{
    return code == 1 || code == 9 || code == 10;
}

bool isPicture(int e)
{
    return e >= 0 && e < rules::kMaxHandCards;
}

void countUp(std::int16_t &counter)
{
    if (counter < std::numeric_limits<std::int16_t>::max())
        ++counter;
}

} // namespace

AnnouncedPlays::AnnouncedPlays(table::MainForm &form, core::CoreContext &context,
                               CardPictures &pictures, PlayEffects &effects, BackFans &fans)
    : form_(form)
    , c_(context)
    , pictures_(pictures)
    , effects_(effects)
    , fans_(fans)
{ }

void AnnouncedPlays::placeAtOnce(int n, int pos)
{
    forms::ControlArray<forms::Image> *group = cardGroup(form_, pos);
    if (!group || pos == 0)
        return;
    const forms::LayoutScale s = c_.state.table.scale;
    const support::PlayedCards &look = support::kPlayedCards[static_cast<std::size_t>(pos)];
    const rules::HandRecord &hand = c_.state.rules.HandRecords[static_cast<std::size_t>(pos)];
    const int first = c_.state.play.BackCount[static_cast<std::size_t>(pos - 1)];
    for (int k = first; k < first + n && k < rules::kMaxHandCards; ++k) {
        forms::Image *card = group->find(hand.slots[static_cast<std::size_t>(k)].picIndex);
        if (!card)
            continue;
        card->Move(card->Left() - s.x(support::kSlideIn * look.from),
                   card->Top() - s.y(support::kSlideIn), std::nearbyint(s.x(look.width)),
                   std::nearbyint(s.y(look.height)));
        card->setVisible(true);
    }
}

void AnnouncedPlays::ShowChuPai(const wire::MessageFrame &message)
{
    const wire::PlayedFrame played = wire::PlayedFrame::decode(message);
    const int pos = core::DisplayPos(c_, played.mover);
    const int n = played.cardCount;
    const int kind = played.kind;
    const auto cards = played.cards();
    if (pos < 0 || n < 1 || n > rules::kMaxHandCards || static_cast<int>(cards.size()) != n)
        return;
    if (!std::all_of(cards.begin(), cards.end(), [](rules::CardCode code) {
            return rules::isValidFace(rules::cardFace(code));
        }))
        return;
    core::TableState &state = c_.state;
    core::PlayState &play = state.play;
    const int first = pos == 0 ? 0 : play.BackCount[static_cast<std::size_t>(pos - 1)];
    if (pos != 0 && (first < 0 || first + n > rules::kMaxHandCards))
        return;

    for (int p = 1; p <= 3; ++p)
        form_.messages.Speak(p).setVisible(false);
    play.RevealSkipPos = static_cast<std::int16_t>(pos);

    // The hand's bombs, for the settlement: six to eight of a face by face
    // and size (an ace counts under 1, a two under 2), the four jokers once.
    if (kind >= rules::KindBomb6 && kind <= rules::KindFourJokers)
        countUp(play.SeatBombCount[static_cast<std::size_t>(pos)]);
    auto &bombs = play.BombCount[static_cast<std::size_t>(pos)];
    if (kind >= rules::KindBomb6 && kind <= rules::KindBomb8) {
        const int face = rules::cardFace(cards[0]);
        const int index = face == rules::kFaceAce ? 1 : face == rules::kFaceTwo ? 2 : face;
        const int size = kind - rules::KindBomb6 + 6;
        if (index >= 0 && index < static_cast<int>(bombs.size()))
            countUp(bombs[static_cast<std::size_t>(index)]
                         [static_cast<std::size_t>(size - core::PlayState::kSmallestBomb)]);
    } else if (kind == rules::KindFourJokers) {
        bombs[0][static_cast<std::size_t>(9 - core::PlayState::kSmallestBomb)] = 1;
    }

    if (pos != 0)
        effects_.ShowBombBubble(pos, kind);
    form_.toolbar.Bank.ZOrder(0);
    rules::PrevPlay &prev = state.rules.prevPlay;
    if (clearsPlayToBeat(played.trickCode))
        prev.kind = rules::KindNone;
    effects_.reseed(static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay() / 1000));

    rules::HandRecord &hand = state.rules.HandRecords[static_cast<std::size_t>(pos)];
    if (pos != 0) {
        forms::ControlArray<forms::Image> &group = *cardGroup(form_, pos);
        const auto hide = [&](int e) {
            if (!isPicture(e))
                return;
            if (forms::Image *card = group.find(e))
                card->setVisible(false);
        };

        // The seat's play before last leaves the table; its last play goes
        // out of sight and becomes the one before.
        Row &current = play.TableCards[static_cast<std::size_t>(pos)];
        Row &previous = play.PrevTableCards[static_cast<std::size_t>(pos)];
        const int previousCount = std::clamp<int>(previous[kCount], 0, kCount);
        for (int i = 0; i < previousCount; ++i)
            hide(previous[static_cast<std::size_t>(i)]);
        const int currentCount = std::clamp<int>(current[kCount], 0, kCount);
        previous[kCount] = static_cast<std::int16_t>(currentCount);
        for (int i = 0; i < currentCount; ++i) {
            const int e = current[static_cast<std::size_t>(i)];
            if (isPicture(e)) {
                hide(e);
                previous[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(e);
            }
        }

        prev.kind = rules::toPlayKind(kind);
        prev.count = static_cast<std::int16_t>(n);
        std::int16_t &bubbleSeat = state.core.BubbleSeat;
        if (bubbleSeat >= 0 && bubbleSeat != pos) {
            if (forms::Image *bubble = form_.messages.Speak.find(bubbleSeat))
                bubble->setVisible(false);
        }
        bubbleSeat = static_cast<std::int16_t>(pos);

        // The cards face up and hidden, each at its place moved down and
        // aside by the animation's start offsets, later cards on top. The
        // side seats' plays begin where a row centred on their origin would
        // end; the top seat's is centred on 500.
        const forms::LayoutScale s = state.table.scale;
        const support::PlayedCards &look = support::kPlayedCards[static_cast<std::size_t>(pos)];
        hand.rowX = table::roundToInt16(s.x(support::playedRowOrigin(pos, n)));
        const support::CardRow row(hand.rowX, s);
        const support::CardRow topRow(s.x(kTopPlayOrigin), s);
        const double aside = s.x(support::kSlideIn * look.from);
        const double below = s.y(support::kSlideIn);
        const double width = s.x(look.width);
        for (int j = 0; j < n; ++j) {
            const rules::CardCode code = cards[static_cast<std::size_t>(j)];
            prev.cards[static_cast<std::size_t>(j)] = rules::faceAndSuit(code);
            const int w = first + j;
            const int e = hand.slots[static_cast<std::size_t>(w)].picIndex;
            current[static_cast<std::size_t>(j)] = static_cast<std::int16_t>(e);
            forms::Image *card = isPicture(e) ? group.find(e) : nullptr;
            if (!card)
                continue;
            double left;
            double top = hand.rowY;
            if (pos == 2) {
                left = topRow.left(j, n, width);
                top += s.isReduced() ? s.y(10) : -s.y(15);
            } else {
                left = row.end(n) + row.step(j, width);
            }
            card->Move(left + aside, top + below, width, s.y(look.height));
            pictures_.ShowCardPicture(pos, e, rules::CardPictureNo(code));
            card->ZOrder(0);
            card->setStretch(true);
        }
        current[kCount] = static_cast<std::int16_t>(n);
        hand.setCardCount(hand.validCount() - n);

        if (slideIn_)
            slideIn_(n, pos);
        else
            placeAtOnce(n, pos);
        rules::SortPrevPlayByGroup(prev);

        if (hand.validCount() == 0)
            fans_.HideBackFan(pos);
        std::int16_t &backCount = play.BackCount[static_cast<std::size_t>(pos - 1)];
        backCount = static_cast<std::int16_t>(backCount + n);
        if (hand.validCount() > 0) {
            effects_.PlayBombAnimation(kind);
            effects_.PlayKindSound(kind);
        }
        form_.messages.Speak(pos).ZOrder(0);
        fans_.ShowBackFan(pos);
    }

    if (hand.validCount() == 0)
        fans_.ShowHandEnd(pos);
}

} // namespace tessaroc::play
