#include "table/MainForm.h"

#include "core/TableState.h"
#include "forms/Fonts.h"
#include "gif/GifScale.h"
#include "table/HoverPictures.h"
#include "table/SystemMessageLine.h"
#include "table/TablePictures.h"
#include "table/WebPanels.h"

#include <QEvent>
#include <QPalette>
#include <QResizeEvent>

#include <cmath>

namespace tessaroc::table {

namespace {

constexpr double px(double twips)
{
    return forms::twipsToPixels(twips);
}

const QColor kSeatText(128, 255, 255);
const QColor kRoomText(0, 255, 0);
const QColor kSystemLine(128, 255, 128);
const QColor kNoteText(255, 255, 0);
const QColor kMultiplierText(0, 255, 0);
const QColor kFelt(0x0b, 0x4a, 0x2c);
const QColor kFrameBeige(0xf0, 0xe0, 0xc0);
// The design's usual font.
const QString kSongTi = QStringLiteral("宋体");

void fillColour(QWidget &widget, QColor back, QColor text)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Base, back);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void image(forms::Image &element, double left, double top, double width, double height,
           bool stretch = false, bool visible = true)
{
    element.setStretch(stretch);
    element.Move(left, top, width, height);
    element.setVisible(visible);
}

void label(forms::Label &element, double left, double top, double width, double height, QColor text,
           bool visible = true)
{
    element.Move(left, top, width, height);
    element.setForeColor(text);
    element.setVisible(visible);
}

// A picture of the window's design on an element that does not stretch it:
// the element takes the picture's size.
void designImage(forms::Image &element, QStringView name)
{
    element.setPicture(designPicture(name), 0);
}

} // namespace

TableArea::TableArea(QWidget *window)
    : Pic1(new forms::Surface(window), forms::kTwipsPerPixel)
    , Pic2(new forms::Surface(window), forms::kTwipsPerPixel)
    , pic3(new forms::Surface(window), forms::kTwipsPerPixel)
    , pic4(new forms::Surface(window), forms::kTwipsPerPixel)
{ }

SeatPanels::SeatPanels()
    : Tou(nullptr)
    , Nid(nullptr)
    , Cash(nullptr)
    , Level(nullptr)
    , OK(nullptr)
    , first(nullptr)
    , ImgKuang(nullptr, 1)
    , ImgShow(nullptr, 1)
    , PicLocal(0)
    , ImCmd(nullptr)
    , vshow(1)
{ }

forms::ControlArray<forms::Image> &HandRows::cardRow(int pos)
{
    switch (pos) {
    case 1:
        return cardImage1;
    case 2:
        return cardImage2;
    case 3:
        return cardImage3;
    default:
        return cardImage0;
    }
}

HandRows::HandRows()
    : cardImage0(nullptr)
    , cardImage1(nullptr)
    , cardImage2(nullptr)
    , cardImage3(nullptr)
    , shanImage(nullptr)
    , Labrest(nullptr, 1)
    , imgDiPai(nullptr)
    , imgCardMove(nullptr)
    , ImgLPai(nullptr)
{ }

ActionButtons::ActionButtons()
    : Operation(nullptr)
    , tanOperation(nullptr)
{ }

BidControls::BidControls()
    : btnJiaofen(nullptr)
    , lbfont(nullptr)
{ }

Toolbar::Toolbar()
    : AnNiu(nullptr)
{ }

MessageControls::MessageControls()
    : Speak(nullptr)
    , Sysmsg(0)
{ }

TurnClock::TurnClock(const platform::Clock &clock)
    : Time_Img(clock)
{ }

TableEffects::TableEffects(const platform::Clock &clock)
    : bombPlayer(clock)
    , UcDiZhu(clock)
{ }

FrameControls::FrameControls(forms::Surface *window)
    : Skin(window)
    , ImgIcon(window)
    , ImgClose(window)
    , ImgMin(window)
    , LbMove(window)
    , lcaption(window)
{ }

