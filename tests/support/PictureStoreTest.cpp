#include "support/PictureStore.h"
#include "support/JpegImages.h"
#include "forms/Image.h"
#include "forms/Surface.h"
#include "support/PictureIds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace tessaroc;
using namespace tessaroc::support;

namespace {

// Every picture the client loads by id, with the size the game's layout
// relies on. Written out from the layout, independently of the art tool.
std::map<int, QSize> expectedSizes()
{
    std::map<int, QSize> sizes;
    auto range = [&](int first, int last, QSize size) {
        for (int id = first; id <= last; ++id)
            sizes[id] = size;
    };
    // Card faces, large: picture numbers 3..17, 19..31, 35..47, 51..63; the
    // back 18. Reduced: 301..354; the reduced back 520.
    for (int suit = 0; suit < 4; ++suit)
        range(3 + 16 * suit, 15 + 16 * suit, QSize(92, 122));
    range(16, 17, QSize(92, 122));
    sizes[18] = QSize(78, 103);
    range(301, 354, QSize(72, 95));
    sizes[520] = QSize(61, 80);
    // Toolbar: 150, 151 send; 152..169 the others; 283..300 reduced.
    range(150, 151, QSize(48, 30));
    range(152, 169, QSize(55, 31));
    range(283, 300, QSize(43, 24));
    // Dialog, action, bid and choice buttons.
    range(170, 173, QSize(70, 29));
    range(174, 177, QSize(64, 26));
    range(178, 186, QSize(66, 38));
    range(187, 192, QSize(62, 25));
    for (int id : {201, 202, 206, 207})
        sizes[id] = QSize(66, 38);
    // The task icon, full and reduced.
    range(194, 195, QSize(102, 39));
    range(199, 200, QSize(80, 30));
    // Avatars (241 is a little larger) and ready marks.
    range(240, 259, QSize(85, 90));
    sizes[241] = QSize(87, 92);
    range(280, 282, QSize(70, 29));
    // Bubbles: bombs, four jokers and passes.
    for (int id : {381, 382, 383, 876, 877, 878, 882, 883, 884})
        sizes[id] = QSize(151, 112);
    // Phrase tabs and the item store.
    range(516, 519, QSize(57, 13));
    range(600, 601, QSize(55, 31));
    // Video icons and panel backgrounds (JPEG).
    range(850, 859, QSize(16, 14));
    range(860, 862, QSize(17, 16));
    range(863, 864, QSize(16, 14));
    sizes[870] = QSize(175, 138);
    sizes[871] = QSize(276, 215);
    sizes[872] = QSize(434, 341);
    sizes[873] = QSize(137, 108);
    sizes[874] = QSize(216, 168);
    sizes[875] = QSize(339, 266);
    // Card-back fans: left 890..899 (reduced 900..909), top 260..269
    // (270..279), right 910..919 (920..929); the one-card fans are strips.
    range(890, 899, QSize(124, 190));
    range(900, 909, QSize(97, 149));
    range(260, 269, QSize(183, 159));
    range(270, 279, QSize(143, 123));
    range(910, 919, QSize(124, 190));
    range(920, 929, QSize(97, 149));
    sizes[890] = QSize(124, 51);
    sizes[900] = QSize(97, 39);
    sizes[260] = QSize(87, 56);
    sizes[270] = QSize(69, 44);
    sizes[910] = QSize(126, 51);
    sizes[920] = QSize(98, 39);
    // Fans for 11 and more cards and for the dealt hand.
    for (int id : {934, 936, 940, 942, 946, 948})
        sizes[id] = QSize(124, 190);
    for (int id : {937, 939, 943, 945, 949, 951})
        sizes[id] = QSize(97, 149);
    for (int id : {935, 941, 947})
        sizes[id] = QSize(183, 159);
    for (int id : {938, 944, 950})
        sizes[id] = QSize(143, 123);
    // Animations: the turn clock, explosions, four jokers, the badges.
    sizes[198] = QSize(62, 58);
    for (int id : {879, 880, 881, 930})
        sizes[id] = QSize(225, 225);
    sizes[931] = QSize(260, 198);
    sizes[932] = QSize(260, 198);
    sizes[933] = QSize(70, 90);
    return sizes;
}

// Every id the picture-id tables hand out, at both scales.
std::set<int> idsInTables()
{
    std::set<int> ids;
    for (float scale : {1.0f, 0.78125f}) {
        PictureIds tables;
        InitPictureIds(tables, scale);
        auto add = [&ids](const auto &table) {
            for (const QString &entry : table)
                if (!entry.isEmpty())
                    ids.insert(pictureId(entry));
        };
        add(tables.CardPictureIds);
        add(tables.ButtonPic);
        add(tables.DialogButtonPic);
        add(tables.OperationPic);
        add(tables.SpeakPic);
        add(tables.AvatarPic);
        add(tables.ReadyMarkPic);
        add(tables.VideoIconPic);
        add(tables.VideoBackPic);
    }
    return ids;
}

QPixmap solid(QColor colour)
{
    QPixmap pixmap(5, 5);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace

TEST(PictureStore, EveryPictureDecodesAtItsSize)
{
    const std::vector<int> stored = PictureStore::resourceIds();
    const std::set<int> inStore(stored.begin(), stored.end());
    for (const auto &[id, size] : expectedSizes()) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(inStore.contains(id)) << "picture " << id << " is missing";
        const QImage image = PictureStore::decode(PictureStore::resourceBytes(id));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), size);
    }
}

