#include "wire/CommandLine.h"

#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <functional>

using namespace tessaroc::wire;

namespace {

using Fields = std::array<std::string, 15>;

const Fields PlayerFields{"alice", "secret",    "127.0.0.1",  "6000", "0000001Room 1",
                          "0",     "",          "0",          "",     "",
                          "1",     "Ombrevale", "Tessaroc-1", "0",    "0"};

std::string join(const Fields &fields)
{
    std::string line;
    for (const auto &f : fields)
        line += f + '$';
    return line;
}

// The player line with field `number` (1-based) replaced.
std::string with(int number, std::string value)
{
    Fields fields = PlayerFields;
    fields[static_cast<std::size_t>(number - 1)] = std::move(value);
    return join(fields);
}

using Check = std::function<void(const CommandLine &)>;

struct LineCase
{
    const char *name;
    std::string line;
    CommandLineEnding ending;
    Check check = [](const CommandLine &) {
    };
};

void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << c.name << ": \"" << c.line << '"';
}

std::string endingName(CommandLineEnding e)
{
    switch (e) {
    case CommandLineEnding::Player:
        return "Player";
    case CommandLineEnding::Spectator:
        return "Spectator";
    case CommandLineEnding::EmptyLine:
        return "EmptyLine";
    case CommandLineEnding::BadLine:
        return "BadLine";
    }
    return "?";
}

} // namespace

class CommandLineCases : public testing::TestWithParam<LineCase>
{
};

TEST_P(CommandLineCases, Reads)
{
    const auto &c = GetParam();
    const CommandLineResult result = ParseCommandLine(c.line);
    ASSERT_EQ(endingName(result.ending), endingName(c.ending)) << result.problem;
    EXPECT_EQ(result.problem.empty(), c.ending != CommandLineEnding::BadLine);
    c.check(result.fields);
}

