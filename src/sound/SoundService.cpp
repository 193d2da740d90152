#include "sound/SoundService.h"

#include "platform/SoundDevice.h"
#include "sound/SoundFiles.h"

namespace tessaroc::sound {

namespace {

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A device with no output: it never opens and makes no buffers.
class SilentDevice final : public platform::SoundDevice
{
public:
    bool Create() override { return false; }
    std::unique_ptr<platform::SoundBuffer> CreateSoundBufferFromFile(const QString &,
                                                                     std::uint32_t) override
    {
        return nullptr;
    }
};

} // namespace

SoundService::SoundService()
    : ownDevice_(std::make_unique<SilentDevice>())
    , switches_(ownSwitches_)
    , device_(*ownDevice_)
{ }

SoundService::SoundService(core::SoundSwitches &switches, platform::SoundDevice &device)
    : switches_(switches)
    , device_(device)
{ }

SoundService::~SoundService() = default;

void SoundService::InitSoundPaths(const QString &programFolder)
{
    const QString music = programFolder + text(files::kMusicFolder);
    for (std::size_t i = 1; i < files::kSoundTable.size(); ++i)
        paths_.SoundTable[i] = music + text(files::kSoundTable[i]);
    paths_.GameSoundDir = programFolder + text(files::kGameFolder);
    paths_.OtherGameSoundDir = programFolder + text(files::kOtherGameFolder);
    paths_.PkSoundDir = programFolder + text(files::kPkFolder);
}

void SoundService::InitSound()
{
    if (!device_.Create())
        deviceFailed();
}

void SoundService::PlaySoundFile(const QString &path, bool loop)
{
    // The sound before is gone even when the new one cannot be loaded; a
    // sound that cannot be stopped means the device is broken, and then the
    // new one is not tried.
    if (main_) {
        if (!main_->Stop()) {
            deviceFailed();
            return;
        }
        main_.reset();
    }
    main_ = device_.CreateSoundBufferFromFile(
            path, platform::buffer_caps::Ctrl3D | platform::buffer_caps::CtrlVolume);
    if (main_)
        main_->Play(loop);
}

void SoundService::StopSound()
{
    if (main_ && !(main_->Stop() && main_->SetCurrentPosition(0)))
        deviceFailed();
}

void SoundService::SetSoundVolume(std::int32_t volume)
{
    if (!main_ || volume < 0 || volume > kFullVolume)
        return;
    if (!main_->SetVolume(volume - kFullVolume))
        deviceFailed();
}

void SoundService::PlaySoundChannel(const QString &path, int channel)
{
    if (channel < 0 || channel >= kVoiceChannels)
        return;
    auto &voice = voices_[static_cast<std::size_t>(channel)];
    if (voice)
        voice->Stop();
    voice.reset();
    voice = device_.CreateSoundBufferFromFile(path,
                                              platform::buffer_caps::CtrlFrequency
                                                      | platform::buffer_caps::CtrlPan
                                                      | platform::buffer_caps::CtrlVolume);
    if (!voice)
        return;
    voice->Play(false);
    voice->SetVolume(kVoiceVolume);
}

bool SoundService::hasVoiceBuffer(int channel) const
{
    return channel >= 0 && channel < kVoiceChannels
            && voices_[static_cast<std::size_t>(channel)] != nullptr;
}

void SoundService::StopMusic() { }

bool SoundService::StopMP3(int /*control*/)
{
    return false;
}

} // namespace tessaroc::sound
