#include "anim/ExportXFile.h"

#include "anim/XFileContentBuilder.h"
#include "anim/XFileWriter.h"
#include "io/AtomicFile.h"
#include "io/PathLookup.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"

const char* const EXPORT_X_CAPTION = "Export xfile";
const char* const EXPORT_X_NO_PARTS = "オブジェクトが存在しない";
const char* const EXPORT_X_NO_MOTIONS = "モーションが存在しない";
const char* const EXPORT_X_CANNOT_WRITE = "ファイルが書き込めない";

const char* ExportXRefusal(const Scene& scene)
{
    if (scene.PartCount() == 0) return EXPORT_X_NO_PARTS;
    if (scene.motions.empty()) return EXPORT_X_NO_MOTIONS;
    return nullptr;
}

ExportXResult ExportXFile(Scene& scene, const std::string& path, int timeScaleFactor, bool replaceReadOnly)
{
    ExportXResult result;
    result.refused = true;
    if (const char* refusal = ExportXRefusal(scene)) {
        result.message = refusal;
        return result;
    }
    if (timeScaleFactor < MIN_TIME_SCALE_FACTOR || timeScaleFactor > MAX_TIME_SCALE_FACTOR) {
        result.message = "Time Scale Factor: " + std::to_string(MIN_TIME_SCALE_FACTOR) + " から " +
                         std::to_string(MAX_TIME_SCALE_FACTOR) + " までの整数を入力してください。";
        return result;
    }
    result.refused = false;
    const XFileContent content = BuildXFileContent(scene, timeScaleFactor);
    std::string error;
    AtomicWriteOptions options;
    options.replaceReadOnly = replaceReadOnly;
    if (!WriteFileAtomically(
            path, [&content](FileSink& sink) { return WriteXFile(content, sink); }, error, options)) {
        result.message = std::string(EXPORT_X_CANNOT_WRITE) + "\n" + error;
        return result;
    }
    result.written = true;
    result.partCount = scene.PartCount();
    result.motionCount = static_cast<int>(scene.motions.size());
    for (const XAnimationSet& set : content.animationSets)
        for (const XAnimation& animation : set.animations)
            result.animationKeyCount += static_cast<int>(animation.keys.size());

    // Textures that cannot be written are reported, but the file stands.
    result.textureErrors = WriteMissingTextures(scene, DirectoryOf(path));
    return result;
}
