#include "play/Fans.h"

#include "core/CoreContext.h"
#include "play/PlaySounds.h"
#include "sound/SoundFiles.h"
#include "support/PictureStore.h"
#include "table/MainForm.h"
#include "table/TablePictures.h"

#include <cmath>

namespace tessaroc::play {

namespace {

// The fans by seat 1..3: the base of the one-to-ten fans (base + count) and
// the pictures for 11 to 15, 16 and 17 to 20, each full and reduced.
struct SeatFans
{
    int tenBase[2];
    int upTo15[2];
    int at16[2]; // 0: none
    int upTo20[2];
};
constexpr SeatFans kSeatFans[] = {
        {{889, 899}, {940, 943}, {940, 943}, {946, 949}},
        {{259, 269}, {941, 944}, {947, 950}, {947, 950}},
        {{909, 919}, {942, 945}, {0, 0}, {948, 951}},
};

constexpr int kLabelledCount = 10;
constexpr int kLargestFanCount = 20;

// Where the badge stands, per landlord seat, in design pixels.
struct BadgePlace
{
    double top;
    double left;
};
constexpr BadgePlace kBadgePlaces[] = {{454, 10}, {140, 10}, {70, 325}, {140, 780}};
constexpr double kReducedOwnBadgeTop = 434;
constexpr int kBadgeTakesGifSize = 4;

bool isOtherSeat(int pos)
{
    return pos >= 1 && pos <= 3;
}

} // namespace

BackFans::BackFans(table::MainForm &form, core::CoreContext &context)
    : form_(form)
    , c_(context)
{ }

int BackFans::fanPicture(int pos, int count, bool reduced)
{
    if (!isOtherSeat(pos) || count < 1 || count > kLargestFanCount)
        return 0;
    const SeatFans &fans = kSeatFans[pos - 1];
    const int r = reduced ? 1 : 0;
    if (count <= kLabelledCount)
        return fans.tenBase[r] + count;
    if (count <= 15)
        return fans.upTo15[r];
    if (count == 16)
        return fans.at16[r];
    return fans.upTo20[r];
}

void BackFans::HideBackFan(int pos)
{
    if (!isOtherSeat(pos))
        return;
    forms::Image &fan = form_.hands.shanImage(pos - 1);
    fan.clearPicture();
    fan.setVisible(false);
}

void BackFans::ShowBackFan(int pos)
{
    if (!isOtherSeat(pos))
        return;
    const forms::LayoutScale s = c_.state.table.scale;
    const bool reduced = s.isReduced();
    const int n = c_.state.rules.HandRecords[static_cast<std::size_t>(pos)].validCount();
    forms::Image &fan = form_.hands.shanImage(pos - 1);
    if (n >= 1 && n <= kLabelledCount) {
        if (n == 1) {
            // The one-card fans are low strips: the side seats' drop to the
            // row's height, the top seat's moves to the middle of the old fan.
            if (pos == 2) {
                const int width = static_cast<int>(std::nearbyint(fan.Width()));
                fan.setLeft(fan.Left() + width / 2);
                fan.setTop(fan.Top() + s.y(10));
            } else {
                fan.setTop(s.y(335));
            }
        }
        table::loadPicture(fan, fanPicture(pos, n, reduced));
        forms::Label &count = form_.hands.Labrest(pos);
        count.setCaption(QString::number(n) + QStringLiteral("张"));
        count.setVisible(true);
        fan.setVisible(true);
    } else if (n > kLabelledCount && n <= kLargestFanCount) {
        const int picture = fanPicture(pos, n, reduced);
        const bool highest = pos == 2 ? n >= 16 : n >= 17;
        if (reduced && highest)
            fan.setStretch(false);
        if (picture != 0)
            table::loadPicture(fan, picture);
        fan.setVisible(true);
    }
    if (pos == 2)
        form_.messages.LbProp.ZOrder(0);
}

void BackFans::ShowHandEnd(int pos)
{
    if (isOtherSeat(pos))
        form_.hands.Labrest(pos).setVisible(false);
    const int landlord = c_.state.core.LandlordPos;
    if (landlord < 0 || landlord > 3)
        return;
    const forms::LayoutScale s = c_.state.table.scale;
    const bool landlordHolds
            = c_.state.rules.HandRecords[static_cast<std::size_t>(landlord)].validCount() != 0;
    const BadgePlace place = kBadgePlaces[landlord];
    const double top = landlord == 0 && s.isReduced() ? kReducedOwnBadgeTop : place.top;
    forms::ucAniGIF &badge = form_.effects.UcDiZhu;
    badge.setVisible(false);
    badge.setTop(s.y(top));
    badge.setLeft(s.x(place.left));
    badge.setStretch(kBadgeTakesGifSize);
    const QByteArray bytes
            = support::PictureStore::resourceBytes(landlordHolds ? kLandlordLost : kLandlordWon);
    badge.setVisible(true);
    badge.ZOrder(0);
    badge.setLoops(0);
    badge.LoadAnimatedGIF_Array(bytes);

    playGameSound(c_, landlordHolds ? sound::files::kLose : sound::files::kWin);
}

} // namespace tessaroc::play
