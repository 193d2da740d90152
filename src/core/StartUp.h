#pragma once

#include <QString>

#include <functional>
#include <string>

namespace tessaroc::core {

struct CoreContext;
class HallWindowLink;

// What the start-up needs of the machine it runs on.
struct StartUpEnvironment
{
    std::string commandLine; // as the hall passed it, UTF-8
    double screenWidthTwips = 0;
    double screenHeightTwips = 0;
    // Takes the single-instance lock; false when another table client holds it.
    std::function<bool()> takeInstanceLock;
    // The table window's caption when the line does not give one.
    QString defaultTableCaption;
};

// MainForm.Form_Load: the program's start. Refuses a second instance, fits
// the window to the screen, gives the shared state its start values, starts
// the sound, lays out the seats, reads the command line, connects, gives the
// hall window back its place, shows the table, finishes the layout and takes
// the hall's messages. A fault on the way restores the hall and ends.
class StartUp
{
public:
    static constexpr std::int16_t kTurnSeconds = 15;
    static constexpr int kBackgroundLoop = 1; // SoundTable entry
    static constexpr int kFullVolume = 3000;

    StartUp(CoreContext &context, HallWindowLink &hall);

    // False when the program ended on the way (tests; the program itself
    // never comes back from an ending).
    bool Form_Load(const StartUpEnvironment &environment);

private:
    bool loadSteps(const StartUpEnvironment &environment);
    void startValues();

    CoreContext &c_;
    HallWindowLink &hall_;
    bool ended_ = false;
};

} // namespace tessaroc::core
