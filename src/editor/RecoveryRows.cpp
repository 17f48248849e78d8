#include "editor/RecoveryRows.h"

#include <ctime>

namespace m3d {

std::array<std::string, 5> RecoveryRowTexts(const RecoverableSnapshot& snapshot)
{
    const SnapshotInfo& info = snapshot.info;
    char when[32] = "";
    const time_t seconds = static_cast<time_t>(info.savedAt);
    struct tm local;
    if (localtime_r(&seconds, &local)) std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    return {info.projectName, info.originalPath, when, std::to_string(info.parts), std::to_string(info.motions)};
}

}  // namespace m3d
