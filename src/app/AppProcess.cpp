#include "app/AppProcess.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace tessaroc::app {

AppProcess::AppProcess(std::function<void()> cleanUp)
    : cleanUp_(std::move(cleanUp))
    , interactive_(qEnvironmentVariable("TESSAROC_NONINTERACTIVE") != QStringLiteral("1"))
{ }

void AppProcess::MessageBox(const QString &text, const QString &title)
{
    if (!interactive_) {
        std::fprintf(stderr, "tessaroc: message box%s%s: %s\n", title.isEmpty() ? "" : " ",
                     qPrintable(title), qPrintable(text));
        return;
    }
    QMessageBox::information(
            nullptr, title.isEmpty() ? QApplication::applicationDisplayName() : title, text);
}

void AppProcess::End(core::ExitCode code)
{
    if (cleanUp_)
        cleanUp_();
    std::fflush(nullptr);
    std::_Exit(static_cast<int>(code));
}

} // namespace tessaroc::app
