#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The text of a settings file in the sectioned form of the platform's profile
// files, edited the way the platform's profile functions edit it:
//
//   [section]
//   key=value
//
// Section and key names match without regard to ASCII letter case and to
// white space around them; the first section of a name and the first key of a
// name in it are the ones read and written. A value is read with the white
// space around it removed, and without one pair of matching quotes ('...' or
// "...") around it. Lines starting with ';' are comments.
//
// Texts are bytes of the code page (GBK): a byte from 0x81 on starts a
// double-byte character, whose second byte is never taken for a bracket or a
// letter. Every line that an edit does not touch is kept byte for byte; new
// lines end as the file's first line does (CR LF in a new file).
namespace tessaroc::support::profile {

// The value of `key` in `section`, or nothing when the section or the key is
// missing. A key line without "=" reads as the empty value. The value ends at
// a NUL byte, as the platform's C strings do.
std::optional<std::string> getString(std::string_view text, std::string_view section,
                                     std::string_view key);

// A text split into lines once, for reading many keys: each key is then found
// without another pass over the text, and reads exactly as getString reads it.
// A file of thousands of keys read key by key would be split anew for each.
class Reader
{
public:
    explicit Reader(std::string text);
    ~Reader();
    Reader(Reader &&) noexcept;
    Reader &operator=(Reader &&) noexcept;

    std::optional<std::string> getString(std::string_view section, std::string_view key) const;

private:
    struct Index;
    std::unique_ptr<const Index> index_;
};

// How many times these functions have split a text into lines in this
// process: one pass over the text each. Lets a test see that a reader of many
// keys passes over its file once.
std::uint64_t textPasses();

// The text with `key` in `section` set to `value`: the key's line replaced
// (keeping the key as the file spells it), or a new line added at the end of
// the section, or a new section added at the end of the text. Nothing when the
// key already holds exactly that value, so the file need not be written, and
// nothing when the section or the key could not be read back (see
// readsBackAsSection and readsBackAsKey) or the value holds a line break: a
// line that can never be found again, or the rest of a broken value, would be
// added anew by every write.
std::optional<std::string> setString(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value);

// Whether a header or a key line written with this name is found again by
// the name. Not so for a text holding a line break; for a key that starts
// with ';' (a comment) or '[' (a header, once a ']' follows) or holds '=' (the
// name ends there); for a section whose closing bracket would be taken for
// the second byte of a double-byte character.
bool readsBackAsSection(std::string_view section);
bool readsBackAsKey(std::string_view key);

// The text without the first line of `key` in `section`; nothing when there
// is no such line.
std::optional<std::string> deleteKey(std::string_view text, std::string_view section,
                                     std::string_view key);

// The text without the first section named `section`: its header and every
// line up to the next header. Nothing when there is no such section.
std::optional<std::string> deleteSection(std::string_view text, std::string_view section);

// The longest start of `bytes` no longer than `limit` that ends on a
// character boundary of the code page.
std::string_view cutAtCharacter(std::string_view bytes, std::size_t limit);

} // namespace tessaroc::support::profile
