#pragma once

#include "core/TableState.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

namespace tessaroc::platform {
class SoundBuffer;
class SoundDevice;
} // namespace tessaroc::platform

namespace tessaroc::sound {

// Where the sound files lie: the sound table (entries 1 to 6, the background
// loop first, the turn clocks' warning tick last) and the folders of the
// effects, each ending in a separator.
struct SoundPaths
{
    std::array<QString, 7> SoundTable;
    QString GameSoundDir; // the game's own sounds: kinds of play, win and loss
    QString OtherGameSoundDir; // filled for completeness; nothing plays from it
    QString PkSoundDir; // the shared effects and the quick-phrase voices
    bool operator==(const SoundPaths &) const = default;
};

// The program's only sound output: one main buffer, which the background loop
// and every game effect share (a new sound cuts the one before it), and four
// voice channels, one per display position, for the chat voices. Callers test
// the switches themselves and pass full paths; a sound is loaded afresh from
// its file every time.
//
// A failure of the device itself clears VoiceOn, so the chat voices and the
// clocks' tick stay silent for the rest of the run; a file that cannot be
// loaded is skipped. MusicOn and EffectsOn are never touched by a failure,
// and no failure is shown.
class SoundService
{
public:
    static constexpr std::int32_t kFullVolume = 3000;
    // The chat voices play 8 dB below full volume.
    static constexpr int kVoiceVolume = -800;
    static constexpr int kVoiceChannels = 4;

    // A silent player with switches of its own, for windows built without
    // the sound.
    SoundService();
    // The player on a device; it clears switches.VoiceOn when the device
    // fails.
    SoundService(core::SoundSwitches &switches, platform::SoundDevice &device);
    virtual ~SoundService();

    SoundService(const SoundService &) = delete;
    SoundService &operator=(const SoundService &) = delete;

    const core::SoundSwitches &switches() const { return switches_; }
    const SoundPaths &paths() const { return paths_; }

    // Fills the sound table and the folders from the program's folder.
    void InitSoundPaths(const QString &programFolder);
    // Opens the sound device; failure clears VoiceOn.
    void InitSound();
    // Plays one file on the main buffer, cutting whatever played there.
    void PlaySoundFile(const QString &path, bool loop);
    // Stops the main buffer and rewinds it.
    virtual void StopSound();
    // The main buffer's volume on a scale 0 .. 3000 (full); other values are
    // ignored.
    void SetSoundVolume(std::int32_t volume);
    // Plays one file once on the voice channel of a display position (0..3);
    // a new voice cuts only that channel's last one. Other channels play
    // nothing, and no failure here changes a switch.
    void PlaySoundChannel(const QString &path, int channel);

    // The music segment and the six media controls these stop are never
    // created by the client, so there is never anything to stop.
    static constexpr int kMp3Controls = 6;
    void StopMusic();
    // False: the media control is not there.
    virtual bool StopMP3(int control);

    // Whether the main buffer or a voice channel holds a sound.
    bool hasMainBuffer() const { return main_ != nullptr; }
    bool hasVoiceBuffer(int channel) const;

private:
    core::SoundSwitches ownSwitches_;
    std::unique_ptr<platform::SoundDevice> ownDevice_;
    core::SoundSwitches &switches_;
    platform::SoundDevice &device_;
    SoundPaths paths_;
    std::unique_ptr<platform::SoundBuffer> main_;
    std::array<std::unique_ptr<platform::SoundBuffer>, kVoiceChannels> voices_;

    void deviceFailed() { switches_.VoiceOn = false; }
};

} // namespace tessaroc::sound
