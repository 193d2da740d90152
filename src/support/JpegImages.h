#pragma once

#include <QImage>
#include <QSize>

#include <span>

namespace tessaroc::support {

// JPEG pictures read with libjpeg directly: the program's few JPEGs (the
// table pictures and the video panels' backgrounds) decode without loading
// an image plugin, straight into 32-bit pixels.

// The picture's size from its frame header, without decoding it; empty when
// the bytes are no JPEG or carry no frame header.
QSize JpegSize(std::span<const unsigned char> bytes);

// The picture decoded (Format_RGB32; a grey picture comes out grey in the
// three colours); a null image when the bytes do not decode whole.
QImage DecodeJpeg(std::span<const unsigned char> bytes);

} // namespace tessaroc::support
