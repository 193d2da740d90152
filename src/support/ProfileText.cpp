#include "support/ProfileText.h"

#include <atomic>
#include <unordered_map>
#include <vector>

namespace tessaroc::support::profile {

namespace {

bool isLeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}

// The byte length of the character that starts at `i`.
std::size_t charLength(std::string_view s, std::size_t i)
{
    return isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == '\x1A';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

char foldAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// Equal names: ASCII letters in either case; the bytes of a double-byte
// character exactly.
bool sameName(std::string_view a, std::string_view b)
{
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = charLength(a, i);
        if (n == 2) {
            if (a.substr(i, 2) != b.substr(i, 2))
                return false;
        } else if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

// Splits into lines counted, for textPasses.
std::atomic<std::uint64_t> passes{0};

enum class LineKind { Blank, Comment, Header, Key, Other };

struct Line
{
    std::size_t begin = 0; // first byte
    std::size_t end = 0; // past the last byte before the line ending
    std::size_t next = 0; // past the line ending
    LineKind kind = LineKind::Other;
    std::string_view name; // section or key name, trimmed
    std::string_view value; // trimmed; only for a key with "="
    bool hasValue = false;
};

Line classify(std::string_view text, std::size_t begin, std::size_t end, std::size_t next)
{
    Line line;
    line.begin = begin;
    line.end = end;
    line.next = next;
    const std::string_view content = trim(text.substr(begin, end - begin));
    if (content.empty()) {
        line.kind = LineKind::Blank;
    } else if (content.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (content.front() == '[') {
        // The last closing bracket that is a character of its own.
        std::size_t close = std::string_view::npos;
        for (std::size_t i = 1; i < content.size(); i += charLength(content, i)) {
            if (content[i] == ']')
                close = i;
        }
        if (close != std::string_view::npos) {
            line.kind = LineKind::Header;
            line.name = trim(content.substr(1, close - 1));
        }
    }
    if (line.kind == LineKind::Other) {
        // '=' is below the second bytes of double-byte characters: a plain
        // search cannot land inside one.
        const std::size_t equals = content.find('=');
        line.kind = LineKind::Key;
        line.name = trim(content.substr(0, equals));
        if (equals != std::string_view::npos) {
            line.hasValue = true;
            line.value = trim(content.substr(equals + 1));
        }
    }
    return line;
}

class Profile
{
public:
    explicit Profile(std::string_view text)
        : text_(text)
    {
        passes.fetch_add(1, std::memory_order_relaxed);
        std::size_t begin = 0;
        while (begin < text.size()) {
            std::size_t next = text.find('\n', begin);
            std::size_t end = next;
            if (next == std::string_view::npos) {
                end = next = text.size();
            } else {
                ++next;
                if (end > begin && text[end - 1] == '\r')
                    --end;
            }
            lines_.push_back(classify(text, begin, end, next));
            begin = next;
        }
    }

    const std::vector<Line> &lines() const { return lines_; }

    // The index of the first header of the section, or lines().size().
    std::size_t findSection(std::string_view section) const
    {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (lines_[i].kind == LineKind::Header && sameName(lines_[i].name, section))
                return i;
        }
        return lines_.size();
    }

    // The index of the next header after line `header`, or lines().size().
    std::size_t sectionEnd(std::size_t header) const
    {
        std::size_t i = header + 1;
        while (i < lines_.size() && lines_[i].kind != LineKind::Header)
            ++i;
        return i;
    }

    // The index of the first line of the key inside the section that starts
    // at `header`, or lines().size().
    std::size_t findKey(std::size_t header, std::string_view key) const
    {
        const std::size_t end = sectionEnd(header);
        for (std::size_t i = header + 1; i < end; ++i) {
            if (lines_[i].kind == LineKind::Key && sameName(lines_[i].name, key))
                return i;
        }
        return lines_.size();
    }

    // The index of the first line of the key in the first section of that
    // name, or lines().size() where either is missing.
    std::size_t findKeyIn(std::string_view section, std::string_view key) const
    {
        const std::size_t header = findSection(section);
        return header == lines_.size() ? header : findKey(header, key);
    }

    // The line ending new lines take: the one of the first line that has one.
    std::string_view lineEnding() const
    {
        for (const Line &line : lines_) {
            if (line.next > line.end)
                return text_.substr(line.end, line.next - line.end);
        }
        return "\r\n";
    }

    // The text with `insert` put before byte `at` and the bytes from `at` to
    // `skipTo` left out.
    std::string splice(std::size_t at, std::size_t skipTo, std::string_view insert) const
    {
        std::string out;
        out.reserve(text_.size() + insert.size());
        out.append(text_.substr(0, at));
        out.append(insert);
        out.append(text_.substr(skipTo));
        return out;
    }

    // The text with `newLines` (each ended) added after line `after`, whose own
    // ending is supplied when it lacks one.
    std::string insertAfter(std::size_t after, std::string_view newLines) const
    {
        const Line &line = lines_[after];
        std::string insert;
        if (line.next == line.end)
            insert.append(lineEnding());
        insert.append(newLines);
        return splice(line.next, line.next, insert);
    }

private:
    std::string_view text_;
    std::vector<Line> lines_;
};

// A key's value as it reads: up to a NUL, as the platform's C strings end,
// and without one pair of matching quotes.
std::string valueOf(const Line &line)
{
    std::string_view value = line.value;
    value = value.substr(0, value.find('\0'));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// A name as sameName compares it: trimmed, ASCII letters in one case, the
// bytes of a double-byte character as they are. Two names are the same name
// when their keys are equal.
std::string nameKey(std::string_view name)
{
    name = trim(name);
    std::string key;
    key.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = charLength(name, i);
        if (n == 2)
            key.append(name.substr(i, 2));
        else
            key += foldAscii(name[i]);
        i += n;
    }
    return key;
}

std::string keyLine(std::string_view key, std::string_view value, std::string_view ending)
{
    std::string line(key);
    line += '=';
    line += value;
    line += ending;
    return line;
}

} // namespace

std::string_view cutAtCharacter(std::string_view bytes, std::size_t limit)
{
    std::size_t end = 0;
    while (end < bytes.size()) {
        const std::size_t n = charLength(bytes, end);
        if (end + n > limit)
            break;
        end += n;
    }
    return bytes.substr(0, end);
}

std::optional<std::string> getString(std::string_view text, std::string_view section,
                                     std::string_view key)
{
    const Profile profile(text);
    const std::size_t at = profile.findKeyIn(section, key);
    if (at == profile.lines().size())
        return std::nullopt;
    return valueOf(profile.lines()[at]);
}

// The first section of each name, and in it the first line of each key name,
// as findSection and findKey find them.
struct Reader::Index
{
    explicit Index(std::string bytes)
        : text(std::move(bytes))
        , profile(text)
    {
        std::unordered_map<std::string, std::size_t> *keys = nullptr;
        const auto &lines = profile.lines();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].kind == LineKind::Header) {
                const auto [it, first] = sections.try_emplace(nameKey(lines[i].name));
                keys = first ? &it->second : nullptr;
            } else if (lines[i].kind == LineKind::Key && keys) {
                keys->try_emplace(nameKey(lines[i].name), i);
            }
        }
    }

    const std::string text;
    const Profile profile;
    std::unordered_map<std::string, std::unordered_map<std::string, std::size_t>> sections;
};

