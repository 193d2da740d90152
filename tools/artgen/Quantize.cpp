#include "Quantize.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tessaroc::artgen {

namespace {

struct Bin
{
    std::uint64_t r = 0, g = 0, b = 0, count = 0;
    int key = 0;
};

int channel(int key, int axis)
{
    return (key >> (10 - axis * 5)) & 31;
}

// Median cut over a 5-bit-per-channel histogram: the box with the largest
// weighted extent is split at the weighted median of its longest axis.
std::vector<QRgb> medianCut(std::vector<Bin> bins, int colours)
{
    struct Box
    {
        std::size_t begin, end;
    };
    std::vector<Box> boxes{{0, bins.size()}};
    auto extent = [&](const Box &box, int &axis) {
        int best = -1;
        for (int a = 0; a < 3; ++a) {
            int lo = 31, hi = 0;
            for (std::size_t i = box.begin; i < box.end; ++i) {
                lo = std::min(lo, channel(bins[i].key, a));
                hi = std::max(hi, channel(bins[i].key, a));
            }
            if (hi - lo > best) {
                best = hi - lo;
                axis = a;
            }
        }
        return best;
    };
    while (static_cast<int>(boxes.size()) < colours) {
        std::size_t pick = boxes.size();
        double pickScore = 0;
        int pickAxis = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2)
                continue;
            int axis = 0;
            const int e = extent(boxes[i], axis);
            std::uint64_t weight = 0;
            for (std::size_t k = boxes[i].begin; k < boxes[i].end; ++k)
                weight += bins[k].count;
            const double score = double(e) * std::sqrt(double(weight));
            if (e > 0 && score > pickScore) {
                pickScore = score;
                pick = i;
                pickAxis = axis;
            }
        }
        if (pick == boxes.size())
            break;
        Box box = boxes[pick];
        std::sort(bins.begin() + static_cast<std::ptrdiff_t>(box.begin),
                  bins.begin() + static_cast<std::ptrdiff_t>(box.end),
                  [axis = pickAxis](const Bin &x, const Bin &y) {
                      return channel(x.key, axis) < channel(y.key, axis);
                  });
        std::uint64_t total = 0;
        for (std::size_t k = box.begin; k < box.end; ++k)
            total += bins[k].count;
        std::uint64_t running = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t k = box.begin; k < box.end - 1; ++k) {
            running += bins[k].count;
            split = k + 1;
            if (running * 2 >= total)
                break;
        }
        boxes[pick] = {box.begin, split};
        boxes.push_back({split, box.end});
    }
    std::vector<QRgb> palette;
    for (const Box &box : boxes) {
        std::uint64_t r = 0, g = 0, b = 0, n = 0;
        for (std::size_t k = box.begin; k < box.end; ++k) {
            r += bins[k].r;
            g += bins[k].g;
            b += bins[k].b;
            n += bins[k].count;
        }
        palette.push_back(qRgb(int(r / n), int(g / n), int(b / n)));
    }
    return palette;
}

int nearest(const std::vector<QRgb> &palette, int r, int g, int b)
{
    int best = 0;
    int bestDistance = INT32_MAX;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - r, dg = qGreen(palette[i]) - g,
                  db = qBlue(palette[i]) - b;
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

} // namespace