TableTimers::TableTimers()
{
    TimerBong.setInterval(50);
    TimerKeepAlive.setInterval(5000);
    TimerShuffle.setInterval(300);
    Timerformer.setInterval(3000);
}

MainForm::MainForm(core::TableState &state, const platform::Clock &clock, core::HallService &hall,
                   QWidget *parent)
    : forms::Surface(parent)
    , state_(state)
    , clock_(clock)
    , hall_(hall)
    , area(this)
    , turn(clock)
    , effects(clock)
    , frame(this)
{
    stackTableElements();
    buildDesign();
    connectHandlers();
    hover_ = std::make_unique<HoverPictures>(*this, state_, clock_);
    webPanels_ = std::make_unique<WebPanels>(*this, state_);
}

MainForm::~MainForm() = default;

// The windowless controls of the table area join Pic1 in the design's
// stacking order, from the back; whatever a layout loads later lies above
// them. The name strips' panel buttons join their strips when these exist.
void MainForm::stackTableElements()
{
    forms::Surface *table = &area.Pic1.widget();
    const auto stack = [table](std::initializer_list<forms::Element *> elements) {
        for (forms::Element *element : elements)
            element->setContainer(table);
    };
    stack({&area.imgDinglan, &area.imgDilan, &area.imgLocation, &area.Location, &area.imgword1,
           &area.imgword2, &area.imgRenWu});
    stack({&seats.ImgKuang(1), &seats.ImgShow(1), &seats.Tou(0), &seats.Nid(0), &seats.Cash(0),
           &seats.Level(0), &seats.OK(0), &seats.first(0)});
    stack({&hands.ImgLPai(0), &hands.shanImage(0), &hands.Labrest(1), &hands.imgDiPai(0),
           &hands.imgFaPai, &hands.imgFaPai8, &hands.cardImage1(0), &hands.cardImage2(0),
           &hands.cardImage3(0), &hands.cardImage0(0), &hands.imgCardMove(0)});
    stack({&toolbar.AnNiu(0), &toolbar.Bank});
    stack({&actions.Operation(0), &actions.tanOperation(0), &bid.btnJiaofen(0)});
    stack({&messages.Speak(0), &messages.words});
    stack({&bid.lbfont(0), &bid.imgBeishu1, &bid.lblDifen, &bid.Imgwealth, &bid.lbwealth,
           &bid.lblBeishu});
    stack({&messages.Lbchat, &area.Bird, &messages.LbProp, &messages.Proponeself});
    stack({&effects.ImgShuffle, &effects.LblShuffle, &turn.Time_Img, &turn.Number,
           &effects.bombPlayer, &effects.UcDiZhu});
}

forms::LayoutScale MainForm::scale() const
{
    return state_.table.scale;
}

// --- The window's design -------------------------------------------------

void MainForm::buildDesign()
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Tessaroc"));
    setFont(forms::designFont(kSongTi, 9));
    fillColour(*this, kFrameBeige, Qt::black);
    geometry_ = {0, 0, kDesignWindowWidth, kDesignWindowHeight};
    applyGeometry();

    createWidgets();
    // Each area in turn; the further elements that an area loads lie above
    // those of the areas before it.
    designTableArea();
    designSeatPanels();
    designHandRows();
    designButtons();
    designMessages();
    designStakes();
    designTurnAndEffects();
    designFrame();
}

// The windowed controls of the table area, created in their stacking order (a
// later one lies above an earlier one); each area places its own.
void MainForm::createWidgets()
{
    QWidget *table = &area.Pic1.widget();
    for (int p = 0; p <= 3; ++p)
        seats.PicLocal.add(Windowed<forms::Surface>(new forms::Surface(table)));
    for (int p = 1; p <= 3; ++p)
        seats.vshow.add(Windowed<platform::VideoView>(new platform::VideoView(table)));
    seats.vcap1 = Windowed<platform::VideoCapture>(new platform::VideoCapture(table));
    for (int i = 0; i <= 1; ++i)
        messages.Sysmsg.add(Windowed<QListWidget>(new SystemMessageLine(table)));
    messages.Chat = Windowed<QLineEdit>(new QLineEdit(table));
    area.WebBrowser1 = Windowed<platform::WebPanel>(new platform::WebPanel(table));
    area.WebBrowser2 = Windowed<platform::WebPanel>(new platform::WebPanel(table));
    seats.Tiplbl = Windowed<QLineEdit>(new QLineEdit(table));
}

