#pragma once

namespace tessaroc::sound {

// What the table window asks of the sound: stopping the effect that plays.
// The sound device itself is not built yet; until it is, there is nothing
// to stop.
class SoundService
{
public:
    virtual ~SoundService();

    // Stops the main sound buffer and rewinds it.
    virtual void StopSound();
    // Stops one of the MP3 channels; false on any error. The table's minimise
    // passes channels that are never created, so nothing happens.
    virtual bool StopMP3(int channel);
};

} // namespace tessaroc::sound
