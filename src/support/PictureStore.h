#pragma once

#include "support/PictureTarget.h"

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace tessaroc::support {

// The program's own pictures, drawn by tools/artgen at build time and embedded
// in the program: the pictures the client loads by resource id (type "GIF";
// GIF89a files, a few of them JPEG) and the pictures of the windows' designs,
// by name. Everything is read and decoded in memory.
class PictureStore
{
public:
    // The stored file of resource id; empty when the store has no resource of
    // that id and type. The only type is "GIF", in any letter case.
    static QByteArray resourceBytes(int id, QStringView type = u"GIF");
    // Every resource id in the store, ascending.
    static std::vector<int> resourceIds();

    // A picture file decoded: a GIF's first image with its transparent colour,
    // or a JPEG. A null image when the bytes are neither.
    static QImage decode(const QByteArray &bytes);

    // A picture of a window's design by name (the table's felt, the frame
    // template, the pointing hand, ...); null when there is none.
    static QPixmap designPicture(QStringView name);
    // That picture's size, read from its header where it can be (a JPEG is
    // not decoded for it); empty when there is no such picture.
    static QSize designPictureSize(QStringView name);
    // The pointing hand that clickable pictures show, its hot spot at the tip
    // of the finger, (12, 4).
    static QCursor handCursor();
};

// Puts the stored picture of resource id into the target's picture. Returns 1
// when the picture was set, 0 after any failure (an id that is not in the
// store, another resource type, data that does not decode, no target); the
// target then keeps the picture it had. Nothing is written to disk.
std::int16_t LoadGifResource(std::int16_t id, QStringView resourceType, PictureTarget *target);

} // namespace tessaroc::support