void MainForm::designTableArea()
{
    // The table area and the hidden holders of the table pictures.
    area.Pic1.Move(0, 0, kDesignWindowWidth, kDesignWindowHeight);
    area.Pic1->setFont(forms::designFont(kSongTi, 10.5));
    fillColour(area.Pic1.widget(), kFelt, Qt::white);
    // The table pictures are large: each is decoded when it is first shown
    // or taken from its holder, so that a small screen never decodes the
    // large table, nor any screen the table of the colour it does not show.
    area.Pic1->setPictureOnFirstUse([] { return designPicture(u"table_green"); }, 0);
    area.Pic1->setFocusPolicy(Qt::ClickFocus);
    const std::pair<Windowed<forms::Surface> *, QStringView> holders[]
            = {{&area.Pic2, u"table_green_small"},
               {&area.pic3, u"table_green"},
               {&area.pic4, u"table_blue"}};
    for (const auto &entry : holders) {
        // Named copies, not a structured binding: clang 14 cannot capture one.
        Windowed<forms::Surface> *const holder = entry.first;
        const QStringView picture = entry.second;
        (*holder)->setPictureOnFirstUse([picture] { return designPicture(picture); }, 0);
        const QSize size = designPictureSize(picture);
        holder->Move(0, 0, size.width() * forms::kTwipsPerPixel,
                     size.height() * forms::kTwipsPerPixel);
        holder->setVisible(false);
    }

    // The bars and the room strip.
    designImage(area.imgDinglan, u"bar_top");
    area.imgDinglan.Move(0, 0);
    designImage(area.imgDilan, u"bar_bottom");
    area.imgDilan.Move(0, 651);
    designImage(area.imgLocation, u"room_strip");
    area.imgLocation.Move(632, 656);
    label(area.Location, 760, 668, 161, 25, kRoomText);
    area.Location.setFont(forms::designFont(kSongTi, 12));
    // The two tabs on the room strip show their normal pictures from the
    // start, the ones the strip's hover-off puts back.
    struct Tab
    {
        forms::Image *tab;
        int picture;
        double top;
    };
    for (const Tab &t : {Tab{&area.imgword1, 516, 662}, Tab{&area.imgword2, 517, 676}}) {
        image(*t.tab, 640, t.top, 57, 13, true);
        loadPicture(*t.tab, t.picture);
        useHandCursor(*t.tab);
    }
    loadPicture(area.imgRenWu, 194);
    area.imgRenWu.Move(0, 612);

    // The ad frame and the two web panels, one in it, one for the shuffle.
    area.Bird.setStretch(true);
    area.Bird.setPicture(designPicture(u"ad_frame"), 0);
    area.Bird.Move(936, 680, 82, 80);
    for (Windowed<platform::WebPanel> *panel : {&area.WebBrowser1, &area.WebBrowser2}) {
        fillColour(panel->widget(), Qt::white, Qt::black);
        panel->Move(938, 682, 82, 80);
        panel->setVisible(false);
    }
}

