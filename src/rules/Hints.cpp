#include "rules/Hints.h"

#include "rules/PrevPlay.h"

#include <algorithm>

namespace tessaroc::rules {

namespace {

inline constexpr int kLargestGroup = 8; // eight cards of a face: both packs

// Inside a chain or plane the value 2 stands for the twos, below the threes.
// Values below 2 name no face and hold no cards.
int chainFace(int value)
{
    return value == 2 ? kFaceTwo : value;
}

// The own hand counted by face, with the cards of each face in slot order.
// Every candidate takes the first g cards of a face from here; for a hand
// kept in face order these are the g slots from the face's first slot on.
class FaceTally
{
public:
    explicit FaceTally(const HandRecord &hand)
    {
        const int n = hand.validCount();
        for (int i = 0; i < n; ++i) {
            const int face = cardFace(hand.slots[i].code);
            if (isValidFace(face))
                ++count_[face];
        }
        std::array<int, kFaceSlots> next{};
        int start = 0;
        for (int face = kLowestFace; face <= kHighestFace; ++face) {
            start_[face] = next[face] = start;
            start += count_[face];
        }
        for (int i = 0; i < n; ++i) {
            const int face = cardFace(hand.slots[i].code);
            if (isValidFace(face))
                byFace_[next[face]++] = hand.slots[i].code;
        }
    }

    int count(int face) const { return isValidFace(face) ? count_[face] : 0; }
    CardCode card(int face, int k) const { return byFace_[start_[face] + k]; }

private:
    std::array<int, kFaceSlots> count_{};
    std::array<int, kFaceSlots> start_{};
    CardArray byFace_{};
};

// Writes the rows of one listing. When the count would reach the table's
// last row the listing ends: that row is neither written nor counted.
class Listing
{
public:
    Listing(const HandRecord &hand, HintTable &rows, std::int16_t &hintCount)
        : tally_(hand)
        , rows_(rows)
        , hintCount_(hintCount)
    {
        hintCount_ = static_cast<std::int16_t>(std::clamp<int>(hintCount_, 0, kMaxHintsListed));
    }

    const FaceTally &tally() const { return tally_; }
    bool stopped() const { return stopped_; }

    HintRow *newRow(PlayKind kind)
    {
        if (stopped_ || hintCount_ >= kMaxHintsListed) {
            stopped_ = true;
            return nullptr;
        }
        ++hintCount_;
        HintRow &row = rows_[hintCount_];
        row.kind = kind;
        row.count = 0;
        return &row;
    }

    // Appends the first g cards of a face to the row.
    void take(HintRow &row, int face, int g) const
    {
        const int n = std::min(g, tally_.count(face));
        for (int k = 0; k < n && row.count < kMaxHandCards; ++k)
            row.cards[row.count++] = tally_.card(face, k);
    }

    void addGroupRow(PlayKind kind, int face, int g)
    {
        if (HintRow *row = newRow(kind))
            take(*row, face, g);
    }

    // Groups of g cards of faces above key up to top: first the faces held
    // exactly g times, then those a larger group has to be split for.
    void exactThenSplit(PlayKind kind, int g, int key, int top)
    {
        for (int held = g; held <= kLargestGroup && !stopped_; ++held) {
            for (int face = std::max(key + 1, kLowestFace); face <= top && !stopped_; ++face) {
                if (tally_.count(face) == held)
                    addGroupRow(kind, face, g);
            }
        }
    }

    // Bombs of exactly size cards above key, as the same kind as the bomb to beat.
    void sameSizeBombs(PlayKind kind, int size, int key)
    {
        for (int face = std::max(key + 1, kLowestFace); face <= kFaceTwo && !stopped_; ++face) {
            if (tally_.count(face) == size)
                addGroupRow(kind, face, size);
        }
    }

    // Every bomb of at least minCards cards, whatever its face.
    void bombs(int minCards)
    {
        for (int face = kLowestFace; face <= kFaceTwo && !stopped_; ++face) {
            const int held = tally_.count(face);
            if (held >= minCards && held <= kLargestGroup)
                addGroupRow(bombKind(held), face, held);
        }
    }

