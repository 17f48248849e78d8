#include "scene/ProjectFile.h"

#include "meshlib/TextureWriter.h"
#include "scene/Scene.h"
#include "text/ShiftJis.h"

#include <filesystem>
#include <system_error>

std::string WriteMissingTextures(Scene& scene, const std::string& directory)
{
    std::string errors;
    // The count is read again after every texture, as the list is the mesh manager's.
    for (int i = 0; i < scene.meshBase.GetTextureNum(); ++i) {
        _MESHBASE_TEXTURE* texture = scene.meshBase.GetTexture(i);
        if (!texture) continue;
        texture->name = AsciiLower(texture->name);
        // A name is a plain file name; one that would lead out of the folder is not written.
        if (texture->name.empty() || texture->name.find_first_of("/\\") != std::string::npos) continue;
        const std::string path = (directory.empty() ? std::string() : directory + "/") + texture->name;
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) continue;
        const std::optional<ImageFormat> format = ImageFormatFromName(texture->name);
        if (!format || texture->image.width == 0) continue;
        std::string error;
        if (!SaveTextureImage(texture->image, path, *format, error)) errors += error + "\n";
    }
    return errors;
}