void MainForm::designSeatPanels()
{
    // Video frames and their buttons of the three other seats.
    seats.ImgKuang(1).setStretch(true);
    seats.ImgKuang(1).setPicture(designPicture(u"video_frame"), 0);
    seats.ImgKuang(1).Move(0, 3, 126, 105);
    seats.ImgShow(1).setStretch(true);
    seats.ImgShow(1).setPicture(designPicture(u"video_button"), 0);
    seats.ImgShow(1).Move(32, 80, 16, 14);
    seats.ImgShow(1).setToolTipText(QStringLiteral("打开视频"));
    for (int p = 2; p <= 3; ++p) {
        seats.ImgKuang.Load(p);
        seats.ImgShow.Load(p).setVisible(true);
    }

    // The own seat's panel; the other seats' are loaded by the seat layout.
    image(seats.Tou(0), 10, 668, 70, 62, true);
    label(seats.Nid(0), 181, 701, 161, 25, kSeatText);
    label(seats.Cash(0), 181, 725, 161, 17, kSeatText);
    label(seats.Level(0), 181, 745, 161, 17, kSeatText);
    seats.Level(0).setFont(forms::designFont(kSongTi, 10.5));
    loadPicture(seats.OK(0), 280);
    seats.OK(0).Move(460, 630);
    seats.OK(0).setVisible(false);
    designImage(seats.first(0), u"first_mark");
    seats.first(0).Move(460, 630);
    seats.first(0).setVisible(false);

    // The name strips with their four video panel buttons each.
    for (int p = 0; p <= 3; ++p) {
        Windowed<forms::Surface> &strip = seats.PicLocal(p);
        strip->setPicture(designPicture(p == 0 ? u"name_strip_own" : u"name_strip"), 0);
        if (p == 0)
            strip.Move(9, 742, 87, 18);
        else
            strip.Move(126 + 342 * (p - 1), 88, 145, 17);
    }
    constexpr double kOwnLefts[] = {50.0 / 15, 24, 680.0 / 15, 64};
    constexpr double kOtherLefts[] = {8, 40, 72, 104};
    constexpr int kOwnIcons[] = {852, 853, 863, 851};
    constexpr int kOtherIcons[] = {850, 851, 852, 858};
    constexpr const char16_t *kOtherTips[] = {u"屏蔽", u"放大", u"照相", u"加为好友"};
    seats.ImCmd(0).setContainer(&seats.PicLocal(0).widget());
    useHandCursor(seats.ImCmd(0));
    for (int i = 0; i <= 15; ++i) {
        forms::Image &button = i == 0 ? seats.ImCmd(0) : seats.ImCmd.Load(i);
        const int p = i / 4, k = i % 4;
        button.setContainer(&seats.PicLocal(p).widget());
        button.setStretch(false);
        loadPicture(button, p == 0 ? kOwnIcons[k] : kOtherIcons[k]);
        button.Move(p == 0 ? kOwnLefts[k] : kOtherLefts[k], 0, 16, 14);
        button.setToolTipText(p == 0 ? QString() : QString::fromUtf16(kOtherTips[k]));
        button.setVisible(true);
    }

    // The video views, the own camera and the tooltip box of the panels.
    for (int p = 1; p <= 3; ++p) {
        seats.vshow(p).Move(5 + 342 * (p - 1), 8, 116, 95);
        seats.vshow(p).setVisible(false);
    }
    seats.vcap1.Move(10, 668, 85, 83);
    seats.vcap1.setVisible(false);
    seats.Tiplbl->setReadOnly(true);
    seats.Tiplbl.Move(0, 0, 120, 20);
    seats.Tiplbl.setVisible(false);
}

