#include "wire/CommandLine.h"

#include "wire/GbkText.h"
#include "wire/SentFrames.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <optional>

namespace tessaroc::wire {

namespace {

constexpr int kFieldCount = 15;
constexpr std::size_t kRoomCodeChars = 7;
constexpr std::size_t kLargeRoomFontMaxChars = 10;
constexpr std::size_t kMaxProxyCredentialChars = 255;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A "+" may stand before the digits of a number; from_chars takes only "-",
// so the plus goes, but never in front of another sign ("+-5" is no number).
std::string_view withoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] >= '0' && text[1] <= '9')
        text.remove_prefix(1);
    return text;
}

// A whole number in [low, high], blanks around it allowed; the empty text is
// not a number.
std::optional<long> wholeNumber(std::string_view text, long low, long high)
{
    text = withoutPlus(trimmed(text));
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// The number a text begins with, read the way the hall's own tools read a
// flag: leading blanks, a sign, digits, a fraction and an exponent; whatever
// follows is ignored and a text with no number reads as 0.
double leadingNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    std::size_t end = pos;
    auto digits = [&] {
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
    };
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    const std::size_t mantissaStart = end;
    digits();
    if (end < text.size() && text[end] == '.') {
        ++end;
        digits();
    }
    if (end == mantissaStart || (end == mantissaStart + 1 && text[mantissaStart] == '.'))
        return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exp = end + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-'))
            ++exp;
        if (exp < text.size() && text[exp] >= '0' && text[exp] <= '9') {
            end = exp;
            digits();
        }
    }
    const std::string number(text.substr(pos, end - pos));
    return std::strtod(number.c_str(), nullptr);
}

// The whole number a text begins with (a spectator's value); none when the
// text does not begin with one.
std::optional<std::int32_t> leadingWholeNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    text = withoutPlus(text.substr(pos));
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data())
        return std::nullopt;
    return value;
}

// Account names and passwords go into the login frame one byte per character:
// every character must be a single-byte character of the code page and land
// inside the frame. Returns what is wrong, or nothing.
const char *loginBytesProblem(std::string_view text, std::size_t firstPos)
{
    const std::u32string chars = utf8ToChars(text);
    if (firstPos + chars.size() > kFrameSize)
        return "is too long for the login frame";
    for (char32_t ch : chars) {
        const std::uint16_t code = gbkCode(ch);
        if (gbkByteLength(code) != 1 || (code == '?' && ch != U'?'))
            return "holds a character that is not single-byte";
    }
    return nullptr;
}

class LineReader
{
public:
    explicit LineReader(std::string_view rest)
        : rest_(rest)
    { }

    // Cuts the next "$"-ended field. A rest without "$" is taken whole and
    // reported as missing its end.
    bool next(std::string_view &field)
    {
        const std::size_t dollar = rest_.find('$');
        if (dollar == std::string_view::npos) {
            field = rest_;
            rest_ = {};
            return false;
        }
        field = rest_.substr(0, dollar);
        rest_.remove_prefix(dollar + 1);
        return true;
    }
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

class Parser
{
public:
    CommandLineResult run(std::string_view rawLine)
    {
        const std::string_view line = trimmed(rawLine);
        if (line.empty()) {
            result_.ending = CommandLineEnding::EmptyLine;
            return std::move(result_);
        }
        fields().Spectator = line.back() != '$';

        LineReader reader(line);
        for (int number = 1; number <= kFieldCount; ++number) {
            std::string_view field;
            const bool ended = reader.next(field);
            if (!store(number, field, reader.rest()))
                return std::move(result_);
            if (!ended) {
                fail(number, "has no closing $");
                return std::move(result_);
            }
        }
        result_.ending
                = fields().Spectator ? CommandLineEnding::Spectator : CommandLineEnding::Player;
        return std::move(result_);
    }

private:
    CommandLine &fields() { return result_.fields; }

    bool fail(int number, std::string why)
    {
        result_.ending = CommandLineEnding::BadLine;
        result_.problem = "field " + std::to_string(number) + ' ' + why;
        return false;
    }

    bool number16(int number, std::string_view field, std::int16_t &out)
    {
        const auto value = wholeNumber(field, std::numeric_limits<std::int16_t>::min(),
                                       std::numeric_limits<std::int16_t>::max());
        if (!value)
            return fail(number, "is not a number from -32768 to 32767");
        out = static_cast<std::int16_t>(*value);
        return true;
    }

    bool port(int number, std::string_view field, std::uint16_t &out)
    {
        const auto value = wholeNumber(field, 0, std::numeric_limits<std::uint16_t>::max());
        if (!value)
            return fail(number, "is not a port from 0 to 65535");
        out = static_cast<std::uint16_t>(*value);
        return true;
    }

    bool room(std::string_view field, std::string_view restAfter)
    {
        fields().ArgRoom = std::string(field);
        const std::u32string chars = utf8ToChars(field);
        fields().LargeRoomFont = chars.size() <= kLargeRoomFontMaxChars;
        if (chars.size() < kRoomCodeChars)
            return fail(5, "is shorter than 7 characters");
        fields().Location = charsToUtf8(std::u32string_view(chars).substr(kRoomCodeChars));
        if (fields().Spectator) {
            const auto value = leadingWholeNumber(restAfter);
            if (!value)
                return fail(5, "is not followed by the spectator's number");
            fields().SpectatorValue = *value;
        }
        return true;
    }

    bool loginText(int number, std::string_view field, std::size_t firstPos)
    {
        const char *problem = loginBytesProblem(field, firstPos);
        return problem == nullptr || fail(number, problem);
    }

    bool credential(int number, std::string_view field, std::string &out)
    {
        out = std::string(field);
        if (utf8ToChars(field).size() > kMaxProxyCredentialChars)
            return fail(number, "is longer than 255 characters");
        return true;
    }

    bool store(int number, std::string_view field, std::string_view restAfter)
    {
        CommandLine &f = fields();
        switch (number) {
        case 1:
            f.ArgUser = std::string(field);
            return loginText(1, field, LoginFrame::kAccountPos);
        case 2:
            f.ArgPassword = std::string(field);
            return loginText(2, field, LoginFrame::kPasswordPos);
        case 3:
            f.ServerHost = std::string(field);
            return true;
        case 4:
            return port(4, field, f.ServerPort);
        case 5:
            return room(field, restAfter);
        case 6:
            return number16(6, field, f.ProxyType);
        case 7:
            f.ProxyHost = std::string(field);
            return true;
        case 8:
            return port(8, field, f.ProxyPort);
        case 9:
            return credential(9, field, f.ProxyUser);
        case 10:
            return credential(10, field, f.ProxyPassword);
        case 11:
            f.UseCaptions = leadingNumber(field) == 1.0;
            return true;
        case 12:
            f.HallCaption = std::string(field);
            return true;
        case 13:
            f.TableCaption = std::string(field);
            return true;
        case 14: {
            // Read for its check only: the item library always starts off.
            const bool isNumber = number16(14, field, f.prop_swicth);
            f.prop_swicth = 0;
            return isNumber;
        }
        case 15:
            return number16(15, field, f.ArgPropParam);
        default:
            return true;
        }
    }

    CommandLineResult result_;
};

} // namespace

CommandLineResult ParseCommandLine(std::string_view line)
{
    return Parser().run(line);
}

} // namespace tessaroc::wire
