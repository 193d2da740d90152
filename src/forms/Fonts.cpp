#include "forms/Fonts.h"

#include "forms/Label.h"

#include <QStringList>
#include <QWidget>

namespace tessaroc::forms {

namespace {

struct Substitution
{
    const char16_t *family;
    const char16_t *faces[3];
};

// Song faces become the serif CJK face; Hei the sans one. Kai, Li and the
// Xinwei display face have no counterpart on a fresh machine; the serif face
// keeps their calligraphic weight best.
const Substitution kSubstitutions[] = {
        {u"宋体", {u"Noto Serif CJK SC", u"Noto Sans CJK SC", u"DejaVu Serif"}},
        {u"SimSun", {u"Noto Serif CJK SC", u"Noto Sans CJK SC", u"DejaVu Serif"}},
        {u"新宋体", {u"Noto Serif CJK SC", u"Noto Sans CJK SC", u"DejaVu Serif"}},
        {u"黑体", {u"Noto Sans CJK SC", u"DejaVu Sans", u"Noto Serif CJK SC"}},
        {u"SimHei", {u"Noto Sans CJK SC", u"DejaVu Sans", u"Noto Serif CJK SC"}},
        {u"楷体_GB2312", {u"Noto Serif CJK SC", u"Noto Sans CJK SC", u"DejaVu Serif"}},
        {u"楷体", {u"Noto Serif CJK SC", u"Noto Sans CJK SC", u"DejaVu Serif"}},
        {u"隶书", {u"Noto Serif CJK SC", u"Noto Sans CJK SC", u"DejaVu Serif"}},
        {u"华文新魏", {u"Noto Serif CJK SC", u"Noto Sans CJK SC", u"DejaVu Serif"}},
        {u"MS Sans Serif", {u"DejaVu Sans", u"Noto Sans CJK SC", u"Noto Serif CJK SC"}},
};

} // namespace

void installFontSubstitutions()
{
    for (const Substitution &s : kSubstitutions) {
        QStringList faces;
        for (const char16_t *face : s.faces)
            faces << QString::fromUtf16(face);
        QFont::removeSubstitutions(QString::fromUtf16(s.family));
        QFont::insertSubstitutions(QString::fromUtf16(s.family), faces);
    }
}

QFont designFont(const QString &family, double pointSize, bool bold)
{
    QFont font(family);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void setFontSize(QWidget &widget, double points)
{
    QFont font = widget.font();
    font.setPointSizeF(points);
    widget.setFont(font);
}

void setFontSize(Label &label, double points)
{
    QFont font = label.Font();
    font.setPointSizeF(points);
    label.setFont(font);
}

} // namespace tessaroc::forms
