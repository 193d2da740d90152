#include "RecordingSoundDevice.h"

#include <QFileInfo>

#include <cstdio>

namespace tessaroc::sound::testing {

namespace {

class RecordingBuffer final : public platform::SoundBuffer
{
public:
    RecordingBuffer(RecordingSoundDevice &device, int id)
        : device_(device)
        , name_("#" + std::to_string(id))
    { }
    ~RecordingBuffer() override { device_.log.push_back(name_ + " released"); }

    bool Play(bool looping) override
    {
        return note(RecordingSoundDevice::Op::Play, looping ? "play loop" : "play once");
    }
    bool Stop() override { return note(RecordingSoundDevice::Op::Stop, "stop"); }
    bool SetCurrentPosition(std::int64_t position) override
    {
        return note(RecordingSoundDevice::Op::Rewind,
                    position == 0 ? "rewind" : "seek " + std::to_string(position));
    }
    bool SetVolume(int hundredthsOfDb) override
    {
        return note(RecordingSoundDevice::Op::Volume, "volume " + std::to_string(hundredthsOfDb));
    }

private:
    RecordingSoundDevice &device_;
    std::string name_;

    bool note(RecordingSoundDevice::Op op, const std::string &what)
    {
        const bool fails = device_.failing.contains(op);
        device_.log.push_back(name_ + " " + what + (fails ? " fails" : ""));
        return !fails;
    }
};

} // namespace

bool RecordingSoundDevice::Create()
{
    const bool fails = failing.contains(Op::Open);
    log.push_back(fails ? "open fails" : "open");
    open_ = !fails;
    return open_;
}

std::unique_ptr<platform::SoundBuffer>
RecordingSoundDevice::CreateSoundBufferFromFile(const QString &path, std::uint32_t caps)
{
    const QString name = QFileInfo(path).fileName();
    char capsText[16];
    std::snprintf(capsText, sizeof capsText, "0x%X", caps);
    std::string line = "load " + name.toStdString() + " caps " + capsText;
    if (!open_ || failing.contains(Op::Load) || missing.contains(name)) {
        log.push_back(line + " fails");
        return nullptr;
    }
    const int id = nextId_++;
    log.push_back(line + " -> #" + std::to_string(id));
    return std::make_unique<RecordingBuffer>(*this, id);
}

std::vector<std::string> RecordingSoundDevice::take()
{
    std::vector<std::string> lines(log.begin() + static_cast<std::ptrdiff_t>(taken_), log.end());
    taken_ = log.size();
    return lines;
}

} // namespace tessaroc::sound::testing
