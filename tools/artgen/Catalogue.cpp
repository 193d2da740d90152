#include "Art.h"
#include "Cards.h"
#include "Pictures.h"

namespace tessaroc::artgen {

QString Entry::fileName() const
{
    const QString stem = hasId() ? QString::number(id) : name;
    return stem + (format == Format::Jpeg ? QStringLiteral(".jpg") : QStringLiteral(".gif"));
}

namespace {

using Draw = std::function<Art()>;

Draw still(std::function<QImage()> draw)
{
    return [draw = std::move(draw)] {
        return Art::still(draw());
    };
}

class Builder
{
public:
    void add(int id, QSize size, QColor matte, const QString &note, std::function<QImage()> draw,
             Format format = Format::Gif)
    {
        entries_.push_back({id, QString(), size, format, matte, note, still(std::move(draw))});
    }
    void animate(int id, QSize size, QColor matte, const QString &note, Draw draw)
    {
        entries_.push_back({id, QString(), size, Format::Gif, matte, note, std::move(draw)});
    }
    void design(const QString &name, QSize size, QColor matte, const QString &note,
                std::function<QImage()> draw, Format format = Format::Gif)
    {
        entries_.push_back({0, name, size, format, matte, note, still(std::move(draw))});
    }
    std::vector<Entry> take() { return std::move(entries_); }

private:
    std::vector<Entry> entries_;
};

const QColor kOnFelt = colour::Felt;
const QColor kOnBar = QColor(0x3a, 0x1e, 0x0c);
const QColor kOnPaper = QColor(0xf4, 0xe8, 0xcc);
const QColor kOnPanel = QColor(0x14, 0x18, 0x20);
// The boards place their outer lists as close as 4 pixels to the window's
// right edge (the settlement board's last final line) and 6 pixels to its
// bottom: their frame is thinner than a dialog's, its line on the pixel
// beside those lists, so that every list stands on the paper.
constexpr double kBoardFrame = 3.5;

const char16_t *const kFaceNames[]
        = {u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10", u"J", u"Q", u"K", u"A", u"2"};
const char16_t *const kSuitNames[] = {u"♦", u"♣", u"♥", u"♠"};

QString faceName(int face, int suit)
{
    return QString::fromUtf16(kSuitNames[suit]) + QString::fromUtf16(kFaceNames[face - 3]);
}

// Card faces: large ids are the picture numbers themselves (face + 16 x
// suit); the reduced set runs A, 2, 3 .. K from 301 + 13 x suit, jokers 353
// and 354.
void addCards(Builder &b)
{
    const QSize large(92, 122), reduced(72, 95);
    for (int suit = 0; suit < 4; ++suit) {
        for (int face = 3; face <= 15; ++face) {
            const int largeId = face + 16 * suit;
            const int reducedId = face <= 13 ? 300 + 13 * suit + face : 287 + 13 * suit + face;
            const QString name = faceName(face, suit);
            b.add(largeId, large, kOnFelt, name, [=] { return cardFace(face, suit, large); });
            b.add(reducedId, reduced, kOnFelt, name, [=] { return cardFace(face, suit, reduced); });
        }
    }
    b.add(16, large, kOnFelt, QStringLiteral("小王"), [=] { return cardFace(16, 0, large); });
    b.add(17, large, kOnFelt, QStringLiteral("大王"), [=] { return cardFace(17, 0, large); });
    b.add(353, reduced, kOnFelt, QStringLiteral("小王"), [=] { return cardFace(16, 0, reduced); });
    b.add(354, reduced, kOnFelt, QStringLiteral("大王"), [=] { return cardFace(17, 0, reduced); });
    b.add(18, QSize(78, 103), kOnFelt, QStringLiteral("card back"),
          [] { return cardBack(QSize(78, 103)); });
    b.add(520, QSize(61, 80), kOnFelt, QStringLiteral("card back, reduced"),
          [] { return cardBack(QSize(61, 80)); });
}

// The other seats' card-back fans: 1 to 10 cards one picture each, then one
// picture per range, and the full hand of the deal.
void addFans(Builder &b)
{
    struct Seat
    {
        FanSeat seat;
        int fullBase, reducedBase;
        QSize oneFull, oneReduced, full, reduced;
        const char16_t *name;
    };
    const Seat seats[] = {
            {FanSeat::Left, 889, 899, {124, 51}, {97, 39}, {124, 190}, {97, 149}, u"left"},
            {FanSeat::Top, 259, 269, {87, 56}, {69, 44}, {183, 159}, {143, 123}, u"top"},
            {FanSeat::Right, 909, 919, {126, 51}, {98, 39}, {124, 190}, {97, 149}, u"right"},
    };
    for (const Seat &s : seats) {
        for (int n = 1; n <= 10; ++n) {
            const QSize f = n == 1 ? s.oneFull : s.full;
            const QSize r = n == 1 ? s.oneReduced : s.reduced;
            const QString note
                    = QStringLiteral("%1 fan, %2").arg(QString::fromUtf16(s.name)).arg(n);
            b.add(s.fullBase + n, f, kOnFelt, note, [=] { return cardFan(s.seat, n, f); });
            b.add(s.reducedBase + n, r, kOnFelt, note, [=] { return cardFan(s.seat, n, r); });
        }
    }
    struct Range
    {
        int full, reduced, cards;
        FanSeat seat;
        const char16_t *note;
    };
    const Range ranges[] = {
            {940, 943, 15, FanSeat::Left, u"left fan, 11 to 16"},
            {941, 944, 15, FanSeat::Top, u"top fan, 11 to 15"},
            {942, 945, 15, FanSeat::Right, u"right fan, 11 to 15"},
            {946, 949, 20, FanSeat::Left, u"left fan, 17 to 20"},
            {947, 950, 20, FanSeat::Top, u"top fan, 16 to 20"},
            {948, 951, 20, FanSeat::Right, u"right fan, 17 to 20"},
            {936, 939, 25, FanSeat::Left, u"left fan, dealt"},
            {935, 938, 25, FanSeat::Top, u"top fan, dealt"},
            {934, 937, 25, FanSeat::Right, u"right fan, dealt"},
    };
    for (const Range &r : ranges) {
        const bool top = r.seat == FanSeat::Top;
        const QSize f = top ? QSize(183, 159) : QSize(124, 190);
        const QSize red = top ? QSize(143, 123) : QSize(97, 149);
        const QString note = QString::fromUtf16(r.note);
        b.add(r.full, f, kOnFelt, note, [=] { return cardFan(r.seat, r.cards, f); });
        b.add(r.reduced, red, kOnFelt, note, [=] { return cardFan(r.seat, r.cards, red); });
    }
}

struct Labelled
{
    const char16_t *label;
    ButtonTone tone;
};

// Toolbar pairs (normal, hover): the full set 150..169, the reduced set
// 283..300 (the send button keeps its full-size pair 150, 151).
void addToolbar(Builder &b)
{
    const Labelled buttons[] = {
            {u"发送", ButtonTone::Orange}, {u"聊天", ButtonTone::Blue},
            {u"开始", ButtonTone::Green},  {u"准备", ButtonTone::Green},
            {u"音效", ButtonTone::Blue},   {u"隐藏", ButtonTone::Blue},
            {u"战绩", ButtonTone::Blue},   {u"英雄", ButtonTone::Blue},
            {u"说明", ButtonTone::Blue},   {u"退出", ButtonTone::Red},
    };
    for (int pair = 0; pair < 10; ++pair) {
        for (int hover = 0; hover < 2; ++hover) {
            const int entry = pair * 2 + hover;
            const QString label = QString::fromUtf16(buttons[pair].label);
            const ButtonTone tone = buttons[pair].tone;
            const QString note = label + (hover ? QStringLiteral(" hover") : QString());
            const QSize full = pair == 0 ? QSize(48, 30) : QSize(55, 31);
            b.add(150 + entry, full, kOnBar, note,
                  [=] { return button(full, tone, label, hover != 0); });
            if (pair > 0) {
                const QSize reduced(43, 24);
                b.add(281 + entry, reduced, kOnBar, note,
                      [=] { return button(reduced, tone, label, hover != 0); });
            }
        }
    }
}

void addButtons(Builder &b)
{
    // Dialog buttons: OK and cancel with their hover pictures, then the
    // switches of the sound settings.
    const QSize dialog(70, 29), sound(64, 26);
    b.add(170, dialog, kOnPaper, QStringLiteral("确定"),
          [=] { return button(dialog, ButtonTone::Orange, QStringLiteral("确定"), false); });
    b.add(171, dialog, kOnPaper, QStringLiteral("确定 hover"),
          [=] { return button(dialog, ButtonTone::Orange, QStringLiteral("确定"), true); });
    b.add(172, dialog, kOnPaper, QStringLiteral("取消"),
          [=] { return button(dialog, ButtonTone::Blue, QStringLiteral("取消"), false); });
    b.add(173, dialog, kOnPaper, QStringLiteral("取消 hover"),
          [=] { return button(dialog, ButtonTone::Blue, QStringLiteral("取消"), true); });
    const Labelled switches[] = {{u"关闭", ButtonTone::Red},
                                 {u"开启", ButtonTone::Green},
                                 {u"蓝底", ButtonTone::Blue},
                                 {u"绿底", ButtonTone::Green}};
    for (int i = 0; i < 4; ++i) {
        const QString label = QString::fromUtf16(switches[i].label);
        const ButtonTone tone = switches[i].tone;
        b.add(174 + i, sound, kOnPaper, label, [=] { return button(sound, tone, label, false); });
    }

    // Action buttons: play, hint and pass (normal, hover, disabled), then
    // sort, previous trick and lower all (normal, hover).
    const QSize big(66, 38), small(62, 25);
    const Labelled actions[] = {{u"出牌", ButtonTone::Orange},
                                {u"提示", ButtonTone::Green},
                                {u"不要", ButtonTone::Blue}};
    for (int a = 0; a < 3; ++a) {
        const QString label = QString::fromUtf16(actions[a].label);
        const ButtonTone tone = actions[a].tone;
        b.add(178 + 3 * a, big, kOnFelt, label, [=] { return button(big, tone, label, false); });
        b.add(179 + 3 * a, big, kOnFelt, label + QStringLiteral(" hover"),
              [=] { return button(big, tone, label, true); });
        b.add(180 + 3 * a, big, kOnFelt, label + QStringLiteral(" disabled"),
              [=] { return disabledButton(big, label); });
    }
    const char16_t *const sideActions[] = {u"排序", u"上手", u"重选"};
    for (int a = 0; a < 3; ++a) {
        const QString label = QString::fromUtf16(sideActions[a]);
        b.add(187 + 2 * a, small, kOnFelt, label,
              [=] { return button(small, ButtonTone::Blue, label, false); });
        b.add(188 + 2 * a, small, kOnFelt, label + QStringLiteral(" hover"),
              [=] { return button(small, ButtonTone::Blue, label, true); });
    }

    // Bidding and the two-way choice (the second choice and "no call" share
    // the pass pictures 184, 185).
    b.add(202, big, kOnFelt, QStringLiteral("叫地主"),
          [=] { return button(big, ButtonTone::Orange, QStringLiteral("叫地主"), false); });
    b.add(207, big, kOnFelt, QStringLiteral("叫地主 hover"),
          [=] { return button(big, ButtonTone::Orange, QStringLiteral("叫地主"), true); });
    b.add(201, big, kOnFelt, QStringLiteral("同意"),
          [=] { return button(big, ButtonTone::Green, QStringLiteral("同意"), false); });
    b.add(206, big, kOnFelt, QStringLiteral("同意 hover"),
          [=] { return button(big, ButtonTone::Green, QStringLiteral("同意"), true); });

    // The task icon, full and reduced.
    b.add(194, QSize(102, 39), kOnBar, QStringLiteral("task"),
          [] { return taskIcon(QSize(102, 39), false); });
    b.add(195, QSize(102, 39), kOnBar, QStringLiteral("task hover"),
          [] { return taskIcon(QSize(102, 39), true); });
    b.add(199, QSize(80, 30), kOnBar, QStringLiteral("task"),
          [] { return taskIcon(QSize(80, 30), false); });
    b.add(200, QSize(80, 30), kOnBar, QStringLiteral("task hover"),
          [] { return taskIcon(QSize(80, 30), true); });

    // The phrase and chat tabs on the room strip, and the item store.
    const QSize tab(57, 13);
    b.add(516, tab, kOnBar, QStringLiteral("常用语"),
          [=] { return tabButton(tab, QStringLiteral("常用语"), false); });
    b.add(518, tab, kOnBar, QStringLiteral("常用语 hover"),
          [=] { return tabButton(tab, QStringLiteral("常用语"), true); });
    b.add(517, tab, kOnBar, QStringLiteral("聊天记录"),
          [=] { return tabButton(tab, QStringLiteral("聊天记录"), false); });
    b.add(519, tab, kOnBar, QStringLiteral("聊天记录 hover"),
          [=] { return tabButton(tab, QStringLiteral("聊天记录"), true); });
    b.add(600, QSize(55, 31), kOnBar, QStringLiteral("item store"),
          [] { return bankIcon(QSize(55, 31), false); });
    b.add(601, QSize(55, 31), kOnBar, QStringLiteral("item store hover"),
          [] { return bankIcon(QSize(55, 31), true); });
}

void addPlayers(Builder &b)
{
    for (int k = 0; k < 10; ++k) {
        const QSize man = k == 1 ? QSize(87, 92) : QSize(85, 90);
        b.add(240 + k, man, kOnBar, QStringLiteral("m%1").arg(k + 1),
              [=] { return avatar(man, false, k); });
        b.add(250 + k, QSize(85, 90), kOnBar, QStringLiteral("w%1").arg(k + 1),
              [=] { return avatar(QSize(85, 90), true, k); });
    }
    const char16_t *const grades[] = {u"bronze", u"silver", u"gold"};
    for (int level = 0; level < 3; ++level) {
        b.add(280 + level, QSize(70, 29), kOnFelt,
              QStringLiteral("准备, %1").arg(QString::fromUtf16(grades[level])),
              [=] { return markBadge(QSize(70, 29), QStringLiteral("准备"), level); });
    }
}

void addBubbles(Builder &b)
{
    const QSize size(151, 112);
    const int tails[] = {1, 2, 3};
    for (int pos = 1; pos <= 3; ++pos) {
        const int tail = tails[pos - 1];
        b.add(875 + pos, size, kOnFelt, QStringLiteral("不出, seat %1").arg(pos),
              [=] { return playBubble(size, tail, QStringLiteral("不出"), false); });
        b.add(380 + pos, size, kOnFelt, QStringLiteral("炸弹, seat %1").arg(pos),
              [=] { return playBubble(size, tail, QStringLiteral("炸弹"), true); });
        b.add(881 + pos, size, kOnFelt, QStringLiteral("王炸, seat %1").arg(pos),
              [=] { return playBubble(size, tail, QStringLiteral("王炸"), true); });
    }
}

void addAnimations(Builder &b)
{
    b.animate(198, QSize(62, 58), kOnFelt, QStringLiteral("turn clock, endless"),
              [] { return turnClock(QSize(62, 58)); });
    b.animate(879, QSize(225, 225), kOnFelt, QStringLiteral("explosion, once"),
              [] { return explosion(QSize(225, 225), 0); });
    b.animate(880, QSize(225, 225), kOnFelt, QStringLiteral("explosion, once"),
              [] { return explosion(QSize(225, 225), 1); });
    b.animate(930, QSize(225, 225), kOnFelt, QStringLiteral("large explosion, once"),
              [] { return bigExplosion(QSize(225, 225)); });
    b.animate(881, QSize(225, 225), kOnFelt, QStringLiteral("four jokers, once"),
              [] { return fourJokers(QSize(225, 225)); });
    b.animate(931, QSize(260, 198), kOnFelt, QStringLiteral("landlord won, endless"),
              [] { return handEndBadge(QSize(260, 198), true); });
    b.animate(932, QSize(260, 198), kOnFelt, QStringLiteral("landlord lost, endless"),
              [] { return handEndBadge(QSize(260, 198), false); });
    b.animate(933, QSize(70, 90), kOnFelt, QStringLiteral("landlord, endless"),
              [] { return landlordBadge(QSize(70, 90)); });
}

void addVideo(Builder &b)
{
    const QSize icon(16, 14);
    struct Glyph
    {
        int normal, hover;
        VideoGlyph glyph;
        const char16_t *note;
    };
    const Glyph glyphs[] = {
            {850, 854, VideoGlyph::Close, u"close video"},
            {851, 855, VideoGlyph::PopOut, u"放大"},
            {852, 856, VideoGlyph::Photo, u"拍照"},
            {853, 857, VideoGlyph::Music, u"月光宝盒"},
            {858, 859, VideoGlyph::Friend, u"加为好友"},
            {863, 864, VideoGlyph::Album, u"像册"},
    };
    for (const Glyph &g : glyphs) {
        const QString note = QString::fromUtf16(g.note);
        b.add(g.normal, icon, kOnPanel, note, [=] { return videoIcon(icon, g.glyph, false); });
        b.add(g.hover, icon, kOnPanel, note + QStringLiteral(" hover"),
              [=] { return videoIcon(icon, g.glyph, true); });
    }
    const QSize command(17, 16);
    b.add(860, command, kOnPanel, QStringLiteral("关闭"),
          [=] { return videoIcon(command, VideoGlyph::Close, false); });
    b.add(861, command, kOnPanel, QStringLiteral("放大"),
          [=] { return videoIcon(command, VideoGlyph::Enlarge, false); });
    b.add(862, command, kOnPanel, QStringLiteral("缩小"),
          [=] { return videoIcon(command, VideoGlyph::Shrink, false); });
    const QSize backs[] = {{175, 138}, {276, 215}, {434, 341}, {137, 108}, {216, 168}, {339, 266}};
    for (int i = 0; i < 6; ++i) {
        const QSize size = backs[i];
        b.add(
                870 + i, size, kOnPanel, QStringLiteral("video panel"),
                [=] { return videoPanelBack(size); }, Format::Jpeg);
    }
}

// Pictures that belong to the windows' designs and are not loaded by id.
void addDesign(Builder &b)
{
    b.design(
            QStringLiteral("table_green"), QSize(1024, 768), kOnFelt,
            QStringLiteral("table surface"), [] { return tableSurface(QSize(1024, 768), false); },
            Format::Jpeg);
    b.design(
            QStringLiteral("table_blue"), QSize(1024, 768), kOnFelt,
            QStringLiteral("table surface, blue"),
            [] { return tableSurface(QSize(1024, 768), true); }, Format::Jpeg);
    b.design(
            QStringLiteral("table_green_small"), QSize(800, 600), kOnFelt,
            QStringLiteral("table surface, small screens"),
            [] { return tableSurface(QSize(800, 600), false); }, Format::Jpeg);
    b.design(QStringLiteral("bar_top"), QSize(1024, 96), kOnFelt, QStringLiteral("top bar"),
             [] { return tableBar(QSize(1024, 96), false); });
    b.design(QStringLiteral("bar_bottom"), QSize(1024, 117), kOnFelt, QStringLiteral("bottom bar"),
             [] { return tableBar(QSize(1024, 117), true); });
    b.design(QStringLiteral("skin_frame"), QSize(46, 220), kOnPaper,
             QStringLiteral("window frame template"), [] { return skinFrame(QSize(46, 220)); });
    const char16_t *const states[] = {u"normal", u"hover", u"pressed"};
    for (int state = 0; state < 3; ++state) {
        const QString s = QString::fromUtf16(states[state]);
        b.design(QStringLiteral("caption_close_") + s, QSize(16, 16), QColor(0x8a, 0x1a, 0x10),
                 QStringLiteral("关闭 ") + s,
                 [=] { return captionButton(QSize(16, 16), true, state); });
        b.design(QStringLiteral("caption_min_") + s, QSize(16, 16), QColor(0x8a, 0x1a, 0x10),
                 QStringLiteral("最小化 ") + s,
                 [=] { return captionButton(QSize(16, 16), false, state); });
    }
    b.design(QStringLiteral("hand_cursor"), QSize(32, 32), QColor(0x80, 0x80, 0x80),
             QStringLiteral("pointer, hot spot 12, 4"), [] { return handCursor(QSize(32, 32)); });
    b.design(QStringLiteral("room_strip"), QSize(394, 39), kOnBar, QStringLiteral("room strip"),
             [] { return roomStrip(QSize(394, 39)); });
    b.design(QStringLiteral("deal_pile"), QSize(100, 140), kOnFelt, QStringLiteral("deal pile"),
             [] { return dealPile(QSize(100, 140), 12); });
    b.design(QStringLiteral("deal_pile_bottom"), QSize(82, 112), kOnFelt,
             QStringLiteral("bottom-card pile"), [] { return dealPile(QSize(82, 112), 8); });
    b.design(QStringLiteral("first_mark"), QSize(70, 29), kOnFelt, QStringLiteral("先出"),
             [] { return markBadge(QSize(70, 29), QStringLiteral("先出"), 3); });
    b.design(
            QStringLiteral("video_frame"), QSize(126, 105), kOnBar, QStringLiteral("video frame"),
            [] { return videoFrame(QSize(126, 105)); }, Format::Jpeg);
    b.design(
            QStringLiteral("name_strip_own"), QSize(85, 16), kOnBar,
            QStringLiteral("own name strip"), [] { return nameStrip(QSize(85, 16), true); },
            Format::Jpeg);
    b.design(QStringLiteral("name_strip"), QSize(145, 17), kOnBar, QStringLiteral("name strip"),
             [] { return nameStrip(QSize(145, 17), false); });
    b.design(QStringLiteral("video_button"), QSize(16, 14), kOnBar, QStringLiteral("打开视频"),
             [] { return videoIcon(QSize(16, 14), VideoGlyph::Camera, false); });
    b.design(QStringLiteral("ad_frame"), QSize(82, 80), kOnBar, QStringLiteral("ad frame"),
             [] { return adFrame(QSize(82, 80)); });
    b.design(QStringLiteral("multiplier_cards"), QSize(48, 28), kOnFelt, QStringLiteral("亮牌加倍"),
             [] { return multiplierIcon(QSize(48, 28), false); });
    b.design(QStringLiteral("multiplier_wealth"), QSize(48, 28), kOnFelt,
             QStringLiteral("财富加倍"), [] { return multiplierIcon(QSize(48, 28), true); });
    b.design(QStringLiteral("shuffle"), QSize(260, 60), kOnFelt, QStringLiteral("seat shuffle"),
             [] { return shuffleBack(QSize(260, 60)); });
    b.design(QStringLiteral("illegal_play"), QSize(178, 63), kOnFelt,
             QStringLiteral("出牌不符合规则"), [] { return illegalPlayNotice(QSize(178, 63)); });
    b.design(QStringLiteral("dialog"), QSize(320, 180), kOnPaper,
             QStringLiteral("leave dialogs, chat history"),
             [] { return dialogBack(QSize(320, 180), QString()); });
    b.design(QStringLiteral("dialog_phrases"), QSize(320, 180), kOnPaper,
             QStringLiteral("quick phrases"),
             [] { return dialogBack(QSize(320, 180), QStringLiteral("常用语")); });
    b.design(QStringLiteral("dialog_task"), QSize(325, 175), kOnPaper, QStringLiteral("喜金任务"),
             [] { return taskBack(QSize(325, 175)); });
    b.design(QStringLiteral("dialog_sound"), QSize(220, 330), kOnPaper, QStringLiteral("音效设置"),
             [] { return dialogBack(QSize(220, 330), QStringLiteral("音效设置")); });
    b.design(QStringLiteral("dialog_score"), QSize(639, 480), kOnPaper,
             QStringLiteral("score board"),
             [] { return boardBack(QSize(639, 480), QStringLiteral("本局结算"), kBoardFrame); });
    b.design(QStringLiteral("dialog_hero"), QSize(655, 454), kOnPaper,
             QStringLiteral("hall of fame"),
             [] { return boardBack(QSize(655, 454), QStringLiteral("英雄榜"), kBoardFrame); });
    b.design(QStringLiteral("dialog_player"), QSize(220, 331), kOnPaper,
             QStringLiteral("player card"),
             [] { return dialogBack(QSize(220, 331), QStringLiteral("玩家信息")); });
    b.design(QStringLiteral("window_hide"), QSize(25, 25), kOnPaper, QStringLiteral("hide"),
             [] { return closeSpot(QSize(25, 25), false); });
    b.design(QStringLiteral("window_close"), QSize(25, 25), kOnPaper, QStringLiteral("close"),
             [] { return closeSpot(QSize(25, 25), true); });
    const char16_t *const soundRows[] = {u"背景音乐", u"系统声音", u"功能声音", u"牌桌颜色"};
    for (int row = 0; row < 4; ++row) {
        const QString label = QString::fromUtf16(soundRows[row]);
        b.design(QStringLiteral("sound_label_%1").arg(row), QSize(91, 35), kOnPaper, label,
                 [=] { return labelPlate(QSize(91, 35), label); });
    }
    const QSize speakBoxes[] = {{174, 92}, {198, 92}, {208, 104}, {208, 104}};
    const int speakTails[] = {0, 1, 2, 3};
    for (int seat = 0; seat < 4; ++seat) {
        const QSize size = speakBoxes[seat];
        const int tail = speakTails[seat];
        b.design(QStringLiteral("speak_box_%1").arg(seat), size, kOnFelt,
                 QStringLiteral("speech bubble, seat %1").arg(seat),
                 [=] { return speechBubble(size, tail); });
    }
}

} // namespace

std::vector<Entry> catalogue()
{
    Builder b;
    addCards(b);
    addFans(b);
    addToolbar(b);
    addButtons(b);
    addPlayers(b);
    addBubbles(b);
    addAnimations(b);
    addVideo(b);
    addDesign(b);
    return b.take();
}

} // namespace tessaroc::artgen
