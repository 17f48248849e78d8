#pragma once

#include "io/Outcome.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace m3d {

// What a recovery snapshot says of itself: enough to list it without
// reading the rest.
struct SnapshotInfo {
    // The program that wrote it (IdentityToken): while that program runs,
    // the snapshot is its own and nothing to recover.
    std::string writer;
    // Which document of that program (one per New or open), so that its
    // snapshots can be counted and removed together.
    std::string documentId;
    // The project file the document belongs to; "" while untitled.
    std::string originalPath;
    // The name the title shows.
    std::string projectName;
    // When it was taken, in seconds since 1970.
    int64_t savedAt = 0;
    int32_t parts = 0;
    int32_t motions = 0;
    // The project file as it was when the document was last opened or
    // saved (size -1: there was none), so that a save after a restore can
    // tell whether someone changed it since.
    int64_t originalSize = -1;
    int64_t originalModified = 0;  // nanoseconds since 1970
};

// One Part's geometry in a snapshot.
struct SnapshotPart {
    // Index into DocumentSnapshot::meshes; -1 for a Part without a mesh.
    int32_t mesh = -1;
    // The folder its textures were read from, where they are found again.
    std::string textureFolder;
};

// A texture the meshes name, where a restore finds it again.
struct SnapshotTexture {
    std::string name;    // as the meshes name it
    std::string source;  // the file it was read from; "" for one that came inside a model
    // For one that came inside a model: the image as a PNG file; else null.
    std::shared_ptr<const std::string> png;
};

// A document as a project save would write it, in one file of ours: the
// project file, its side file and one .mesh file a geometry (Parts of one
// geometry share it), and where the textures are (those that came inside
// a model and are on no disk, whole).
struct DocumentSnapshot {
    SnapshotInfo info;
    std::string project;                                     // the .anm file's bytes
    std::string extras;                                      // the side file's text; "" for none
    std::vector<std::shared_ptr<const std::string>> meshes;  // .mesh files' bytes, never null
    std::vector<SnapshotTexture> textures;
    std::vector<SnapshotPart> parts;  // one a Part, in Part order
};

// The file name extension of snapshots.
constexpr std::string_view kSnapshotExtension = ".m3dsnap";

// The snapshot as a file: "M3DSNAP\n", a version, then sections (info,
// project, side file, meshes, textures, parts), each with its length and a digest of
// its bytes, so that the info can be checked without the rest. put receives
// the file's bytes in order (large ones as they are, uncopied).
void EmitSnapshot(const DocumentSnapshot& snapshot, const std::function<void(std::string_view)>& put);
std::string EncodeSnapshot(const DocumentSnapshot& snapshot);

// Reads a whole snapshot. Refused, naming path, the byte offset and the
// reason: another header or version, a section that is missing, repeated,
// out of order, cut short or whose digest does not match, a mesh index
// beyond the meshes, trailing bytes. What the project, side file and meshes
// hold is checked by their own readers when the snapshot is restored.
Outcome DecodeSnapshot(std::string_view bytes, const std::string& path, DocumentSnapshot& out);

// Reads the info only, from the first bytes of a snapshot (at least
// kSnapshotInfoBytes of it, or the whole file when shorter). Refused as
// DecodeSnapshot refuses.
Outcome DecodeSnapshotInfo(std::string_view head, const std::string& path, SnapshotInfo& out);
// The most a snapshot's header and info may take.
constexpr size_t kSnapshotInfoBytes = 64 * 1024;

}  // namespace m3d
