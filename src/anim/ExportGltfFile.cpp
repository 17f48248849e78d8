#include "anim/ExportGltfFile.h"

#include "anim/ExportXFile.h"
#include "anim/GltfDocument.h"
#include "io/AtomicFile.h"
#include "io/PathLookup.h"
#include "scene/Scene.h"
#include "text/ShiftJis.h"

#include <cstdint>
#include <limits>

const char* const EXPORT_GLTF_CAPTION = "glTF出力";

namespace {

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void PutUint32(std::string& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((v >> shift) & 0xff);
}

// The binary container: a 12-byte header, the JSON chunk padded with spaces
// and the BIN chunk (already padded to 4 bytes), when there is one.
std::string PackGlb(std::string json, const std::string& binary)
{
    json.append((4 - json.size() % 4) % 4, ' ');
    const size_t total = 12 + 8 + json.size() + (binary.empty() ? 0 : 8 + binary.size());
    std::string out;
    out.reserve(total);
    PutUint32(out, 0x46546C67);  // "glTF"
    PutUint32(out, 2);
    PutUint32(out, static_cast<uint32_t>(total));
    PutUint32(out, static_cast<uint32_t>(json.size()));
    PutUint32(out, 0x4E4F534A);  // "JSON"
    out += json;
    if (!binary.empty()) {
        PutUint32(out, static_cast<uint32_t>(binary.size()));
        PutUint32(out, 0x004E4942);  // "BIN"
        out += binary;
    }
    return out;
}

}  // namespace

const char* ExportGltfRefusal(const Scene& scene)
{
    return scene.PartCount() == 0 ? EXPORT_X_NO_PARTS : nullptr;
}

ExportGltfResult ExportGltfFile(Scene& scene, const std::string& path, int framesPerSecond, bool replaceReadOnly)
{
    ExportGltfResult result;
    result.refused = true;
    if (const char* refusal = ExportGltfRefusal(scene)) {
        result.message = refusal;
        return result;
    }
    const std::string lower = AsciiLower(path);
    const bool binary = EndsWith(lower, ".glb");
    if (!binary && !EndsWith(lower, ".gltf")) {
        result.message = path + ": 拡張子は .gltf か .glb にしてください";
        return result;
    }
    if (framesPerSecond < 1) {
        result.message = "frame/sec: " + std::to_string(framesPerSecond) + " は 1 以上にしてください";
        return result;
    }
    result.refused = false;

    const std::string folder = DirectoryOf(path);
    std::string stem = FileNameOf(path);
    stem.resize(stem.size() - (binary ? 4 : 5));
    const GltfDocument document =
        BuildGltfDocument(scene, binary ? GltfLayout::Binary : GltfLayout::Separate, stem, framesPerSecond);
    std::string error;
    AtomicWriteOptions options;
    options.replaceReadOnly = replaceReadOnly;
    if (binary) {
        // The container counts its length in 32 bits.
        if (document.json.size() + document.binary.size() + 32 > std::numeric_limits<uint32_t>::max()) {
            result.message = path + ": " + EXPORT_X_CANNOT_WRITE + " (4 GiB を超える)";
            return result;
        }
        if (!WriteFileAtomically(path, PackGlb(document.json, document.binary), error, options)) {
            result.message = std::string(EXPORT_X_CANNOT_WRITE) + "\n" + error;
            return result;
        }
    } else {
        for (const GltfSideFile& file : document.sideFiles) {
            const std::string sidePath = folder.empty() ? file.name : folder + "/" + file.name;
            if (!WriteFileAtomically(sidePath, file.bytes, error, options)) {
                result.message = std::string(EXPORT_X_CANNOT_WRITE) + "\n" + error;
                return result;
            }
        }
        if (!WriteFileAtomically(path, document.json, error, options)) {
            result.message = std::string(EXPORT_X_CANNOT_WRITE) + "\n" + error;
            return result;
        }
        result.sideFileCount = static_cast<int>(document.sideFiles.size());
    }
    result.written = true;
    result.partCount = scene.PartCount();
    result.motionCount = document.animationCount;
    result.meshCount = document.meshCount;
    result.imageCount = document.imageCount;
    return result;
}
