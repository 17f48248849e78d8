// libFuzzer target for the recovery snapshot reader: any bytes must give
// either a snapshot that lays out to the very same bytes or a refusal with a
// message; the info alone reads as the whole read gives it.
#include "scene/RecoverySnapshot.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace m3d;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    DocumentSnapshot snapshot;
    SnapshotInfo info;
    const Outcome head = DecodeSnapshotInfo(bytes.substr(0, kSnapshotInfoBytes), "fuzz.m3dsnap", info);
    if (const Outcome read = DecodeSnapshot(bytes, "fuzz.m3dsnap", snapshot); !read) {
        if (read.Message().empty()) std::abort();
        return 0;
    }
    if (!head || info.documentId != snapshot.info.documentId || info.savedAt != snapshot.info.savedAt) std::abort();
    for (const SnapshotPart& part : snapshot.parts)
        if (part.mesh >= static_cast<int32_t>(snapshot.meshes.size())) std::abort();
    if (EncodeSnapshot(snapshot) != bytes) std::abort();
    return 0;
}
