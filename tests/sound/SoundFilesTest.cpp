#include "sound/SoundFiles.h"
#include "platform/SoundDevice.h"
#include "support/classIniFile.h"

#include <gtest/gtest.h>

#include <QDir>

#include <ostream>

namespace tessaroc::sound {
namespace {

// The files the build made; the folder stands for the program's folder's
// parent, where the client looks for "common".
const QString kRoot = QStringLiteral(TESSAROC_SOUND_ROOT);

struct Expected
{
    std::string folder; // as the client writes it, "/../common/pk/"
    std::string name;
    double minSeconds;
    double maxSeconds;
};

void PrintTo(const Expected &e, std::ostream *os)
{
    *os << e.folder << e.name;
}

QString pathOf(const Expected &e)
{
    return kRoot + QString::fromStdString(e.folder.substr(3) + e.name);
}

// Every file the client names: the sound table, the effects, the game's own
// sounds, and the voice of every quick phrase of the phrases file in every
// voice set and for both sexes.
std::vector<Expected> everyFile()
{
    std::vector<Expected> all;
    all.push_back(
            {std::string(files::kMusicFolder), std::string(files::kSoundTable[1]), 4.0, 20.0});
    for (std::size_t i = 2; i < files::kSoundTable.size(); ++i)
        all.push_back(
                {std::string(files::kMusicFolder), std::string(files::kSoundTable[i]), 0.03, 3.0});
    for (auto name : files::kPkEffects)
        all.push_back({std::string(files::kPkFolder), std::string(name), 0.03, 3.0});
    for (auto name : files::kGameSounds)
        all.push_back({std::string(files::kGameFolder), std::string(name), 0.1, 3.0});

    support::classIniFile phrases;
    phrases.setINIFileName(kRoot + QStringLiteral("/chat.ini"));
    for (int list = 1; list <= 2; ++list) {
        const int count
                = phrases.GetIniKey(QStringLiteral("Phrase%1").arg(list), QStringLiteral("num"))
                          .toInt();
        for (int set = 1; set <= files::kVoiceSets; ++set) {
            for (int sex : files::kVoiceSexes) {
                for (int n = 1; n <= count; ++n)
                    all.push_back({std::string(files::kPkFolder),
                                   files::PhraseVoiceFileName(set, sex, list, n), 0.2, 6.0});
            }
        }
    }
    return all;
}

TEST(SoundFiles, ThePhrasesFileNamesBothPages)
{
    support::classIniFile phrases;
    phrases.setINIFileName(kRoot + QStringLiteral("/chat.ini"));
    for (const char *page : {"Phrase1", "Phrase2"}) {
        const QString section = QString::fromLatin1(page);
        const int count = phrases.GetIniKey(section, QStringLiteral("num")).toInt();
        EXPECT_GE(count, 12) << page << ": enough phrases to reach the names of 10 and 11";
        for (int n = 1; n <= count; ++n)
            EXPECT_FALSE(phrases.GetIniKey(section, QString::number(n)).isEmpty()) << page << n;
    }
}

TEST(SoundFiles, PhraseVoiceNamesFollowTheClientsRule)
{
    EXPECT_EQ(files::PhraseVoiceFileName(1, 1, 1, 3), "v1010103.wav");
    EXPECT_EQ(files::PhraseVoiceFileName(4, 0, 2, 10), "v4000210.wav");
    EXPECT_EQ(files::PhraseVoiceFileName(2, 1, 2, 12), "v20102012.wav");
}

class EverySoundFile : public ::testing::TestWithParam<Expected>
{
};

TEST_P(EverySoundFile, IsAShortMonoPcmWave)
{
    const Expected &e = GetParam();
    platform::WaveFormat format;
    ASSERT_TRUE(platform::readWaveFormat(pathOf(e), format)) << pathOf(e).toStdString();
    EXPECT_EQ(format.channels, 1);
    EXPECT_TRUE(format.sampleRate == 11025 || format.sampleRate == 22050) << format.sampleRate;
    EXPECT_GE(format.seconds(), e.minSeconds);
    EXPECT_LE(format.seconds(), e.maxSeconds);
}

INSTANTIATE_TEST_SUITE_P(Built, EverySoundFile, ::testing::ValuesIn(everyFile()),
                         [](const ::testing::TestParamInfo<Expected> &param) {
                             std::string name = param.param.folder.substr(11) + param.param.name;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// --- Reading wave headers ---------------------------------------------------

QByteArray le(std::uint32_t v, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xff));
    return out;
}

QByteArray wave(int format, int channels, int rate, int bits, std::uint32_t dataBytes,
                int dataPresent, const QByteArray &before = {})
{
    QByteArray fmt = le(static_cast<std::uint32_t>(format), 2)
            + le(static_cast<std::uint32_t>(channels), 2) + le(static_cast<std::uint32_t>(rate), 4)
            + le(static_cast<std::uint32_t>(rate * channels * bits / 8), 4)
            + le(static_cast<std::uint32_t>(channels * bits / 8), 2)
            + le(static_cast<std::uint32_t>(bits), 2);
    QByteArray body = QByteArray("WAVE") + before + "fmt " + le(16, 4) + fmt + "data"
            + le(dataBytes, 4) + QByteArray(dataPresent, '\0');
    return QByteArray("RIFF") + le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

TEST(WaveHeader, AcceptsPlainPcmAndRefusesEverythingElse)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        bool ok;
        platform::WaveFormat format;
    };
    const QByteArray odd = QByteArray("LIST") + le(3, 4) + QByteArray("abc") + QByteArray(1, '\0');
    const Case cases[] = {
            {"16-bit mono", wave(1, 1, 22050, 16, 4410, 4410), true, {1, 22050, 16, 4410}},
            {"8-bit stereo", wave(1, 2, 11025, 8, 200, 200), true, {2, 11025, 8, 200}},
            {"a padded chunk before the format",
             wave(1, 1, 8000, 16, 8, 8, odd),
             true,
             {1, 8000, 16, 8}},
            {"compressed", wave(2, 1, 22050, 16, 100, 100), false, {}},
            {"24-bit", wave(1, 1, 22050, 24, 99, 99), false, {}},
            {"no channels", wave(1, 0, 22050, 16, 100, 100), false, {}},
            {"data past the end", wave(1, 1, 22050, 16, 5000, 100), false, {}},
            {"no data", wave(1, 1, 22050, 16, 0, 0), false, {}},
            {"cut in the header", wave(1, 1, 22050, 16, 100, 100).left(30), false, {}},
            {"not a wave", QByteArray("RIFF\x04\0\0\0AVI ", 12), false, {}},
            {"empty", QByteArray(), false, {}},
    };
    const QString path = QDir::temp().filePath(QStringLiteral("tessaroc-wave-header-test.wav"));
    for (const Case &c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        platform::WaveFormat format;
        EXPECT_EQ(platform::readWaveFormat(path, format), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(format, c.format) << c.what;
        }
    }
    QFile::remove(path);
    platform::WaveFormat format;
    EXPECT_FALSE(platform::readWaveFormat(path, format)) << "a missing file";
}

} // namespace
} // namespace tessaroc::sound
