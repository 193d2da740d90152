#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace soundgen {

// A mono sound as floating-point samples in -1 .. 1 at a sample rate.
struct Signal
{
    int rate = 22050;
    std::vector<float> samples;

    double seconds() const { return static_cast<double>(samples.size()) / rate; }
    // Adds other into this one, starting at a time in seconds, growing this
    // signal where other runs past its end. Both must share the rate.
    void mix(const Signal &other, double at, float gain = 1.0f);
    // Scales the signal so that its loudest sample reaches peak.
    void normalise(float peak);
    // Drops quiet stretches at both ends, keeping a short margin.
    void trimSilence(float threshold, double marginSeconds);
};

// Halves the sample rate, low-pass filtering first so that nothing folds
// back into the hearing range.
Signal halveRate(const Signal &in);

// Writes an uncompressed PCM wave file, mono, 8 or 16 bits. False when the
// file cannot be written.
bool writeWave(const QString &path, const Signal &signal, int bitsPerSample);

// Reads the mono 16-bit PCM wave data that the speech synthesiser writes to
// its standard output (whose header sizes are placeholders); an empty signal
// when the bytes are not such data.
Signal readStreamedWave(const QByteArray &bytes);

} // namespace soundgen
