#include "core/CoreContext.h"
#include "core/Dispatcher.h"

namespace tessaroc::core {

namespace {

// Kind words of the item library's messages carried in chat frames.
constexpr std::uint32_t kItemKindWords[] = {272, 260};

bool isItemTraffic(const wire::MessageFrame &message)
{
    for (const std::uint32_t kind : kItemKindWords) {
        if (message.kindWord() == kind)
            return true;
    }
    return false;
}

} // namespace

void Dispatcher::CmdChat(const wire::MessageFrame &message)
{
    if (!isItemTraffic(message))
        c_.chat.ReceiveChat(message);
    else if (c_.state.gamedllstate > 0)
        c_.items.Rec_MSG(message);
}

void Dispatcher::ItemFrame(const wire::MessageFrame &message)
{
    // Only the running item library reads these; otherwise they are dropped.
    if (c_.state.gamedllstate <= 0)
        return;
    if (message.cmd() == wire::CmdProp46)
        c_.loop().ScoreInfoAnnounced = true;
    c_.items.Rec_MSG(message);
}

} // namespace tessaroc::core
