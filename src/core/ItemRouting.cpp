#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "wire/ChatFrame.h"

namespace tessaroc::core {

// A chat frame carries either a chat line or, marked by its kind word, the
// item library's messages.
void Dispatcher::CmdChat(const wire::MessageFrame &message)
{
    if (wire::isChatLine(message))
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
