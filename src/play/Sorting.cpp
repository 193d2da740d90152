#include "play/Sorting.h"

#include "core/CoreContext.h"
#include "play/CardPictures.h"
#include "rules/CardCode.h"
#include "table/MainForm.h"
#include "table/OwnCardRow.h"
#include "table/Rounding.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tessaroc::play {

namespace {

// Cards of one face a hand can hold: two packs give eight of a face.
constexpr int kMaxOfOneFace = 8;
// The other seats' rows: a fixed spacing of 22 % of an 80-pixel card.
constexpr double kOtherSpacing = 0.22 * 80;
// The origin of the top seat's row of remaining cards, in design pixels.
constexpr double kTopShownOrigin = 550;
// The reduced table moves the own row right by this much, in design pixels.
constexpr double kReducedOwnShift = 50;
// Below the right seat's row while the hand result shows, in window pixels.
constexpr double kHandOverDrop = 54;

bool goodFace(rules::CardCode code)
{
    return rules::isValidFace(rules::cardFace(code));
}

// The cards of bad faces go behind the others, in the order they had; the
// return value is the number of good cards in front.
int moveBadFacesBack(std::array<rules::HandSlot, rules::kMaxHandCards> &slots, int n)
{
    std::vector<rules::CardCode> good;
    std::vector<rules::CardCode> bad;
    for (int i = 0; i < n; ++i) {
        const rules::CardCode code = slots[static_cast<std::size_t>(i)].code;
        (goodFace(code) ? good : bad).push_back(code);
    }
    int i = 0;
    for (const rules::CardCode code : good)
        slots[static_cast<std::size_t>(i++)].code = code;
    for (const rules::CardCode code : bad)
        slots[static_cast<std::size_t>(i++)].code = code;
    return static_cast<int>(good.size());
}

// A side seat's row of n cards; a row that would begin left of the window
// moves right first (its origin is a 16-bit value).
support::CardRow sideRow(rules::HandRecord &hand, int n, forms::LayoutScale s)
{
    if (support::CardRow(hand.rowX, s).start(n) < 0)
        hand.rowX = table::roundToInt16(support::CardRow(hand.rowX, s).spread(n));
    return {static_cast<double>(hand.rowX), s};
}

} // namespace

namespace {

// The raised own cards, by code, in slot order.
std::vector<rules::CardCode> raisedCards(table::MainForm &form, const core::TableState &state)
{
    std::vector<rules::CardCode> raised;
    const support::CardRow row = table::ownCardRow(state);
    const rules::HandRecord &own = state.rules.ownHand();
    for (int i = 0; i < own.validCount(); ++i) {
        const rules::HandSlot &slot = own.slots[static_cast<std::size_t>(i)];
        const forms::Image *card = form.hands.cardImage0.find(slot.picIndex);
        if (card && row.isRaised(card->Top()))
            raised.push_back(slot.code);
    }
    return raised;
}

void raiseAgain(table::MainForm &form, const core::TableState &state,
                const std::vector<rules::CardCode> &raised)
{
    const support::CardRow row = table::ownCardRow(state);
    const rules::HandRecord &own = state.rules.ownHand();
    for (const rules::CardCode code : raised) {
        for (int j = 0; j < own.validCount(); ++j) {
            const rules::HandSlot &slot = own.slots[static_cast<std::size_t>(j)];
            if (slot.code != code)
                continue;
            if (forms::Image *card = form.hands.cardImage0.find(slot.picIndex))
                card->setTop(row.raisedTop(card->Height()));
            break;
        }
    }
}

void labelsToFront(table::MainForm &form)
{
    form.area.imgLocation.ZOrder(0);
    form.area.Location.ZOrder(0);
    form.area.imgword1.ZOrder(0);
    form.area.imgword2.ZOrder(0);
    form.toolbar.Bank.ZOrder(0);
}

void hideOwnPictures(table::MainForm &form, const rules::HandRecord &own, int n)
{
    for (int i = 0; i < n; ++i) {
        if (forms::Image *card
            = form.hands.cardImage0.find(own.slots[static_cast<std::size_t>(i)].picIndex))
            card->setVisible(false);
    }
}

// An own card laid out at slot i of a row of n cards on the hand line.
void placeOwnCard(forms::Image &card, const core::TableState &state, int i, int n)
{
    const forms::LayoutScale s = state.table.scale;
    const support::CardRow own = table::ownCardRow(state);
    const double shift = s.isReduced() ? s.x(kReducedOwnShift) : 0.0;
    const support::CardRow row(own.origin() + shift, s, own.restingTop());
    card.setLeft(row.left(i, n, card.Width()));
    card.setTop(row.restingTop());
}

} // namespace

HandSorting::HandSorting(table::MainForm &form, core::CoreContext &context, CardPictures &pictures)
    : form_(form)
    , c_(context)
    , pictures_(pictures)
{ }

