#pragma once

#include "items/ItemControls.h"
#include "items/PropLibrary.h"

#include <QString>

#include <cstdint>

namespace tessaroc::items {

// What the item bridge needs of the table around it: showing its controls,
// the chat history and the system lines, the busy wait of a moving box, the
// random source of the boxes and the table window's handle and sizes.
class ItemHost
{
public:
    virtual ~ItemHost() = default;

    // The controls changed; the table shows them as they now are.
    virtual void ControlsChanged(const ItemControls &controls, const BoxLayout &layout) = 0;
    // A line for the chat history (in pieces of 44 columns, scrolled to the end).
    virtual void AddHistoryLine(const QString &text) = 0;
    // A line for the two system message lines.
    virtual void AddSystemMessage(const QString &text) = 0;
    // Waits with the window events running.
    virtual void Wait(int milliseconds) = 0;
    // Uniform in [0, 1).
    virtual double Random() = 0;
    virtual void SeedRandom() = 0;
    virtual std::uintptr_t WindowHandle() const = 0;
    // The own-seat label's size, in table pixels.
    virtual double ProponeselfWidth() const = 0;
    virtual double ProponeselfHeight() const = 0;
};

} // namespace tessaroc::items
