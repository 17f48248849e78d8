#include "anim/ExportReport.h"

#include "io/PathLookup.h"
#include "records/MeshRecords.h"
#include "scene/MessageLists.h"
#include "scene/Scene.h"
#include "text/UiText.h"

#include <charconv>
#include <cmath>

namespace m3d {

ExportImageSource ImageSourceOf(const Scene& scene, const _MESHBASE_TEXTURE& texture, const std::string& file)
{
    ExportImageSource image{file, texture.name, texture.source, false};
    if (!texture.insideModelFolder) {
        const std::string folder = DirectoryOf(scene.projectPath);
        image.outsideFolders =
            scene.projectPath.empty() || !IsInsideFolder(texture.source, CanonicalPath(folder.empty() ? "." : folder));
    }
    return image;
}

std::string ExportWarning(const std::vector<std::string>& textureProblems, const std::vector<ExportImageSource>& images)
{
    std::vector<std::string> outside;
    for (const ExportImageSource& image : images)
        if (image.outsideFolders) outside.push_back(image.source);
    std::string text;
    if (!textureProblems.empty())
        text = UiText("core", "次のテクスチャは使えなかったため、書き出していません:") + "\n" +
               FirstLines(textureProblems);
    if (!outside.empty())
        text += (text.empty() ? "" : "\n") +
                UiText("core", "次の画像は、モデルとプロジェクトのフォルダーの外から取り込みました:") + "\n" +
                FirstLines(outside);
    return text;
}

std::string ExportDoneMessage(const std::string& path, const std::string& warning)
{
    std::string text = WithArguments(UiText("core", "%1 に書き出しました。"), {path});
    if (!warning.empty()) text += "\n\n" + warning;
    return text;
}

ExportDialogStart ExportDialogStartOf(const Scene& scene, const std::string& rememberedDirectory,
                                      const std::string& extension)
{
    if (scene.projectPath.empty()) return {rememberedDirectory, {}};
    std::string name = FileNameOf(scene.projectPath);
    if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
    const std::string folder = DirectoryOf(scene.projectPath);
    return {folder.empty() ? std::string(".") : folder, name + extension};
}

std::string LengthScaleRefusal(float lengthScale)
{
    if (std::isfinite(lengthScale) && lengthScale > 0.0f) return {};
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, lengthScale);
    return WithArguments(UiText("core", "倍率: %1 は 0 より大きい数にしてください"), {std::string(text, written.ptr)});
}

}  // namespace m3d
