#include "forms/FittedText.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tessaroc::forms {

namespace {

// The pixels a line's ink covers with its baseline on a pixel boundary and
// its pen start on a pixel edge: the rows above and below the baseline, the
// columns left and right of the pen start. The faces' hinting and their
// edges' shading decide this, so the line is drawn and its ink looked at.
// (The shading's faintest fringe, where a glyph covers less than
// FittedText::kInkAlpha of a pixel, is not ink: nobody sees it go.)
struct PixelInk
{
    int above = 0;
    int below = 0;
    int left = 0;
    int right = 0;
    bool empty = true;
};

PixelInk pixelInk(const QTextLine &line)
{
    const int pad = static_cast<int>(std::ceil(line.height())) + 2;
    const int baseline = pad + static_cast<int>(std::ceil(line.ascent()));
    const int width = static_cast<int>(std::ceil(line.naturalTextWidth())) + 2 * pad;
    const int height = static_cast<int>(std::ceil(line.height())) + 2 * pad;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setPen(Qt::black);
        line.draw(&painter, QPointF(pad - line.x(), baseline - line.y() - line.ascent()));
    }
    PixelInk ink;
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) < FittedText::kInkAlpha)
                continue;
            if (ink.empty) {
                ink = {baseline - y, y + 1 - baseline, x - pad, x + 1 - pad, false};
                continue;
            }
            ink.below = y + 1 - baseline;
            ink.left = std::min(ink.left, x - pad);
            ink.right = std::max(ink.right, x + 1 - pad);
        }
    }
    return ink;
}

// The pen start of a line across the box by the alignment, moved by whole
// pixels as little as needed to keep its ink inside; false when the ink is
// wider than the box.
bool placeAcross(const QTextLine &line, const PixelInk &ink, const QRect &box,
                 Qt::Alignment horizontal, int &x)
{
    const int width = box.width();
    const double spare = width - line.naturalTextWidth();
    if (horizontal & Qt::AlignRight)
        x = box.left() + static_cast<int>(std::floor(spare));
    else if (horizontal & Qt::AlignHCenter)
        x = box.left() + static_cast<int>(std::floor(spare / 2));
    else
        x = box.left();
    if (ink.empty)
        return true;
    if (ink.right - ink.left > width)
        return false;
    x = std::clamp(x, box.left() - ink.left, box.left() + width - ink.right);
    return true;
}

} // namespace

FittedText::Setting textSetting(const QString &text, const QFont &font, const QRect &box,
                                Qt::Alignment horizontal, FittedText::Wrap wrap,
                                const QPaintDevice *device)
{
    return {text, font, box, horizontal, wrap, device ? device->logicalDpiY() : 96};
}

FittedText::FittedText(const Setting &setting, QPaintDevice *device)
    : setting_(setting)
{
    if (setting_.text.isEmpty() || setting_.box.isEmpty())
        return;
    const QFont &given = setting_.font;
    const double pixels
            = given.pixelSize() > 0 ? given.pixelSize() : given.pointSizeF() * setting_.dpi / 72.0;
    pixelSize_ = static_cast<int>(std::lround(pixels));
    if (setIn(given, device, pixels <= kLegiblePixels))
        return;
    // The largest whole pixel size below the given one at which the lines
    // fit.
    for (int size = static_cast<int>(std::ceil(pixels)) - 1; size >= 1; --size) {
        QFont smaller = given;
        smaller.setPixelSize(size);
        if (setIn(smaller, device, size <= kLegiblePixels)) {
            pixelSize_ = size;
            return;
        }
    }
    layouts_.clear();
    shown_.clear();
    shownLines_.clear();
}

FittedText::~FittedText() = default;

