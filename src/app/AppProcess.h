#pragma once

#include "core/services/Process.h"

#include <functional>

namespace tessaroc::app {

// Message boxes and the end of the program. With TESSAROC_NONINTERACTIVE=1
// (tests, scripted runs) a message box is written to stderr and counts as
// closed at once. Ending runs the given clean-up (the single-instance lock,
// the table's hall name) and leaves the process with the ending's code at
// once, wherever it is called from: nothing of the table runs after an end.
class AppProcess final : public core::services::Process
{
public:
    explicit AppProcess(std::function<void()> cleanUp);

    void MessageBox(const QString &text, const QString &title) override;
    [[noreturn]] void End(core::ExitCode code) override;

private:
    std::function<void()> cleanUp_;
    bool interactive_;
};

} // namespace tessaroc::app
