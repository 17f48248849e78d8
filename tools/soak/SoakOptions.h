#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace m3d::soak {

// The command line of m3d_soak (tools/soak/soak.py is the usual way to run it).
struct SoakOptions {
    uint64_t seed = 1;
    double seconds = 60;       // how long steps are chosen before the run ends
    std::string logPath;       // the replayable list of steps written
    std::string replayPath;    // a list to play instead of choosing ("" to choose)
    std::string folder;        // the run's own folder (SoakFolder); must exist
    std::string figureFolder;  // the sample figure, copied into the folder
    int paceMs = 10;           // the pause between two steps
    int hangSeconds = 10;      // the watchdog's limit
    bool showHelp = false;
    std::string error;  // what is wrong with the command line; "" when nothing
};

SoakOptions ParseSoakOptions(const std::vector<std::string>& words, std::string defaultFigureFolder);
const char* SoakUsage();

}  // namespace m3d::soak
