#include "support/PictureIds.h"

#include <gtest/gtest.h>

#include <set>

using namespace tessaroc::support;

namespace {

PictureIds tablesAt(float scale)
{
    PictureIds ids;
    InitPictureIds(ids, scale);
    return ids;
}

struct CardCase
{
    int entry;
    const char *full;
    const char *reduced;
};

void PrintTo(const CardCase &c, std::ostream *os)
{
    *os << "entry " << c.entry;
}

class CardPictureIdsTable : public ::testing::TestWithParam<CardCase>
{
};

} // namespace

TEST_P(CardPictureIdsTable, AtBothScales)
{
    const CardCase &c = GetParam();
    EXPECT_EQ(tablesAt(1.0f).CardPictureIds[static_cast<std::size_t>(c.entry)],
              QLatin1String(c.full));
    EXPECT_EQ(tablesAt(0.78125f).CardPictureIds[static_cast<std::size_t>(c.entry)],
              QLatin1String(c.reduced));
}

INSTANTIATE_TEST_SUITE_P(PictureIds, CardPictureIdsTable,
                         ::testing::Values(CardCase{61, "61", "352"}, CardCase{18, "18", "18"},
                                           CardCase{33, "", ""}, CardCase{14, "14", "301"},
                                           CardCase{15, "15", "302"}, CardCase{3, "3", "303"},
                                           CardCase{30, "30", "314"}, CardCase{63, "63", "341"},
                                           CardCase{16, "16", "353"}, CardCase{17, "17", "354"},
                                           CardCase{0, "", ""}, CardCase{2, "", ""},
                                           CardCase{32, "", ""}, CardCase{34, "", ""},
                                           CardCase{48, "", ""}, CardCase{50, "", ""},
                                           CardCase{51, "51", "342"}, CardCase{19, "19", "316"}),
                         [](const auto &param) {
                             return "entry" + std::to_string(param.param.entry);
                         });

TEST(PictureIds, EveryFilledCardEntryIsDistinct)
{
    for (float scale : {1.0f, 0.78125f}) {
        std::set<QString> seen;
        int filled = 0;
        for (const QString &entry : tablesAt(scale).CardPictureIds) {
            if (entry.isEmpty())
                continue;
            ++filled;
            EXPECT_TRUE(seen.insert(entry).second) << entry.toStdString();
        }
        EXPECT_EQ(filled, 55);
    }
}

TEST(PictureIds, ButtonsChangeWithTheScaleExceptTheSendPair)
{
    const PictureIds full = tablesAt(1.0f);
    const PictureIds reduced = tablesAt(0.78125f);
    EXPECT_EQ(full.ButtonPic[1], QStringLiteral("151"));
    EXPECT_EQ(reduced.ButtonPic[1], QStringLiteral("151"));
    EXPECT_EQ(full.ButtonPic[2], QStringLiteral("152"));
    EXPECT_EQ(reduced.ButtonPic[2], QStringLiteral("283"));
    EXPECT_EQ(full.ButtonPic[19], QStringLiteral("169"));
    EXPECT_EQ(reduced.ButtonPic[19], QStringLiteral("300"));
    // Only exactly 1.0 is the full layout.
    EXPECT_EQ(tablesAt(0.99f).ButtonPic[2], QStringLiteral("283"));
}

TEST(PictureIds, TheOtherTablesAreTheSameAtBothScales)
{
    for (float scale : {1.0f, 0.78125f}) {
        const PictureIds ids = tablesAt(scale);
        EXPECT_EQ(ids.DialogButtonPic[0], QStringLiteral("170"));
        EXPECT_EQ(ids.DialogButtonPic[7], QStringLiteral("177"));
        EXPECT_EQ(ids.OperationPic[0], QStringLiteral("178"));
        EXPECT_EQ(ids.OperationPic[14], QStringLiteral("192"));
        EXPECT_TRUE(ids.SpeakPic[26].isEmpty());
        EXPECT_EQ(ids.SpeakPic[27], QStringLiteral("882"));
        EXPECT_EQ(ids.SpeakPic[29], QStringLiteral("884"));
        EXPECT_EQ(ids.SpeakPic[30], QStringLiteral("381"));
        EXPECT_EQ(ids.SpeakPic[32], QStringLiteral("383"));
        EXPECT_EQ(ids.AvatarPic[0], QStringLiteral("240"));
        EXPECT_EQ(ids.AvatarPic[19], QStringLiteral("259"));
        EXPECT_EQ(ids.ReadyMarkPic[3], QStringLiteral("283"));
        EXPECT_EQ(ids.VideoIconPic[12], QStringLiteral("862"));
        EXPECT_EQ(ids.VideoBackPic[0], QStringLiteral("870"));
        EXPECT_EQ(ids.VideoBackPic[5], QStringLiteral("875"));
    }
}

TEST(PictureIds, ScaleChangeRefillsEveryEntry)
{
    PictureIds ids;
    InitPictureIds(ids, 0.78125f);
    InitPictureIds(ids, 1.0f);
    EXPECT_EQ(ids.CardPictureIds[14], QStringLiteral("14"));
    EXPECT_EQ(ids.ButtonPic[2], QStringLiteral("152"));
}

TEST(PictureIds, EntriesConvertToSixteenBitIds)
{
    EXPECT_EQ(pictureId(QStringLiteral("352")), 352);
    EXPECT_EQ(pictureId(QString()), 0);
    EXPECT_EQ(pictureId(QStringLiteral("abc")), 0);
    EXPECT_EQ(pictureId(QStringLiteral("70000")), 0);
    EXPECT_EQ(pictureId(QStringLiteral(" 18 ")), 18);
}
