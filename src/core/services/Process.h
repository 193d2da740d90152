#pragma once

#include "core/ExitCodes.h"

#include <QString>

namespace tessaroc::core::services {

// The process around the client: message boxes and the end of the program.
class Process
{
public:
    virtual ~Process() = default;

    // A modal message box with an OK button; returns when it is closed.
    virtual void MessageBox(const QString &text, const QString &title) = 0;
    // Ends the program with the code of its ending. In the program this does
    // not return; where it does (tests), the caller stops where it is.
    virtual void End(ExitCode code) = 0;
};

} // namespace tessaroc::core::services
