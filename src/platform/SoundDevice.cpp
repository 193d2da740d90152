#include "platform/SoundDevice.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tessaroc::platform {

float gainOfVolume(int hundredthsOfDb)
{
    if (hundredthsOfDb <= kVolumeMin)
        return 0.0f;
    const int v = std::min(hundredthsOfDb, kVolumeMax);
    return static_cast<float>(std::pow(10.0, v / 2000.0));
}

SoundBuffer::~SoundBuffer() = default;
SoundDevice::~SoundDevice() = default;

double WaveFormat::seconds() const
{
    const int frameBytes = channels * bitsPerSample / 8;
    if (frameBytes <= 0 || sampleRate <= 0)
        return 0.0;
    return static_cast<double>(dataBytes / frameBytes) / sampleRate;
}

namespace {

std::uint32_t le32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<std::uint32_t>(u[3]) << 24);
}

std::uint16_t le16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return static_cast<std::uint16_t>(u[0] | (u[1] << 8));
}

} // namespace

bool readWaveFormat(const QString &path, WaveFormat &format)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char head[12];
    if (file.read(head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0
        || std::memcmp(head + 8, "WAVE", 4) != 0)
        return false;
    WaveFormat found;
    bool haveFormat = false;
    char chunk[8];
    while (file.read(chunk, 8) == 8) {
        const std::uint32_t size = le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > 64)
                return false;
            char fmt[64];
            if (file.read(fmt, size) != static_cast<qint64>(size))
                return false;
            const int tag = le16(fmt);
            found.channels = le16(fmt + 2);
            found.sampleRate = static_cast<int>(le32(fmt + 4));
            found.bitsPerSample = le16(fmt + 14);
            if (tag != 1 || found.channels < 1 || found.channels > 2
                || (found.bitsPerSample != 8 && found.bitsPerSample != 16)
                || found.sampleRate < 4000 || found.sampleRate > 192000)
                return false;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat || size == 0 || size > file.size() - file.pos())
                return false;
            found.dataBytes = size;
            format = found;
            return true;
        } else if (file.skip(size) != static_cast<qint64>(size)) {
            return false;
        }
        // Chunks are padded to an even length.
        if ((size & 1) != 0 && file.skip(1) != 1)
            return false;
    }
    return false;
}

QtSoundBuffer::QtSoundBuffer(const QString &path)
    : effect_(std::make_unique<QSoundEffect>(QMediaDevices::defaultAudioOutput()))
{
    effect_->setSource(QUrl::fromLocalFile(path));
}

QtSoundBuffer::~QtSoundBuffer() = default;

// A play asked for while the file still loads starts when it has loaded.
bool QtSoundBuffer::Play(bool looping)
{
    effect_->setLoopCount(looping ? QSoundEffect::Infinite : 1);
    effect_->play();
    return effect_->status() != QSoundEffect::Error;
}

bool QtSoundBuffer::Stop()
{
    effect_->stop();
    return true;
}

// A stopped effect starts from the beginning when played again, which is all
// a rewind has to give.
bool QtSoundBuffer::SetCurrentPosition(std::int64_t position)
{
    return position == 0;
}

bool QtSoundBuffer::SetVolume(int hundredthsOfDb)
{
    if (hundredthsOfDb > kVolumeMax || hundredthsOfDb < kVolumeMin)
        return false;
    effect_->setVolume(gainOfVolume(hundredthsOfDb));
    return true;
}

bool QtSoundDevice::Create()
{
    open_ = !QMediaDevices::defaultAudioOutput().isNull();
    // The table goes on silently; this line is all the player learns of why
    // (scripts/play passes it on).
    if (!open_)
        std::fprintf(stderr,
                     "tessaroc: no sound device could be opened (no audio output was "
                     "found); the table plays without sound\n");
    return open_;
}

std::unique_ptr<SoundBuffer> QtSoundDevice::CreateSoundBufferFromFile(const QString &path,
                                                                      std::uint32_t /*caps*/)
{
    WaveFormat format;
    if (!open_ || !readWaveFormat(path, format))
        return nullptr;
    return std::make_unique<QtSoundBuffer>(path);
}

} // namespace tessaroc::platform
