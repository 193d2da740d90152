#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace soundgen {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// A small deterministic noise source.
class Noise
{
public:
    explicit Noise(std::uint32_t seed)
        : state_(seed | 1u)
    { }
    float next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_ / 4294967295.0 * 2.0 - 1.0);
    }

private:
    std::uint32_t state_;
};

Signal silence(double seconds)
{
    Signal s;
    s.rate = kEffectRate;
    s.samples.assign(static_cast<std::size_t>(seconds * kEffectRate), 0.0f);
    return s;
}

double timeOf(std::size_t i)
{
    return static_cast<double>(i) / kEffectRate;
}

enum class Wave { Sine, Triangle, Square, Saw };

double waveAt(Wave wave, double phase)
{
    const double p = phase - std::floor(phase);
    switch (wave) {
    case Wave::Sine:
        return std::sin(kTwoPi * p);
    case Wave::Triangle:
        return 4 * std::abs(p - 0.5) - 1;
    case Wave::Square:
        return p < 0.5 ? 1.0 : -1.0;
    case Wave::Saw:
        return 2 * p - 1;
    }
    return 0.0;
}

// A note whose pitch glides exponentially from f0 to f1, with a short attack
// and an exponential decay (decay: seconds to fall to about a third).
Signal note(Wave wave, double f0, double f1, double seconds, double attack, double decay)
{
    Signal s = silence(seconds);
    double phase = 0.0;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(i);
        const double f = f0 * std::pow(f1 / f0, t / seconds);
        phase += f / kEffectRate;
        const double env = std::min(1.0, t / attack) * std::exp(-t / decay);
        // A short fade at the end so that no note ends in a click.
        const double tail = std::min(1.0, (seconds - t) / 0.005);
        s.samples[i] = static_cast<float>(waveAt(wave, phase) * env * tail);
    }
    return s;
}

// Noise through a one-pole low-pass (cutoff in Hz), with an attack and an
// exponential decay; highPass removes the rumble below its own cutoff.
Signal noiseBurst(std::uint32_t seed, double seconds, double cutoff, double highPass, double attack,
                  double decay)
{
    Signal s = silence(seconds);
    Noise noise(seed);
    const double a = 1 - std::exp(-kTwoPi * cutoff / kEffectRate);
    const double b = highPass > 0 ? 1 - std::exp(-kTwoPi * highPass / kEffectRate) : 0.0;
    double low = 0.0, rumble = 0.0;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(i);
        low += a * (noise.next() - low);
        rumble += b * (low - rumble);
        const double env = std::min(1.0, t / attack) * std::exp(-t / decay);
        const double tail = std::min(1.0, (seconds - t) / 0.005);
        s.samples[i] = static_cast<float>((low - rumble) * env * tail);
    }
    return s;
}

double midiHz(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

Signal finished(Signal s, float peak = 0.85f)
{
    s.normalise(peak);
    return s;
}

} // namespace

Signal dealRiffle()
{
    Signal s = silence(0.05);
    for (int i = 0; i < 14; ++i) {
        const double at = 0.032 * i + 0.004 * ((i * 7) % 3);
        s.mix(noiseBurst(100u + static_cast<std::uint32_t>(i), 0.03, 5000, 900, 0.001, 0.006), at,
              static_cast<float>(1.0 - i * 0.04));
    }
    return finished(std::move(s), 0.7f);
}

Signal cardUp()
{
    Signal s = noiseBurst(7, 0.03, 6000, 1500, 0.0005, 0.004);
    s.mix(note(Wave::Sine, 700, 1300, 0.07, 0.002, 0.03), 0.0, 0.6f);
    return finished(std::move(s), 0.6f);
}

Signal cardDown()
{
    Signal s = noiseBurst(8, 0.03, 5000, 1200, 0.0005, 0.004);
    s.mix(note(Wave::Sine, 1100, 600, 0.07, 0.002, 0.03), 0.0, 0.6f);
    return finished(std::move(s), 0.6f);
}