INSTANTIATE_TEST_SUITE_P(Lines, CommandLineCases,
                         testing::Values(LineCase{"player", join(PlayerFields),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ArgUser, "alice");
                                                      EXPECT_EQ(f.ArgPassword, "secret");
                                                      EXPECT_EQ(f.ServerHost, "127.0.0.1");
                                                      EXPECT_EQ(f.ServerPort, 6000);
                                                      EXPECT_EQ(f.ArgRoom, "0000001Room 1");
                                                      EXPECT_EQ(f.Location, "Room 1");
                                                      EXPECT_FALSE(f.LargeRoomFont);
                                                      EXPECT_EQ(f.ProxyType, kProxyDirect);
                                                      EXPECT_EQ(f.ProxyPort, 0);
                                                      EXPECT_TRUE(f.UseCaptions);
                                                      EXPECT_EQ(f.HallCaption, "Ombrevale");
                                                      EXPECT_EQ(f.TableCaption, "Tessaroc-1");
                                                      EXPECT_FALSE(f.Spectator);
                                                  }},
                                         LineCase{"proxy",
                                                  "alice$secret$10.1.2.3$6000$0000001Room "
                                                  "1$5$127.0.0.1$1080$puser$ppass$1$"
                                                  "Ombrevale$Tessaroc-1$0$0$",
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ProxyType, kProxySocks5);
                                                      EXPECT_EQ(f.ProxyHost, "127.0.0.1");
                                                      EXPECT_EQ(f.ProxyPort, 1080);
                                                      EXPECT_EQ(f.ProxyUser, "puser");
                                                      EXPECT_EQ(f.ProxyPassword, "ppass");
                                                  }},
                                         LineCase{"blanksAroundIgnored",
                                                  "  \t" + join(PlayerFields) + "  \n",
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ArgUser, "alice");
                                                  }},
                                         LineCase{"blanksInsideKept", with(5, "0000001 My Room "),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.Location, " My Room ");
                                                  }},
                                         LineCase{"blanksInName", with(1, "al ice "),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ArgUser, "al ice ");
                                                  }},
                                         LineCase{"empty", "", CommandLineEnding::EmptyLine},
                                         LineCase{"onlyBlanks", "   ",
                                                  CommandLineEnding::EmptyLine},
                                         LineCase{"nonNumericPort", with(4, "60a0"),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"emptyPort", with(4, ""),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"port0", with(4, "0"), CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ServerPort, 0);
                                                  }},
                                         LineCase{"port32768", with(4, "32768"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ServerPort, 32768);
                                                  }},
                                         LineCase{"port65535", with(4, "65535"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ServerPort, 65535);
                                                  }},
                                         LineCase{"port65536", with(4, "65536"),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"portNegative", with(4, "-1"),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"portWithBlanks", with(4, " 6000 "),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ServerPort, 6000);
                                                  }},
                                         LineCase{"proxyPort65535", with(8, "65535"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ProxyPort, 65535);
                                                  }},
                                         LineCase{"proxyPort65536", with(8, "65536"),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"roomOf6Characters", with(5, "000001"),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"roomOf7Characters", with(5, "0000001"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.Location, "");
                                                      EXPECT_TRUE(f.LargeRoomFont);
                                                  }},
                                         LineCase{"roomOf10Characters", with(5, "0000001abc"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_TRUE(f.LargeRoomFont);
                                                  }},
                                         LineCase{"roomOf11Characters", with(5, "0000001abcd"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_FALSE(f.LargeRoomFont);
                                                  }},
                                         LineCase{"roomCountsCharactersNotBytes",
                                                  with(5, "一二三四五六七八九"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.Location, "八九");
                                                  }},
                                         LineCase{"proxyTypeOther", with(6, "3"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ProxyType, 3);
                                                  }},
                                         LineCase{"proxyTypeBeyond16Bits", with(6, "40000"),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"proxyTypePlusSign", with(6, "+5"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ProxyType, 5);
                                                  }},
                                         LineCase{"proxyTypeTwoSigns", with(6, "+-5"),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"captionsFlag1", with(11, "1"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_TRUE(f.UseCaptions);
                                                  }},
                                         LineCase{"captionsFlag1Point0", with(11, "1.0"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_TRUE(f.UseCaptions);
                                                  }},
                                         LineCase{"captionsFlag1Letters", with(11, " 1abc"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_TRUE(f.UseCaptions);
                                                  }},
                                         LineCase{"captionsFlag2", with(11, "2"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_FALSE(f.UseCaptions);
                                                  }},
                                         LineCase{"captionsFlag0", with(11, "0"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_FALSE(f.UseCaptions);
                                                  }},
                                         LineCase{"captionsFlagEmpty", with(11, ""),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_FALSE(f.UseCaptions);
                                                  }},
                                         LineCase{"captionsFlag1Point5", with(11, "1.5"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_FALSE(f.UseCaptions);
                                                  }},
                                         LineCase{"itemSwitchStaysOff", with(14, "1"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.prop_swicth, 0);
                                                  }},
                                         LineCase{"itemSwitchStaysOffOnABadLine",
                                                  [] {
                                                      Fields fields = PlayerFields;
                                                      fields[13] = "1";
                                                      fields[14] = "x";
                                                      return join(fields);
                                                  }(),
                                                  CommandLineEnding::BadLine,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.prop_swicth, 0);
                                                  }},
                                         LineCase{"itemSwitchNotANumber", with(14, "on"),
                                                  CommandLineEnding::BadLine,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.HallCaption, "Ombrevale")
                                                              << "kept for the restore";
                                                  }},
                                         LineCase{"itemParameter", with(15, "-32768"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ArgPropParam, -32768);
                                                  }},
                                         LineCase{"itemParameterBeyond16Bits",
                                                  with(15, "32768"), CommandLineEnding::BadLine},
                                         LineCase{
                                                 "spectator", join(PlayerFields) + "W",
                                                 CommandLineEnding::Spectator,
                                                 [](const CommandLine &f) {
                                                     EXPECT_TRUE(f.Spectator);
                                                     EXPECT_EQ(f.SpectatorValue, 0);
                                                     EXPECT_EQ(f.TableCaption, "Tessaroc-1");
                                                 }},
                                         LineCase{"spectatorValueIsField6sNumber",
                                                  with(6, "7") + "W", CommandLineEnding::Spectator,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.SpectatorValue, 7);
                                                  }},
                                         LineCase{"textAfterField15Ignored",
                                                  join(PlayerFields) + "more$",
                                                  CommandLineEnding::Player},
                                         LineCase{"fourteenFields",
                                                  "alice$secret$127.0.0.1$6000$0000001Room "
                                                  "1$0$$0$$$1$Ombrevale$Tessaroc-1$0$",
                                                  CommandLineEnding::BadLine},
                                         LineCase{"lastFieldWithoutDollar",
                                                  "alice$secret$127.0.0.1$6000$0000001Room "
                                                  "1$0$$0$$$1$Ombrevale$Tessaroc-1$0$0",
                                                  CommandLineEnding::BadLine,
                                                  [](const CommandLine &f) {
                                                      EXPECT_TRUE(f.Spectator);
                                                  }},
                                         LineCase{"doubleByteInName", with(1, "张三"),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"doubleByteInPassword", with(2, "pass词"),
                                                  CommandLineEnding::BadLine,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ArgUser, "alice");
                                                  }},
                                         LineCase{"nameCharacterWithoutCode", with(1, "a😀"),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"euroIsSingleByte", with(1, "€uro"),
                                                  CommandLineEnding::Player},
                                         LineCase{"password240", with(2, std::string(240, 'p')),
                                                  CommandLineEnding::Player},
                                         LineCase{"password241", with(2, std::string(241, 'p')),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"doubleByteProxyUserIsText", with(9, "代理"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.ProxyUser, "代理");
                                                  }},
                                         LineCase{"proxyUser255", with(9, std::string(255, 'u')),
                                                  CommandLineEnding::Player},
                                         LineCase{"proxyPassword256",
                                                  with(10, std::string(256, 'u')),
                                                  CommandLineEnding::BadLine},
                                         LineCase{"doubleByteCaption", with(13, "斗地主-1"),
                                                  CommandLineEnding::Player,
                                                  [](const CommandLine &f) {
                                                      EXPECT_EQ(f.TableCaption, "斗地主-1");
                                                  }}),
                         [](const testing::TestParamInfo<LineCase> &p) {
                             return std::string(p.param.name);
                         });

TEST(CommandLine, EmptyLineCarriesItsMessage)
{
    EXPECT_EQ(kEmptyLineText, "本游戏需从游戏大厅中启动！");
    EXPECT_EQ(kEmptyLineTitle, "警告");
}

TEST(CommandLine, ProblemNamesTheField)
{
    EXPECT_EQ(ParseCommandLine(with(4, "x")).problem.rfind("field 4 ", 0), 0u);
    EXPECT_EQ(ParseCommandLine(with(5, "short")).problem.rfind("field 5 ", 0), 0u);
}
