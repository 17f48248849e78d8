#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace m3d {

// The QtTest classes of the window tests, each registered by its own file.
struct UiTestEntry {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};
std::vector<UiTestEntry>& UiTestRegistry();

#define M3D_UI_TEST(Class)                                                                             \
    static const bool Class##Registered = [] {                                                         \
        m3d::UiTestRegistry().push_back({#Class, [] { return std::unique_ptr<QObject>(new Class); }}); \
        return true;                                                                                   \
    }()

}  // namespace m3d
