#pragma once

#include "forms/Element.h"

#include <cassert>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace tessaroc::forms {

class Surface;

// An indexed group of elements (cardImage0(0 To 32), AnNiu(0 To 8), ...).
// The designed element stands at the group's first index; Load(i) creates
// element i as a hidden copy of it (picture, size, place, stretch, pointer,
// font, colours), on top of the surface's elements. The group owns its
// elements.
template<class T> class ControlArray
{
public:
    explicit ControlArray(Surface *container, int designIndex = 0)
        : designIndex_(designIndex)
    {
        auto element = std::make_unique<T>(container);
        element->setIndex(designIndex);
        elements_.emplace(designIndex, std::move(element));
    }

    ControlArray(const ControlArray &) = delete;
    ControlArray &operator=(const ControlArray &) = delete;

    // Element i, which must be loaded.
    T &operator()(int i) const
    {
        T *element = find(i);
        assert(element && "element of the control array is not loaded");
        return *element;
    }
    T *find(int i) const
    {
        auto it = elements_.find(i);
        return it == elements_.end() ? nullptr : it->second.get();
    }
    bool isLoaded(int i) const { return elements_.contains(i); }

    // Creates element i as a hidden copy of the designed element. Loading an
    // index that is already loaded changes nothing and returns that element.
    T &Load(int i)
    {
        if (T *existing = find(i))
            return *existing;
        const T &design = (*this)(designIndex_);
        auto element = std::make_unique<T>(design.container());
        element->copyFrom(design);
        element->setVisible(false);
        element->setIndex(i);
        T &loaded = *element;
        elements_.emplace(i, std::move(element));
        for (const auto &onLoad : onLoad_)
            onLoad(loaded);
        return loaded;
    }

    // Destroys a loaded element; the designed element stays.
    void Unload(int i)
    {
        if (i != designIndex_)
            elements_.erase(i);
    }

    int LBound() const { return elements_.begin()->first; }
    int UBound() const { return elements_.rbegin()->first; }
    int Count() const { return static_cast<int>(elements_.size()); }

    // Adds a handler called for every element that Load creates, after it is
    // set up, so an owner can connect its handlers with the element's index.
    // Several owners may each add their own; they run in the order added.
    void setOnLoad(std::function<void(T &)> onLoad) { onLoad_.push_back(std::move(onLoad)); }

    template<class F> void forEach(F &&f) const
    {
        for (const auto &[index, element] : elements_)
            f(*element);
    }

private:
    int designIndex_;
    std::map<int, std::unique_ptr<T>> elements_;
    std::vector<std::function<void(T &)>> onLoad_;
};

} // namespace tessaroc::forms
