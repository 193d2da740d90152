#pragma once

#include "rules/BitIndex.h"
#include "rules/CardCode.h"
#include "support/PictureIds.h"

#include <QStringView>

#include <optional>

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::forms {
class Image;
template<class T> class ControlArray;
} // namespace tessaroc::forms

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

// The card groups of the table by display position: cardImage0 (the own hand
// and the own plays) to cardImage3. A position outside 0..3 has none.
forms::ControlArray<forms::Image> *cardGroup(table::MainForm &form, int pos);

// The picture number of a card: the face plus 16 per suit index. Jokers have
// suit index 0, so their numbers are their faces, 16 and 17.
constexpr int CardPictureNo(rules::CardCode code)
{
    return rules::cardFace(code)
            + 16 * rules::BitIndex(static_cast<std::int16_t>(rules::cardSuitBits(code)));
}

// A picture number no card can have: above 127, or with a low nibble of 0, 1
// or 2 in the rows 0, 2, 3, 4, 6 and 7 (so 16, 17 and 18 pass, 32 does not).
bool isRefusedPictureNo(int number);

// Whether the number has a picture: it passes the refusal test, lies in the
// 64 entries of the card picture table, and its entry names a picture.
bool hasCardPicture(const support::PictureIds &ids, int number);

// The faces of the cards on the table: every card the table draws face up is
// an element of one of the four card groups, its face chosen by its picture
// number (face + 16 x suit index; 18 is the back).
class CardPictures
{
public:
    CardPictures(table::MainForm &form, core::CoreContext &context);

    // Puts the picture of `number` into element `index` of the group of
    // display position `pos`; place, size and visibility stay as they are. A
    // number no card can have takes the table out of sight and brings the
    // hall back; a number that passes that test but has no picture in the
    // table leaves the element's picture as it was.
    void ShowCardPicture(int pos, int index, int number);

    // show -1 shows the card turned up at the deal (ShownCard) on ImgLPai(pos);
    // any other value hides ImgLPai(pos), keeping its picture. A shown card
    // without a picture leaves the picture as it was; the visibility is set
    // all the same.
    void ShowShownCard(int pos, int show);

    // The picture of a picture number loaded into any picture; false when the
    // number has no picture (the picture then stays as it was).
    bool loadCardFace(forms::Image &image, int number);

private:
    table::MainForm &form_;
    core::CoreContext &c_;
};

// Loads picture resource `resourceId` of type `resourceType` into `image`
// and, with `left` given, moves the image to that Left, rounded to a whole
// pixel (halves to the even neighbour). Reports false for a resource that
// could not be loaded; what was done before stays done. Never throws.
bool LoadPictureInto(int resourceId, QStringView resourceType, forms::Image &image,
                     std::optional<double> left = std::nullopt);

} // namespace tessaroc::play