    void allBombs() { bombs(4); }

    void fourJokers()
    {
        if (tally_.count(kFaceSmallJoker) == 2 && tally_.count(kFaceBigJoker) == 2) {
            if (HintRow *row = newRow(KindFourJokers)) {
                take(*row, kFaceSmallJoker, 2);
                take(*row, kFaceBigJoker, 2);
            }
        }
    }

private:
    FaceTally tally_;
    HintTable &rows_;
    std::int16_t &hintCount_;
    bool stopped_ = false;
};

// Every window of groups consecutive usable faces above the low end of the
// chain to beat, up to the ace, lowest window first; windows overlap by all
// but one face. The low end comes from the chain's key, so a chain held in
// group order (2 2 A A 3 3) is read the same as one in judged order.
void chainSearch(Listing &listing, PlayKind kind, int g, int n, const CardArray &prev)
{
    const int groups = n / g;
    if (groups < (g == 2 ? 3 : 2))
        return;
    const int low = PlayKey(prev, n, kind) - groups + 1;
    int run = 0;
    for (int f = low + 1; f <= kFaceAce && !listing.stopped(); ++f) {
        run = listing.tally().count(chainFace(f)) >= g ? run + 1 : 0;
        if (run != groups)
            continue;
        if (HintRow *row = listing.newRow(kind)) {
            for (int v = f; v > f - groups; --v)
                listing.take(*row, chainFace(v), g);
        }
        f = f - groups + 1;
        run = 0;
    }
}

void tripleWithPairSearch(Listing &listing, int key)
{
    const FaceTally &tally = listing.tally();
    for (int t = std::max(key + 1, kLowestFace); t <= kFaceTwo && !listing.stopped(); ++t) {
        if (tally.count(t) < 3)
            continue;
        int pairFace = kLowestFace;
        while (pairFace <= kHighestFace && (pairFace == t || tally.count(pairFace) < 2))
            ++pairFace;
        if (pairFace > kHighestFace)
            continue;
        if (HintRow *row = listing.newRow(KindTripleWithPair)) {
            listing.take(*row, t, 3);
            listing.take(*row, pairFace, 2);
        }
    }
}

// A plane's triples (top down to top - triples + 1) and then its pairs, the
// highest pair first.
void addPlaneRow(Listing &listing, PlayKind kind, int top, int triples,
                 const std::array<int, kMaxHandCards> &pairFaces)
{
    HintRow *row = listing.newRow(kind);
    if (!row)
        return;
    for (int v = top; v > top - triples; --v)
        listing.take(*row, chainFace(v), 3);
    for (int k = triples - 1; k >= 0; --k)
        listing.take(*row, pairFaces[k], 2);
}

bool inWindow(int face, int top, int triples, bool twosLow)
{
    for (int v = top; v > top - triples; --v) {
        if ((twosLow ? chainFace(v) : v) == face)
            return true;
    }
    return false;
}

// Planes against a plane with free pairs: windows of chained triples above the
// lowest triple to beat, each with the lowest pairs of other faces (pairs may
// split triples and bombs outside the window, and may be jokers). A window
// whose pairs cannot be found keeps its run, so the next usable face tries the
// window one higher.
void planeSearch(Listing &listing, int n, const CardArray &prev)
{
    const int triples = n / 5;
    if (triples < 2)
        return;
    const FaceTally &tally = listing.tally();
    const int top0 = PlayKey(prev, n, KindPlaneWithPairs);
    int run = 0, top = 0;
    for (int s = top0 + 2 - triples; s <= kFaceAce && !listing.stopped(); ++s) {
        if (tally.count(chainFace(s)) >= 3) {
            ++run;
            top = s;
        } else {
            run = 0;
        }
        if (run < triples)
            continue;
        std::array<int, kMaxHandCards> pairFaces{};
        int found = 0;
        for (int p = kLowestFace; p <= kHighestFace && found < triples; ++p) {
            if (tally.count(p) >= 2 && !inWindow(p, top, triples, true))
                pairFaces[found++] = p;
        }
        if (found < triples)
            continue;
        addPlaneRow(listing, KindPlaneWithPairs, top, triples, pairFaces);
        s = top - triples + 1;
        run = 0;
    }
}

// Planes against the other plane kind, whose pairs run in a chain of their
// own: the pairs are the first run of consecutive faces (3 to A) held two or
// three times outside the window. After a window without such pairs the run
// grows past the plane's size, so no plane is tried again until a face
// without three cards has broken it. Faces below 3 hold no cards here.
void planeWithPairRunSearch(Listing &listing, int n, int key)
{
    const int triples = n / 5;
    if (triples < 2)
        return;
    const FaceTally &tally = listing.tally();
    int run = 0, top = 0;
    for (int s = key + 2 - triples; s <= kFaceAce && !listing.stopped(); ++s) {
        if (tally.count(s) >= 3) {
            ++run;
            top = s;
        } else {
            run = 0;
        }
        if (run != triples)
            continue;
        std::array<int, kMaxHandCards> pairFaces{};
        int found = 0;
        for (int p = kLowestFace; p <= kFaceAce && found < triples; ++p) {
            const int held = tally.count(p);
            if ((held == 2 || held == 3) && !inWindow(p, top, triples, false))
                pairFaces[found++] = p;
            else
                found = 0;
        }
        if (found < triples)
            continue;
        addPlaneRow(listing, KindPlaneWithPairsAlt, top, triples, pairFaces);
        s = top - triples + 1;
        run = 0;
    }
}

} // namespace

void PromptLead(const HandRecord &ownHand, bool promptLeadState, HintTable &rows,
                std::int16_t &hintCount)
{
    hintCount = 0;
    Listing listing(ownHand, rows, hintCount);
    constexpr PlayKind groupKinds[] = {KindSingle, KindPair, KindTriple};
    for (int g = 1; g <= 3; ++g) {
        for (int face = kLowestFace; face <= kHighestFace && !listing.stopped(); ++face) {
            if (listing.tally().count(face) == g)
                listing.addGroupRow(groupKinds[g - 1], face, g);
        }
    }
    if (promptLeadState)
        return;
    listing.allBombs();
    listing.fourJokers();
}

void PromptBeat(const HandRecord &ownHand, PlayKind kind, int count, const CardArray &cards,
                HintTable &rows, std::int16_t &hintCount)
{
    if (kind == KindFourJokers)
        hintCount = 0;
    Listing listing(ownHand, rows, hintCount);
    const int n = clampCardCount(count);
    const int key = cardFace(cards[0]);

    switch (kind) {
    case KindSingle:
        listing.exactThenSplit(KindSingle, 1, key, kHighestFace);
        listing.allBombs();
        break;
    case KindPair:
        listing.exactThenSplit(KindPair, 2, key, kHighestFace);
        listing.allBombs();
        break;
    case KindTriple:
        listing.exactThenSplit(KindTriple, 3, key, kFaceTwo);
        listing.allBombs();
        break;
    case KindPairChain:
        chainSearch(listing, KindPairChain, 2, n, cards);
        listing.allBombs();
        break;
    case KindTripleChain:
        chainSearch(listing, KindTripleChain, 3, n, cards);
        listing.allBombs();
        break;
    case KindTripleWithPair:
        tripleWithPairSearch(listing, key);
        listing.allBombs();
        break;
    case KindPlaneWithPairs:
        planeSearch(listing, n, cards);
        listing.allBombs();
        break;
    case KindPlaneWithPairsAlt:
        planeWithPairRunSearch(listing, n, key);
        listing.allBombs();
        break;
    case KindBomb4:
    case KindBomb5:
    case KindBomb6:
    case KindBomb7: {
        // Bombs of more cards beat whatever their face.
        const int size = kind - 5;
        listing.sameSizeBombs(kind, size, key);
        listing.bombs(size + 1);
        break;
    }
    case KindBomb8:
        listing.sameSizeBombs(KindBomb8, 8, key);
        break;
    default:
        break;
    }
    listing.fourJokers();
}

} // namespace tessaroc::rules