// Lays the paragraphs out in a font and places the lines that fit; false
// when the first line does not fit at all, or when a line that would show is
// wider than the box and may not be cut.
bool FittedText::setIn(const QFont &font, QPaintDevice *device, bool cutWide)
{
    layouts_.clear();
    shown_.clear();
    shownLines_.clear();

    QTextOption option;
    option.setWrapMode(setting_.wrap == Wrap::Words ? QTextOption::WordWrap
                                                    : QTextOption::WrapAnywhere);
    struct Laid
    {
        const QTextLayout *layout;
        QTextLine line;
    };
    std::vector<Laid> lines;
    QString text = setting_.text;
    text.remove(QLatin1Char('\r'));
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        auto layout = std::make_unique<QTextLayout>(paragraph, font, device);
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(setting_.box.width());
            lines.push_back({layout.get(), line});
            if (setting_.wrap == Wrap::None)
                break;
        }
        layout->endLayout();
        layouts_.push_back(std::move(layout));
    }

    // The lines as the face sets them, from the box's top, while they fit.
    const QRect &box = setting_.box;
    const int bottom = box.top() + box.height();
    double lineTop = 0;
    for (Laid &laid : lines) {
        QTextLine line = laid.line;
        const QTextLayout *layout = laid.layout;
        PixelInk ink = pixelInk(line);
        const int baseline = box.top() + static_cast<int>(std::lround(lineTop + line.ascent()));
        lineTop += line.height();
        const auto fitsDown = [&] {
            return ink.empty || (baseline - ink.above >= box.top() && baseline + ink.below <= bottom);
        };
        if (!fitsDown())
            break;
        int x = 0;
        if (placeAcross(line, ink, box, setting_.horizontal, x)) {
            line.setPosition(QPointF(x, baseline - line.ascent()));
            show(*layout, line);
            continue;
        }
        if (!cutWide)
            return false;
        // The text reads as ending where a word is cut: what follows the
        // cut is left out with it.
        line = cutToBox(*layout, line, font, device);
        ink = pixelInk(line);
        if (line.isValid() && fitsDown() && placeAcross(line, ink, box, setting_.horizontal, x)) {
            line.setPosition(QPointF(x, baseline - line.ascent()));
            show(*layouts_.back(), line);
        }
        break;
    }
    if (!shown_.empty() || lines.empty())
        return true;

    // The first line alone, its ink centred in the box's height.
    QTextLine line = lines.front().line;
    const QTextLayout *layout = lines.front().layout;
    PixelInk ink = pixelInk(line);
    int x = 0;
    if (!placeAcross(line, ink, box, setting_.horizontal, x)) {
        if (!cutWide)
            return false;
        line = cutToBox(*layout, line, font, device);
        layout = layouts_.back().get();
        ink = pixelInk(line);
        if (!line.isValid() || !placeAcross(line, ink, box, setting_.horizontal, x))
            return false;
    }
    if (box.top() + ink.above > bottom - ink.below)
        return false;
    const int baseline = box.top() + ink.above + (box.height() - ink.above - ink.below) / 2;
    line.setPosition(QPointF(x, baseline - line.ascent()));
    show(*layout, line);
    return true;
}

// A line wider than the box cut after its last glyph whose ink still lies
// inside it; laid out anew, as a line of its own.
QTextLine FittedText::cutToBox(const QTextLayout &layout, const QTextLine &line,
                               const QFont &font, QPaintDevice *device)
{
    const QString characters = layout.text().mid(line.textStart(), line.textLength());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAnywhere);
    QTextLine cut;
    for (int width = setting_.box.width(); width > 0; --width) {
        auto piece = std::make_unique<QTextLayout>(characters, font, device);
        piece->setTextOption(option);
        piece->beginLayout();
        cut = piece->createLine();
        if (cut.isValid())
            cut.setLineWidth(width);
        piece->endLayout();
        layouts_.push_back(std::move(piece));
        if (!cut.isValid())
            break;
        const PixelInk ink = pixelInk(cut);
        if (ink.empty || ink.right - ink.left <= setting_.box.width())
            break;
    }
    return cut;
}

void FittedText::show(const QTextLayout &layout, QTextLine line)
{
    shown_.push_back(line);
    shownLines_ << layout.text().mid(line.textStart(), line.textLength());
}

void FittedText::draw(QPainter &painter) const
{
    for (const QTextLine &line : shown_)
        line.draw(&painter, QPointF(0, 0));
}

} // namespace tessaroc::forms
