#pragma once

#include "core/TableState.h"
#include "rules/CardCode.h"
#include "rules/JudgeChuPai.h"
#include "wire/ReceivedFrames.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

// The state half of the hand's server events. The dispatcher decodes a frame,
// finds the seat's display position and hands both to one of the Apply
// functions below, which writes the hand's state (the seats' play rows, the
// bombs, the cards played and left, the play to beat of an announced play,
// the hints forgotten) and returns what changed. The dispatcher, the table
// window and the play flow then only draw that change. Nothing here draws,
// waits or sounds, and nothing else writes the trick's rows, bombs and cards
// played (TableState's PlayState part).
namespace tessaroc::core {

// The own cards of a hand-start deal.
struct DealtHand
{
    // False when the frame deals no hand (another form, a face outside
    // 3..17): nothing changed.
    bool dealt = false;
    int rowCount = 0; // the own row is centred for this many cards; 33 shows them at once
    // The decoded frame's cards (valid while it is): own slot i and picture i
    // each.
    std::span<const rules::CardCode> cards;
};

// A hand-start deal: the own cards in the order dealt, each shown by the
// picture of its slot; every other seat holds 25 backs.
DealtHand ApplyDeal(TableState &state, const wire::DealFrame &deal);
// The change points into the frame: a frame that dies with the call would
// leave it pointing nowhere.
DealtHand ApplyDeal(TableState &state, const wire::DealFrame &&deal) = delete;

// The landlord's own client adds the bottom cards itself: they take the own
// slots after the 25 dealt ones, each shown by the picture of its slot. The
// hand then holds 33 cards. Returns the slots filled, from slot 25 on.
std::span<const rules::HandSlot> ApplyOwnBottomCards(TableState &state,
                                                     const wire::DealFrame &deal);

// The seat at display position pos calls and becomes the landlord. Another
// seat's hand grows by the eight bottom cards, shown by the last eight
// pictures of its row; the own bottom cards come with the bottom-card deal.
void ApplyLandlord(TableState &state, int pos);

// What a played frame's trick code means for the table.
struct TrickCode
{
    bool clearsTable = false; // 1, 10: every seat's current play leaves the table
    bool pausesBeforeClear = false; // 10: the last play stays in sight a moment first
    bool endsPlayToBeat = false; // 1, 9, 10: nothing is left to beat
    bool opensOwnButtons = false; // below 10: the own turn shows its buttons
    bool ownLeads = false; // 1: the own turn leads, so it cannot pass

    bool operator==(const TrickCode &) const = default;
};
constexpr TrickCode TrickCodeRules(std::uint8_t code)
{
    constexpr std::uint8_t kTrickOpens = 1; // the table is cleared, the next seat leads
    constexpr std::uint8_t kTrickEndsNoBeat = 9; // shown, but nothing left to beat
    constexpr std::uint8_t kTrickOpensAfterPause = 10;
    TrickCode trick;
    trick.clearsTable = code == kTrickOpens || code == kTrickOpensAfterPause;
    trick.pausesBeforeClear = code == kTrickOpensAfterPause;
    trick.endsPlayToBeat = trick.clearsTable || code == kTrickEndsNoBeat;
    trick.opensOwnButtons = code < kTrickOpensAfterPause;
    trick.ownLeads = code == kTrickOpens;
    return trick;
}

// A picture index of a seat's row: 0..32.
constexpr bool isCardPicture(int k)
{
    return k >= 0 && k < rules::kMaxHandCards;
}

// Card pictures of one seat's row that leave the table, in the order they go:
// the picture indexes 0..32 a play row names among its counted entries.
struct HiddenPictures
{
    // Entries past the count are left as they were: a played frame fills
    // several of these, and nothing reads past the count.
    std::array<std::int16_t, 2 * rules::kMaxHandCards> index;
    int count = 0;

