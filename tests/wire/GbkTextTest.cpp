#include "wire/GbkText.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <vector>

using namespace tessaroc::wire;

namespace {

std::string hex(std::string_view bytes)
{
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02x ", b);
        out += buf;
    }
    return out;
}

template<class Case> std::string caseName(const testing::TestParamInfo<Case> &info)
{
    return info.param.name;
}

} // namespace

struct RoundTripCase
{
    const char *name;
    std::string utf8;
    std::string gbk;
};

void PrintTo(const RoundTripCase &c, std::ostream *os)
{
    *os << c.name << ": \"" << c.utf8 << "\" = " << hex(c.gbk);
}

class GbkRoundTrip : public testing::TestWithParam<RoundTripCase>
{
};

TEST_P(GbkRoundTrip, BothWays)
{
    const auto &c = GetParam();
    EXPECT_EQ(hex(utf8ToGbk(c.utf8)), hex(c.gbk));
    EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, GbkRoundTrip,
                         testing::Values(RoundTripCase{"empty", "", ""},
                                         RoundTripCase{"ascii", "abc 123$", "abc 123$"},
                                         RoundTripCase{"chinese", "中文", "\xd6\xd0\xce\xc4"},
                                         RoundTripCase{"euroIsOneByte0x80", "€", "\x80"},
                                         RoundTripCase{"mixed", "a中b€",
                                                       "a\xd6\xd0"
                                                       "b\x80"},
                                         RoundTripCase{"firstDoubleByteCode", "丂", "\x81\x40"},
                                         RoundTripCase{"fullWidthPunctuation", "说道：　",
                                                       "\xcb\xb5\xb5\xc0\xa3\xba\xa1\xa1"},
                                         RoundTripCase{"latinInGbk", "é", "\xa8\xa6"}),
                         caseName<RoundTripCase>);

struct OneWayCase
{
    const char *name;
    std::string in;
    std::string out;
};

void PrintTo(const OneWayCase &c, std::ostream *os)
{
    *os << c.name << ": " << hex(c.in) << " -> " << hex(c.out);
}

class Utf8ToGbkLossy : public testing::TestWithParam<OneWayCase>
{
};

