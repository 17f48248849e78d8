#include "anim/ExportXFile.h"

#include "anim/XFileContentBuilder.h"
#include "anim/XFileWriter.h"
#include "io/FileSetWriter.h"
#include "io/PathLookup.h"
#include "scene/RecoveryNotes.h"
#include "scene/SaveTargets.h"
#include "scene/Scene.h"
#include "scene/TextureOutput.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <algorithm>

namespace m3d {

const char* const kExportXCaption = QT_TRANSLATE_NOOP("core", "Export xfile");
const char* const kExportXNoParts = QT_TRANSLATE_NOOP("core", "オブジェクトが存在しない");
const char* const kExportXNoMotions = QT_TRANSLATE_NOOP("core", "モーションが存在しない");
const char* const kExportXCannotWrite = QT_TRANSLATE_NOOP("core", "ファイルが書き込めない");

const char* ExportXRefusal(const Scene& scene)
{
    if (scene.PartCount() == 0) return kExportXNoParts;
    if (scene.Motions().empty()) return kExportXNoMotions;
    return nullptr;
}

ExportXResult ExportXFile(Scene& scene, const std::string& path, int timeScaleFactor, UserPrompt& prompt,
                          float lengthScale)
{
    ExportXResult result;
    result.refused = true;
    if (const char* refusal = ExportXRefusal(scene)) {
        result.message = UiText("core", refusal);
        return result;
    }
    if (timeScaleFactor < kMinTimeScaleFactor || timeScaleFactor > kMaxTimeScaleFactor) {
        result.message = WithArguments(UiText("core", "Time Scale Factor: %1 から %2 までの整数を入力してください。"),
                                       {std::to_string(kMinTimeScaleFactor), std::to_string(kMaxTimeScaleFactor)});
        return result;
    }
    if (const std::string refusal = LengthScaleRefusal(lengthScale); !refusal.empty()) {
        result.message = refusal;
        return result;
    }
    // Textures are written only where no file is, so only the .x file may replace one.
    const std::vector<TextureOutput> textures = PlanMissingTextures(scene, DirectoryOf(path));
    std::vector<std::string> targets{path};
    for (const TextureOutput& texture : textures) targets.push_back(texture.path);
    const SaveTargetCheck check = CheckSaveTargets(targets);
    if (!check.refusal.empty()) {
        result.message = WriteFailureHeading(check.refusalErrorNumber, kExportXCannotWrite) + "\n" + check.refusal;
        return result;
    }
    if (!AskReplaceFiles({}, check.readOnly, UiText("core", kExportXCaption), prompt)) {
        result.message = ReadOnlyRefusal(check.readOnly);
        result.declined = true;
        return result;
    }
    result.refused = false;

    XFileContent content = BuildXFileContent(scene, timeScaleFactor);
    ScaleXFileContent(content, lengthScale);
    FileSetWriter set;
    FileSetOptions options;
    options.replaceReadOnly = true;  // asked about above
    Outcome written = StageTextures(textures, set, prompt.Progress());
    if (written)
        written = set.Add(
            path, [&content](FileSink& sink) { return WriteXFile(content, sink); }, options);
    if (written) written = set.Commit();
    ShowRecoveryNotes(set.Recoveries(), prompt);
    if (!written) {
        result.cancelled = written.Cancelled();
        if (!result.cancelled)
            result.message = WriteFailureHeading(written.ErrorNumber(), kExportXCannotWrite) + "\n" + written.Message();
        return result;
    }
    result.written = true;
    result.partCount = scene.PartCount();
    result.motionCount = scene.MotionCount();
    for (const XAnimationSet& animationSet : content.animationSets)
        for (const XAnimation& animation : animationSet.animations)
            result.animationKeyCount += static_cast<int>(animation.keys.size());
    for (const TextureOutput& texture : textures) {
        const std::vector<std::string>& kept = set.KeptExisting();
        if (std::find(kept.begin(), kept.end(), texture.path) == kept.end())
            result.images.push_back(ImageSourceOf(scene, *texture.texture, FileNameOf(texture.path)));
    }
    result.textureProblems = TextureProblemLines(PartTextureProblems(scene));
    return result;
}

}  // namespace m3d
