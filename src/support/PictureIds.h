#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace tessaroc::support {

// The tables through which the client finds the resource id of a card face,
// a button or a mark. Each entry holds an id as its decimal text; an entry
// that is not filled holds the empty text. Filled once at start-up by
// InitPictureIds and never changed afterwards.
struct PictureIds
{
    // Index: the card's picture number, face + 16 x suit index (18 the back).
    std::array<QString, 64> CardPictureIds;
    // Toolbar pictures, pairs of normal and hover.
    std::array<QString, 20> ButtonPic;
    std::array<QString, 8> DialogButtonPic;
    // Action-button pictures.
    std::array<QString, 15> OperationPic;
    // Bubble pictures; only entries 27 to 32 are filled.
    std::array<QString, 33> SpeakPic;
    // Faces "m1" to "m10", then "w1" to "w10".
    std::array<QString, 20> AvatarPic;
    // Ready marks by the player's coin level.
    std::array<QString, 4> ReadyMarkPic;
    std::array<QString, 13> VideoIconPic;
    // The video panels' JPEG backgrounds.
    std::array<QString, 6> VideoBackPic;
};

// Fills every table for the layout scale: the large card faces and toolbar
// buttons when ScaleX is exactly 1.0, the reduced ones for any other value.
void InitPictureIds(PictureIds &ids, float ScaleX);

// The id an entry names, as its readers convert it: 0 for the empty text or
// for text that is no 16-bit number, which no picture has.
std::int16_t pictureId(const QString &entry);

} // namespace tessaroc::support
