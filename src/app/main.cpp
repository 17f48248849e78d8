#include "app/CAppWinApp.h"
#include "editor/DisplayCheck.h"

#include <cstdio>

int main(int argc, char** argv)
{
    using namespace m3d;
    // These answer without a window system, before Qt starts.
    const std::vector<std::string> words(argv + 1, argv + argc);
    const ProgramArguments arguments = ParseProgramArguments(words);
    if (arguments.showHelp) {
        std::fputs(ProgramUsage().c_str(), stdout);
        return 0;
    }
    if (arguments.showVersion) {
        std::printf("marionettica3d %s\n", ProgramVersion());
        return 0;
    }
    const std::string noDisplay = MissingDisplayReason(words, ProcessEnvironment);
    if (!noDisplay.empty()) {
        std::fprintf(stderr, "%s\n", NoDisplayMessage(noDisplay).c_str());
        return 1;
    }
    CAppWinApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.Run();
}
