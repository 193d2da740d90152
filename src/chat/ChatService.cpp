#include "chat/ChatService.h"

namespace tessaroc::chat {

ChatService::~ChatService() = default;

void ChatService::HideTalk() { }

void ChatService::HideHuifu() { }

void ChatService::ClearHistory() { }

} // namespace tessaroc::chat
