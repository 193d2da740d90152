#pragma once

#include "Art.h"

#include <QImage>

#include <vector>

namespace tessaroc::artgen {

// A picture as the client will show it: every frame decoded back from the
// bytes that are embedded.
struct Rendered
{
    const Entry *entry;
    std::vector<QImage> frames;
    int loops = 0;
    qsizetype bytes = 0;
};

// A labelled contact sheet of every picture, id (or design name) and size
// under each, animations frame by frame.
QImage contactSheet(const std::vector<Rendered> &pictures);

} // namespace tessaroc::artgen