TEST(PictureStore, EveryIdOfTheTablesIsInTheStore)
{
    const std::map<int, QSize> sizes = expectedSizes();
    for (int id : idsInTables()) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(sizes.contains(id)) << "id " << id << " has no size in this test";
        EXPECT_FALSE(PictureStore::resourceBytes(id).isEmpty());
    }
}

TEST(PictureStore, GifsAreGif89aAndTheVideoBacksJpeg)
{
    for (int id : PictureStore::resourceIds()) {
        SCOPED_TRACE(id);
        const QByteArray bytes = PictureStore::resourceBytes(id);
        if (id >= 870 && id <= 875)
            EXPECT_TRUE(bytes.startsWith("\xFF\xD8\xFF"));
        else
            EXPECT_TRUE(bytes.startsWith("GIF89a"));
    }
}

TEST(PictureStore, StillsAreTransparentAroundRoundedShapes)
{
    // A card's rounded corner lets the table show through; its middle does
    // not.
    const QImage card = PictureStore::decode(PictureStore::resourceBytes(14));
    EXPECT_EQ(qAlpha(card.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(card.pixel(46, 61)), 255);
}

TEST(PictureStore, DesignPicturesAreThere)
{
    const std::pair<const char16_t *, QSize> design[] = {
            {u"table_green", {1024, 768}},
            {u"skin_frame", {46, 220}},
            {u"hand_cursor", {32, 32}},
            {u"illegal_play", {178, 63}},
            {u"dialog", {320, 180}},
            {u"room_strip", {394, 39}},
            {u"caption_close_hover", {16, 16}},
            {u"table_green_small", {800, 600}},
            {u"table_blue", {1024, 768}},
    };
    for (const auto &[name, size] : design) {
        const QPixmap picture = PictureStore::designPicture(QStringView(name));
        ASSERT_FALSE(picture.isNull()) << QString::fromUtf16(name).toStdString();
        EXPECT_EQ(picture.size(), size);
        // The size from the header (a JPEG's) or from the picture (a GIF's).
        EXPECT_EQ(PictureStore::designPictureSize(QStringView(name)), size);
    }
    EXPECT_TRUE(PictureStore::designPicture(u"no_such_picture").isNull());
    EXPECT_TRUE(PictureStore::designPictureSize(u"no_such_picture").isEmpty());
}

TEST(PictureStore, HandCursorPointsWithItsFingerTip)
{
    const QCursor hand = PictureStore::handCursor();
    EXPECT_EQ(hand.hotSpot(), QPoint(12, 4));
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
    // The tip of the finger is drawn; the corner is clear.
    const QImage picture = hand.pixmap().toImage();
    EXPECT_EQ(qAlpha(picture.pixel(12, 4)), 255);
    EXPECT_EQ(qAlpha(picture.pixel(31, 0)), 0);
}

TEST(LoadGifResource, SetsThePictureAndItsId)
{
    forms::Surface surface;
    forms::Image image(&surface);
    EXPECT_EQ(LoadGifResource(61, u"GIF", &image), 1);
    EXPECT_EQ(image.Picture(), 61);
    EXPECT_EQ(image.picture().size(), QSize(92, 122));
    EXPECT_EQ(image.rect().size(), QSizeF(92, 122));

    // The video panels' JPEG backgrounds come the same way.
    EXPECT_EQ(LoadGifResource(870, u"GIF", &surface), 1);
    EXPECT_EQ(surface.Picture(), 870);
    EXPECT_EQ(surface.picture().size(), QSize(175, 138));
    EXPECT_EQ(LoadGifResource(18, u"gif", &image), 1);
}

struct MissingCase
{
    int id;
    const char16_t *type;
};

void PrintTo(const MissingCase &c, std::ostream *os)
{
    *os << "id " << c.id << ", type " << QString::fromUtf16(c.type).toStdString();
}

class LoadGifResourceFailure : public ::testing::TestWithParam<MissingCase>
{
};

TEST_P(LoadGifResourceFailure, LeavesTheTargetAsItWasAndWritesNoFile)
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QStringList before = programFolder.entryList(QDir::Files);
    forms::Image image;
    image.setPicture(solid(Qt::red), 61);
    EXPECT_EQ(LoadGifResource(static_cast<std::int16_t>(GetParam().id),
                              QStringView(GetParam().type), &image),
              0);
    EXPECT_EQ(image.Picture(), 61);
    EXPECT_EQ(image.picture().toImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(programFolder.entryList(QDir::Files), before);
}

INSTANTIATE_TEST_SUITE_P(PictureStore, LoadGifResourceFailure,
                         ::testing::Values(MissingCase{0, u"GIF"}, MissingCase{2, u"GIF"},
                                           MissingCase{-5, u"GIF"}, MissingCase{952, u"GIF"},
                                           MissingCase{32, u"GIF"}, MissingCase{61, u"JPEG"},
                                           MissingCase{61, u""}),
                         [](const auto &param) { return std::to_string(param.index); });

TEST(LoadGifResource, NoTargetIsAFailure)
{
    EXPECT_EQ(LoadGifResource(61, u"GIF", nullptr), 0);
}

TEST(LoadGifResource, LeavesNoFileBehindOnSuccess)
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QDir current = QDir::current();
    const QStringList before = programFolder.entryList(QDir::Files);
    const QStringList beforeCurrent = current.entryList(QDir::Files);
    forms::Image image;
    for (int id : {3, 198, 870, 933})
        EXPECT_EQ(LoadGifResource(static_cast<std::int16_t>(id), u"GIF", &image), 1);
    EXPECT_EQ(programFolder.entryList(QDir::Files), before);
    EXPECT_EQ(current.entryList(QDir::Files), beforeCurrent);
}

