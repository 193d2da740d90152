#pragma once

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

// The other seats' hands as fans of card backs that show roughly how many
// cards each still holds, with the exact count beside a fan of ten or fewer,
// and the badge at the landlord's seat when a hand is played out.
class BackFans
{
public:
    BackFans(table::MainForm &form, core::CoreContext &context);

    // The fan of seat pos (1..3) emptied and hidden: the seat has played out.
    void HideBackFan(int pos);
    // The fan of seat pos (1..3) for the cards it holds now; from ten cards
    // down the count shows beside it. Counts outside 1..20 change nothing.
    void ShowBackFan(int pos);
    // A hand was played out: the badge at the landlord's seat says whether the
    // landlord won, with the win or lose sound, the same on every client.
    // Without a landlord seat there is neither badge nor sound.
    void ShowHandEnd(int pos);

    static constexpr int kLandlordWon = 931;
    static constexpr int kLandlordLost = 932;
    // The fan picture of a seat for a count, 0 when the count has none (the
    // right seat at 16 keeps the picture it has).
    static int fanPicture(int pos, int count, bool reduced);

private:
    table::MainForm &form_;
    core::CoreContext &c_;
};

} // namespace tessaroc::play
