#include "PlayShowFixture.h"

#include "support/PictureIds.h"

namespace tessaroc::play::test {

PlayTable::PlayTable(Screen screen)
    : base(screen)
{
    core::test::Client &b = base;
    context = std::make_unique<core::CoreContext>(
            core::CoreContext{b.state, b.rings, b.clock, b.socket, b.hall, b.timers, *b.window,
                              forward, sound, b.items, b.video, b.settlement, b.process, b.chat});
    play = std::make_unique<PlayFlowService>(b.form(), *context);
    forward.to = play.get();
    dispatcher = std::make_unique<core::Dispatcher>(*context);
}

void PlayTable::seatFour(std::uint8_t own)
{
    for (const wire::MessageFrame &frame : frames::fourSeated(own))
        dispatch(frame);
}

int cardPictureId(const core::TableState &state, int number)
{
    return support::pictureId(state.pictures.CardPictureIds[static_cast<std::size_t>(number)]);
}

} // namespace tessaroc::play::test