void MainForm::designHandRows()
{
    image(hands.ImgLPai(0), 10, 560, 92, 122, false, false);

    // The other seats' fans and counts, the bottom cards and the deal piles.
    for (int i = 0; i <= 2; ++i) {
        if (i > 0)
            hands.shanImage.Load(i);
        image(hands.shanImage(i), 0, 0, 200, 200, false, false);
    }
    label(hands.Labrest(1), 71, 448, 60, 20, kNoteText, false);
    hands.Labrest(1).setCaption(QStringLiteral("10张"));
    hands.Labrest(1).setFont(forms::designFont(QStringLiteral("MS Sans Serif"), 12, true));
    loadPicture(hands.imgDiPai(0), kCardBackPicture);
    hands.imgDiPai(0).Move(420, 270);
    hands.imgDiPai(0).setVisible(false);
    designImage(hands.imgFaPai, u"deal_pile");
    hands.imgFaPai.Move(462, 280);
    hands.imgFaPai.setVisible(false);
    designImage(hands.imgFaPai8, u"deal_pile_bottom");
    hands.imgFaPai8.Move(472, 270);
    hands.imgFaPai8.setVisible(false);

    // Card pictures: the other seats', then the own hand above them.
    for (auto *group : {&hands.cardImage1, &hands.cardImage2, &hands.cardImage3})
        image((*group)(0), 0, 0, 80, 108, true, false);
    image(hands.cardImage0(0), 0, 565, 90, 120, true, false);
    useHandCursor(hands.cardImage0(0));
    for (int i = 0; i <= 10; ++i) {
        if (i > 0)
            hands.imgCardMove.Load(i);
        forms::Image &card = hands.imgCardMove(i);
        image(card, 472, 285, 80, 108, true, false);
        loadPicture(card, kCardBackPicture);
    }
}

void MainForm::designButtons()
{
    // Toolbar and bank icon.
    image(toolbar.AnNiu(0), 575, 730, 65, 33, true);
    useHandCursor(toolbar.AnNiu(0));
    image(toolbar.Bank, 698, 662, 55, 31, true);
    loadPicture(toolbar.Bank, 600);
    useHandCursor(toolbar.Bank);
    toolbar.Bank.setToolTipText(QStringLiteral("单击打开您的道具仓库"));

    // Action, choice and bid buttons.
    image(actions.Operation(0), 400, 480, 60, 40, true, false);
    useHandCursor(actions.Operation(0));
    image(actions.tanOperation(0), 448, 470, 66, 38, false, false);
    useHandCursor(actions.tanOperation(0));
    image(bid.btnJiaofen(0), 440, 480, 66, 38, true, false);
}

void MainForm::designMessages()
{
    // Bubbles and the speech text.
    for (int p = 0; p <= 3; ++p) {
        if (p > 0)
            messages.Speak.Load(p);
        image(messages.Speak(p), 0, 0, 151, 112, false, false);
    }
    image(messages.words, 0, 0, 151, 112, false, false);

    // Chat label and item notices.
    label(messages.Lbchat, 594, 695, 25, 33, palette().color(QPalette::WindowText));
    messages.Lbchat.setBackColor(palette().color(QPalette::Window));
    useHandCursor(messages.Lbchat);
    label(messages.LbProp, 400, 200, 224, 40, kNoteText, false);
    messages.LbProp.setAlignment(forms::Label::Alignment::Center);
    label(messages.Proponeself, 0, 658, 100, 115, kNoteText);
    messages.Proponeself.setEnabled(false);

    // The two system lines and the chat box.
    for (int i = 0; i <= 1; ++i) {
        Windowed<QListWidget> &line = messages.Sysmsg(i);
        line->setFont(font());
        fillColour(line.widget(), Qt::black, kSystemLine);
        line.Move(312, 696 + 13 * i, 281, 13);
        line.setVisible(false);
    }
    Windowed<QLineEdit> &chat = messages.Chat;
    chat->setFrame(false);
    chat->setFont(forms::designFont(kSongTi, 15.75));
    fillColour(chat.widget(), Qt::black, kSeatText);
    chat.Move(312, 732, 250, 33);
    chat.setVisible(false);
}

