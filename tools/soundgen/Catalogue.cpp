#include "Catalogue.h"

#include "Synth.h"
#include "sound/SoundFiles.h"
#include "wire/GbkText.h"

namespace soundgen {

namespace files = tessaroc::sound::files;

namespace {

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString inFolder(std::string_view folder, std::string_view name)
{
    // The client's folders are "/../common/x/" below the program folder; the
    // output folder stands for the program folder's parent.
    return text(folder.substr(4)) + text(name);
}

// The voice that announces plays: a steady man's voice.
Utterance announcer(const QString &words)
{
    return {words, QStringLiteral("cmn+m3"), 45, 170};
}

Entry effect(std::string_view folder, std::string_view name, const QString &how,
             std::function<Signal()> make)
{
    return {inFolder(folder, name), how, std::nullopt, [make = std::move(make)](const Signal *) {
                return make();
            }};
}

// A spoken cue, with an effect under it starting at a time after the words
// begin (or none).
Entry spoken(std::string_view folder, std::string_view name, const QString &words,
             const QString &under, std::function<Signal()> effectUnder, double at, float gain)
{
    QString how = QStringLiteral("spoken \"%1\"").arg(words);
    if (effectUnder)
        how += QStringLiteral(" over ") + under;
    return {inFolder(folder, name), how, announcer(words),
            [effectUnder = std::move(effectUnder), at, gain](const Signal *said) {
                Signal s = *said;
                s.normalise(0.8f);
                if (effectUnder)
                    s.mix(effectUnder(), at, gain);
                s.normalise(0.9f);
                return s;
            }};
}

// Each seat's voice set speaks in a voice of its own, a woman's for the sex
// byte 0 and a man's otherwise.
Utterance phraseVoice(const QString &words, int voiceSet, int sex)
{
    static const char *const women[] = {"cmn+f1", "cmn+f2", "cmn+f3", "cmn+f4"};
    static const char *const men[] = {"cmn+m1", "cmn+m3", "cmn+m4", "cmn+m7"};
    const int i = voiceSet - 1;
    return {words, QString::fromLatin1(sex == 0 ? women[i] : men[i]), 40 + 8 * i, 185 + 5 * i};
}

} // namespace

const PhrasePages &quickPhrases()
{
    static const PhrasePages pages{
            {QStringLiteral("大家好，很高兴见到各位！"), QStringLiteral("快点吧，别让大家久等了。"),
             QStringLiteral("不要走，决战到天亮！"), QStringLiteral("你的牌打得太好了！"),
             QStringLiteral("合作愉快！"), QStringLiteral("再见了，下次再来。"),
             QStringLiteral("网络又卡了，请稍等。"), QStringLiteral("不好意思，离开一会儿。"),
             QStringLiteral("交个朋友吧！"), QStringLiteral("别着急，慢慢想。"),
             QStringLiteral("各位，我先走一步。"), QStringLiteral("专心打牌吧！")},
            {QStringLiteral("炸得好！"), QStringLiteral("这牌没法打了。"),
             QStringLiteral("看我的！"), QStringLiteral("手气真好！"),
             QStringLiteral("稳住，我们能赢！"), QStringLiteral("好险啊！"),
             QStringLiteral("地主要输了！"), QStringLiteral("谢谢你！"),
             QStringLiteral("让我想一想。"), QStringLiteral("漂亮！"), QStringLiteral("大意了！"),
             QStringLiteral("下一局再来！")}};
    return pages;
}

std::vector<Entry> catalogue()
{
    std::vector<Entry> list;
    const QString synth = QStringLiteral("synthesised: ");

    // The music folder: the sound table.
    const auto &table = files::kSoundTable;
    list.push_back(effect(files::kMusicFolder, table[1],
                          synth + QStringLiteral("the background loop"), backgroundLoop));
    list.push_back(effect(files::kMusicFolder, table[2],
                          synth + QStringLiteral("a card slapped down"),
                          [] { return cardSlap(1.0); }));
    list.push_back(effect(files::kMusicFolder, table[3], synth + QStringLiteral("a card drawn"),
                          [] { return swish(0.25); }));
    list.push_back(
            effect(files::kMusicFolder, table[4], synth + QStringLiteral("a shuffle"), shuffle));
    list.push_back(effect(files::kMusicFolder, table[5], synth + QStringLiteral("dice"), dice));
    list.push_back(effect(files::kMusicFolder, table[6],
                          synth + QStringLiteral("the clock's warning tick"), warningTick));

    // The shared effects.
    list.push_back(effect(files::kPkFolder, files::kDeal, synth + QStringLiteral("cards dealt"),
                          dealRiffle));
    list.push_back(effect(files::kPkFolder, files::kCardUp, synth + QStringLiteral("a card raised"),
                          cardUp));
    list.push_back(effect(files::kPkFolder, files::kCardDown,
                          synth + QStringLiteral("a card lowered"), cardDown));
    list.push_back(spoken(
            files::kPkFolder, files::kBomb, QStringLiteral("炸弹"), QStringLiteral("an explosion"),
            [] { return explosion(1.0, 0.6); }, 0.3, 1.0f));
    list.push_back(spoken(files::kPkFolder, files::kFourJokers, QStringLiteral("王炸"),
                          QStringLiteral("a rocket and a blast"), rocketAndBlast, 0.25, 1.0f));
    list.push_back(effect(files::kPkFolder, files::kPlainPlay,
                          synth + QStringLiteral("cards put on the table"),
                          [] { return cardSlap(0.3); }));
    list.push_back(spoken(files::kPkFolder, files::kPass, QStringLiteral("不要"), QString(),
                          nullptr, 0.0, 0.0f));
    list.push_back(
            effect(files::kPkFolder, files::kHint, synth + QStringLiteral("a chime"), hintChime));
    list.push_back(effect(files::kPkFolder, files::kSettlementWin,
                          synth + QStringLiteral("a rising arpeggio"),
                          [] { return fanfare(true); }));
    list.push_back(effect(files::kPkFolder, files::kSettlementLoss,
                          synth + QStringLiteral("falling notes"), [] { return sadFall(false); }));

    // The game's own sounds.
    list.push_back(spoken(files::kGameFolder, files::kPlane, QStringLiteral("飞机"),
                          QStringLiteral("a jet passing"), jetWhoosh, 0.0, 0.6f));
    list.push_back(spoken(files::kGameFolder, files::kPairChain, QStringLiteral("连对"), QString(),
                          nullptr, 0.0, 0.0f));
    list.push_back(effect(files::kGameFolder, files::kWin, synth + QStringLiteral("a brass call"),
                          [] { return fanfare(false); }));
    list.push_back(effect(files::kGameFolder, files::kLose,
                          synth + QStringLiteral("a sliding trombone"),
                          [] { return sadFall(true); }));

    // The quick-phrase voices: every phrase of both pages in every voice set
    // and for both sexes, at half the rate and 8 bits, as speech needs no
    // more.
    const PhrasePages &pages = quickPhrases();
    for (int set = 1; set <= files::kVoiceSets; ++set) {
        for (int sex : files::kVoiceSexes) {
            for (int page = 1; page <= 2; ++page) {
                const auto &phrases = page == 1 ? pages.page1 : pages.page2;
                for (std::size_t n = 0; n < phrases.size(); ++n) {
                    const std::string name
                            = files::PhraseVoiceFileName(set, sex, page, static_cast<int>(n + 1));
                    Entry e{inFolder(files::kPkFolder, name),
                            QStringLiteral("spoken \"%1\" (voice set %2, %3)")
                                    .arg(phrases[n])
                                    .arg(set)
                                    .arg(sex == 0 ? QStringLiteral("woman")
                                                  : QStringLiteral("man")),
                            phraseVoice(phrases[n], set, sex),
                            [](const Signal *words) {
                                Signal s = halveRate(*words);
                                s.normalise(0.9f);
                                return s;
                            },
                            8};
                    list.push_back(std::move(e));
                }
            }
        }
    }
    return list;
}

QByteArray phrasesFile(const PhrasePages &pages)
{
    QString ini;
    const auto section = [&ini](const QString &name, const std::vector<QString> &phrases) {
        ini += QStringLiteral("[%1]\r\nnum=%2\r\n").arg(name).arg(phrases.size());
        for (std::size_t i = 0; i < phrases.size(); ++i)
            ini += QStringLiteral("%1=%2\r\n").arg(i + 1).arg(phrases[i]);
    };
    section(QStringLiteral("Phrase1"), pages.page1);
    section(QStringLiteral("Phrase2"), pages.page2);
    const QByteArray utf8 = ini.toUtf8();
    const std::string gbk = tessaroc::wire::utf8ToGbk(
            std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    return QByteArray(gbk.data(), static_cast<qsizetype>(gbk.size()));
}

} // namespace soundgen
