#include "cli/TextureReport.h"

#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"

namespace m3d {

void WriteTextureProblems(JsonWriter& json, const std::vector<std::string>& problems)
{
    json.Key("textureProblems").BeginArray();
    for (const std::string& problem : problems) json.String(problem);
    json.EndArray();
}

void WriteImageSources(JsonWriter& json, const std::vector<ExportImageSource>& images)
{
    json.Key("imageSources").BeginArray();
    for (const ExportImageSource& image : images) {
        json.BeginObject();
        json.Key("file").String(image.file);
        json.Key("texture").String(image.texture);
        json.Key("source").String(image.source);
        json.Key("outsideFolders").Bool(image.outsideFolders);
        json.EndObject();
    }
    json.EndArray();
}

void PrintWarning(const std::string& text)
{
    if (!text.empty()) PrintFailure("warning: " + text);
}

}  // namespace m3d
