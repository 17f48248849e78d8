#include "SoakDriver.h"
#include "SoakFolder.h"
#include "SoakOptions.h"
#include "SoakWindow.h"
#include "Watchdog.h"
#include "app/RenderWidget.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <QThreadPool>

#include <cstdio>
#include <filesystem>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

// Runs the editor's main window under random input (or a logged list of
// steps) until the time is up; tools/soak/soak.py watches it.
int main(int argc, char** argv)
{
    using namespace m3d::soak;
    const SoakOptions options = ParseSoakOptions(std::vector<std::string>(argv + 1, argv + argc),
                                                 std::filesystem::path(M3D_SAMPLE_FIGURE).parent_path().string());
    if (options.showHelp) {
        std::fputs(SoakUsage(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "m3d_soak: %s\n%s", options.error.c_str(), SoakUsage());
        return 2;
    }
    const SoakFolder folder(options.folder);
    if (std::string error; !folder.Prepare(options.figureFolder, error)) {
        std::fprintf(stderr, "m3d_soak: %s\n", error.c_str());
        return 2;
    }
    folder.UseAsEnvironment();
    InstallCrashReports();
    QSurfaceFormat::setDefaultFormat(m3d::RenderWidget::RequestedFormat());
    // The dialogs the soak answers must be Qt's own widgets, not a desktop's.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication application(argc, argv);
    // Closing the main window is one of the steps; the soak opens it again.
    QApplication::setQuitOnLastWindowClosed(false);
    int code = 0;
    {
        SoakWindow window(folder.SettingsPath(), M3D_HELP_PAGE, M3D_GUIDE_PAGE);
        Watchdog watchdog(std::chrono::seconds(options.hangSeconds));
        SoakDriver driver(options, folder, window, watchdog);
        if (std::string error; !driver.Start(error)) {
            std::fprintf(stderr, "m3d_soak: %s\n", error.c_str());
            return 2;
        }
        code = QApplication::exec();
    }
    // No thread may be starting or ending while the leak check stops the
    // others: the window (with its OpenGL context and the renderer's threads)
    // and the watchdog are gone above, and the pool's idle threads, which
    // otherwise end on their own timer, are ended here.
    QThreadPool::globalInstance()->waitForDone();
#if defined(__SANITIZE_ADDRESS__)
    // Now, while every library is still loaded, so that the stacks of a leak
    // name them; the check at exit would come after the plugins are unloaded.
    __lsan_do_leak_check();
#endif
    return code;
}
