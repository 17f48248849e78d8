#include "anim/GltfReferences.h"

#include "io/FileReading.h"

#include <nlohmann/json.hpp>

namespace {

// Far beyond the JSON of any model we write (its data is in the .bin).
constexpr size_t kMaxGltfJsonBytes = size_t(64) << 20;

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The file name a relative URI without folder stands for; "" for any other URI.
std::string PlainFileName(const std::string& uri)
{
    std::string name;
    for (size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '/' || uri[i] == ':' || uri[i] == '?' || uri[i] == '#') return std::string();
        if (uri[i] != '%') {
            name += uri[i];
            continue;
        }
        const int high = i + 2 < uri.size() ? HexValue(uri[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(uri[i + 2]) : -1;
        if (low < 0) return std::string();
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (name == "." || name == ".." || name.find_first_of(std::string("/\0", 2)) != std::string::npos)
        return std::string();
    return name;
}

}  // namespace

std::vector<std::string> GltfFilesNamedBy(const std::string& path)
{
    std::vector<std::string> names;
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, error, kMaxGltfJsonBytes)) return names;
    const nlohmann::json root = nlohmann::json::parse(bytes, nullptr, false);
    if (!root.is_object()) return names;
    for (const char* list : {"buffers", "images"}) {
        const auto found = root.find(list);
        if (found == root.end() || !found->is_array()) continue;
        for (const nlohmann::json& item : *found) {
            if (!item.is_object()) continue;
            const auto uri = item.find("uri");
            if (uri == item.end() || !uri->is_string()) continue;
            if (std::string name = PlainFileName(uri->get<std::string>()); !name.empty()) names.push_back(std::move(name));
        }
    }
    return names;
}
