#include "table/MainForm.h"

#include "core/TableState.h"
#include "forms/Fonts.h"
#include "gif/GifScale.h"
#include "table/SystemMessageLine.h"
#include "table/TablePictures.h"

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

MainForm::MainForm(core::TableState &state, const platform::Clock &clock, TableServices services,
                   QWidget *parent)
    : forms::Surface(parent)
    , state_(state)
    , clock_(clock)
    , services_(services)
    , Pic1(makeSurface(this), forms::TwipsPerPixel)
    , Pic2(makeSurface(this), forms::TwipsPerPixel)
    , pic3(makeSurface(this), forms::TwipsPerPixel)
    , pic4(makeSurface(this), forms::TwipsPerPixel)
    , imgDinglan(&Pic1.widget())
    , imgDilan(&Pic1.widget())
    , imgLocation(&Pic1.widget())
    , Location(&Pic1.widget())
    , imgword1(&Pic1.widget())
    , imgword2(&Pic1.widget())
    , imgRenWu(&Pic1.widget())
    , ImgKuang(&Pic1.widget(), 1)
    , ImgShow(&Pic1.widget(), 1)
    , Tou(&Pic1.widget())
    , Nid(&Pic1.widget())
    , Cash(&Pic1.widget())
    , Level(&Pic1.widget())
    , OK(&Pic1.widget())
    , first(&Pic1.widget())
    , ImgLPai(&Pic1.widget())
    , shanImage(&Pic1.widget())
    , Labrest(&Pic1.widget(), 1)
    , imgDiPai(&Pic1.widget())
    , imgFaPai(&Pic1.widget())
    , imgFaPai8(&Pic1.widget())
    , cardImage1(&Pic1.widget())
    , cardImage2(&Pic1.widget())
    , cardImage3(&Pic1.widget())
    , cardImage0(&Pic1.widget())
    , imgCardMove(&Pic1.widget())
    , AnNiu(&Pic1.widget())
    , Bank(&Pic1.widget())
    , Operation(&Pic1.widget())
    , tanOperation(&Pic1.widget())
    , btnJiaofen(&Pic1.widget())
    , Speak(&Pic1.widget())
    , words(&Pic1.widget())
    , lbfont(&Pic1.widget())
    , imgBeishu1(&Pic1.widget())
    , lblDifen(&Pic1.widget())
    , Imgwealth(&Pic1.widget())
    , lbwealth(&Pic1.widget())
    , lblBeishu(&Pic1.widget())
    , Lbchat(&Pic1.widget())
    , Bird(&Pic1.widget())
    , LbProp(&Pic1.widget())
    , Proponeself(&Pic1.widget())
    , ImgShuffle(&Pic1.widget())
    , LblShuffle(&Pic1.widget())
    , Time_Img(clock, &Pic1.widget())
    , Number(&Pic1.widget())
    , bombPlayer(clock, &Pic1.widget())
    , UcDiZhu(clock, &Pic1.widget())
    , PicLocal(0)
    , ImCmd(nullptr)
    , vshow(1)
    , Sysmsg(0)
    , Skin(this)
    , ImgIcon(this)
    , ImgClose(this)
    , ImgMin(this)
    , LbMove(this)
    , lcaption(this)
{
    buildDesign();
    connectHandlers();
}

MainForm::~MainForm() = default;

