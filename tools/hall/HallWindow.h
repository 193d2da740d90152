#pragma once

#include "Hall.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace tessaroc::hall {

// The hall's small window: its caption is the hall caption, it lists what
// the table sent, offers the four requests as buttons, and obeys the table's
// restore and minimise commands.
class HallWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HallWindow(Hall &hall, QWidget *parent = nullptr);

private:
    void append(const HallEvent &event);
    void showState(bool minimised);
    void updateStatus();

    Hall &hall_;
    QLabel *status_;
    QPlainTextEdit *log_;
};

} // namespace tessaroc::hall
