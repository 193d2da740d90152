#include "gif/GifParser.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace tessaroc::gif {

namespace {

// Raised when a read needs bytes past the end of the data; the parse then
// ends with the images it has kept.
struct EndOfData
{
};

char asciiLower(std::uint8_t b)
{
    return static_cast<char>(b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b);
}

char asciiUpper(std::uint8_t b)
{
    return static_cast<char>(b >= 'a' && b <= 'z' ? b - ('a' - 'A') : b);
}

bool equalsFolded(std::span<const std::uint8_t> bytes, std::string_view text,
                  char (*fold)(std::uint8_t))
{
    return bytes.size() == text.size()
            && std::equal(bytes.begin(), bytes.end(), text.begin(),
                          [fold](std::uint8_t b, char c) { return fold(b) == c; });
}

class Reader
{
public:
    explicit Reader(std::span<const std::uint8_t> bytes)
        : bytes_(bytes)
    { }

    // The read position; it may stand past the end after skipping sub-blocks
    // of a cut file, and the next read then raises EndOfData.
    std::size_t pos = 0;

    std::uint8_t byte()
    {
        if (pos >= bytes_.size())
            throw EndOfData{};
        return bytes_[pos++];
    }

    std::uint16_t word()
    {
        if (pos >= bytes_.size() || bytes_.size() - pos < 2)
            throw EndOfData{};
        const auto value = static_cast<std::uint16_t>(bytes_[pos] | (bytes_[pos + 1] << 8));
        pos += 2;
        return value;
    }

    // n bytes from the position, which advances past them; when they do not
    // all exist nothing is read and the position stays.
    std::optional<std::span<const std::uint8_t>> bytes(std::size_t n)
    {
        if (pos > bytes_.size() || bytes_.size() - pos < n)
            return std::nullopt;
        const auto span = bytes_.subspan(pos, n);
        pos += n;
        return span;
    }

    // Moves past a chain of data sub-blocks and its zero terminator. Returns
    // whether the terminator lay inside the data.
    bool skipSubBlocks()
    {
        while (pos < bytes_.size()) {
            const std::uint8_t length = bytes_[pos];
            if (length == 0)
                break;
            pos += std::size_t{length} + 1;
        }
        pos += 1;
        return pos <= bytes_.size();
    }