Signal cardSlap(double weight)
{
    Signal s = noiseBurst(21, 0.12, 3500 - 1500 * weight, 300, 0.0008, 0.018 + 0.02 * weight);
    s.mix(note(Wave::Sine, 180 - 60 * weight, 90 - 30 * weight, 0.15, 0.002, 0.04), 0.0,
          static_cast<float>(0.5 + 0.4 * weight));
    return finished(std::move(s), 0.8f);
}

Signal explosion(double seconds, double depth)
{
    Signal s = noiseBurst(33, seconds, 900 - 500 * depth, 30, 0.004, seconds / 3.5);
    s.mix(note(Wave::Sine, 110, 35, seconds, 0.005, seconds / 3), 0.0,
          static_cast<float>(0.8 + 0.4 * depth));
    s.mix(noiseBurst(34, 0.08, 7000, 2000, 0.0005, 0.02), 0.0, 0.5f);
    return finished(std::move(s), 0.9f);
}

Signal rocketAndBlast()
{
    Signal s = note(Wave::Triangle, 350, 2200, 0.55, 0.05, 10.0);
    s.mix(noiseBurst(41, 0.55, 4000, 1500, 0.2, 10.0), 0.0, 0.3f);
    s.mix(explosion(1.1, 1.0), 0.5, 1.6f);
    return finished(std::move(s), 0.9f);
}

Signal hintChime()
{
    Signal s = note(Wave::Triangle, midiHz(88), midiHz(88), 0.25, 0.003, 0.09);
    s.mix(note(Wave::Triangle, midiHz(95), midiHz(95), 0.3, 0.003, 0.1), 0.09);
    return finished(std::move(s), 0.6f);
}

Signal fanfare(bool bright)
{
    Signal s = silence(0.1);
    if (bright) {
        const int notes[] = {72, 76, 79, 84};
        for (int i = 0; i < 4; ++i) {
            const double len = i == 3 ? 0.6 : 0.2;
            s.mix(note(Wave::Triangle, midiHz(notes[i]), midiHz(notes[i]), len, 0.005, len / 2),
                  0.12 * i);
            s.mix(note(Wave::Sine, midiHz(notes[i] + 12), midiHz(notes[i] + 12), len, 0.005,
                       len / 3),
                  0.12 * i, 0.3f);
        }
    } else {
        const int notes[] = {67, 72, 76, 79};
        const double at[] = {0.0, 0.15, 0.3, 0.45};
        for (int i = 0; i < 4; ++i) {
            const double len = i == 3 ? 0.75 : 0.14;
            Signal brass = note(Wave::Saw, midiHz(notes[i]), midiHz(notes[i]), len, 0.02, 0.6);
            // Soften the saw into something brassy.
            float low = 0.0f;
            for (float &x : brass.samples)
                x = low += 0.25f * (x - low);
            s.mix(brass, at[i]);
        }
    }
    return finished(std::move(s), 0.8f);
}

Signal sadFall(bool trombone)
{
    Signal s = silence(0.1);
    if (trombone) {
        const double starts[] = {0.0, 0.3, 0.6};
        const int from[] = {67, 66, 65};
        for (int i = 0; i < 3; ++i) {
            const double len = i == 2 ? 0.8 : 0.28;
            Signal tone = note(Wave::Saw, midiHz(from[i]), midiHz(from[i] - (i == 2 ? 3 : 0)), len,
                               0.02, i == 2 ? 0.6 : 1.0);
            float low = 0.0f;
            for (float &x : tone.samples)
                x = low += 0.15f * (x - low);
            s.mix(tone, starts[i]);
        }
    } else {
        const int notes[] = {67, 63, 60};
        for (int i = 0; i < 3; ++i) {
            const double len = i == 2 ? 0.7 : 0.3;
            s.mix(note(Wave::Triangle, midiHz(notes[i]), midiHz(notes[i]), len, 0.01, len / 2),
                  0.25 * i);
        }
    }
    return finished(std::move(s), 0.75f);
}

Signal swish(double seconds)
{
    Signal s = silence(seconds);
    Noise noise(55);
    double low = 0.0;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(i) / seconds;
        const double cutoff = 800 + 5000 * t;
        low += (1 - std::exp(-kTwoPi * cutoff / kEffectRate)) * (noise.next() - low);
        s.samples[i] = static_cast<float>(low * std::sin(std::numbers::pi * t));
    }
    return finished(std::move(s), 0.6f);
}

