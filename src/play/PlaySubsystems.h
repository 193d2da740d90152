#pragma once

namespace tessaroc::sound {
class SoundService;
}
namespace tessaroc::items {
class ItemService;
}
namespace tessaroc::chat {
class ChatService;
}
namespace tessaroc::settlement {
class SettlementService;
}

namespace tessaroc::play {

// The subsystems below the play flow that it calls on: the sound folders and
// settings, the item library's keys and bank state, the chat's windows and
// key chord, the settlement's board and hall of fame. The program hands them
// over when it builds the play flow.
struct PlaySubsystems
{
    sound::SoundService &sound;
    items::ItemService &items;
    chat::ChatService &chat;
    settlement::SettlementService &settlement;
};

} // namespace tessaroc::play
