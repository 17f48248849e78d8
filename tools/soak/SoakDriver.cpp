#include "SoakDriver.h"

#include "SoakFolder.h"
#include "SoakWindow.h"
#include "Watchdog.h"
#include "app/CommandIds.h"
#include "editor/CommandRegistry.h"

#include <QApplication>

#include <cstdio>
#include <fstream>

#include <fcntl.h>
#include <unistd.h>

namespace m3d::soak {

namespace {

constexpr int kBeatMs = 100;
// The end of a run closes its dialogs and window in a few steps; a run that
// has not ended this long after the time was up is stuck.
constexpr long long kMostClosingMs = 60000;
constexpr int kStuckExitCode = 71;

// The name a menu command's action carries (CommandActions).
QString ActionNameOf(const CommandEntry& entry)
{
    return entry.id != 0 ? IdName(entry.id) : QString::fromUtf8(entry.name);
}

}  // namespace

SoakDriver::SoakDriver(const SoakOptions& soakOptions, const SoakFolder& soakFolder, SoakWindow& soakWindow,
                       Watchdog& soakWatchdog)
    : options(soakOptions),
      folder(soakFolder),
      window(soakWindow),
      watchdog(soakWatchdog),
      chooser(soakOptions.seed, soakFolder),
      player(soakWindow, soakFolder)
{
    connect(&beat, &QTimer::timeout, this, [this] { watchdog.Beat(); });
}

SoakDriver::~SoakDriver()
{
    if (log >= 0) close(log);
}

bool SoakDriver::Start(std::string& error)
{
    if (!options.replayPath.empty()) {
        std::ifstream in(options.replayPath);
        if (!in) {
            error = "cannot read " + options.replayPath;
            return false;
        }
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            if (line.empty() || line[0] == '#') continue;
            // "index ms step..."
            const size_t first = line.find(' '),
                         second = first == std::string::npos ? first : line.find(' ', first + 1);
            std::optional<SoakAction> action;
            long long ms = -1;
            if (second != std::string::npos) {
                ms = std::atoll(line.substr(first + 1, second - first - 1).c_str());
                action = ParseActionText(std::string_view(line).substr(second + 1));
            }
            if (!action || ms < 0) {
                error = options.replayPath + ", line " + std::to_string(number) + ": not a step: " + line;
                return false;
            }
            replay.push_back({ms, *action});
        }
    }
    log = open(options.logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (log < 0) {
        error = "cannot write " + options.logPath;
        return false;
    }
    WriteLine("# m3d_soak steps, one a line: index, milliseconds since the start, step.");
    WriteLine("# replay: tools/soak/soak.py --replay " + options.logPath);
    WriteLine("# seed " + std::to_string(options.seed));
    WriteLine(options.replayPath.empty() ? "# seconds " + std::to_string(options.seconds)
                                         : "# replaying " + options.replayPath);
    WriteLine("# opened figure/figure.anm");
    window.Open(folder.StartProject(), "ja");
    // Armed now, after the window's start-up: the first step may be due
    // before the first beat of the timer.
    watchdog.Beat();
    beat.start(kBeatMs);
    clock.start();
    ScheduleStep(options.paceMs);
    return true;
}

void SoakDriver::ScheduleStep(int delayMs)
{
    QTimer::singleShot(delayMs, Qt::PreciseTimer, this, [this] { Step(); });
}

void SoakDriver::WriteLine(const std::string& line)
{
    const std::string text = line + "\n";
    // Straight to the file: the line is there even when the next step crashes.
    for (size_t done = 0; done < text.size();) {
        const ssize_t written = write(log, text.data() + done, text.size() - done);
        if (written <= 0) return;
        done += size_t(written);
    }
}

void SoakDriver::Step()
{
    if (finished) return;
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* popup = QApplication::activePopupWidget();
    if (!playing.empty() && playing.back().modal == modal && playing.back().popup == popup) {
        ScheduleStep(options.paceMs);
        return;
    }
    const long long now = clock.elapsed();
    SoakAction action;
    if (!options.replayPath.empty() && replayNext < replay.size()) {
        if (replay[replayNext].ms > now) {
            ScheduleStep(int(replay[replayNext].ms - now));
            return;
        }
        action = replay[replayNext++].action;
    } else {
        const bool timeUp = options.replayPath.empty() ? now >= options.seconds * 1000 : replayNext >= replay.size();
        if (timeUp && !closing) {
            closing = true;
            closingSince = now;
        }
        if (closing && now - closingSince > kMostClosingMs) {
            std::fprintf(stderr, "m3d_soak: the run could not close its dialogs and window within %lld s\n",
                         kMostClosingMs / 1000);
            std::_Exit(kStuckExitCode);
        }
        action = closing ? chooser.Closing(window) : chooser.Next(window);
    }
    if (action.verb == "end") {
        Finish();
        return;
    }
    const std::string text = ActionText(action);
    WriteLine(std::to_string(++steps) + " " + std::to_string(now) + " " + text);
    watchdog.SetDoing(std::to_string(steps) + " " + text);
    ScheduleStep(action.verb == "wait" ? action.GetInt("ms", options.paceMs) : options.paceMs);
    playing.push_back({modal, popup});
    const std::string why = player.Play(action);
    playing.pop_back();
    if (!why.empty()) {
        ++leftOut;
        WriteLine("#   left out: " + why);
    } else if (action.verb == "reopen") {
        ++windowsOpened;
    }
}

void SoakDriver::Finish()
{
    finished = true;
    int menuCommands = 0, chosen = 0;
    std::string never;
    for (const CommandEntry& entry : Commands()) {
        if (entry.menu == CommandMenu::None) continue;
        ++menuCommands;
        const auto found = player.MenuCommandsChosen().find(ActionNameOf(entry));
        if (found != player.MenuCommandsChosen().end() && found->second > 0)
            ++chosen;
        else
            never += std::string(never.empty() ? "" : " ") + entry.name;
    }
    char summary[256];
    std::snprintf(summary, sizeof summary,
                  "m3d_soak: %d steps (%d left out) in %.1f s, %d windows opened, %d of %d menu commands chosen", steps,
                  leftOut, double(clock.elapsed()) / 1000.0, windowsOpened, chosen, menuCommands);
    WriteLine(std::string("# ") + summary);
    std::printf("%s\n", summary);
    if (!never.empty()) std::printf("m3d_soak: menu commands never chosen: %s\n", never.c_str());
    std::fflush(stdout);
    window.Destroy();
    QCoreApplication::exit(0);
}

}  // namespace m3d::soak
