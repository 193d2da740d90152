#include "wire/GbkText.h"

#include <iconv.h>

#include <array>
#include <cstring>
#include <memory>

namespace tessaroc::wire {

namespace {

constexpr std::uint16_t kQuestionMark = '?';

// Both directions of the code page, read from iconv once. A zero entry means
// "no character" (code 0 and U+0000 are handled before the lookup).
struct CodePage
{
    std::array<char16_t, 0x10000> charOfCode{}; // GBK code -> BMP character
    std::array<std::uint16_t, 0x10000> codeOfChar{}; // BMP character -> GBK code
};

struct IconvCloser
{
    void operator()(void *cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openIconv(const char *to, const char *from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    return IconvHandle(cd);
}

// Runs one conversion of a short input; returns the number of output bytes,
// or 0 when iconv refuses the input or leaves part of it unconverted.
std::size_t convertOnce(void *cd, const char *in, std::size_t inLen, char *out, std::size_t outCap)
{
    auto *handle = static_cast<iconv_t>(cd);
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    char *inPtr = const_cast<char *>(in);
    char *outPtr = out;
    std::size_t inLeft = inLen;
    std::size_t outLeft = outCap;
    if (iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)
        || inLeft != 0)
        return 0;
    return outCap - outLeft;
}

std::uint32_t readUtf32le(const char *p)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

void storeDecoded(CodePage &page, std::uint16_t code, const char *out, std::size_t n)
{
    if (n != 4)
        return;
    const std::uint32_t ch = readUtf32le(out);
    if (ch != 0 && ch < 0x10000)
        page.charOfCode[code] = static_cast<char16_t>(ch);
}

void fillDecoding(CodePage &page)
{
    IconvHandle cd = openIconv("UTF-32LE", "CP936");
    if (!cd)
        return;
    char out[16];
    for (unsigned single = 0x80; single <= 0xFF; ++single) {
        const char in[1] = {static_cast<char>(single)};
        storeDecoded(page, static_cast<std::uint16_t>(single), out,
                     convertOnce(cd.get(), in, 1, out, sizeof out));
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            storeDecoded(page, static_cast<std::uint16_t>(lead << 8 | trail), out,
                         convertOnce(cd.get(), in, 2, out, sizeof out));
        }
    }
}

void fillEncoding(CodePage &page)
{
    IconvHandle cd = openIconv("CP936", "UTF-32LE");
    if (!cd)
        return;
    char out[16];
    for (std::uint32_t ch = 0x80; ch < 0x10000; ++ch) {
        if (ch >= 0xD800 && ch < 0xE000)
            continue;
        char in[4];
        for (int i = 0; i < 4; ++i)
            in[i] = static_cast<char>((ch >> (8 * i)) & 0xFF);
        const std::size_t n = convertOnce(cd.get(), in, 4, out, sizeof out);
        const auto b0 = static_cast<unsigned char>(out[0]);
        const auto b1 = static_cast<unsigned char>(out[1]);
        if (n == 1)
            page.codeOfChar[ch] = b0;
        else if (n == 2)
            page.codeOfChar[ch] = static_cast<std::uint16_t>(b0 << 8 | b1);
    }
}

const CodePage &codePage()
{
    static const std::unique_ptr<CodePage> page = [] {
        auto p = std::make_unique<CodePage>();
        for (std::uint16_t c = 1; c < 0x80; ++c) {
            p->charOfCode[c] = static_cast<char16_t>(c);
            p->codeOfChar[c] = c;
        }
        fillDecoding(*p);
        fillEncoding(*p);
        return p;
    }();
    return *page;
}

bool isLeadByte(std::uint8_t b)
{
    return b >= 0x80;
}

// One UTF-8 sequence at text[pos]; advances pos. Invalid input yields U+FFFD
// and moves on by one byte.
char32_t nextUtf8(std::string_view text, std::size_t &pos)
{
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    std::size_t len = 0;
    char32_t ch = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        ch = b0 & 0x1Fu;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        ch = b0 & 0x0Fu;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        ch = b0 & 0x07u;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacementChar;
    }
    if (text.size() - pos < len) {
        ++pos;
        return kReplacementChar;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return kReplacementChar;
        }
        ch = (ch << 6) | (b & 0x3Fu);
    }
    if (ch < minimum || ch > 0x10FFFF || (ch >= 0xD800 && ch < 0xE000)) {
        ++pos;
        return kReplacementChar;
    }
    pos += len;
    return ch;
}

void appendCode(std::string &out, std::uint16_t code)
{
    if (gbkByteLength(code) == 2)
        out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

void appendCharOrQuestion(std::string &out, char32_t ch)
{
    appendUtf8(out, ch == kReplacementChar ? U'?' : ch);
}

} // namespace

