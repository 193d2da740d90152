#pragma once

namespace tessaroc::chat {

// What the table window asks of the chat: hiding its two windows, the chat
// history Talk and the quick phrases huifu. Neither window is built yet, so
// there is nothing to hide.
class ChatService
{
public:
    virtual ~ChatService();

    virtual void HideTalk();
    virtual void HideHuifu();
    // Leaving the table: the chat history list Text1 of Talk emptied.
    virtual void ClearHistory();
};

} // namespace tessaroc::chat