void MainForm::designStakes()
{
    // The room rule notes, the two multipliers and the settlement's text.
    constexpr const char16_t *kNotes[] = {u"亮牌加倍", u"最少金币定倍数", u"个人金币数封顶"};
    for (int i = 0; i <= 2; ++i) {
        if (i > 0)
            bid.lbfont.Load(i);
        label(bid.lbfont(i), 424, 280 + 32 * i, 240, 28, kNoteText, false);
        bid.lbfont(i).setCaption(QString::fromUtf16(kNotes[i]));
        bid.lbfont(i).setFont(forms::designFont(QStringLiteral("楷体_GB2312"), 14.25, true));
    }
    designImage(bid.imgBeishu1, u"multiplier_cards");
    bid.imgBeishu1.Move(10, 470);
    bid.imgBeishu1.setVisible(false);
    label(bid.lblDifen, 62, 471, 48, 28, kMultiplierText, false);
    bid.lblDifen.setCaption(QStringLiteral("1"));
    designImage(bid.Imgwealth, u"multiplier_wealth");
    bid.Imgwealth.Move(10, 500);
    bid.Imgwealth.setVisible(false);
    // Wide enough for any 32-bit wealth at the smaller of its two sizes.
    label(bid.lbwealth, 62, 282, 96, 28, kMultiplierText, false);
    bid.lbwealth.setCaption(QStringLiteral("10"));
    for (forms::Label *value : {&bid.lblDifen, &bid.lbwealth})
        value->setFont(forms::designFont(kSongTi, 18));
    label(bid.lblBeishu, 400, 440, 224, 24, kNoteText, false);
}

void MainForm::designTurnAndEffects()
{
    // The seat shuffle's picture and caption.
    designImage(effects.ImgShuffle, u"shuffle");
    effects.ImgShuffle.Move(382, 300);
    effects.ImgShuffle.setVisible(false);
    label(effects.LblShuffle, 382, 318, 260, 24, kNoteText, false);
    effects.LblShuffle.setAlignment(forms::Label::Alignment::Center);
    effects.LblShuffle.setFont(forms::designFont(kSongTi, 12, true));

    // The turn clock, its seconds and the two animations. The clock fills its
    // area; the two animations fit theirs.
    turn.Time_Img.setStretch(gif::StretchFill);
    turn.Time_Img.Move(875, 550, 57, 41);
    label(turn.Number, 901, 576, 47, 32, Qt::black, false);
    turn.Number.setCaption(QStringLiteral("13"));
    turn.Number.setFont(forms::designFont(QStringLiteral("黑体"), 18));
    effects.bombPlayer.setStretch(gif::StretchFit);
    effects.bombPlayer.Move(400, 280, 225, 225);
    effects.bombPlayer.setVisible(false);
    effects.UcDiZhu.setStretch(gif::StretchFit);
    effects.UcDiZhu.Move(10, 560, 70, 90);
    effects.UcDiZhu.setVisible(false);
}

// The frame's parts on the window itself, in twips.
void MainForm::designFrame()
{
    frame.Skin.setPicture(designPicture(u"skin_frame"), 0);
    frame.Skin.setVisible(false);
    image(frame.ImgIcon, px(50), px(50), px(240), px(240));
    const std::pair<forms::ControlArray<forms::Image> *, QStringView> captionButtons[]
            = {{&frame.ImgClose, u"caption_close_"}, {&frame.ImgMin, u"caption_min_"}};
    constexpr const char16_t *kStates[] = {u"normal", u"hover", u"pressed"};
    for (auto [group, stem] : captionButtons) {
        forms::ControlArray<forms::Image> &buttons = *group;
        for (int i = 1; i <= 3; ++i) {
            forms::Image &holder = buttons.Load(i);
            holder.setPicture(designPicture(stem.toString() + QString::fromUtf16(kStates[i - 1])),
                              0);
        }
        buttons(0).setPicture(buttons(1).picture(), 0);
        useHandCursor(buttons(0));
    }
    frame.ImgClose(0).setToolTipText(QStringLiteral("关闭"));
    frame.ImgMin(0).setToolTipText(QStringLiteral("最小化"));
    frame.ImgClose(0).Move(px(kDesignWindowWidth - 310), px(25), px(240), px(240));
    frame.ImgMin(0).Move(px(kDesignWindowWidth - 580), px(25), px(240), px(240));
    frame.LbMove.Move(px(290), 0, px(kDesignWindowWidth - 580 - 290), px(290));
    // The caption runs up to the minimise button, room for the hall's
    // longest table captions; the drag strip lies over it, so the whole
    // band still moves the window.
    frame.lcaption.Move(px(300), px(25), px(kDesignWindowWidth - 580 - 60 - 300), 16);
    frame.lcaption.setCaption(QStringLiteral("Tessaroc"));
    frame.lcaption.setFont(forms::designFont(kSongTi, 10.5, true));
    frame.LbMove.ZOrder(0);
}