void HandSorting::SortHandByFace(int pos, int n)
{
    forms::ControlArray<forms::Image> *group = cardGroup(form_, pos);
    if (!group)
        return;
    core::TableState &state = c_.state;
    const forms::LayoutScale s = state.table.scale;
    n = rules::clampCardCount(n);
    rules::HandRecord &hand = state.rules.HandRecords[static_cast<std::size_t>(pos)];
    auto &slots = hand.slots;

    state.rules.HandRecords[3].rowX = table::roundToInt16(s.x(support::kRowHomes[3].x));
    const std::vector<rules::CardCode> raised = raisedCards(form_, state);
    if (pos == 0)
        hideOwnPictures(form_, hand, n);

    const int good = moveBadFacesBack(slots, n);
    const auto code = [&](int i) -> rules::CardCode & {
        return slots[static_cast<std::size_t>(i)].code;
    };
    for (int i = 0; i < good; ++i) {
        for (int j = i + 1; j < good; ++j) {
            if (rules::cardFace(code(i)) < rules::cardFace(code(j)))
                std::swap(code(i), code(j));
        }
    }
    for (int i = 0; i < good; ++i) {
        for (int j = i + 1; j < good; ++j) {
            if (rules::cardFace(code(i)) == rules::cardFace(code(j))
                && rules::cardSuitBits(code(i)) < rules::cardSuitBits(code(j)))
                std::swap(code(i), code(j));
        }
    }

    for (int i = 0; i < n; ++i) {
        const rules::HandSlot &slot = slots[static_cast<std::size_t>(i)];
        forms::Image *card = group->find(slot.picIndex);
        if (!card)
            continue;
        if (i >= good) {
            card->setVisible(false);
            continue;
        }
        pictures_.ShowCardPicture(pos, slot.picIndex, CardPictureNo(slot.code));
        if (pos == 0) {
            placeOwnCard(*card, state, i, n);
            card->ZOrder(0);
            card->setVisible(true);
            continue;
        }
        card->setVisible(false);
        const double spacing = i * s.x(kOtherSpacing);
        switch (pos) {
        case 1:
            card->setTop(hand.rowY + s.y(10));
            card->setLeft(sideRow(hand, n, s).start(n) + spacing);
            card->setWidth(s.x(80));
            card->setHeight(s.y(108));
            break;
        case 2:
            card->setTop(hand.rowY - s.y(10));
            card->setLeft(support::CardRow(s.x(kTopShownOrigin), s).start(n) + spacing);
            card->setWidth(s.x(75));
            card->setHeight(s.y(101));
            break;
        default:
            card->setTop(state.core.HandOver ? hand.rowY + kHandOverDrop
                                             : static_cast<double>(hand.rowY));
            card->setLeft(sideRow(hand, n, s).start(n) + s.x(100) + spacing);
            card->setWidth(s.x(80));
            card->setHeight(s.y(108));
            break;
        }
        card->ZOrder(0);
        card->setVisible(true);
    }

    raiseAgain(form_, state, raised);
    labelsToFront(form_);
}

void HandSorting::SortHandByGroup(int pos, int n)
{
    if (pos != 0)
        return;
    core::TableState &state = c_.state;
    rules::HandRecord &own = state.rules.ownHand();
    auto &slots = own.slots;
    const int count = own.validCount();
    n = std::min(rules::clampCardCount(n), count);

    const std::vector<rules::CardCode> raised = raisedCards(form_, state);
    hideOwnPictures(form_, own, count);

    // Collect the cards by face, at most eight of a face; whatever cannot be
    // collected (a bad face, a ninth card of a face) goes behind the rest.
    std::array<std::vector<rules::CardCode>, rules::kFaceSlots> byFace;
    std::vector<rules::CardCode> leftOver;
    int jokers = 0;
    for (int i = 0; i < count; ++i) {
        const rules::CardCode code = slots[static_cast<std::size_t>(i)].code;
        const int face = rules::cardFace(code);
        auto &cards = byFace[static_cast<std::size_t>(goodFace(code) ? face : 0)];
        if (!goodFace(code) || static_cast<int>(cards.size()) >= kMaxOfOneFace) {
            leftOver.push_back(code);
            continue;
        }
        cards.push_back(code);
        if (face >= rules::kFaceSmallJoker)
            ++jokers;
    }
    std::size_t largest = 0;
    for (int f = rules::kLowestFace; f <= rules::kFaceTwo; ++f)
        largest = std::max(largest, byFace[static_cast<std::size_t>(f)].size());

    // A hand without a face from 3 to 2 (nothing but jokers) keeps its order.
    if (largest > 0) {
        std::vector<rules::CardCode> order;
        for (std::size_t c = largest; c >= 1; --c) {
            if (c == 1) {
                for (int f = rules::kFaceBigJoker; f >= rules::kFaceSmallJoker; --f) {
                    const auto &cards = byFace[static_cast<std::size_t>(f)];
                    order.insert(order.end(), cards.begin(), cards.end());
                }
            }
            for (int f = rules::kFaceTwo; f >= rules::kLowestFace; --f) {
                const auto &cards = byFace[static_cast<std::size_t>(f)];
                if (cards.size() == c)
                    order.insert(order.end(), cards.begin(), cards.end());
            }
        }
        order.insert(order.end(), leftOver.begin(), leftOver.end());
        for (std::size_t i = 0; i < order.size() && i < slots.size(); ++i)
            slots[i].code = order[i];
        // One pass over neighbours, from past as many slots as there are
        // jokers: the higher suit of a face goes first.
        for (int j = jokers; j + 1 < count; ++j) {
            rules::CardCode &a = slots[static_cast<std::size_t>(j)].code;
            rules::CardCode &b = slots[static_cast<std::size_t>(j + 1)].code;
            if (rules::cardFace(a) == rules::cardFace(b)
                && rules::cardSuitBits(a) < rules::cardSuitBits(b))
                std::swap(a, b);
        }
    }

    for (int i = 0; i < n; ++i) {
        const rules::HandSlot &slot = slots[static_cast<std::size_t>(i)];
        forms::Image *card = form_.hands.cardImage0.find(slot.picIndex);
        if (!card)
            continue;
        card->setVisible(false);
        if (!goodFace(slot.code))
            continue;
        pictures_.ShowCardPicture(0, slot.picIndex, CardPictureNo(slot.code));
        placeOwnCard(*card, state, i, n);
        card->ZOrder(0);
        card->setVisible(true);
    }

    raiseAgain(form_, state, raised);
    labelsToFront(form_);
}

} // namespace tessaroc::play
