#include "anim/ExportReport.h"

#include "io/PathLookup.h"
#include "records/MeshRecords.h"
#include "scene/MessageLists.h"
#include "scene/Scene.h"
#include "text/UiText.h"

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

}  // namespace m3d
