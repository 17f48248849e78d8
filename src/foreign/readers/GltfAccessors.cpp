#include "foreign/readers/GltfAccessors.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

namespace m3d {

namespace {

// Components an accessor without a buffer view may ask for: it costs memory
// and no bytes of the file.
constexpr size_t kMostZeroFilled = size_t(1) << 26;

// Where the elements of an accessor (or of a sparse part of one) lie.
struct Elements {
    const unsigned char* data = nullptr;  // the first element
    size_t stride = 0;
    int componentType = 0;
    size_t componentBytes = 0;
    bool normalized = false;
};

size_t ComponentBytes(int componentType)
{
    switch (componentType) {
    case TINYGLTF_COMPONENT_TYPE_BYTE:
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return 1;
    case TINYGLTF_COMPONENT_TYPE_SHORT:
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: return 2;
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
    case TINYGLTF_COMPONENT_TYPE_FLOAT: return 4;
    default: return 0;
    }
}

int TypeOf(int components) { return components == 1 ? TINYGLTF_TYPE_SCALAR : components; }

const char* TypeName(int type)
{
    switch (type) {
    case TINYGLTF_TYPE_SCALAR: return "SCALAR";
    case TINYGLTF_TYPE_VEC2: return "VEC2";
    case TINYGLTF_TYPE_VEC3: return "VEC3";
    case TINYGLTF_TYPE_VEC4: return "VEC4";
    case TINYGLTF_TYPE_MAT2: return "MAT2";
    case TINYGLTF_TYPE_MAT3: return "MAT3";
    case TINYGLTF_TYPE_MAT4: return "MAT4";
    default: return "of no glTF type";
    }
}

// count elements of components components each, byteOffset into buffer view
// viewIndex; strided: the view's byteStride applies (not to sparse parts).
Outcome ElementsIn(const tinygltf::Model& model, const std::string& what, int viewIndex, size_t byteOffset,
                   size_t count, int componentType, int components, bool normalized, bool strided, Elements& out)
{
    out = {};
    out.componentType = componentType;
    out.componentBytes = ComponentBytes(componentType);
    out.normalized = normalized;
    if (out.componentBytes == 0)
        return Outcome::Failure(what + ": component type " + std::to_string(componentType) + " is not one glTF allows");
    if (viewIndex < 0 || size_t(viewIndex) >= model.bufferViews.size())
        return Outcome::Failure(what + ": buffer view " + std::to_string(viewIndex) + " does not exist");
    const tinygltf::BufferView& view = model.bufferViews[size_t(viewIndex)];
    if (view.buffer < 0 || size_t(view.buffer) >= model.buffers.size())
        return Outcome::Failure(what + ": buffer view " + std::to_string(viewIndex) + " names no buffer that exists");
    const std::vector<unsigned char>& buffer = model.buffers[size_t(view.buffer)].data;
    if (view.byteOffset > buffer.size() || view.byteLength > buffer.size() - view.byteOffset)
        return Outcome::Failure(what + ": buffer view " + std::to_string(viewIndex) +
                                " reaches past the end of buffer " + std::to_string(view.buffer));
    const size_t elementBytes = out.componentBytes * size_t(components);
    out.stride = strided && view.byteStride != 0 ? view.byteStride : elementBytes;
    if (out.stride < elementBytes)
        return Outcome::Failure(what + ": the stride of buffer view " + std::to_string(viewIndex) + " (" +
                                std::to_string(out.stride) + " bytes) is shorter than an element (" +
                                std::to_string(elementBytes) + " bytes)");
    if (count > 0 && (byteOffset > view.byteLength || elementBytes > view.byteLength - byteOffset ||
                      count - 1 > (view.byteLength - byteOffset - elementBytes) / out.stride))
        return Outcome::Failure(what + ": " + std::to_string(count) + " elements of " + std::to_string(elementBytes) +
                                " bytes every " + std::to_string(out.stride) + " bytes from byte " +
                                std::to_string(byteOffset) + " reach past the end of buffer view " +
                                std::to_string(viewIndex) + " (" + std::to_string(view.byteLength) + " bytes)");
    out.data = buffer.data() + view.byteOffset + byteOffset;
    return Outcome();
}

template <class Stored>
Stored Load(const unsigned char* bytes)
{
    Stored value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// An integer component as stored, or normalised by glTF's rules: c / max,
// and no lower than -1 for signed types.
template <class Stored>
double Integer(const unsigned char* bytes, bool normalized)
{
    const double c = Load<Stored>(bytes);
    if (!normalized) return c;
    const double largest = std::numeric_limits<Stored>::max();
    return std::is_signed_v<Stored> ? std::max(c / largest, -1.0) : c / largest;
}

// Component `component` of element `element`, exact for every type.
double ComponentAt(const Elements& e, size_t element, int component)
{
    const unsigned char* p = e.data + element * e.stride + size_t(component) * e.componentBytes;
    switch (e.componentType) {
    case TINYGLTF_COMPONENT_TYPE_BYTE: return Integer<int8_t>(p, e.normalized);
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return Integer<uint8_t>(p, e.normalized);
    case TINYGLTF_COMPONENT_TYPE_SHORT: return Integer<int16_t>(p, e.normalized);
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: return Integer<uint16_t>(p, e.normalized);
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: return Integer<uint32_t>(p, e.normalized);
    default: return Load<float>(p);
    }
}

// Puts the sparse values of accessor a (index `what` names) over out.
template <class T>
Outcome ApplySparse(const tinygltf::Model& model, const std::string& what, const tinygltf::Accessor& a, int components,
                    std::vector<T>& out)
{
    const auto& sparse = a.sparse;
    if (sparse.count < 1 || size_t(sparse.count) > a.count)
        return Outcome::Failure(what + ": a sparse count of " + std::to_string(sparse.count) + " for " +
                                std::to_string(a.count) + " elements");
    if (sparse.indices.byteOffset < 0 || sparse.values.byteOffset < 0)
        return Outcome::Failure(what + ": a negative byteOffset in its sparse part");
    const int indexType = sparse.indices.componentType;
    if (indexType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE && indexType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT &&
        indexType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT)
        return Outcome::Failure(what + ": its sparse indices are not of an unsigned integer type");
    const size_t count = size_t(sparse.count);
    Elements indices, values;
    if (Outcome found = ElementsIn(model, what + " (sparse indices)", sparse.indices.bufferView,
                                   size_t(sparse.indices.byteOffset), count, indexType, 1, false, false, indices);
        !found)
        return found;
    if (Outcome found =
            ElementsIn(model, what + " (sparse values)", sparse.values.bufferView, size_t(sparse.values.byteOffset),
                       count, a.componentType, components, a.normalized, false, values);
        !found)
        return found;
    for (size_t k = 0; k < count; ++k) {
        const double target = ComponentAt(indices, k, 0);
        if (target >= double(a.count))
            return Outcome::Failure(what + ": sparse index " + std::to_string(uint64_t(target)) + " is past its " +
                                    std::to_string(a.count) + " elements");
        for (int c = 0; c < components; ++c)
            out[size_t(target) * size_t(components) + size_t(c)] = static_cast<T>(ComponentAt(values, k, c));
    }
    return Outcome();
}

template <class T>
Outcome ReadElements(const tinygltf::Model& model, int index, int components, std::vector<T>& out)
{
    out.clear();
    const std::string what = "accessor " + std::to_string(index);
    if (index < 0 || size_t(index) >= model.accessors.size()) return Outcome::Failure(what + " does not exist");
    const tinygltf::Accessor& a = model.accessors[size_t(index)];
    if (a.type != TypeOf(components))
        return Outcome::Failure(what + " is " + TypeName(a.type) + " where " + TypeName(TypeOf(components)) +
                                " is expected");
    const size_t width = size_t(components);
    if (a.bufferView >= 0) {
        Elements elements;
        if (Outcome found = ElementsIn(model, what, a.bufferView, a.byteOffset, a.count, a.componentType, components,
                                       a.normalized, true, elements);
            !found)
            return found;
        out.resize(a.count * width);
        for (size_t i = 0; i < a.count; ++i)
            for (int c = 0; c < components; ++c)
                out[i * width + size_t(c)] = static_cast<T>(ComponentAt(elements, i, c));
    } else {
        if (ComponentBytes(a.componentType) == 0)
            return Outcome::Failure(what + ": component type " + std::to_string(a.componentType) +
                                    " is not one glTF allows");
        if (a.count > kMostZeroFilled / width)
            return Outcome::Failure(what + ": " + std::to_string(a.count) + " elements without a buffer view");
        out.assign(a.count * width, T(0));
    }
    if (a.sparse.isSparse) return ApplySparse(model, what, a, components, out);
    return Outcome();
}

}  // namespace

Outcome ReadGltfFloats(const tinygltf::Model& model, int index, int components, std::vector<float>& out)
{
    if (Outcome read = ReadElements(model, index, components, out); !read) return read;
    const auto bad = std::find_if(out.begin(), out.end(), [](float v) { return !std::isfinite(v); });
    if (bad != out.end())
        return Outcome::Failure("accessor " + std::to_string(index) + ": element " +
                                std::to_string(size_t(bad - out.begin()) / size_t(components)) +
                                " holds a value that is not a finite number");
    return Outcome();
}

Outcome ReadGltfIndices(const tinygltf::Model& model, int index, size_t vertexCount, std::vector<uint32_t>& out)
{
    out.clear();
    if (index >= 0 && size_t(index) < model.accessors.size()) {
        const tinygltf::Accessor& a = model.accessors[size_t(index)];
        const int type = a.componentType;
        if (a.normalized ||
            (type != TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE && type != TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT &&
             type != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT))
            return Outcome::Failure("accessor " + std::to_string(index) +
                                    " holds indices that are not unsigned integers");
    }
    if (Outcome read = ReadElements(model, index, 1, out); !read) return read;
    const auto bad = std::find_if(out.begin(), out.end(), [vertexCount](uint32_t v) { return v >= vertexCount; });
    if (bad != out.end())
        return Outcome::Failure("accessor " + std::to_string(index) + ": index " + std::to_string(*bad) + " (element " +
                                std::to_string(bad - out.begin()) + ") is past the " + std::to_string(vertexCount) +
                                " vertices");
    return Outcome();
}

}  // namespace m3d
