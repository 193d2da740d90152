#include "Signal.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace soundgen {

void Signal::mix(const Signal &other, double at, float gain)
{
    const auto start = static_cast<std::size_t>(std::max(0.0, at) * rate + 0.5);
    if (samples.size() < start + other.samples.size())
        samples.resize(start + other.samples.size(), 0.0f);
    for (std::size_t i = 0; i < other.samples.size(); ++i)
        samples[start + i] += gain * other.samples[i];
}

void Signal::normalise(float peak)
{
    float loudest = 0.0f;
    for (float s : samples)
        loudest = std::max(loudest, std::abs(s));
    if (loudest <= 0.0f)
        return;
    const float k = peak / loudest;
    for (float &s : samples)
        s *= k;
}

void Signal::trimSilence(float threshold, double marginSeconds)
{
    const auto loud = [threshold](float s) {
        return std::abs(s) > threshold;
    };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    if (first == samples.end()) {
        samples.clear();
        return;
    }
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
    const auto margin = static_cast<std::ptrdiff_t>(marginSeconds * rate);
    const auto from = std::max(samples.begin(), first - margin);
    const auto to = std::min(samples.end(), last + margin);
    samples = std::vector<float>(from, to);
}

Signal halveRate(const Signal &in)
{
    // A windowed-sinc low-pass at a little below the new Nyquist frequency.
    constexpr int kTaps = 31;
    constexpr double kCutoff = 0.45 * 0.5; // of the old sample rate
    std::array<double, kTaps> h{};
    double sum = 0.0;
    for (int i = 0; i < kTaps; ++i) {
        const double n = i - (kTaps - 1) / 2.0;
        const double sinc = n == 0.0
                ? 2 * kCutoff
                : std::sin(2 * std::numbers::pi * kCutoff * n) / (std::numbers::pi * n);
        const double window = 0.54 - 0.46 * std::cos(2 * std::numbers::pi * i / (kTaps - 1));
        h[static_cast<std::size_t>(i)] = sinc * window;
        sum += h[static_cast<std::size_t>(i)];
    }
    Signal out;
    out.rate = in.rate / 2;
    const auto n = static_cast<std::ptrdiff_t>(in.samples.size());
    for (std::ptrdiff_t i = 0; i < n; i += 2) {
        double acc = 0.0;
        for (int t = 0; t < kTaps; ++t) {
            const std::ptrdiff_t j = i + t - (kTaps - 1) / 2;
            if (j >= 0 && j < n)
                acc += h[static_cast<std::size_t>(t)] * in.samples[static_cast<std::size_t>(j)];
        }
        out.samples.push_back(static_cast<float>(acc / sum));
    }
    return out;
}

namespace {

void put16(QByteArray &out, int v)
{
    out.append(static_cast<char>(v & 0xff));
    out.append(static_cast<char>((v >> 8) & 0xff));
}

void put32(QByteArray &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xff));
}

} // namespace

bool writeWave(const QString &path, const Signal &signal, int bitsPerSample)
{
    const int bytesPerSample = bitsPerSample / 8;
    const auto dataBytes = static_cast<std::uint32_t>(signal.samples.size() * bytesPerSample);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(44 + dataBytes + 1));
    out.append("RIFF", 4);
    put32(out, 36 + dataBytes + (dataBytes & 1));
    out.append("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1); // plain PCM
    put16(out, 1); // mono
    put32(out, static_cast<std::uint32_t>(signal.rate));
    put32(out, static_cast<std::uint32_t>(signal.rate * bytesPerSample));
    put16(out, bytesPerSample);
    put16(out, bitsPerSample);
    out.append("data", 4);
    put32(out, dataBytes);
    for (float s : signal.samples) {
        const double c = std::clamp(static_cast<double>(s), -1.0, 1.0);
        if (bitsPerSample == 8)
            out.append(static_cast<char>(static_cast<unsigned char>(std::lround(128 + c * 127))));
        else
            put16(out, static_cast<int>(std::lround(c * 32767)));
    }
    if ((dataBytes & 1) != 0)
        out.append('\0');
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(out) == out.size();
}

Signal readStreamedWave(const QByteArray &bytes)
{
    Signal out;
    if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 8) != "WAVEfmt ")
        return out;
    const auto u16 = [&](qsizetype at) {
        return static_cast<int>(static_cast<unsigned char>(bytes[at]))
                | (static_cast<int>(static_cast<unsigned char>(bytes[at + 1])) << 8);
    };
    if (u16(20) != 1 || u16(22) != 1 || u16(34) != 16)
        return out;
    out.rate = u16(24) | (u16(26) << 16);
    const qsizetype data = bytes.indexOf("data", 36);
    if (data < 0)
        return out;
    for (qsizetype i = data + 8; i + 1 < bytes.size(); i += 2)
        out.samples.push_back(static_cast<float>(static_cast<std::int16_t>(u16(i))) / 32768.0f);
    return out;
}

} // namespace soundgen
