#pragma once

#include "forms/Image.h"

#include <QCursor>
#include <QPixmap>
#include <QString>
#include <QStringView>

namespace tessaroc::table {

// The card back of the full table and of the reduced one.
constexpr int kCardBackPicture = 18;
constexpr int kSmallCardBackPicture = 520;
// The turn clock's animation.
constexpr int kTurnClockPicture = 198;

// Loads picture resource id (type "GIF") into a picture; a failed load leaves
// the picture it had. The table's callers do not look at the result.
void loadPicture(support::PictureTarget &target, int id);
// The same for an id held as decimal text in a picture-id table.
void loadPicture(support::PictureTarget &target, const QString &idText);

// A picture of the window's design, by name.
QPixmap designPicture(QStringView name);
// Its size, without decoding it where the file's header tells.
QSize designPictureSize(QStringView name);

// The pointing hand of the clickable pictures: 32 x 32, hot spot at 12, 4.
QCursor handCursor();
// Gives an element the pointing hand as its custom pointer.
void useHandCursor(forms::Element &element);

} // namespace tessaroc::table