    std::span<const std::int16_t> pictures() const
    {
        return std::span(index).first(static_cast<std::size_t>(count));
    }
    void add(int k)
    {
        if (isCardPicture(k) && count < static_cast<int>(index.size()))
            index[static_cast<std::size_t>(count++)] = static_cast<std::int16_t>(k);
    }
    void addRow(const PlayState::CardPictureRow &row)
    {
        const int n = std::clamp<int>(row[PlayState::kCountColumn], 0, PlayState::kCountColumn);
        for (int j = 0; j < n; ++j)
            add(row[static_cast<std::size_t>(j)]);
    }
};

// The pictures a play row shows.
inline HiddenPictures RowPictures(const PlayState::CardPictureRow &row)
{
    HiddenPictures hidden;
    hidden.addRow(row);
    return hidden;
}

// What a passing seat takes off the table: its last play, unless that row
// counts a whole hand.
inline HiddenPictures PassedRow(const PlayState &play, int pos)
{
    if (pos < 0 || pos > 3)
        return {};
    const PlayState::CardPictureRow &row = play.TableCards[static_cast<std::size_t>(pos)];
    if (row[PlayState::kCountColumn] >= PlayState::kCountColumn)
        return {};
    return RowPictures(row);
}

// A seat's play before last leaves the table and its last play goes out of
// sight, becoming the one before: as a seat plays, as the own turn comes, and
// as the hand's results take the plays off the table.
HiddenPictures RetireRow(PlayState &play, int pos);

// A seat's announced play with cards, the own one included.
struct AnnouncedPlay
{
    // False when no hand can bring the frame (more than 33 cards, a face
    // outside 3..17, a play past the seat's 33 slots): nothing changed.
    bool shown = false;
    int pos = -1; // display position of the seat that played
    int kind = rules::KindNone; // as announced
    int count = 0;
    std::span<const rules::CardCode> cards; // the decoded frame's (valid while it is)
    // Another seat's play: per card the picture of the seat's row that shows
    // it (the seat's hand slots from the cards it played before on); entries
    // past the count are left as they were.
    std::array<std::int16_t, rules::kMaxHandCards> pictures;
    // Another seat's play: its play before last leaves the table, then its
    // last play, which becomes the one before.
    HiddenPictures retired;
    int bubbleHidden = -1; // another seat's play: the bubble at this position goes
    bool handEmpty = false; // the seat holds no card any more
    // Another seat's play while the hands lie open (BidRowOn): its pictures
    // are counted down from the seat's fan count, and its cards came out of
    // the seat's open hand.
    bool openHand = false;
};

// Counts the play's bombs for the settlement (six to eight of a face by face
// and size, the four jokers once) and notes the seat as the last to play.
// Another seat's play also becomes the play to beat (in group order, without
// card ids) and the bubble seat, takes its cards out of the seat's hand
// (counting them played) and retires the seat's rows. While the hands lie
// open (BidRowOn) each card also leaves the seat's open hand: the first slot
// holding its whole code (card id included) goes and the codes after it move
// down. The own play was taken out of the hand when it was sent.
AnnouncedPlay ApplyAnnouncedPlay(TableState &state, const wire::PlayedFrame &played, int pos);
// The change points into the frame's cards, which must outlive it.
AnnouncedPlay ApplyAnnouncedPlay(TableState &state, const wire::PlayedFrame &&played,
                                 int pos) = delete;

// The own turn after a played frame.
struct OwnTurnOpened
{
    HiddenPictures retired; // the own play before last, then the last own play
    bool showButtons = false; // the action buttons come up
    bool lead = false; // play and hint only
};

// The own seat's rows retire as another seat's do when it plays; a turn whose
// buttons come up forgets the hints of the last one.
OwnTurnOpened ApplyOwnTurn(TableState &state, const TrickCode &trick);

// The own play just sent becomes the own seat's current play: the pictures
// of its cards in judged order.
void ApplyOwnPlayRow(TableState &state, const rules::OwnPlayDecision &decision);

// The table cleared for the next hand: no play on the table, no bombs, no
// cards played, nothing to beat, the bubble seat back at the own seat.
void ClearTricks(TableState &state);

// The end of a played frame: a trick code that ends the trick leaves nothing
// to beat.
inline void ApplyTrickEnd(TableState &state, const TrickCode &trick)
{
    if (trick.endsPlayToBeat)
        state.rules.prevPlay.kind = rules::KindNone;
}

} // namespace tessaroc::core