TEST_P(Utf8ToGbkLossy, CharactersWithoutCodeBecomeQuestionMarks)
{
    EXPECT_EQ(hex(utf8ToGbk(GetParam().in)), hex(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8ToGbkLossy,
                         testing::Values(OneWayCase{"emoji", "a😀b", "a?b"},
                                         OneWayCase{"thai", "\xe0\xb8\x81", "?"},
                                         OneWayCase{"invalidUtf8Byte",
                                                    "a\xff"
                                                    "b",
                                                    "a?b"},
                                         OneWayCase{"truncatedSequence", "\xe4\xb8", "??"},
                                         OneWayCase{"encodedSurrogate", "\xed\xa0\x80", "???"},
                                         OneWayCase{"overlongSlash", "\xc0\xaf", "??"}),
                         caseName<OneWayCase>);

class GbkToUtf8Lossy : public testing::TestWithParam<OneWayCase>
{
};

TEST_P(GbkToUtf8Lossy, BadBytesBecomeQuestionMarksWithoutSwallowingGoodOnes)
{
    EXPECT_EQ(gbkToUtf8(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Texts, GbkToUtf8Lossy,
                         testing::Values(OneWayCase{"byteFF",
                                                    "a\xff"
                                                    "b",
                                                    "a?b"},
                                         OneWayCase{"loneLeadAtEnd", "ab\xd6", "ab?"},
                                         OneWayCase{"leadBeforeNewline", "\xd6\n", "?\n"},
                                         OneWayCase{"euroBeforeLetter",
                                                    "\x80"
                                                    "A",
                                                    "€A"},
                                         OneWayCase{"zeroBytesKept", std::string("a\0b", 3),
                                                    std::string("a\0b", 3)}),
                         caseName<OneWayCase>);

TEST(GbkCode, ByteLengthFollowsTheCode)
{
    struct Case
    {
        char32_t ch;
        std::uint16_t code;
        std::size_t length;
    };
    for (const Case &c :
         {Case{U'A', 0x41, 1}, Case{0, 0, 1}, Case{U'€', 0x80, 1}, Case{U'中', 0xD6D0, 2},
          Case{U'丂', 0x8140, 2}, Case{U'😀', '?', 1}, Case{U'\u0E01', '?', 1}}) {
        EXPECT_EQ(gbkCode(c.ch), c.code) << std::hex << static_cast<std::uint32_t>(c.ch);
        EXPECT_EQ(gbkByteLength(c.ch), c.length) << std::hex << static_cast<std::uint32_t>(c.ch);
        if (c.code != '?') {
            EXPECT_EQ(charOfGbkCode(c.code), c.ch);
        }
    }
    EXPECT_EQ(charOfGbkCode(0x8000), kReplacementChar);
    EXPECT_EQ(charOfGbkCode(0xD6), kReplacementChar);
    EXPECT_EQ(charOfGbkCode(0x4142), kReplacementChar);
}

TEST(GbkCode, EveryDoubleByteCharacterComesBackToItsCode)
{
    int doubleByte = 0;
    for (unsigned code = 0x8140; code <= 0xFEFE; ++code) {
        const char32_t ch = charOfGbkCode(static_cast<std::uint16_t>(code));
        if (ch == kReplacementChar)
            continue;
        ++doubleByte;
        ASSERT_EQ(gbkCode(ch), code) << std::hex << code;
    }
    // GBK holds 21886 code points, of which 21791 are double-byte characters
    // that glibc maps into the basic plane.
    EXPECT_GT(doubleByte, 21000);
}

struct FieldCase
{
    const char *name;
    std::size_t at;
    std::vector<std::uint8_t> bytes;
    std::size_t first;
    std::size_t last;
    FieldText rule;
    std::string expected;
};

void PrintTo(const FieldCase &c, std::ostream *os)
{
    *os << c.name << ": bytes " << c.first << ".." << c.last << " rule " << static_cast<int>(c.rule)
        << " reading " << hex(std::string(c.bytes.begin(), c.bytes.end())) << " at " << c.at;
}

class FrameField : public testing::TestWithParam<FieldCase>
{
};

TEST_P(FrameField, Reads)
{
    const auto &c = GetParam();
    MessageFrame frame;
    for (std::size_t i = 0; i < c.bytes.size(); ++i)
        frame.setByte(c.at + i, c.bytes[i]);
    EXPECT_EQ(readFieldText(frame, c.first, c.last, c.rule), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
        Fields, FrameField,
        testing::Values(
                FieldCase{"empty", 16, {0, 'a'}, 16, 215, FieldText::Mixed, ""},
                FieldCase{"ascii", 16, {'h', 'i', 0, 'x'}, 16, 215, FieldText::Mixed, "hi"},
                FieldCase{
                        "chinese", 16, {0xd6, 0xd0, 0xce, 0xc4}, 16, 215, FieldText::Mixed, "中文"},
                FieldCase{"mixed", 16, {'a', 0xd6, 0xd0, 'b'}, 16, 215, FieldText::Mixed, "a中b"},
                FieldCase{"noZeroReadsToLastByte",
                          16,
                          {'a', 'b', 'c', 'd', 'e'},
                          16,
                          19,
                          FieldText::Mixed,
                          "abcd"},
                FieldCase{"leadAtFieldEndTakesByteAfter",
                          16,
                          {'a', 'b', 'c', 0xd6, 0xd0},
                          16,
                          19,
                          FieldText::Mixed,
                          "abc中"},
                FieldCase{"fieldCutMidCharacter",
                          16,
                          {0xd6, 0xd0, 0xce, 0xc4, 'x'},
                          16,
                          18,
                          FieldText::Mixed,
                          "中文"},
                FieldCase{"leadAtFrameEndHasNoTrail",
                          268,
                          {'a', 'b', 'c', 0xd6},
                          268,
                          271,
                          FieldText::Mixed,
                          "abc?"},
                FieldCase{
                        "byte80IsALeadByte", 16, {0x80, 'A', 'b'}, 16, 215, FieldText::Mixed, "?b"},
                FieldCase{
                        "leadTakesAZeroTrail", 16, {0xd6, 0, 'b'}, 16, 215, FieldText::Mixed, "?b"},
                FieldCase{"fieldPastTheFrameIsClamped",
                          270,
                          {'o', 'k'},
                          270,
                          400,
                          FieldText::Mixed,
                          "ok"},
                FieldCase{"firstPastTheFrame", 0, {}, 272, 300, FieldText::Mixed, ""},
                FieldCase{"nicknameLeadAtEndStandsAlone",
                          16,
                          {'a', 'b', 'c', 0xd6, 0xd0},
                          16,
                          19,
                          FieldText::MixedInField,
                          "abc?"},
                FieldCase{"nicknameEuroAtEndStandsAlone",
                          16,
                          {'a', 'b', 'c', 0x80, 0xd0},
                          16,
                          19,
                          FieldText::MixedInField,
                          "abc€"},
                FieldCase{"euroAtFrameEndStandsAlone",
                          270,
                          {'a', 0x80},
                          270,
                          271,
                          FieldText::Mixed,
                          "a€"},
                FieldCase{"nicknameWholeCharacters",
                          16,
                          {0xd6, 0xd0, 'x', 0},
                          16,
                          47,
                          FieldText::MixedInField,
                          "中x"},
                FieldCase{"twoByteText",
                          72,
                          {0xb1, 0xb1, 0xbe, 0xa9, 0, 0},
                          72,
                          79,
                          FieldText::TwoByte,
                          "北京"},
                FieldCase{"twoByteTextPairsAscii",
                          72,
                          {'A', 'B', 0},
                          72,
                          79,
                          FieldText::TwoByte,
                          "?"},
                FieldCase{"twoByteFullField",
                          72,
                          {0xb1, 0xb1, 0xb1, 0xb1, 0xb1, 0xb1, 0xb1, 0xb1, 'x'},
                          72,
                          79,
                          FieldText::TwoByte,
                          "北北北北"},
                FieldCase{"singleByte",
                          168,
                          {'a', 'l', 'i', 'c', 'e', 0},
                          168,
                          183,
                          FieldText::SingleByte,
                          "alice"},
                FieldCase{"singleByteLeadAlone",
                          168,
                          {'a', 0xd6, 0xd0, 0x80},
                          168,
                          183,
                          FieldText::SingleByte,
                          "a??€"}),
        caseName<FieldCase>);

TEST(FrameField, WritesWholeCharactersOnly)
{
    MessageFrame frame;
    frame.bytes().fill(0xEE);
    EXPECT_EQ(writeFieldText(frame, 16, 20, U"ab中文"), 4u);
    EXPECT_EQ(frame.byteAt(16), 'a');
    EXPECT_EQ(frame.byteAt(17), 'b');
    EXPECT_EQ(frame.byteAt(18), 0xd6);
    EXPECT_EQ(frame.byteAt(19), 0xd0);
    EXPECT_EQ(frame.byteAt(20), 0xEE) << "文 would pass the field's last byte";

    EXPECT_EQ(writeFieldText(frame, 270, 400, U"中文"), 2u);
    EXPECT_EQ(frame.byteAt(270), 0xd6);
    EXPECT_EQ(frame.byteAt(271), 0xd0);
    EXPECT_EQ(writeFieldText(frame, 272, 300, U"x"), 0u);
}

TEST(Utf8Chars, CountsCharactersNotBytes)
{
    EXPECT_EQ(utf8ToChars("a中😀"), std::u32string(U"a中😀"));
    EXPECT_EQ(charsToUtf8(U"a中😀"), "a中😀");
    EXPECT_EQ(utf8ToChars("\xff"), std::u32string(1, kReplacementChar));
}
