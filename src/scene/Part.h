#pragma once

#include "math/Matrix4.h"
#include "meshlib/CMesh.h"
#include "scene/JointLimit.h"
#include "scene/PartsTree.h"

#include <cstdint>
#include <memory>
#include <string>

namespace m3d {

// The next Part id: 1, 2, 3...; 0 stands for no Part.
uint64_t NewPartId();

// One loaded object of the model. Its index in Scene::parts is its identity
// everywhere (links, track order, file record order).
struct Part {
    // A number no other Part of this run has had, kept while the Part is
    // taken out and put back (undo and redo) or renumbered: what follows a
    // Part when its index changes (the key clipboard).
    uint64_t id = NewPartId();
    // The geometry, owned; null only for the root entry and while the Part is
    // being removed.
    std::unique_ptr<CMesh> mesh;
    // Index of the parent Part (always lower than the Part's own index), -1 for
    // a top-level Part; -2 marks a Part being removed and the root entry.
    int parentIndex = -1;
    // Index of the left/right partner, or -1.
    int symmetryIndex = -1;
    // The object file's name without folder, cut at its first '.' (UTF-8).
    // Names the Part's files.
    std::string baseName;
    // The name shown in the tree and the title; unique among the Parts when set.
    std::string displayName;
    // The Part's item in the parts tree.
    TreeItem treeItem = kNoTreeItem;
    // Rotation relative to the parent (row-vector convention). Its translation
    // row is not used for placement: localPosition is.
    Matrix4 localMatrix;
    // Position of the Part's origin in the parent's frame.
    Vec3 localPosition;
    // How the inverse-kinematics solvers may turn it (kept in the side file).
    JointLimit jointLimit;
};

// The name a Part gets from its object file: the file name without folder
// (either separator), cut at its first '.'.
std::string PartBaseNameOf(const std::string& path);

// Hands part's mesh (when it has one) a complete world matrix: its rotation
// and its translation row as the position.
void SetMeshWorld(Part& part, const Matrix4& world);

}  // namespace m3d
