#pragma once

#include "ActionChooser.h"
#include "ActionPlayer.h"
#include "SoakOptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <string>
#include <vector>

namespace m3d::soak {

class SoakFolder;
class SoakWindow;
class Watchdog;

// Runs the steps: one at a time from a single-shot timer, each written to
// the log before it is played. The next step is due before a step plays, so
// a dialog the step opens gets its own steps from inside its event loop; a
// step that comes while another is still playing (a drag lets the loop run)
// waits. When the time is up (or the replayed list ends) the steps close the
// dialogs and the window, and the event loop ends.
class SoakDriver : public QObject {
    Q_OBJECT
public:
    SoakDriver(const SoakOptions& options, const SoakFolder& folder, SoakWindow& window, Watchdog& watchdog);
    ~SoakDriver() override;

    // Opens the log (and reads the list to replay), opens the main window on
    // the figure and starts the steps; false with error filled when it cannot.
    bool Start(std::string& error);

private:
    void Step();
    void ScheduleStep(int delayMs);
    void WriteLine(const std::string& line);
    void Finish();

    // The step being played and what was in front when it began.
    struct Playing {
        QPointer<QWidget> modal;
        QPointer<QWidget> popup;
    };
    struct Recorded {
        long long ms;
        SoakAction action;
    };

    const SoakOptions& options;
    const SoakFolder& folder;
    SoakWindow& window;
    Watchdog& watchdog;
    ActionChooser chooser;
    ActionPlayer player;
    QTimer beat;
    QElapsedTimer clock;
    int log = -1;
    std::vector<Recorded> replay;
    size_t replayNext = 0;
    std::vector<Playing> playing;
    bool closing = false;
    long long closingSince = 0;
    bool finished = false;
    int steps = 0;
    int leftOut = 0;
    int windowsOpened = 1;
};

}  // namespace m3d::soak
