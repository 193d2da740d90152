#pragma once

#include "forms/ControlArray.h"
#include "forms/Image.h"
#include "items/ItemHost.h"

#include <optional>
#include <random>

namespace tessaroc::platform {
class Clock;
}
namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::items {

class ItemBridge;

// The item bridge on the table window: its controls shown on the table, its
// lines in the system message lines, its waits on the program's clock.
class TableItemHost final : public ItemHost
{
public:
    TableItemHost(table::MainForm &form, const platform::Clock &clock);
    ~TableItemHost() override;

    void ControlsChanged(const ItemControls &controls, const BoxLayout &layout) override;
    void AddHistoryLine(const QString &text) override;
    void AddSystemMessage(const QString &text) override;
    void Wait(int milliseconds) override;
    double Random() override;
    void SeedRandom() override;
    std::uintptr_t WindowHandle() const override;
    double ProponeselfWidth() const override;
    double ProponeselfHeight() const override;

    // Connects the table's item controls to the bridge's handlers: the bank
    // icon, the own-seat label, the table area (which ends an aim and the
    // bank's hover) and the treasure boxes as they are loaded.
    void ConnectTableEvents(ItemBridge &bridge);

private:
    void showBoxes(const ItemControls &controls, const BoxLayout &layout);

    table::MainForm &form_;
    const platform::Clock &clock_;
    std::mt19937_64 random_;
    // The treasure boxes, created on the table area when first shown.
    std::unique_ptr<forms::ControlArray<forms::Image>> ImgProp_;
    std::optional<ItemControls> shown_;
    ItemBridge *bridge_ = nullptr;
};

} // namespace tessaroc::items
