#pragma once

#include "chat/ChatService.h"
#include "core/services/Chat.h"

namespace tessaroc::chat {

// The chat receiver as the client core reaches it.
class CoreChat final : public core::services::Chat
{
public:
    explicit CoreChat(ChatService &chat)
        : chat_(chat)
    { }
    void ReceiveChat(const wire::MessageFrame &frame) override { chat_.ReceiveChat(frame); }

private:
    ChatService &chat_;
};

} // namespace tessaroc::chat
