#include "table/Information.h"

#include "forms/Fonts.h"
#include "table/TablePictures.h"

namespace tessaroc::table {

namespace {

constexpr int kWidth = 220;
constexpr int kHeight = 331;
constexpr double kFirstRowTop = 48;
constexpr double kRowHeight = 28;
const QColor kTitleText(0x60, 0x30, 0x10);
const QColor kValueText(0x10, 0x10, 0x60);

} // namespace

Information::Information(QWidget *parent)
    : forms::PopupWindow(Options{true, false}, parent)
    , Title(this)
    , Inf(this)
{
    setWindowTitle(QStringLiteral("玩家信息"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, true);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setPicture(designPicture(u"dialog_player"), 0);
    resize(kWidth, kHeight);
    designRows();
}

// The rows of the card: a title and its value on each line.
void Information::designRows()
{
    constexpr const char16_t *kTitles[kRows]
            = {u"玩家昵称", u"性    别", u"所 在 地", u"积    分", u"信 用 度",
               u"登录次数", u"掉线次数", u"胜场次数", u"败场次数"};
    const QFont font = forms::designFont(QStringLiteral("宋体"), 10.5);
    for (int row = 0; row < kRows; ++row) {
        forms::Label &title = row == 0 ? Title(0) : Title.Load(row);
        forms::Label &value = row == 0 ? Inf(0) : Inf.Load(row);
        const double top = kFirstRowTop + row * kRowHeight;
        title.Move(16, top, 72, 18);
        title.setFont(font);
        title.setForeColor(kTitleText);
        title.setCaption(QString::fromUtf16(kTitles[row]));
        title.setVisible(true);
        value.Move(92, top, 116, 18);
        value.setFont(font);
        value.setForeColor(kValueText);
        value.setVisible(true);
    }
}

} // namespace tessaroc::table
