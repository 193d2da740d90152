// Arbitrary command lines and texts: the line parser and the GBK codec must
// take any bytes, and what they accept must fit the login frame.
#include "FuzzCheck.h"
#include "wire/CommandLine.h"
#include "wire/GbkText.h"
#include "wire/SentFrames.h"

#include <string_view>

using namespace tessaroc::wire;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);

    const CommandLineResult result = ParseCommandLine(bytes);
    fuzzCheck(result.fields.prop_swicth == 0);
    if (result.ending == CommandLineEnding::Player
        || result.ending == CommandLineEnding::Spectator) {
        const MessageFrame login = LoginFrame{.account = result.fields.ArgUser,
                                              .password = result.fields.ArgPassword}
                                           .encode();
        fuzzCheck(login.cmd() == CmdLogin);
        fuzzCheck(utf8ToChars(result.fields.ProxyUser).size() <= 255);
    }

    // GBK text always comes back as valid UTF-8, and valid UTF-8 made of GBK
    // characters survives the trip there and back.
    const std::string utf8 = gbkToUtf8(bytes);
    const std::string gbk = utf8ToGbk(utf8);
    fuzzCheck(gbkToUtf8(gbk) == utf8);
    for (char32_t ch : utf8ToChars(utf8))
        fuzzCheck(ch != kReplacementChar);
    return 0;
}
