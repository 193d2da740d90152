#pragma once

#include "platform/SoundDevice.h"

#include <QString>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tessaroc::sound::testing {

// A sound device that plays nothing and writes down every call, in order,
// as short lines: "open", "load majiang.wav caps 0x90 -> #1", "#1 play loop",
// "#1 play once", "#1 stop", "#1 rewind", "#1 volume -800", "#1 released".
// Any operation can be made to fail, and files can be made missing.
class RecordingSoundDevice final : public platform::SoundDevice
{
public:
    enum class Op { Open, Load, Play, Stop, Rewind, Volume };

    std::vector<std::string> log;
    std::set<Op> failing;
    std::set<QString> missing; // file names (without folders) that cannot be loaded

    bool Create() override;
    std::unique_ptr<platform::SoundBuffer> CreateSoundBufferFromFile(const QString &path,
                                                                     std::uint32_t caps) override;

    // The lines written since the last call.
    std::vector<std::string> take();

private:
    int nextId_ = 1;
    bool open_ = false;
    std::size_t taken_ = 0;
};

} // namespace tessaroc::sound::testing
