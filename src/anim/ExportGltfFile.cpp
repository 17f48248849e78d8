#include "anim/ExportGltfFile.h"

#include "anim/ExportXFile.h"
#include "anim/GltfDocument.h"
#include "anim/GltfReferences.h"
#include "io/FileSetWriter.h"
#include "io/PathLookup.h"
#include "io/TaskProgress.h"
#include "meshlib/TextureWriter.h"
#include "records/TextureImage.h"
#include "scene/RecoveryNotes.h"
#include "scene/SaveTargets.h"
#include "scene/Scene.h"
#include "scene/TextureOutput.h"
#include "scene/UserPrompt.h"
#include "text/ShiftJis.h"
#include "text/UiText.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace m3d {

const char* const kExportGltfCaption = QT_TRANSLATE_NOOP("core", "glTF出力");

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

std::string SidePath(const std::string& folder, const std::string& name)
{
    return folder.empty() ? name : folder + "/" + name;
}

// The side files that exist and that the .gltf at path, about to be
// replaced, does not name: files nobody has chosen to replace.
std::vector<std::string> ForeignSideFiles(const std::string& path, const std::vector<std::string>& existing)
{
    const std::vector<std::string> owned = GltfFilesNamedBy(path);
    std::vector<std::string> foreign;
    for (const std::string& file : existing)
        if (file != path && std::find(owned.begin(), owned.end(), FileNameOf(file)) == owned.end())
            foreign.push_back(file);
    return foreign;
}

// Writes the side files (images encoded now) and the main file into set; a
// failure names the file (a Cancellation when progress asked to stop).
Outcome StageFiles(const GltfDocument& document, const std::string& folder, const std::string& path,
                   const std::string& mainBytes, TaskProgress* progress, FileSetWriter& set)
{
    uint64_t rows = 0;
    for (const GltfSideFile& file : document.sideFiles)
        if (file.image) rows += uint64_t(file.image->height);
    ProgressSteps steps(progress, rows);
    FileSetOptions options;
    options.replaceReadOnly = true;  // asked about above
    rows = 0;
    for (const GltfSideFile& file : document.sideFiles) {
        const std::string sidePath = SidePath(folder, file.name);
        if (!file.image) {
            if (Outcome added = set.Add(sidePath, file.bytes, options); !added) return added;
            continue;
        }
        steps.StartAt(rows);
        const Expected<std::string> png = EncodeTextureImage(*file.image, ImageFormat::Png, &steps);
        if (!png) return steps.FailureOf(sidePath, png.Message());
        if (Outcome added = set.Add(sidePath, *png, options); !added) return added;
        rows += uint64_t(file.image->height);
    }
    return set.Add(path, mainBytes, options);
}

}  // namespace

const char* ExportGltfRefusal(const Scene& scene) { return scene.PartCount() == 0 ? kExportXNoParts : nullptr; }

ExportGltfResult ExportGltfFile(Scene& scene, const std::string& path, int framesPerSecond, UserPrompt& prompt,
                                const GltfChoices& choices)
{
    ExportGltfResult result;
    result.refused = true;
    if (const char* refusal = ExportGltfRefusal(scene)) {
        result.message = UiText("core", refusal);
        return result;
    }
    const std::string lower = AsciiLower(path);
    const bool binary = EndsWith(lower, ".glb");
    if (!binary && !EndsWith(lower, ".gltf")) {
        result.message = WithArguments(UiText("core", "%1: 拡張子は .gltf か .glb にしてください"), {path});
        return result;
    }
    if (framesPerSecond < 1) {
        result.message =
            WithArguments(UiText("core", "frame/sec: %1 は 1 以上にしてください"), {std::to_string(framesPerSecond)});
        return result;
    }
    if (const std::string refusal = LengthScaleRefusal(choices.lengthScale); !refusal.empty()) {
        result.message = refusal;
        return result;
    }

    // Every target is known before anything is encoded or written: the
    // images of a .gltf are encoded only as they are written.
    const std::string folder = DirectoryOf(path);
    std::string stem = FileNameOf(path);
    stem.resize(stem.size() - (binary ? 4 : 5));
    GltfDocument document;
    if (!binary) document = BuildGltfDocument(scene, GltfLayout::Separate, stem, framesPerSecond, nullptr, choices);
    std::vector<std::string> targets{path};
    for (const GltfSideFile& file : document.sideFiles) targets.push_back(SidePath(folder, file.name));
    const SaveTargetCheck check = CheckSaveTargets(targets);
    if (!check.refusal.empty()) {
        result.message = WriteFailureHeading(check.refusalErrorNumber, kExportXCannotWrite) + "\n" + check.refusal;
        return result;
    }
    const std::vector<std::string> foreign = ForeignSideFiles(path, check.existing);
    if (!AskReplaceFiles(foreign, check.readOnly, UiText("core", kExportGltfCaption), prompt)) {
        result.message = ReplaceRefusal(foreign, check.readOnly);
        result.declined = true;
        return result;
    }
    result.refused = false;

    TaskProgress* progress = prompt.Progress();
    std::string mainBytes;
    if (binary) {
        document = BuildGltfDocument(scene, GltfLayout::Binary, stem, framesPerSecond, progress, choices);
        if (document.cancelled) {
            result.cancelled = true;
            return result;
        }
        // The container counts its length in 32 bits.
        if (document.json.size() + document.binary.size() + 32 > std::numeric_limits<uint32_t>::max()) {
            result.message = WithArguments(UiText("core", "%1: ファイルが書き込めない (4 GiB を超える)"), {path});
            return result;
        }
        mainBytes = PackGlb(document.json, document.binary);
    } else {
        mainBytes = std::move(document.json);
    }
    FileSetWriter set;
    Outcome written = StageFiles(document, folder, path, mainBytes, progress, set);
    if (written) written = set.Commit();
    ShowRecoveryNotes(set.Recoveries(), prompt);
    if (!written) {
        result.cancelled = written.Cancelled();
        if (!result.cancelled)
            result.message = WriteFailureHeading(written.ErrorNumber(), kExportXCannotWrite) + "\n" + written.Message();
        return result;
    }
    result.written = true;
    result.sideFileCount = static_cast<int>(document.sideFiles.size());
    result.partCount = scene.PartCount();
    result.motionCount = document.animationCount;
    result.meshCount = document.meshCount;
    result.imageCount = document.imageCount;
    result.baked = document.baked;
    for (const GltfImageOrigin& origin : document.imageOrigins)
        result.images.push_back(ImageSourceOf(scene, *scene.MeshBase().GetTexture(origin.texture), origin.file));
    std::vector<const _MESHBASE_TEXTURE*> withoutImage;
    for (int index : document.texturesWithoutImage) withoutImage.push_back(scene.MeshBase().GetTexture(index));
    result.textureProblems = TextureProblemLines(withoutImage);
    return result;
}

}  // namespace m3d
