#include "table/Information.h"

#include "forms/Fonts.h"
#include "forms/Units.h"
#include "table/TablePictures.h"

namespace tessaroc::table {

namespace {

using forms::twipsToPixels;

// The card's client area in twips; the card is never scaled with the table.
constexpr double kWidthTwips = 3300;
constexpr double kHeightTwips = 4965;

// Row i lies at kFirstRowTop + i * kRowStep twips.
constexpr double kFirstRowTop = 600;
constexpr double kRowStep = 480;

// The row titles: where each starts and how wide it is, in twips. The first
// title starts a little further left; every title is wide enough for its
// text in the title font.
struct TitleRow
{
    const char16_t *caption;
    double left;
    double width;
};
constexpr TitleRow kTitleRows[Information::kRows] = {
        {u"玩家昵称", 330, 1305}, {u"性    别", 360, 1260}, {u"所 在 地", 360, 1260},
        {u"积    分", 360, 1260}, {u"信 用 度", 360, 1260}, {u"登录次数", 360, 1275},
        {u"掉线次数", 360, 1275}, {u"胜场次数", 360, 1275}, {u"败场次数", 360, 1275},
};
constexpr double kTitleHeight = 285;
constexpr double kTitlePoints = 14.25;

// The values start at one column; the load step sizes them to their text.
constexpr double kValueLeft = 1920;
constexpr double kValueWidth = 1020;
constexpr double kValueHeight = 225;
constexpr double kValuePoints = 12;

const QColor kTitleText(0x60, 0x30, 0x10);
const QColor kValueText(0x10, 0x10, 0x60);

} // namespace

Information::Information(QWidget *parent)
    : forms::PopupWindow(Options{true, false}, parent)
    , Title(this)
    , Inf(this)
{
    // Other windows hide the card by this name.
    setObjectName(QStringLiteral("Information"));
    setWindowTitle(QStringLiteral("玩家信息"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, true);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setPicture(designPicture(u"dialog_player"), 0);
    resize(static_cast<int>(twipsToPixels(kWidthTwips)),
           static_cast<int>(twipsToPixels(kHeightTwips)));
    designRows();
    Form_Load();
}

double Information::rowTopTwips(int row)
{
    return kFirstRowTop + kRowStep * row;
}

// The rows of the card as designed: a title and its value on each line.
void Information::designRows()
{
    const QFont titleFont = forms::designFont(QStringLiteral("隶书"), kTitlePoints);
    const QFont valueFont = forms::designFont(QStringLiteral("宋体"), 9);
    for (int row = 0; row < kRows; ++row) {
        forms::Label &title = row == 0 ? Title(0) : Title.Load(row);
        forms::Label &value = row == 0 ? Inf(0) : Inf.Load(row);
        const TitleRow &design = kTitleRows[row];
        const double top = twipsToPixels(rowTopTwips(row));
        title.Move(twipsToPixels(design.left), top, twipsToPixels(design.width),
                   twipsToPixels(kTitleHeight));
        title.setFont(titleFont);
        title.setForeColor(kTitleText);
        title.setCaption(QString::fromUtf16(design.caption));
        title.setVisible(true);
        value.Move(twipsToPixels(kValueLeft), top, twipsToPixels(kValueWidth),
                   twipsToPixels(kValueHeight));
        value.setFont(valueFont);
        value.setForeColor(kValueText);
        value.setVisible(true);
    }
}

// The values grow with what the table fills in: a long nickname widens its
// row instead of being cut.
void Information::Form_Load()
{
    for (int row = 0; row < kRows; ++row) {
        forms::Label &value = Inf(row);
        value.setAutoSize(true);
        forms::setFontSize(value, kValuePoints);
        value.setBackStyle(forms::Label::BackStyle::Transparent);
    }
}

} // namespace tessaroc::table
