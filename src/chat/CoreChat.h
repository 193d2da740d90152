#pragma once

#include "core/services/Chat.h"

namespace tessaroc::chat {

// The chat receiver as the client core reaches it. The chat history and the
// speech bubbles are not built yet, so a received line goes nowhere.
class CoreChat final : public core::services::Chat
{
public:
    void ReceiveChat(const wire::MessageFrame &) override { }
};

} // namespace tessaroc::chat
