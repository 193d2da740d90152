#pragma once

namespace tessaroc::table {
class MainForm;
}
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

namespace tessaroc::app {

// The table window lies below the subsystems that answer its events: when it
// is minimised, restored, moved, cleared for a hand or emptied on leaving,
// it says so, and these connections carry that to the sound, the item
// library, the chat and the settlement, in the order the window once called
// them itself.
void ConnectTableWindow(table::MainForm &form, sound::SoundService &sound,
                        items::ItemService &items, chat::ChatService &chat,
                        settlement::SettlementService &settlement);

} // namespace tessaroc::app
