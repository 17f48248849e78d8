// libFuzzer target for the project file reader: any bytes must give either a
// ProjectData that keeps its stated rules or a refusal with a message.
#include "scene/ProjectFileFormat.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace m3d;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ProjectData project;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const Outcome parsed = ParseProjectFile(bytes, "fuzz.anm", project); !parsed) {
        if (parsed.Message().empty()) std::abort();
        return 0;
    }
    const int partCount = static_cast<int>(project.parts.size());
    for (int i = 0; i < partCount; ++i) {
        const ProjectPartRecord& part = project.parts[i];
        if (part.parentIndex < -1 || part.parentIndex >= i) std::abort();
        if (part.symmetryIndex < -1 || part.symmetryIndex >= partCount) std::abort();
    }
    for (const Motion& motion : project.motions) {
        if (motion.name.empty() || motion.tracks.size() != project.parts.size()) std::abort();
        for (const MotionTrack& track : motion.tracks) {
            if (track.keys.empty() || track.keys[0].frame != 0) std::abort();
            for (size_t k = 1; k < track.keys.size(); ++k)
                if (track.keys[k].frame <= track.keys[k - 1].frame) std::abort();
        }
    }
    // What was accepted must be written back to the same bytes.
    const Expected<std::string> rebuilt = BuildProjectFile(project.parts, project.motions);
    if (!rebuilt) std::abort();
    ProjectData again;
    if (!ParseProjectFile(*rebuilt, "rebuilt.anm", again)) std::abort();
    if (again.parts.size() != project.parts.size() || again.motions.size() != project.motions.size()) std::abort();
    return 0;
}
