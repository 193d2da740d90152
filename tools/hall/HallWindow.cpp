#include "HallWindow.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaroc::hall {

HallWindow::HallWindow(Hall &hall, QWidget *parent)
    : QWidget(parent)
    , hall_(hall)
    , status_(new QLabel(this))
    , log_(new QPlainTextEdit(this))
{
    setWindowTitle(hall.options().hallCaption);
    log_->setReadOnly(true);
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    log_->setMinimumSize(480, 240);

    auto *buttons = new QHBoxLayout;
    const struct
    {
        Request request;
        const char *label;
    } kButtons[] = {
            {Request::AskInGame, "Ask in game"},
            {Request::AskClose, "Ask close"},
            {Request::Leave, "Leave"},
            {Request::Reconnect, "Reconnect"},
    };
    for (const auto &button : kButtons) {
        const Request request = button.request;
        auto *push = new QPushButton(QStringLiteral("%1 (0x%2)")
                                             .arg(QString::fromLatin1(button.label))
                                             .arg(requestNumber(request), 0, 16),
                                     this);
        connect(push, &QPushButton::clicked, this, [this, request] { hall_.request(request); });
        buttons->addWidget(push);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(log_, 1);
    layout->addLayout(buttons);

    for (const HallEvent &event : hall.events())
        append(event);
    connect(&hall, &Hall::eventRecorded, this, &HallWindow::append);
    connect(&hall, &Hall::windowStateRequested, this, &HallWindow::showState);
    updateStatus();
}

void HallWindow::append(const HallEvent &event)
{
    log_->appendPlainText(QString::asprintf("%8.3f  ", static_cast<double>(event.ms) / 1000.0)
                          + describeEvent(event));
    updateStatus();
}

void HallWindow::showState(bool minimised)
{
    if (minimised) {
        showMinimized();
        return;
    }
    showNormal();
    raise();
    activateWindow();
}

void HallWindow::updateStatus()
{
    QString text = QStringLiteral("Table window: ") + hall_.options().tableCaption
            + QStringLiteral(" | client: ");
    if (hall_.options().clientPath.isEmpty())
        text += QStringLiteral("started elsewhere");
    else if (hall_.clientRunning())
        text += QStringLiteral("running");
    else if (!hall_.client())
        text += QStringLiteral("not started");
    else if (hall_.client()->error() == QProcess::FailedToStart)
        text += QStringLiteral("failed to start");
    else if (hall_.client()->exitStatus() == QProcess::CrashExit)
        text += QStringLiteral("killed by signal ") + QString::number(hall_.client()->exitCode());
    else
        text += QStringLiteral("ended (exit code ") + QString::number(hall_.client()->exitCode())
                + QLatin1Char(')');
    status_->setText(text);
}

} // namespace tessaroc::hall