TEST(PictureStore, DecodeRefusesWhatIsNoPicture)
{
    EXPECT_TRUE(PictureStore::decode(QByteArray()).isNull());
    EXPECT_TRUE(PictureStore::decode(QByteArrayLiteral("GIF89a")).isNull());
    EXPECT_TRUE(PictureStore::decode(QByteArrayLiteral("\xFF\xD8\xFF\xE0 not a jpeg")).isNull());
    EXPECT_TRUE(PictureStore::decode(QByteArray(300, 'x')).isNull());
}

namespace {

QByteArray designFile(const QString &name)
{
    QFile file(QStringLiteral(":/design/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::span<const unsigned char> bytesOf(const QByteArray &bytes)
{
    return {reinterpret_cast<const unsigned char *>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

} // namespace

// Our JPEGs decode to the very pixels Qt's own JPEG reader gives, and their
// headers give their sizes.
TEST(JpegImages, DecodeAsQtsReaderDoes)
{
    std::vector<QByteArray> files;
    for (const int id : {870, 871, 872, 873, 874, 875})
        files.push_back(PictureStore::resourceBytes(id));
    for (const char *name : {"table_green", "table_green_small", "table_blue", "video_frame",
                             "name_strip_own"})
        files.push_back(designFile(QString::fromLatin1(name)));
    for (const QByteArray &bytes : files) {
        ASSERT_FALSE(bytes.isEmpty());
        const QImage ours = DecodeJpeg(bytesOf(bytes));
        const QImage qts = QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(qts.isNull());
        EXPECT_EQ(ours.format(), QImage::Format_RGB32);
        EXPECT_EQ(ours.size(), qts.size());
        EXPECT_TRUE(ours == qts);
        EXPECT_EQ(JpegSize(bytesOf(bytes)), qts.size());
    }
}

TEST(JpegImages, DamagedDataGivesNothing)
{
    const QByteArray whole = PictureStore::resourceBytes(871);
    ASSERT_FALSE(whole.isEmpty());
    const std::pair<const char *, QByteArray> cases[] = {
            {"empty", QByteArray()},
            {"start of image only", QByteArrayLiteral("\xFF\xD8")},
            {"no frame header", QByteArrayLiteral("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xD9")},
            {"cut in its header", whole.left(100)},
            {"not a JPEG", QByteArray(300, 'x')},
    };
    for (const auto &[what, bytes] : cases) {
        EXPECT_TRUE(DecodeJpeg(bytesOf(bytes)).isNull()) << what;
        EXPECT_FALSE(JpegSize(bytesOf(bytes)).isValid()) << what;
    }
    // Cut in its picture data: libjpeg reads on with a warning and fills the
    // rest; whatever comes out has the picture's size and no crash.
    const QImage cut = DecodeJpeg(bytesOf(whole.left(whole.size() / 2)));
    if (!cut.isNull()) {
        EXPECT_EQ(cut.size(), QSize(276, 215));
    }
}
