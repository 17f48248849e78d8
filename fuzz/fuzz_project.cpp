// libFuzzer target for the project file reader: any bytes must give either a
// ProjectData that keeps its stated rules or a refusal with a message.
#include "scene/ModelRules.h"
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
        if (!IsValidParentIndex(part.parentIndex, i) || !IsValidPartnerIndex(part.symmetryIndex, partCount))
            std::abort();
    }
    for (const Motion& motion : project.motions)
        if (motion.name.empty() || !Validate(motion, partCount).empty()) std::abort();
    // What was accepted must be written back to the same bytes.
    const Expected<std::string> rebuilt = BuildProjectFile(project.parts, project.motions);
    if (!rebuilt) std::abort();
    ProjectData again;
    if (!ParseProjectFile(*rebuilt, "rebuilt.anm", again)) std::abort();
    if (again.parts.size() != project.parts.size() || again.motions.size() != project.motions.size()) std::abort();
    return 0;
}
