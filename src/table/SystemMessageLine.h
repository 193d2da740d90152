#pragma once

#include <QListWidget>

namespace tessaroc::table {

// One of the two system message lines Sysmsg: a borderless list box, light
// green on black, whose entries are as tall as the line itself, so the entry
// on show stands in the middle of the line, whole, whatever the font's own
// spacing.
class SystemMessageLine : public QListWidget
{
    Q_OBJECT

public:
    explicit SystemMessageLine(QWidget *parent = nullptr);
};

} // namespace tessaroc::table
