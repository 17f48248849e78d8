#pragma once

#include "scene/Scene.h"
#include "support/SceneParts.h"
#include "support/TempFolder.h"

#include <QtTest>

#include <filesystem>
#include <fstream>
#include <string>

namespace m3d {

// What the export dialogs' tests start from, in folder: box.mesh (a box of
// half size 5 at y = 10), the empty folders "start" and "out", and the
// settings file settingsName whose [DIRECTORY] entry directoryKey names
// "start". Returns the settings file's path.
inline std::string WriteExportTestFiles(const TempFolder& folder, const std::string& settingsName,
                                        const std::string& directoryKey)
{
    {
        Scene scratch;
        sceneparts::AddBoxPart(scratch, folder, "box", {0, 10, 0}, 5);
    }
    std::filesystem::create_directories(folder.File("start"));
    std::filesystem::create_directories(folder.File("out"));
    const std::string settings = folder.File(settingsName);
    std::ofstream(settings) << "[DIRECTORY]\n" << directoryKey << "=" << folder.File("start") << "\n";
    return settings;
}
}  // namespace m3d
