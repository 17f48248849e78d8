#include "foreign/ForeignFormats.h"

#include "text/ShiftJis.h"

#include <array>
#include <string_view>
#include <utility>

namespace m3d {

namespace {

// The endings, and who reads them. assimp's formats are the ones that hold
// meshes a rigid-part model is made of; its game-level and point-cloud
// formats stay out.
constexpr std::array<std::pair<const char*, ForeignReader>, 14> kEndings{{
    {".glb", ForeignReader::Gltf},
    {".gltf", ForeignReader::Gltf},
    {".obj", ForeignReader::Obj},
    {".fbx", ForeignReader::Assimp},
    {".dae", ForeignReader::Assimp},
    {".3ds", ForeignReader::Assimp},
    {".stl", ForeignReader::Assimp},
    {".ply", ForeignReader::Assimp},
    {".blend", ForeignReader::Assimp},
    {".lwo", ForeignReader::Assimp},
    {".lws", ForeignReader::Assimp},
    {".ase", ForeignReader::Assimp},
    {".off", ForeignReader::Assimp},
    {".x3d", ForeignReader::Assimp},
}};

}  // namespace

std::optional<ForeignReader> ForeignReaderOf(const std::string& path)
{
    const std::string lower = AsciiLower(path);
    for (const auto& [ending, reader] : kEndings) {
        const std::string_view e(ending);
        if (lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0) return reader;
    }
    return std::nullopt;
}

const char* ForeignFilePattern()
{
    static const std::string pattern = [] {
        std::string text;
        for (const auto& ending : kEndings) text += (text.empty() ? "*" : " *") + std::string(ending.first);
        return text;
    }();
    return pattern.c_str();
}

}  // namespace m3d
