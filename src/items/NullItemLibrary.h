#pragma once

#include "items/PropLibrary.h"

namespace tessaroc::items {

// The plug-in folder of this configuration: it holds no item library, so a
// start would find no file and create no object. The start-up switches the
// library off anyway, so none of these is asked.
class NullItemLibrary final : public PropPlugin
{
public:
    bool FileFound(const QString &) override { return false; }
    void Register(const QString &) override { }
    std::shared_ptr<PropLibrary> CreateObject(const QString &) override { return nullptr; }
};

} // namespace tessaroc::items
