#pragma once

#include "sound/VosSet.h"

namespace tessaroc::table {
class MainForm;
}
namespace tessaroc::items {
class ItemService;
}

namespace tessaroc::sound {

// The sound settings on the table window and the item library.
class TableSoundHost final : public VosSetHost
{
public:
    TableSoundHost(table::MainForm &form, items::ItemService &items);

    void redrawTable(bool blue) override;
    void reportSoundState(bool effectsOn) override;

private:
    table::MainForm &form_;
    items::ItemService &items_;
};

} // namespace tessaroc::sound