Signal shuffle()
{
    Signal s = silence(0.1);
    for (int i = 0; i < 40; ++i) {
        const double at = 0.024 * i + 0.003 * ((i * 5) % 4);
        const double swell = std::sin(std::numbers::pi * i / 40.0);
        s.mix(noiseBurst(200u + static_cast<std::uint32_t>(i), 0.025, 6000, 1200, 0.0005, 0.005),
              at, static_cast<float>(0.3 + 0.7 * swell));
    }
    return finished(std::move(s), 0.65f);
}

Signal dice()
{
    Signal s = silence(0.1);
    double at = 0.0, gap = 0.14;
    for (int i = 0; i < 9; ++i) {
        s.mix(noiseBurst(300u + static_cast<std::uint32_t>(i), 0.03, 4500, 1500, 0.0005, 0.006), at,
              static_cast<float>(1.0 - 0.08 * i));
        s.mix(note(Wave::Sine, 1500 + 90 * (i % 3), 1500, 0.03, 0.001, 0.008), at, 0.4f);
        at += gap;
        gap *= 0.78;
    }
    return finished(std::move(s), 0.7f);
}

Signal warningTick()
{
    Signal s = note(Wave::Sine, 1250, 1150, 0.09, 0.001, 0.02);
    s.mix(noiseBurst(61, 0.02, 7000, 2500, 0.0005, 0.003), 0.0, 0.4f);
    return finished(std::move(s), 0.7f);
}

Signal jetWhoosh()
{
    Signal s = silence(1.0);
    Noise noise(71);
    double low = 0.0;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(i);
        const double cutoff = 300 + 2500 * std::sin(std::numbers::pi * t);
        low += (1 - std::exp(-kTwoPi * cutoff / kEffectRate)) * (noise.next() - low);
        s.samples[i] = static_cast<float>(low * std::sin(std::numbers::pi * t));
    }
    return finished(std::move(s), 0.5f);
}

// Sixteen beats at 100 a minute on a pentatonic tune: a plucked melody over
// a soft bass. Every note ends before the loop does, so the loop joins
// without a click.
Signal backgroundLoop()
{
    constexpr double kBeat = 0.6;
    constexpr int kBeats = 16;
    Signal s = silence(kBeat * kBeats);
    struct Step
    {
        int midi; // 0: a rest
        double beats;
    };
    const Step melody[] = {{72, 1},   {74, 0.5}, {76, 0.5}, {79, 1},   {76, 1},   {74, 1},
                           {72, 0.5}, {69, 0.5}, {72, 2},   {76, 1},   {79, 0.5}, {81, 0.5},
                           {79, 1},   {76, 1},   {74, 1.5}, {72, 0.5}, {69, 1},   {72, 1}};
    double at = 0.0;
    for (const Step &step : melody) {
        const double len = step.beats * kBeat;
        if (step.midi != 0 && at + len <= kBeat * kBeats + 1e-9) {
            s.mix(note(Wave::Triangle, midiHz(step.midi), midiHz(step.midi), len * 0.95, 0.01,
                       0.35),
                  at, 0.5f);
            s.mix(note(Wave::Sine, midiHz(step.midi + 12), midiHz(step.midi + 12), len * 0.9, 0.005,
                       0.15),
                  at, 0.12f);
        }
        at += len;
    }
    const int bass[] = {48, 43, 45, 40, 41, 43, 48, 43};
    for (int bar = 0; bar < 8; ++bar) {
        const double len = 2 * kBeat;
        s.mix(note(Wave::Sine, midiHz(bass[bar]), midiHz(bass[bar]), len * 0.95, 0.02, 0.9),
              bar * len, 0.45f);
    }
    for (int beat = 0; beat < kBeats; ++beat)
        s.mix(noiseBurst(400u + static_cast<std::uint32_t>(beat), 0.05, 7000, 3000, 0.001, 0.01),
              beat * kBeat + kBeat / 2, 0.12f);
    s.samples.resize(static_cast<std::size_t>(kBeat * kBeats * kEffectRate));
    return finished(std::move(s), 0.6f);
}

} // namespace soundgen
