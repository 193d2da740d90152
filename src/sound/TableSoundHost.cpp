#include "sound/TableSoundHost.h"

#include "items/ItemService.h"
#include "table/MainForm.h"

namespace tessaroc::sound {

TableSoundHost::TableSoundHost(table::MainForm &form, items::ItemService &items)
    : form_(form)
    , items_(items)
{ }

// The table area takes the whole picture of the chosen colour from its hidden
// holder and goes behind the other windowed controls of the window.
void TableSoundHost::redrawTable(bool blue)
{
    table::TableArea &area = form_.area;
    const forms::Surface &source = blue ? area.pic4.widget() : area.pic3.widget();
    area.Pic1->setPicture(source.picture(), 0);
    area.Pic1.ZOrder(1);
}

void TableSoundHost::reportSoundState(bool effectsOn)
{
    std::int16_t value = effectsOn ? -1 : 0;
    items_.rec_state(1, value);
}

} // namespace tessaroc::sound
