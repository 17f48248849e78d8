#include "app/RenderWidget.h"
#include "ui/UiTestRegistry.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <QtTest>

#include <cstdio>
#include <cstring>

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
    return failures == 0 ? 0 : 1;
}