    void readColorTable(ParsedGif &gif, std::size_t table, int sizeCode)
    {
        if (gif.ColorTables.size() <= table)
            gif.ColorTables.resize(table + 1);
        const std::size_t count = std::size_t{1} << sizeCode;
        if (pos > bytes_.size() || bytes_.size() - pos < 3 * count)
            throw EndOfData{};
        ColorTable &column = gif.ColorTables[table];
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t *rgb = bytes_.data() + pos + 3 * i;
            column.colors[i]
                    = (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
        }
        column.count = static_cast<std::uint16_t>(count);
        pos += 3 * count;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

class Parser
{
public:
    Parser(std::span<const std::uint8_t> bytes, ParsedGif &gif)
        : in_(bytes)
        , gif_(gif)
    { }

    // The number of kept images, or nothing when the whole file is refused.
    std::optional<int> run()
    {
        const auto signature = in_.bytes(6);
        if (!signature
            || !(equalsFolded(*signature, "gif89a", asciiLower)
                 || equalsFolded(*signature, "gif87a", asciiLower)))
            return std::nullopt;
        try {
            return readBlocks();
        } catch (const EndOfData &) {
            return count_;
        }
    }

private:
    std::optional<int> readBlocks()
    {
        // The header's screen size, background index and pixel shape are
        // not used: the screen is taken from the images.
        in_.pos = 10;
        const std::uint8_t packed = in_.byte();
        in_.pos = 13;
        if (packed & 0x80) {
            in_.readColorTable(gif_, 0, (packed & 7) + 1);
            hasGlobal_ = true;
        }
        for (;;) {
            const std::uint8_t b = in_.byte();
            if (b == 0)
                continue;
            if (b == kExtensionIntroducer) {
                readExtension();
            } else if (b == kImageSeparator) {
                if (!readImage())
                    return std::nullopt;
            } else {
                return count_; // the trailer, or anything that starts no block
            }
        }
    }

    void readExtension()
    {
        const std::uint8_t label = in_.byte();
        if (label == kApplicationLabel) {
            readApplicationExtension();
        } else if (label == kGraphicControlLabel) {
            readGraphicControl();
        } else {
            in_.skipSubBlocks(); // comments, plain text and the rest
        }
    }

    void readApplicationExtension()
    {
        const std::uint8_t size = in_.byte();
        const auto identifier = in_.bytes(size);
        if (identifier && equalsFolded(*identifier, "NETSCAPE2.0", asciiUpper)) {
            if (in_.byte() == 3) {
                in_.pos += 1; // the sub-block id is not looked at
                gif_.Loops = in_.word();
            } else {
                in_.pos -= 1; // skipped below as a sub-block length
            }
        }
        in_.skipSubBlocks();
    }

    void readGraphicControl()
    {
        // A second extension before the same image replaces the first.
        pending_ = GifFrame{};
        pending_.ExtStart = in_.pos - 2;
        in_.byte(); // the block size; 4 is assumed
        const std::uint8_t flags = in_.byte();
        auto disposal = static_cast<std::uint8_t>((flags >> 2) & 3);
        // Nothing lies under the first image to be put back.
        if (disposal == DisposeToPrevious && count_ == 0)
            disposal = DisposeNone;
        pending_.disposal = disposal;
        pending_.delay = in_.word() * 10;
        pending_.transparent = (flags & 1) != 0;
        if (pending_.transparent)
            pending_.TransparentIndex = in_.byte();
        else
            in_.pos = pending_.ExtStart + 7;
        in_.skipSubBlocks();
    }

    // Returns false when the whole file must be refused.
    bool readImage()
    {
        const std::size_t start = in_.pos - 1;
        GifFrame frame = pending_;
        pending_ = GifFrame{};
        if (frame.ExtStart == 0)
            frame.ExtStart = start;
        frame.left = in_.word();
        frame.top = in_.word();
        frame.width = in_.word();
        frame.height = in_.word();
        const std::uint8_t flags = in_.byte();
        if (flags & 0x80) {
            ++localTables_;
            frame.TableIndex = localTables_;
            in_.readColorTable(gif_, static_cast<std::size_t>(localTables_), (flags & 7) + 1);
        } else if (!hasGlobal_) {
            return false; // no colour table to use
        }
        in_.byte(); // the minimum code size is the decoder's business
        // An image is kept only when its data ends inside the file; one cut
        // short ends the parse like any other read past the end.
        if (!in_.skipSubBlocks())
            throw EndOfData{};
        if (count_ == kMaxGifFrames)
            return false;
        ++count_;
        gif_.ImageSpans.push_back({start, in_.pos - start});
        gif_.Frames.push_back(frame);
        gif_.ScreenWidth = std::max(gif_.ScreenWidth, frame.left + frame.width);
        gif_.ScreenHeight = std::max(gif_.ScreenHeight, frame.top + frame.height);
        return true;
    }

    Reader in_;
    ParsedGif &gif_;
    GifFrame pending_;
    int count_ = 0;
    int localTables_ = 0;
    bool hasGlobal_ = false;
};

} // namespace

void ParsedGif::clear()
{
    Frames.clear();
    ColorTables.clear();
    ImageSpans.clear();
    ScreenWidth = 0;
    ScreenHeight = 0;
    Loops = 0;
}

int ParseGif(std::span<const std::uint8_t> gifBytes, ParsedGif &out)
{
    out.clear();
    const std::optional<int> count = Parser(gifBytes, out).run();
    if (!count || *count == 0) {
        out.clear();
        return 0;
    }
    return *count;
}

} // namespace tessaroc::gif
