#pragma once

#include "scene/ProjectData.h"
#include "scene/Scene.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace m3d {

// The mesh of one of a project's Parts, as its record finds it.
struct RecordMesh {
    // The object file, or what stands for it in messages; its folder becomes
    // where the next object file is looked for.
    std::string path;
    ObjectMesh object;
    // The Part's name when its record's would not read back as itself (a
    // name saved by earlier versions in a folded form): the storable form of
    // the found file's name.
    std::string fallbackBaseName;
};

// The mesh of record (the index-th); nullopt when there is none, with
// missing set to why (naming the file that was looked for).
using RecordMeshSource =
    std::function<std::optional<RecordMesh>(size_t index, const ProjectPartRecord& record, std::string& missing)>;

// What AssembleProject came to.
struct ProjectAssembly {
    // Every Part was made and every Motion taken.
    bool complete = false;
    // One line a Part whose mesh could not be read or was not found.
    std::vector<std::string> problems;
};

// Clears scene and builds it from data (a project as ParseProjectFile gives
// it): the Parts in order, each with the mesh meshOf gives, its record's
// name (unless that would not read back as itself), a display name no other
// Part has, its parent, partner and joint limit; then the Motions and the length unit. The
// scene is untitled throughout. When a Part has no mesh, building stops
// there, incomplete: the Parts made so far stay (partners beyond them are
// dropped) and no Motion is taken. The last Part made stays selected.
ProjectAssembly AssembleProject(Scene& scene, ProjectData data, const RecordMeshSource& meshOf);

}  // namespace m3d
