#include "support/JpegImages.h"

#include <QSysInfo>

#include <csetjmp>
#include <cstddef>
#include <cstdio> // jpeglib.h needs FILE and size_t declared before it

#include <jpeglib.h>

namespace tessaroc::support {

namespace {

// libjpeg's errors end the decoding by a jump back into DecodeJpeg; its
// warnings (a damaged but readable stream) are kept quiet.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf back;
};

[[noreturn]] void fail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->back, 1);
}

void quiet(j_common_ptr, int) { }

// The decoding itself, kept free of anything with a destructor: a jump out of
// libjpeg skips the frames between here and the jump.
bool decodeInto(jpeg_decompress_struct &info, std::span<const unsigned char> bytes, QImage &image)
{
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (info.num_components != 1 && info.num_components != 3)
        return false;
    // Four bytes a pixel in the order of QImage::Format_RGB32: the 32-bit
    // value 0xFFRRGGBB in the machine's byte order.
    info.out_color_space = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX
                                                                         : JCS_EXT_XRGB;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB32);
    if (image.isNull())
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QSize JpegSize(std::span<const unsigned char> bytes)
{
    // Markers from the start of the stream to the first frame header; every
    // segment but the entropy-coded data carries its length.
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return {};
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xFF)
            return {};
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(bytes[at + 2]) << 8 | bytes[at + 3];
        if (length < 2)
            return {};
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4
                && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            if (length < 7 || at + 9 > bytes.size())
                return {};
            const int height = bytes[at + 5] << 8 | bytes[at + 6];
            const int width = bytes[at + 7] << 8 | bytes[at + 8];
            return width > 0 && height > 0 ? QSize(width, height) : QSize();
        }
        if (marker == 0xDA || marker == 0xD9)
            return {}; // scan or end before any frame header
        at += 2 + length;
    }
    return {};
}

QImage DecodeJpeg(std::span<const unsigned char> bytes)
{
    if (bytes.size() < 4)
        return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = fail;
    errors.base.emit_message = quiet;
    QImage image;
    volatile bool decoded = false;
    if (setjmp(errors.back) == 0) {
        jpeg_create_decompress(&info);
        decoded = decodeInto(info, bytes, image);
    }
    jpeg_destroy_decompress(&info);
    return decoded ? image : QImage();
}

} // namespace tessaroc::support