void MainForm::connectHandlers()
{
    const auto captionButton = [this](forms::ControlArray<forms::Image> &group, bool close) {
        group.forEach([this, close](forms::Image &button) {
            const int index = button.Index();
            connect(&button, &forms::Element::MouseDown, this,
                    [this, index, close](int b, int s, double x, double y) {
                        close ? ImgClose_MouseDown(index, b, s, x, y)
                              : ImgMin_MouseDown(index, b, s, x, y);
                    });
            connect(&button, &forms::Element::MouseUp, this,
                    [this, index, close](int b, int s, double x, double y) {
                        close ? ImgClose_MouseUp(index, b, s, x, y)
                              : ImgMin_MouseUp(index, b, s, x, y);
                    });
            connect(&button, &forms::Element::MouseMove, this,
                    [this, index, close](int b, int s, double x, double y) {
                        close ? ImgClose_MouseMove(index, b, s, x, y)
                              : ImgMin_MouseMove(index, b, s, x, y);
                    });
            connect(&button, &forms::Element::Click, this,
                    [this, index, close] { close ? ImgClose_Click(index) : ImgMin_Click(index); });
        });
    };
    captionButton(frame.ImgClose, true);
    captionButton(frame.ImgMin, false);
    connect(&frame.LbMove, &forms::Element::MouseDown, this, &MainForm::LbMove_MouseDown);
    connect(&frame.LbMove, &forms::Element::MouseMove, this, &MainForm::LbMove_MouseMove);
    connect(this, &forms::Surface::MouseMove, this, &MainForm::Form_MouseMove);
}

// --- Window geometry ---------------------------------------------------------

void MainForm::setLeft(double left)
{
    geometry_.Left = left;
    applyGeometry();
}

void MainForm::setTop(double top)
{
    geometry_.Top = top;
    applyGeometry();
}

void MainForm::setWidth(double width)
{
    if (width >= 0)
        geometry_.Width = width;
    applyGeometry();
}

void MainForm::setHeight(double height)
{
    if (height >= 0)
        geometry_.Height = height;
    applyGeometry();
}

void MainForm::applyGeometry()
{
    const auto whole = [](double twips) {
        return static_cast<int>(std::lround(px(twips)));
    };
    setGeometry(whole(geometry_.Left), whole(geometry_.Top), whole(geometry_.Width),
                whole(geometry_.Height));
}

int MainForm::WindowState() const
{
    const Qt::WindowStates states = windowState();
    if (states & Qt::WindowMinimized)
        return Minimized;
    if (states & Qt::WindowMaximized)
        return Maximized;
    return Normal;
}

void MainForm::setWindowStateCode(int state)
{
    switch (state) {
    case Normal:
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        break;
    case Minimized:
        setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    case Maximized:
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    default:
        break;
    }
}

// --- The start-up's window steps ---------------------------------------------

