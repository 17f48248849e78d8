#include "anim/GltfReferences.h"

#include "io/FileReading.h"

#include <nlohmann/json.hpp>

namespace m3d {

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

// Collects the "uri" strings of the objects in the top-level arrays
// "buffers" and "images" as the parser meets them, keeping nothing else: a
// hostile file at the output's path costs its bytes and no tree of values.
class UriCollector : public nlohmann::json_sax<nlohmann::json> {
public:
    std::vector<std::string> uris;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool string(string_t& value) override
    {
        if (InListedObject() && lastKey == "uri") uris.push_back(value);
        return true;
    }
    bool start_object(std::size_t) override { return Open(true); }
    bool start_array(std::size_t) override { return Open(false); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(string_t& name) override
    {
        lastKey = name;
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    struct Level {
        bool object;
        bool listed;  // an array "buffers" or "images" of the root, or an object in one
    };
    std::vector<Level> levels;
    std::string lastKey;  // of the current object

    bool InListedObject() const { return levels.size() == 3 && levels.back().object && levels.back().listed; }
    bool Open(bool object)
    {
        const bool listed = (levels.size() == 1 && !object && (lastKey == "buffers" || lastKey == "images")) ||
                            (levels.size() == 2 && object && levels.back().listed);
        levels.push_back({object, listed});
        lastKey.clear();
        return true;
    }
    bool Close()
    {
        levels.pop_back();
        lastKey.clear();
        return true;
    }
};

}  // namespace

std::vector<std::string> GltfFilesNamedBy(const std::string& path)
{
    std::vector<std::string> names;
    const Expected<std::string> bytes = ReadWholeFile(path, kMaxGltfJsonBytes);
    if (!bytes) return names;
    UriCollector collector;
    if (!nlohmann::json::sax_parse(*bytes, &collector, nlohmann::json::input_format_t::json, false)) return names;
    for (const std::string& uri : collector.uris)
        if (std::string name = PlainFileName(uri); !name.empty()) names.push_back(std::move(name));
    return names;
}

}  // namespace m3d
