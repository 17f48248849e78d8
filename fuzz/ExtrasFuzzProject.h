#pragma once

// The project the side-file fuzzer applies its inputs to, shared with the
// seed maker so that the seeds name its size and checksum.
#include "scene/ProjectData.h"
#include "scene/ProjectFileFormat.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace m3d {

struct ExtrasFuzzProject : ProjectData {
    std::string bytes;  // the project file
};

// body > arm > hand and a leg, two Motions with keys at 0, 10 and 20 on every track.
inline ExtrasFuzzProject MakeExtrasFuzzProject()
{
    ExtrasFuzzProject project;
    project.parts = {{"body", -1, -1}, {"arm", 0, -1}, {"hand", 1, -1}, {"leg", 0, -1}};
    for (const char* name : {"walk", "wave"}) {
        Motion motion;
        motion.name = name;
        motion.length = 30;
        motion.tracks.resize(project.parts.size());
        for (MotionTrack& track : motion.tracks)
            for (int frame : {0, 10, 20}) track.keys.push_back({frame, Matrix4::Identity()});
        project.motions.push_back(std::move(motion));
    }
    const Expected<std::string> bytes = BuildProjectFile(project.parts, project.motions);
    if (!bytes) std::abort();
    project.bytes = *bytes;
    return project;
}

}  // namespace m3d