std::uint16_t gbkCode(char32_t ch)
{
    // ASCII is itself in the code page: text without other characters never
    // needs the tables, which take a moment to read from iconv.
    if (ch < 0x80)
        return static_cast<std::uint16_t>(ch);
    if (ch >= 0x10000)
        return kQuestionMark;
    const std::uint16_t code = codePage().codeOfChar[ch];
    return code != 0 ? code : kQuestionMark;
}

char32_t charOfGbkCode(std::uint16_t code)
{
    if (code < 0x80)
        return code;
    const char16_t ch = codePage().charOfCode[code];
    return ch != 0 ? char32_t(ch) : kReplacementChar;
}

void appendUtf8(std::string &out, char32_t ch)
{
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch < 0xE000))
        ch = kReplacementChar;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

std::u32string utf8ToChars(std::string_view utf8)
{
    std::u32string chars;
    chars.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        chars += nextUtf8(utf8, pos);
    return chars;
}

std::string charsToUtf8(std::u32string_view chars)
{
    std::string out;
    out.reserve(chars.size());
    for (char32_t ch : chars)
        appendUtf8(out, ch);
    return out;
}

std::string utf8ToGbk(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        appendCode(out, gbkCode(nextUtf8(utf8, pos)));
    return out;
}

std::string gbkToUtf8(std::string_view gbk)
{
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    for (std::size_t pos = 0; pos < gbk.size();) {
        const auto b = static_cast<std::uint8_t>(gbk[pos]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++pos;
            continue;
        }
        if (pos + 1 < gbk.size()) {
            const auto trail = static_cast<std::uint8_t>(gbk[pos + 1]);
            const char32_t pair = charOfGbkCode(static_cast<std::uint16_t>(b << 8 | trail));
            if (pair != kReplacementChar) {
                appendUtf8(out, pair);
                pos += 2;
                continue;
            }
        }
        // Not the start of a double-byte character: the euro sign or a bad byte.
        appendCharOrQuestion(out, charOfGbkCode(b));
        ++pos;
    }
    return out;
}

std::string readFieldText(const MessageFrame &frame, std::size_t first, std::size_t last,
                          FieldText rule)
{
    std::string out;
    if (first > last || first >= kFrameSize)
        return out;
    if (last >= kFrameSize)
        last = kFrameSize - 1;
    const auto &bytes = frame.bytes();

    // A pair whose trail lies past the frame, or (MixedInField) past the
    // field, has no trail to take: its first byte stands alone as the
    // single-byte character of that code (0x80 is the euro sign).
    auto pairAt = [&](std::size_t pos, std::size_t trailLimit) {
        const char32_t ch = pos + 1 > trailLimit
                ? charOfGbkCode(bytes[pos])
                : charOfGbkCode(static_cast<std::uint16_t>(bytes[pos] << 8 | bytes[pos + 1]));
        return ch == kReplacementChar ? U'?' : ch;
    };

    std::size_t pos = first;
    while (pos <= last) {
        const std::uint8_t b = bytes[pos];
        switch (rule) {
        case FieldText::SingleByte:
            if (b == 0)
                return out;
            appendCharOrQuestion(out, charOfGbkCode(b));
            pos += 1;
            break;
        case FieldText::TwoByte:
            if (b == 0)
                return out;
            appendUtf8(out, pairAt(pos, kFrameSize - 1));
            pos += 2;
            break;
        case FieldText::Mixed:
        case FieldText::MixedInField:
            if (b == 0)
                return out;
            if (!isLeadByte(b)) {
                out += static_cast<char>(b);
                pos += 1;
                break;
            }
            appendUtf8(out, pairAt(pos, rule == FieldText::Mixed ? kFrameSize - 1 : last));
            pos += 2;
            break;
        }
    }
    return out;
}

std::size_t writeFieldText(MessageFrame &frame, std::size_t first, std::size_t last,
                           std::u32string_view chars)
{
    if (first >= kFrameSize || first > last)
        return 0;
    if (last >= kFrameSize)
        last = kFrameSize - 1;
    std::size_t pos = first;
    for (char32_t ch : chars) {
        const std::uint16_t code = gbkCode(ch);
        const std::size_t len = gbkByteLength(code);
        if (pos + len - 1 > last)
            break;
        if (len == 2)
            frame.setByte(pos++, static_cast<std::uint8_t>(code >> 8));
        frame.setByte(pos++, static_cast<std::uint8_t>(code & 0xFF));
    }
    return pos - first;
}

} // namespace tessaroc::wire
