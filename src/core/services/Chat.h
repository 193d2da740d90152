#pragma once

#include "wire/MessageFrame.h"

namespace tessaroc::core::services {

// What the client core asks of the chat: every received chat line that is
// not item-library traffic.
class Chat
{
public:
    virtual ~Chat() = default;

    virtual void ReceiveChat(const wire::MessageFrame &frame) = 0;
};

} // namespace tessaroc::core::services
