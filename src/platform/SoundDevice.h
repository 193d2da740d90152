#pragma once

#include <QString>

class QSoundEffect;

#include <cstdint>
#include <memory>

namespace tessaroc::platform {

// Buffer capabilities a caller asks for when it makes a buffer; the values
// are those of the sound interface the game was written for. Our buffers can
// always do all of them; the flags are kept so that the callers' choices stay
// visible.
namespace buffer_caps {
inline constexpr std::uint32_t Ctrl3D = 0x10;
inline constexpr std::uint32_t CtrlFrequency = 0x20;
inline constexpr std::uint32_t CtrlPan = 0x40;
inline constexpr std::uint32_t CtrlVolume = 0x80;
} // namespace buffer_caps

// Volumes are hundredths of a decibel below full volume: 0 is full, -10000
// (a hundred decibels down) is silence.
inline constexpr int kVolumeMax = 0;
inline constexpr int kVolumeMin = -10000;

// The linear gain of a volume in hundredths of a decibel: 10^(v / 2000),
// clamped to 0 .. 1, and exactly 0 at the bottom of the scale.
float gainOfVolume(int hundredthsOfDb);

// One sound loaded whole from a wave file. Every operation reports whether it
// succeeded; the player decides what a failure means.
class SoundBuffer
{
public:
    virtual ~SoundBuffer();
    virtual bool Play(bool looping) = 0;
    virtual bool Stop() = 0;
    // Moves the play position; the player only ever rewinds to 0.
    virtual bool SetCurrentPosition(std::int64_t position) = 0;
    virtual bool SetVolume(int hundredthsOfDb) = 0;
};

// The sound device: the default audio output, opened for the table window.
class SoundDevice
{
public:
    virtual ~SoundDevice();
    // Opens the default output; false when there is none.
    virtual bool Create() = 0;
    // Loads a wave file into a new buffer; null when the device is not open
    // or the file is missing, unreadable or not a wave file the device plays.
    virtual std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const QString &path,
                                                                   std::uint32_t caps)
            = 0;
};

// The format of a wave file, read from its header.
struct WaveFormat
{
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::int64_t dataBytes = 0;
    bool operator==(const WaveFormat &) const = default;

    double seconds() const;
};

// Reads the header of an uncompressed PCM wave file (RIFF "WAVE", a "fmt "
// chunk of format 1, 8 or 16 bits, one or two channels, then a "data"
// chunk). Anything else, a truncated file included, gives false.
bool readWaveFormat(const QString &path, WaveFormat &format);

// A buffer of the Qt device: a sound effect on the default output. Its
// effect is reachable so that a test can watch it play.
class QtSoundBuffer final : public SoundBuffer
{
public:
    explicit QtSoundBuffer(const QString &path);
    ~QtSoundBuffer() override;
    bool Play(bool looping) override;
    bool Stop() override;
    bool SetCurrentPosition(std::int64_t position) override;
    bool SetVolume(int hundredthsOfDb) override;

    QSoundEffect &effect() const { return *effect_; }

private:
    std::unique_ptr<QSoundEffect> effect_;
};

// The device on Qt Multimedia: each buffer is a sound effect on the default
// audio output. With no output it cannot be opened, and then makes no
// buffers: the client stays silent.
class QtSoundDevice final : public SoundDevice
{
public:
    bool Create() override;
    std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const QString &path,
                                                           std::uint32_t caps) override;

private:
    bool open_ = false;
};

} // namespace tessaroc::platform
