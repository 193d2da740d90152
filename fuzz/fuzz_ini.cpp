// The settings-file text editor on arbitrary file bytes and names: reads,
// writes and deletes must never fault, the reader of many keys must read as a
// single read does, a key written with a plain name and value must read back,
// and a second identical write must not grow the text.
#include "support/ProfileText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tessaroc::support;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool plain(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    std::string_view rest(reinterpret_cast<const char *>(data + 3), size - 3);
    const auto take = [&rest](std::size_t n) {
        const std::string_view part = rest.substr(0, n);
        rest.remove_prefix(part.size());
        return part;
    };
    const std::string_view section = take(data[0] % 16);
    const std::string_view key = take(data[1] % 16);
    const std::string_view value = take(data[2] % 32);
    const std::string_view text = rest;

    // The reader of many keys reads each exactly as a single read does.
    check(profile::Reader(std::string(text)).getString(section, key)
          == profile::getString(text, section, key));
    profile::deleteKey(text, section, key);
    profile::deleteSection(text, section);
    profile::cutAtCharacter(text, data[0]);
    const auto written = profile::setString(text, section, key, value);
    // Whatever the names, writing the same key again never adds to the file:
    // a key that could not be found again would grow it on every write.
    if (written) {
        const auto again = profile::setString(*written, section, key, value);
        check(!again || again->size() == written->size());
    }
    if (plain(section) && plain(key) && plain(value)) {
        const std::string_view after = written ? std::string_view(*written) : text;
        check(profile::getString(after, section, key) == std::string(value));
        if (written)
            check(!profile::setString(after, section, key, value));
    }
    return 0;
}
