#include "app/RenderWidget.h"
#include "ui/UiTestRegistry.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <QtTest>

#include <cstdio>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

using namespace m3d;

std::vector<UiTestEntry>& m3d::UiTestRegistry()
{
    static std::vector<UiTestEntry> entries;
    return entries;
}

// Runs the test class named first on the command line (all classes without
// one); the remaining arguments go to QtTest.
int main(int argc, char** argv)
{
    QSurfaceFormat::setDefaultFormat(RenderWidget::RequestedFormat());
    // Dialogs the tests answer must be Qt's own widgets, not a desktop's.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication application(argc, argv);
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    std::vector<char*> rest{argv[0]};
    for (int i = only ? 2 : 1; i < argc; ++i) rest.push_back(argv[i]);
    int failures = 0;
    bool found = false;
    for (const UiTestEntry& entry : UiTestRegistry()) {
        if (only != nullptr && std::strcmp(only, entry.name) != 0) continue;
        found = true;
        std::unique_ptr<QObject> test = entry.make();
        failures += QTest::qExec(test.get(), int(rest.size()), rest.data());
    }
    if (!found) {
        std::fprintf(stderr, "no test class %s\n", only ? only : "");
        return 2;
    }
#if defined(__SANITIZE_ADDRESS__)
    // Now, while every library is still loaded, so that the stacks of a leak
    // name them; the check at exit would come after the plugins are unloaded.
    __lsan_do_leak_check();
#endif
    return failures == 0 ? 0 : 1;
}
