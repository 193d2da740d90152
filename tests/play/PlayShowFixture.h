#pragma once

#include "DispatchFixture.h"
#include "FrameBuilders.h"

#include "play/PlayFlowService.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace tessaroc::play::test {

using core::test::CallLog;
using Screen = core::test::Client::Screen;

// The table window laid out at one scale with the real play flow behind the
// real dispatcher; the other services record. The clock moves on at every
// reading, so every animation runs to its end at once unless a test stops it.
class PlayTable
{
public:
    explicit PlayTable(Screen screen = Screen::Full);

    table::MainForm &form() { return base.form(); }
    core::TableState &state() { return base.state; }
    forms::LayoutScale scale() const { return base.state.table.scale; }
    PlayFlowService &flow() { return *play; }
    void dispatch(const wire::MessageFrame &frame) { dispatcher->ProcessMessage(frame); }
    // Four users seated; the own seat bit is `own`.
    void seatFour(std::uint8_t own = 1);

    core::test::Client base;
    fakes::RecordingSound sound;
    fakes::ForwardingPlay forward;
    std::unique_ptr<core::CoreContext> context;
    std::unique_ptr<PlayFlowService> play;
    std::unique_ptr<core::Dispatcher> dispatcher;
};

// Names the two scales in the names of parameterised tests.
inline std::string scaleName(const ::testing::TestParamInfo<Screen> &param)
{
    return param.param == Screen::Full ? "Full" : "Reduced";
}

// The card picture id that the full or the reduced table shows for a
// picture number.
int cardPictureId(const core::TableState &state, int number);

} // namespace tessaroc::play::test
