#include "foreign/readers/GltfDocumentLoad.h"

#include "foreign/readers/GlbContainer.h"
#include "foreign/readers/GltfPreflight.h"
#include "io/FileReading.h"

#include <algorithm>
#include <filesystem>
#include <limits>

namespace m3d {

namespace {

std::string Normalised(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

// The largest buffer file read (the library counts its bytes in an unsigned int).
constexpr size_t kMaxBufferFileBytes = std::numeric_limits<unsigned int>::max();

bool AllowedFileExists(const std::string& path, void* userData)
{
    const auto& allowed = static_cast<const GltfPreflight*>(userData)->bufferFiles;
    return std::find(allowed.begin(), allowed.end(), Normalised(path)) != allowed.end();
}

std::string PathAsGiven(const std::string& path, void*) { return path; }

bool ReadAllowedFile(std::vector<unsigned char>* out, std::string* err, const std::string& path, void* userData)
{
    if (!AllowedFileExists(path, userData)) {
        if (err) *err += path + ": not a file the model may name";
        return false;
    }
    const Expected<std::string> bytes =
        ReadNamedFile(static_cast<const GltfPreflight*>(userData)->folder, path, kMaxBufferFileBytes);
    if (!bytes) {
        if (err) *err += bytes.Message();
        return false;
    }
    out->assign(bytes->begin(), bytes->end());
    return true;
}

bool WriteNothing(std::string* err, const std::string&, const std::vector<unsigned char>&, void*)
{
    if (err) *err += "nothing is written while reading";
    return false;
}

// Keeps an embedded image's bytes as they are, to be decoded with the textures.
bool KeepEncodedImage(tinygltf::Image* image, const int, std::string*, std::string*, int, int,
                      const unsigned char* bytes, int size, void*)
{
    if (size < 0) return false;
    image->image.assign(bytes, bytes + size);
    image->as_is = true;
    return true;
}

// The library's messages end every sentence with a line break and may quote
// a whole data URI: one line here, cut short.
std::string OneLine(std::string text)
{
    constexpr size_t kLongest = 300;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    std::replace(text.begin(), text.end(), '\n', ';');
    if (text.size() > kLongest) {
        size_t cut = kLongest;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
        text = text.substr(0, cut) + "...";
    }
    return text.empty() ? "it is not a glTF document the library can parse" : text;
}

}  // namespace

Outcome LoadGltfDocument(const std::string& bytes, const std::string& folder, tinygltf::Model& model)
{
    model = {};
    const bool binary = IsGlb(bytes);
    GlbChunks chunks;
    if (binary) {
        if (Outcome split = SplitGlb(bytes, chunks); !split) return split;
    } else {
        chunks.json = bytes;
    }
    if (bytes.size() > std::numeric_limits<unsigned int>::max()) return Outcome::Failure("larger than 4 GiB");
    const std::string base = folder.empty() ? "." : folder;
    GltfPreflight preflight;
    if (Outcome checked =
            CheckGltfJson(chunks.json, base, binary,
                          chunks.hasBin ? std::optional<size_t>(chunks.bin.size()) : std::nullopt, preflight);
        !checked)
        return checked;

    tinygltf::TinyGLTF loader;
    loader.SetFsCallbacks({&AllowedFileExists, &PathAsGiven, &ReadAllowedFile, &WriteNothing, &preflight});
    loader.SetImageLoader(&KeepEncodedImage, nullptr);
    std::string error, warning;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto size = static_cast<unsigned int>(bytes.size());
    const bool loaded = binary ? loader.LoadBinaryFromMemory(&model, &error, &warning, data, size, base)
                               : loader.LoadASCIIFromString(&model, &error, &warning, bytes.data(), size, base);
    if (!loaded) {
        model = {};
        return Outcome::Failure(OneLine(error));
    }
    return Outcome();
}

}  // namespace m3d