Reader::Reader(std::string text)
    : index_(std::make_unique<const Index>(std::move(text)))
{ }

Reader::~Reader() = default;
Reader::Reader(Reader &&) noexcept = default;
Reader &Reader::operator=(Reader &&) noexcept = default;

std::optional<std::string> Reader::getString(std::string_view section, std::string_view key) const
{
    const auto keys = index_->sections.find(nameKey(section));
    if (keys == index_->sections.end())
        return std::nullopt;
    const auto at = keys->second.find(nameKey(key));
    if (at == keys->second.end())
        return std::nullopt;
    return valueOf(index_->profile.lines()[at->second]);
}

std::uint64_t textPasses()
{
    return passes.load(std::memory_order_relaxed);
}

bool readsBackAsSection(std::string_view section)
{
    section = trim(section);
    if (section.find_first_of("\r\n") != std::string_view::npos)
        return false;
    std::string header = "[";
    header += section;
    header += ']';
    const Line line = classify(header, 0, header.size(), header.size());
    return line.kind == LineKind::Header && line.name == section;
}

bool readsBackAsKey(std::string_view key)
{
    key = trim(key);
    return key.find_first_of("\r\n=") == std::string_view::npos
            && (key.empty() || (key.front() != ';' && key.front() != '['));
}

std::optional<std::string> setString(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value)
{
    // A value with a line break would add a line on every write as well.
    if (!readsBackAsSection(section) || !readsBackAsKey(key)
        || value.find_first_of("\r\n") != std::string_view::npos)
        return std::nullopt;
    const Profile profile(text);
    const auto &lines = profile.lines();
    const std::size_t header = profile.findSection(section);
    if (header == lines.size()) {
        std::string added;
        if (!text.empty() && text.back() != '\n')
            added.append(profile.lineEnding());
        added += '[';
        added += trim(section);
        added += ']';
        added.append(profile.lineEnding());
        added.append(keyLine(trim(key), value, profile.lineEnding()));
        return std::string(text) + added;
    }
    const std::size_t at = profile.findKey(header, key);
    if (at == lines.size()) {
        // After the section's last line that is not blank, so blank lines
        // that part it from the next section stay where they are.
        std::size_t after = header;
        for (std::size_t i = header + 1; i < profile.sectionEnd(header); ++i) {
            if (lines[i].kind != LineKind::Blank)
                after = i;
        }
        return profile.insertAfter(after, keyLine(trim(key), value, profile.lineEnding()));
    }
    const Line &line = lines[at];
    if (line.hasValue && line.value == value)
        return std::nullopt;
    return profile.splice(line.begin, line.end, keyLine(line.name, value, ""));
}

std::optional<std::string> deleteKey(std::string_view text, std::string_view section,
                                     std::string_view key)
{
    const Profile profile(text);
    const std::size_t at = profile.findKeyIn(section, key);
    if (at == profile.lines().size())
        return std::nullopt;
    const Line &line = profile.lines()[at];
    return profile.splice(line.begin, line.next, {});
}

std::optional<std::string> deleteSection(std::string_view text, std::string_view section)
{
    const Profile profile(text);
    const std::size_t header = profile.findSection(section);
    if (header == profile.lines().size())
        return std::nullopt;
    const std::size_t end = profile.sectionEnd(header);
    const std::size_t from = profile.lines()[header].begin;
    const std::size_t to = end == profile.lines().size() ? text.size() : profile.lines()[end].begin;
    return profile.splice(from, to, {});
}

} // namespace tessaroc::support::profile