void MainForm::FitToScreen(const WindowSizing &sizing)
{
    fitting_ = true;
    geometry_.Height = sizing.window.Height;
    geometry_.Top = sizing.window.Top;
    applyGeometry();
    if (sizing.framedHeight)
        DrawSkinFrame();
    area.Pic1.Move(area.Pic1.Left(), sizing.Pic1.Top, area.Pic1.Width(), sizing.Pic1.Height);

    geometry_.Width = sizing.window.Width;
    geometry_.Left = sizing.window.Left;
    applyGeometry();
    if (sizing.framedWidth)
        DrawSkinFrame();
    area.Pic1.Move(sizing.Pic1.Left, area.Pic1.Top(), sizing.Pic1.Width, area.Pic1.Height());

    state_.table.scale = sizing.scale;
    const forms::LayoutScale s = scale();
    if (s.isReduced()) {
        // The small table picture replaces the large one, and the bars shrink
        // with the table.
        area.Pic1->setPicture(area.Pic2->picture(), 0);
        area.Pic1.ZOrder(1);
        for (int i = 0; i <= 1; ++i) {
            QFont font = messages.Sysmsg(i)->font();
            font.setPointSizeF(8);
            messages.Sysmsg(i)->setFont(font);
        }
        area.imgDilan.setStretch(true);
        area.imgDilan.Move(area.imgDilan.Left(), area.imgDilan.Top(), 800, s.y(117));
        area.imgDinglan.setStretch(true);
        area.imgDinglan.Move(area.imgDinglan.Left(), area.imgDinglan.Top(), 800, s.y(96));
        loadPicture(area.imgRenWu, 199);
    }
    area.imgDilan.Move(0, px(area.Pic1.Height()) - area.imgDilan.Height() + s.y(2));
    area.imgDinglan.Move(0, 0);
    fitting_ = false;
}

// --- The task window and the system lines -----------------------------------

MingXiWindow &MainForm::frmMingXi()
{
    if (!frmMingXi_) {
        frmMingXi_ = std::make_unique<MingXiWindow>();
        frmMingXi_->hide();
    }
    return *frmMingXi_;
}

ExitDialog &MainForm::frmExit()
{
    if (!frmExit_) {
        frmExit_ = std::make_unique<ExitDialog>(platform::GetVersionEx(), state_.rules.InGame,
                                                state_.loop.line.Spectator);
        connect(frmExit_.get(), &ExitDialog::leaveClicked, this, &MainForm::leaveDialogLeave);
        connect(frmExit_.get(), &ExitDialog::stayClicked, this, &MainForm::leaveDialogStay);
        connect(frmExit_.get(), &ExitDialog::escapePressed, this, &MainForm::leaveDialogEscape);
    }
    return *frmExit_;
}

void MainForm::UnloadFrmExit()
{
    if (!frmExit_)
        return;
    // The dialog may be unloaded from its own button's click: it goes once
    // that event is over.
    ExitDialog *dialog = frmExit_.release();
    dialog->hide();
    dialog->deleteLater();
}

void MainForm::ShowLeaveDialog()
{
    ExitDialog &dialog = frmExit();
    dialog.applyWarning(state_.rules.InGame, state_.loop.line.Spectator);
    dialog.centreOn(*this);
    dialog.show();
}

void MainForm::AddSystemMessage(const QString &text)
{
    const auto put = [](QListWidget &line, const QString &entry) {
        line.clear();
        line.addItem(entry);
    };
    QListWidget &line0 = messages.Sysmsg(0).widget();
    QListWidget &line1 = messages.Sysmsg(1).widget();
    if (line1.count() == 0) {
        put(line0.count() == 0 ? line0 : line1, text);
        return;
    }
    put(line0, line1.item(0)->text());
    put(line1, text);
}

// --- Qt's events into the window's own ---------------------------------------

void MainForm::changeEvent(QEvent *event)
{
    forms::Surface::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isVisible())
        Form_Resize();
    else if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void MainForm::resizeEvent(QResizeEvent *event)
{
    forms::Surface::resizeEvent(event);
    // The first size arrives with the showing, which has its own event.
    if (!fitting_ && isVisible() && event->oldSize().isValid() && event->oldSize() != event->size())
        Form_Resize();
}

void MainForm::showEvent(QShowEvent *event)
{
    forms::Surface::showEvent(event);
    // The window system shows a window again when it comes back from the
    // task bar; that return is a change of the window state, handled there.
    if (!event->spontaneous())
        Form_Resize();
}

} // namespace tessaroc::table
