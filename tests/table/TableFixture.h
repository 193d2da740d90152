#pragma once

#include "chat/ChatService.h"
#include "core/HallService.h"
#include "core/TableState.h"
#include "items/ItemService.h"
#include "platform/Clock.h"
#include "settlement/SettlementService.h"
#include "sound/SoundService.h"
#include "table/MainForm.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

namespace tessaroc::table::test {

// Services that count what the table window asks of them.
struct CountingHall : core::HallService
{
    bool MinimiseHall() override
    {
        ++minimised;
        return hallPresent;
    }
    int minimised = 0;
    bool hallPresent = true;
};

struct CountingSound : sound::SoundService
{
    void StopSound() override { ++stops; }
    bool StopMP3(int channel) override
    {
        mp3Stops.push_back(channel);
        return false;
    }
    int stops = 0;
    std::vector<int> mp3Stops;
};

struct CountingItems : items::ItemService
{
    void FixBuffPos() override { ++fixes; }
    int fixes = 0;
};

struct CountingChat : chat::ChatService
{
    void HideTalk() override { ++talkHidden; }
    void HideHuifu() override { ++huifuHidden; }
    int talkHidden = 0;
    int huifuHidden = 0;
};

struct CountingSettlement : settlement::SettlementService
{
    void ClearHeroTotals() override { ++heroTotalsCleared; }
    void ResetScoreColours() override { ++scoreColoursReset; }
    void HideScore() override { ++scoreHidden; }
    int heroTotalsCleared = 0;
    int scoreColoursReset = 0;
    int scoreHidden = 0;
};

// The table window on a screen of the given size, laid out as the start-up
// lays it out: sized to the screen, the picture tables filled, the seats laid
// out, the window shown, the play laid out; the table is then cleared as the
// login answer clears it.
class Table
{
public:
    // How far the start-up runs.
    enum class Stage { SeatLayout, PlayLayout, Cleared };

    Table(int screenWidth, int screenHeight, Stage stage = Stage::Cleared);
    ~Table();

    MainForm &form() { return *form_; }
    core::TableState state;
    platform::ManualClock clock;
    CountingHall hall;
    CountingSound sound;
    CountingItems items;
    CountingChat chat;
    CountingSettlement settlement;
    WindowSizing sizing;

private:
    std::unique_ptr<MainForm> form_;
};

// The two screens of the layout tests: the full table and the reduced one.
inline constexpr int kFullScreen[2] = {1024, 768};
inline constexpr int kSmallScreen[2] = {800, 600};

// Mouse input delivered straight to a widget, as the window system delivers
// it, at a point in the widget's pixels.
namespace mouse {

inline void send(QWidget &widget, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                 Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, widget.mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}
inline void press(QWidget &w, QPointF p, Qt::MouseButton b = Qt::LeftButton)
{
    send(w, QEvent::MouseButtonPress, p, b, b);
}
inline void release(QWidget &w, QPointF p, Qt::MouseButton b = Qt::LeftButton)
{
    send(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}
inline void move(QWidget &w, QPointF p)
{
    send(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
}
// The centre of an element in its surface's pixels.
inline QPointF centre(const forms::Element &e)
{
    return e.rect().center();
}

} // namespace mouse

} // namespace tessaroc::table::test