Indexed quantize(const QImage &picture, QColor matte)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = source.width(), h = source.height();
    // Blend onto the matte and mark the transparent pixels.
    std::vector<QRgb> pixels(static_cast<std::size_t>(w) * h);
    std::vector<bool> clear(pixels.size());
    bool anyClear = false;
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            if (a < 128) {
                clear[i] = true;
                anyClear = true;
                continue;
            }
            auto mix = [a](int c, int m) {
                return (c * a + m * (255 - a) + 127) / 255;
            };
            pixels[i] = qRgb(mix(qRed(p), matte.red()), mix(qGreen(p), matte.green()),
                             mix(qBlue(p), matte.blue()));
        }
    }
    const int room = anyClear ? 255 : 256;

    std::unordered_map<QRgb, int> exact;
    for (std::size_t i = 0; i < pixels.size() && static_cast<int>(exact.size()) <= room; ++i)
        if (!clear[i])
            exact.emplace(pixels[i], 0);

    std::vector<QRgb> palette;
    const bool fits = static_cast<int>(exact.size()) <= room;
    if (fits) {
        for (auto &[rgb, index] : exact) {
            index = static_cast<int>(palette.size());
            palette.push_back(rgb);
        }
    } else {
        std::vector<Bin> histogram(32768);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            if (clear[i])
                continue;
            const QRgb p = pixels[i];
            const int key = ((qRed(p) >> 3) << 10) | ((qGreen(p) >> 3) << 5) | (qBlue(p) >> 3);
            Bin &bin = histogram[static_cast<std::size_t>(key)];
            bin.key = key;
            bin.r += qRed(p);
            bin.g += qGreen(p);
            bin.b += qBlue(p);
            ++bin.count;
        }
        std::erase_if(histogram, [](const Bin &b) { return b.count == 0; });
        palette = medianCut(std::move(histogram), room);
    }
    if (palette.empty())
        palette.push_back(matte.rgb());

    Indexed result;
    result.image = QImage(w, h, QImage::Format_Indexed8);
    QList<QRgb> table(palette.begin(), palette.end());
    if (anyClear) {
        result.transparent = static_cast<int>(table.size());
        table.push_back(qRgba(0, 0, 0, 0));
    }
    result.image.setColorTable(table);

    // Error diffusion at three quarters strength, only where the palette had
    // to be reduced; the cache maps 6-bit colours to their nearest entry.
    std::vector<std::int16_t> cache(fits ? 0 : 262144, -1);
    std::vector<std::array<int, 3>> error(fits ? 0 : static_cast<std::size_t>(w + 2) * 2);
    for (int y = 0; y < h; ++y) {
        uchar *out = result.image.scanLine(y);
        std::array<int, 3> *row
                = fits ? nullptr : &error[static_cast<std::size_t>(y % 2) * (w + 2)];
        std::array<int, 3> *next
                = fits ? nullptr : &error[static_cast<std::size_t>((y + 1) % 2) * (w + 2)];
        if (!fits)
            std::fill(next, next + w + 2, std::array<int, 3>{0, 0, 0});
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            if (clear[i]) {
                out[x] = static_cast<uchar>(result.transparent);
                continue;
            }
            const QRgb p = pixels[i];
            if (fits) {
                out[x] = static_cast<uchar>(exact.at(p));
                continue;
            }
            const int r = std::clamp(qRed(p) + row[x + 1][0] / 16, 0, 255);
            const int g = std::clamp(qGreen(p) + row[x + 1][1] / 16, 0, 255);
            const int b = std::clamp(qBlue(p) + row[x + 1][2] / 16, 0, 255);
            const std::size_t key = (static_cast<std::size_t>(r >> 2) << 12)
                    | (static_cast<std::size_t>(g >> 2) << 6) | static_cast<std::size_t>(b >> 2);
            if (cache[key] < 0)
                cache[key] = static_cast<std::int16_t>(nearest(palette, r, g, b));
            const int index = cache[key];
            out[x] = static_cast<uchar>(index);
            const QRgb chosen = palette[static_cast<std::size_t>(index)];
            const int er = (r - qRed(chosen)) * 3 / 4, eg = (g - qGreen(chosen)) * 3 / 4,
                      eb = (b - qBlue(chosen)) * 3 / 4;
            const int weights[4] = {7, 3, 5, 1};
            std::array<int, 3> *targets[4] = {&row[x + 2], &next[x], &next[x + 1], &next[x + 2]};
            for (int k = 0; k < 4; ++k) {
                (*targets[k])[0] += er * weights[k];
                (*targets[k])[1] += eg * weights[k];
                (*targets[k])[2] += eb * weights[k];
            }
        }
    }
    return result;
}

} // namespace tessaroc::artgen
