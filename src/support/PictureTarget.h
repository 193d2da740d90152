#pragma once

#include <QPixmap>

namespace tessaroc::support {

// Anything that can show a picture: an image element, a picture box, a
// pop-up window's background. The picture loader fills it by resource id and
// leaves it as it was when a load fails.
class PictureTarget
{
public:
    virtual ~PictureTarget() = default;

    // Shows the picture; id is the resource it came from (0 for none), kept so
    // that callers and tests can ask which picture is on show.
    virtual void setPicture(const QPixmap &picture, int id) = 0;
    virtual int Picture() const = 0;

    void clearPicture() { setPicture(QPixmap(), 0); }
};

} // namespace tessaroc::support