forms::Surface *MainForm::makeSurface(QWidget *parent)
{
    return new forms::Surface(parent);
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
    setFont(forms::designFont(QStringLiteral("宋体"), 9));
    fillColour(*this, kFrameBeige, Qt::black);
    geometry_ = {0, 0, kDesignWindowWidth, kDesignWindowHeight};
    applyGeometry();

    // The table area and the hidden holders of the table pictures.
    Pic1.Move(0, 0, kDesignWindowWidth, kDesignWindowHeight);
    Pic1->setFont(forms::designFont(QStringLiteral("宋体"), 10.5));
    fillColour(Pic1.widget(), kFelt, Qt::white);
    Pic1->setPicture(designPicture(u"table_green"), 0);
    Pic1->setFocusPolicy(Qt::ClickFocus);
    const std::pair<Windowed<forms::Surface> *, QStringView> holders[]
            = {{&Pic2, u"table_green_small"}, {&pic3, u"table_green"}, {&pic4, u"table_blue"}};
    for (auto [holder, picture] : holders) {
        (*holder)->setPicture(designPicture(picture), 0);
        holder->Move(0, 0, (*holder)->picture().width() * forms::TwipsPerPixel,
                     (*holder)->picture().height() * forms::TwipsPerPixel);
        holder->setVisible(false);
    }

    // The bars and the room strip.
    designImage(imgDinglan, u"bar_top");
    imgDinglan.Move(0, 0);
    designImage(imgDilan, u"bar_bottom");
    imgDilan.Move(0, 651);
    designImage(imgLocation, u"room_strip");
    imgLocation.Move(632, 656);
    label(Location, 760, 668, 161, 25, kRoomText);
    Location.setFont(forms::designFont(QStringLiteral("宋体"), 12));
    // The two tabs on the room strip show their normal pictures from the
    // start, the ones the strip's hover-off puts back.
    struct Tab
    {
        forms::Image *tab;
        int picture;
        double top;
    };
    for (const Tab &t : {Tab{&imgword1, 516, 662}, Tab{&imgword2, 517, 676}}) {
        image(*t.tab, 640, t.top, 57, 13, true);
        loadPicture(*t.tab, t.picture);
        useHandCursor(*t.tab);
    }
    loadPicture(imgRenWu, 194);
    imgRenWu.Move(0, 612);

    // Video frames and their buttons of the three other seats.
    ImgKuang(1).setStretch(true);
    ImgKuang(1).setPicture(designPicture(u"video_frame"), 0);
    ImgKuang(1).Move(0, 3, 126, 105);
    ImgShow(1).setStretch(true);
    ImgShow(1).setPicture(designPicture(u"video_button"), 0);
    ImgShow(1).Move(32, 80, 16, 14);
    ImgShow(1).setToolTipText(QStringLiteral("打开视频"));
    for (int p = 2; p <= 3; ++p) {
        ImgKuang.Load(p);
        ImgShow.Load(p).setVisible(true);
    }

    // The own seat's panel; the other seats' are loaded by the seat layout.
    image(Tou(0), 10, 668, 70, 62, true);
    label(Nid(0), 181, 701, 161, 25, kSeatText);
    label(Cash(0), 181, 725, 161, 17, kSeatText);
    label(Level(0), 181, 745, 161, 17, kSeatText);
    Level(0).setFont(forms::designFont(QStringLiteral("宋体"), 10.5));
    loadPicture(OK(0), 280);
    OK(0).Move(460, 630);
    OK(0).setVisible(false);
    designImage(first(0), u"first_mark");
    first(0).Move(460, 630);
    first(0).setVisible(false);
    image(ImgLPai(0), 10, 560, 92, 122, false, false);

    // The other seats' fans and counts, the bottom cards and the deal piles.
    for (int i = 0; i <= 2; ++i) {
        if (i > 0)
            shanImage.Load(i);
        image(shanImage(i), 0, 0, 200, 200, false, false);
    }
    label(Labrest(1), 71, 448, 60, 20, kNoteText, false);
    Labrest(1).setCaption(QStringLiteral("10张"));
    Labrest(1).setFont(forms::designFont(QStringLiteral("MS Sans Serif"), 12, true));
    loadPicture(imgDiPai(0), 18);
    imgDiPai(0).Move(420, 270);
    imgDiPai(0).setVisible(false);
    designImage(imgFaPai, u"deal_pile");
    imgFaPai.Move(462, 280);
    imgFaPai.setVisible(false);
    designImage(imgFaPai8, u"deal_pile_bottom");
    imgFaPai8.Move(472, 270);
    imgFaPai8.setVisible(false);

    // Card pictures: the other seats', then the own hand above them.
    for (auto *group : {&cardImage1, &cardImage2, &cardImage3})
        image((*group)(0), 0, 0, 80, 108, true, false);
    image(cardImage0(0), 0, 565, 90, 120, true, false);
    useHandCursor(cardImage0(0));
    for (int i = 0; i <= 10; ++i) {
        if (i > 0)
            imgCardMove.Load(i);
        forms::Image &card = imgCardMove(i);
        image(card, 472, 285, 80, 108, true, false);
        loadPicture(card, 18);
    }

    // Toolbar and bank icon.
    image(AnNiu(0), 575, 730, 65, 33, true);
    useHandCursor(AnNiu(0));
    image(Bank, 698, 662, 55, 31, true);
    loadPicture(Bank, 600);
    useHandCursor(Bank);
    Bank.setToolTipText(QStringLiteral("单击打开您的道具仓库"));

    // Action, choice and bid buttons.
    image(Operation(0), 400, 480, 60, 40, true, false);
    useHandCursor(Operation(0));
    image(tanOperation(0), 448, 470, 66, 38, false, false);
    useHandCursor(tanOperation(0));
    image(btnJiaofen(0), 440, 480, 66, 38, true, false);

    // Bubbles, the speech text and the notes of the room and multipliers.
    for (int p = 0; p <= 3; ++p) {
        if (p > 0)
            Speak.Load(p);
        image(Speak(p), 0, 0, 151, 112, false, false);
    }
    image(words, 0, 0, 151, 112, false, false);
    const char16_t *const notes[] = {u"亮牌加倍", u"最少金币定倍数", u"个人金币数封顶"};
    for (int i = 0; i <= 2; ++i) {
        if (i > 0)
            lbfont.Load(i);
        label(lbfont(i), 424, 280 + 32 * i, 240, 28, kNoteText, false);
        lbfont(i).setCaption(QString::fromUtf16(notes[i]));
        lbfont(i).setFont(forms::designFont(QStringLiteral("楷体_GB2312"), 14.25, true));
    }
    designImage(imgBeishu1, u"multiplier_cards");
    imgBeishu1.Move(10, 470);
    imgBeishu1.setVisible(false);
    label(lblDifen, 62, 471, 48, 28, kMultiplierText, false);
    lblDifen.setCaption(QStringLiteral("1"));
    designImage(Imgwealth, u"multiplier_wealth");
    Imgwealth.Move(10, 500);
    Imgwealth.setVisible(false);
    label(lbwealth, 62, 282, 48, 28, kMultiplierText, false);
    lbwealth.setCaption(QStringLiteral("10"));
    for (forms::Label *value : {&lblDifen, &lbwealth})
        value->setFont(forms::designFont(QStringLiteral("宋体"), 18));
    label(lblBeishu, 400, 440, 224, 24, kNoteText, false);

    // Chat label, ad frame, item notices and the seat shuffle.
    label(Lbchat, 594, 695, 25, 33, palette().color(QPalette::WindowText));
    Lbchat.setBackColor(palette().color(QPalette::Window));
    useHandCursor(Lbchat);
    Bird.setStretch(true);
    Bird.setPicture(designPicture(u"ad_frame"), 0);
    Bird.Move(936, 680, 82, 80);
    label(LbProp, 400, 200, 224, 40, kNoteText, false);
    LbProp.setAlignment(forms::Label::Alignment::Center);
    label(Proponeself, 0, 658, 100, 115, kNoteText);
    Proponeself.setEnabled(false);
    designImage(ImgShuffle, u"shuffle");
    ImgShuffle.Move(382, 300);
    ImgShuffle.setVisible(false);
    label(LblShuffle, 382, 318, 260, 24, kNoteText, false);
    LblShuffle.setAlignment(forms::Label::Alignment::Center);
    LblShuffle.setFont(forms::designFont(QStringLiteral("宋体"), 12, true));

    // The turn clock, its seconds and the two animations.
    // The clock fills its area; the two animations fit theirs.
    Time_Img.setStretch(gif::StretchFill);
    Time_Img.Move(875, 550, 57, 41);
    label(Number, 901, 576, 47, 32, Qt::black, false);
    Number.setCaption(QStringLiteral("13"));
    Number.setFont(forms::designFont(QStringLiteral("黑体"), 18));
    bombPlayer.setStretch(gif::StretchFit);
    bombPlayer.Move(400, 280, 225, 225);
    bombPlayer.setVisible(false);
    UcDiZhu.setStretch(gif::StretchFit);
    UcDiZhu.Move(10, 560, 70, 90);
    UcDiZhu.setVisible(false);

    // Windowed controls of the table area: the name strips with their video
    // panel buttons, the video views, the system lines, the chat box and the
    // web panels.
    for (int p = 0; p <= 3; ++p) {
        Windowed<forms::Surface> strip(makeSurface(&Pic1.widget()));
        strip->setPicture(designPicture(p == 0 ? u"name_strip_own" : u"name_strip"), 0);
        if (p == 0)
            strip.Move(9, 742, 87, 18);
        else
            strip.Move(126 + 342 * (p - 1), 88, 145, 17);
        PicLocal.add(std::move(strip));
    }
    const double ownLefts[] = {50.0 / 15, 24, 680.0 / 15, 64};
    const double otherLefts[] = {8, 40, 72, 104};
    const int ownIcons[] = {852, 853, 863, 851};
    const int otherIcons[] = {850, 851, 852, 858};
    const char16_t *const otherTips[] = {u"屏蔽", u"放大", u"照相", u"加为好友"};
    ImCmd(0).setContainer(&PicLocal(0).widget());
    useHandCursor(ImCmd(0));
    for (int i = 0; i <= 15; ++i) {
        forms::Image &button = i == 0 ? ImCmd(0) : ImCmd.Load(i);
        const int p = i / 4, k = i % 4;
        button.setContainer(&PicLocal(p).widget());
        button.setStretch(false);
        loadPicture(button, p == 0 ? ownIcons[k] : otherIcons[k]);
        button.Move(p == 0 ? ownLefts[k] : otherLefts[k], 0, 16, 14);
        button.setToolTipText(p == 0 ? QString() : QString::fromUtf16(otherTips[k]));
        button.setVisible(true);
    }
    for (int p = 1; p <= 3; ++p) {
        Windowed<video::VideoView> view(new video::VideoView(&Pic1.widget()));
        view.Move(5 + 342 * (p - 1), 8, 116, 95);
        view.setVisible(false);
        vshow.add(std::move(view));
    }
    vcap1 = Windowed<video::VideoCapture>(new video::VideoCapture(&Pic1.widget()));
    vcap1.Move(10, 668, 85, 83);
    vcap1.setVisible(false);
    for (int i = 0; i <= 1; ++i) {
        auto *list = new SystemMessageLine(&Pic1.widget());
        list->setFont(font());
        fillColour(*list, Qt::black, kSystemLine);
        Windowed<QListWidget> line(list);
        line.Move(312, 696 + 13 * i, 281, 13);
        line.setVisible(false);
        Sysmsg.add(std::move(line));
    }
    auto *chat = new QLineEdit(&Pic1.widget());
    chat->setFrame(false);
    chat->setFont(forms::designFont(QStringLiteral("宋体"), 15.75));
    fillColour(*chat, Qt::black, kSeatText);
    Chat = Windowed<QLineEdit>(chat);
    Chat.Move(312, 732, 250, 33);
    Chat.setVisible(false);
    for (Windowed<QWidget> *panel : {&WebBrowser1, &WebBrowser2}) {
        auto *browser = new QWidget(&Pic1.widget());
        fillColour(*browser, Qt::white, Qt::black);
        *panel = Windowed<QWidget>(browser);
        panel->Move(938, 682, 82, 80);
        panel->setVisible(false);
    }
    auto *tip = new QLineEdit(&Pic1.widget());
    tip->setReadOnly(true);
    Tiplbl = Windowed<QLineEdit>(tip);
    Tiplbl.Move(0, 0, 120, 20);
    Tiplbl.setVisible(false);

    // The frame's parts on the window itself, in twips.
    Skin.setPicture(designPicture(u"skin_frame"), 0);
    Skin.setVisible(false);
    image(ImgIcon, px(50), px(50), px(240), px(240));
    const std::pair<forms::ControlArray<forms::Image> *, QStringView> captionButtons[]
            = {{&ImgClose, u"caption_close_"}, {&ImgMin, u"caption_min_"}};
    const char16_t *const states[] = {u"normal", u"hover", u"pressed"};
    for (auto [group, stem] : captionButtons) {
        forms::ControlArray<forms::Image> &buttons = *group;
        for (int i = 1; i <= 3; ++i) {
            forms::Image &holder = buttons.Load(i);
            holder.setPicture(designPicture(stem.toString() + QString::fromUtf16(states[i - 1])),
                              0);
        }
        buttons(0).setPicture(buttons(1).picture(), 0);
        useHandCursor(buttons(0));
    }
    ImgClose(0).setToolTipText(QStringLiteral("关闭"));
    ImgMin(0).setToolTipText(QStringLiteral("最小化"));
    ImgClose(0).Move(px(kDesignWindowWidth - 310), px(25), px(240), px(240));
    ImgMin(0).Move(px(kDesignWindowWidth - 580), px(25), px(240), px(240));
    LbMove.Move(px(290), 0, px(kDesignWindowWidth - 580 - 290), px(290));
    lcaption.Move(px(300), px(25), 160, 16);
    lcaption.setCaption(QStringLiteral("Tessaroc"));
    lcaption.setFont(forms::designFont(QStringLiteral("宋体"), 10.5, true));

    TimerBong.setInterval(50);
    TimerKeepAlive.setInterval(5000);
    TimerMovePai.setInterval(30);
    TimerShuffle.setInterval(300);
    Timerformer.setInterval(3000);
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
    captionButton(ImgClose, true);
    captionButton(ImgMin, false);
    connect(&LbMove, &forms::Element::MouseDown, this, &MainForm::LbMove_MouseDown);
    connect(&LbMove, &forms::Element::MouseMove, this, &MainForm::LbMove_MouseMove);
    connect(this, &forms::Surface::MouseMove, this, &MainForm::Form_MouseMove);
    connect(&TimerMovePai, &QTimer::timeout, this, &MainForm::TimerMovePai_Timer);
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
    Pic1.Move(Pic1.Left(), sizing.Pic1.Top, Pic1.Width(), sizing.Pic1.Height);

    geometry_.Width = sizing.window.Width;
    geometry_.Left = sizing.window.Left;
    applyGeometry();
    if (sizing.framedWidth)
        DrawSkinFrame();
    Pic1.Move(sizing.Pic1.Left, Pic1.Top(), sizing.Pic1.Width, Pic1.Height());

    state_.table.scale = sizing.scale;
    const forms::LayoutScale s = scale();
    if (s.isReduced()) {
        // The small table picture replaces the large one, and the bars shrink
        // with the table.
        Pic1->setPicture(Pic2->picture(), 0);
        Pic1.ZOrder(1);
        for (int i = 0; i <= 1; ++i) {
            QFont font = Sysmsg(i)->font();
            font.setPointSizeF(8);
            Sysmsg(i)->setFont(font);
        }
        imgDilan.setStretch(true);
        imgDilan.Move(imgDilan.Left(), imgDilan.Top(), 800, s.y(117));
        imgDinglan.setStretch(true);
        imgDinglan.Move(imgDinglan.Left(), imgDinglan.Top(), 800, s.y(96));
        loadPicture(imgRenWu, 199);
    }
    imgDilan.Move(0, px(Pic1.Height()) - imgDilan.Height() + s.y(2));
    imgDinglan.Move(0, 0);
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

void MainForm::AddSystemMessage(const QString &text)
{
    const auto put = [](QListWidget &line, const QString &entry) {
        line.clear();
        line.addItem(entry);
    };
    QListWidget &line0 = Sysmsg(0).widget();
    QListWidget &line1 = Sysmsg(1).widget();
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

void MainForm::TimerMovePai_Timer() { }

} // namespace tessaroc::table
