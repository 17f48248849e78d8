#include "foreign/readers/GltfPreflight.h"

#include "foreign/ForeignModel.h"
#include "foreign/readers/GltfUri.h"
#include "foreign/readers/MessageText.h"
#include "io/FileReading.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <limits>

namespace m3d {

namespace {

using nlohmann::json;

// Extensions whose data the accessor reading understands as it is.
constexpr const char* kHandledExtensions[] = {"KHR_mesh_quantization"};

// Integers above this are no exact doubles: no byte count of a real file.
constexpr uint64_t kLargestCount = uint64_t(1) << 53;

// The whole number at key of object (fallback when it is absent), or nullopt
// when it is there but no whole number from 0 to kLargestCount.
std::optional<uint64_t> Count(const json& object, const char* key, uint64_t fallback)
{
    const auto found = object.find(key);
    if (found == object.end()) return fallback;
    if (found->is_number_unsigned()) {
        const uint64_t value = found->get<uint64_t>();
        if (value <= kLargestCount) return value;
    }
    return std::nullopt;
}

// The index at key of object (-1 when absent), or nullopt when it is no index below size.
std::optional<int64_t> IndexIn(const json& object, const char* key, size_t size)
{
    const auto found = object.find(key);
    if (found == object.end()) return -1;
    if (!found->is_number_unsigned() || found->get<uint64_t>() >= size) return std::nullopt;
    return static_cast<int64_t>(found->get<uint64_t>());
}

const json& ArrayAt(const json& root, const char* key)
{
    static const json kEmpty = json::array();
    const auto found = root.find(key);
    return found != root.end() && found->is_array() ? *found : kEmpty;
}

Outcome CheckRequiredExtensions(const json& root)
{
    for (const json& name : ArrayAt(root, "extensionsRequired")) {
        if (!name.is_string()) return Outcome::Failure("extensionsRequired holds something that is no name");
        const std::string extension = name.get<std::string>();
        bool handled = false;
        for (const char* known : kHandledExtensions) handled = handled || extension == known;
        if (!handled)
            return Outcome::Failure("it requires the extension " + Shown(extension) +
                                    ", which this program does not read");
    }
    return Outcome();
}

// The byteLength of every buffer, its file added to out.
Outcome CheckBuffers(const json& root, const std::string& folder, bool binary, std::optional<size_t> binBytes,
                     std::vector<uint64_t>& lengths, GltfPreflight& out)
{
    const json& buffers = ArrayAt(root, "buffers");
    for (size_t b = 0; b < buffers.size(); ++b) {
        const std::string label = "buffer " + std::to_string(b);
        const json& buffer = buffers[b];
        if (!buffer.is_object()) return Outcome::Failure(label + " is not a JSON object");
        const std::optional<uint64_t> length = Count(buffer, "byteLength", 0);
        if (!length || *length == 0) return Outcome::Failure(label + " has no valid byteLength");
        lengths.push_back(*length);
        const auto uri = buffer.find("uri");
        if (uri == buffer.end()) {
            if (!binary) return Outcome::Failure(label + " names no file (it has no uri)");
            if (b != 0 || !binBytes) return Outcome::Failure(label + " has no uri and there is no BIN chunk for it");
            if (*length > *binBytes)
                return Outcome::Failure(label + " says " + std::to_string(*length) + " bytes, the BIN chunk holds " +
                                        std::to_string(*binBytes));
            continue;
        }
        if (!uri->is_string()) return Outcome::Failure(label + ": its uri is not a string");
        const std::string text = uri->get<std::string>();
        if (IsDataUri(text)) continue;
        const std::string name = DecodeUri(text);
        const std::string shown = Shown(name);
        if (!StaysInModelFolder(name))
            return Outcome::Failure(label + " names the file '" + shown +
                                    "', which is not in the model's folder (only files beside the model are read)");
        const std::string file = (std::filesystem::path(folder) / name).lexically_normal().string();
        std::error_code ec;
        if (!std::filesystem::exists(file, ec))
            return Outcome::Failure(label + " names the file '" + shown + "', which is not there (looked for " +
                                    Shown(file) + ")");
        if (const std::string reason = NotRegularFileReason(file); !reason.empty())
            return Outcome::Failure(label + " names the file '" + shown + "': " + Shown(reason));
        out.bufferFiles.push_back(file);
    }
    return Outcome();
}

Outcome CheckBufferViews(const json& root, const std::vector<uint64_t>& bufferLengths)
{
    const json& views = ArrayAt(root, "bufferViews");
    for (size_t v = 0; v < views.size(); ++v) {
        const std::string label = "buffer view " + std::to_string(v);
        const json& view = views[v];
        if (!view.is_object()) return Outcome::Failure(label + " is not a JSON object");
        const std::optional<int64_t> buffer = IndexIn(view, "buffer", bufferLengths.size());
        if (!buffer || *buffer < 0) return Outcome::Failure(label + " names no buffer that exists");
        const std::optional<uint64_t> offset = Count(view, "byteOffset", 0);
        const std::optional<uint64_t> length = Count(view, "byteLength", 0);
        if (!offset || !length || *length == 0)
            return Outcome::Failure(label + " has no valid byteOffset and byteLength");
        const uint64_t available = bufferLengths[size_t(*buffer)];
        if (*offset > available || *length > available - *offset)
            return Outcome::Failure(label + " (bytes " + std::to_string(*offset) + " to " +
                                    std::to_string(*offset + *length) + ") reaches past the end of buffer " +
                                    std::to_string(*buffer) + " (" + std::to_string(available) + " bytes)");
    }
    return Outcome();
}

Outcome CheckImages(const json& root)
{
    const json& images = ArrayAt(root, "images");
    const json& views = ArrayAt(root, "bufferViews");
    for (size_t i = 0; i < images.size(); ++i) {
        if (!images[i].is_object()) return Outcome::Failure("image " + std::to_string(i) + " is not a JSON object");
        const std::optional<int64_t> view = IndexIn(images[i], "bufferView", views.size());
        if (!view) return Outcome::Failure("image " + std::to_string(i) + " names a buffer view that does not exist");
        // The library hands the view's bytes on with an int count.
        if (*view >= 0 &&
            Count(views[size_t(*view)], "byteLength", 0).value_or(0) > uint64_t(std::numeric_limits<int>::max()))
            return Outcome::Failure("image " + std::to_string(i) + " is larger than 2 GiB");
    }
    return Outcome();
}

}  // namespace

Outcome CheckGltfJson(std::string_view text, const std::string& folder, bool binary, std::optional<size_t> binBytes,
                      GltfPreflight& out)
{
    out = {};
    out.folder = folder;
    const json root = json::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded()) return Outcome::Failure("its JSON cannot be read (a syntax error)");
    if (!root.is_object()) return Outcome::Failure("its JSON is not an object");
    if (Outcome extensions = CheckRequiredExtensions(root); !extensions) return extensions;
    // Before the library builds a node of each: a model too large for a project costs no more.
    if (const size_t nodes = ArrayAt(root, "nodes").size(); nodes > kMaxModelNodes)
        return Outcome::Failure(TooManyNodesReason(nodes));
    std::vector<uint64_t> lengths;
    if (Outcome buffers = CheckBuffers(root, folder, binary, binBytes, lengths, out); !buffers) return buffers;
    if (Outcome views = CheckBufferViews(root, lengths); !views) return views;
    return CheckImages(root);
}

}  // namespace m3d
