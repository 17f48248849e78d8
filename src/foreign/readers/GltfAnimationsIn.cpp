#include "foreign/readers/GltfAccessors.h"
#include "foreign/readers/GltfImport.h"

#include <optional>

namespace m3d {

namespace {

std::optional<ForeignPath> PathOf(const std::string& path)
{
    if (path == "translation") return ForeignPath::Translation;
    if (path == "rotation") return ForeignPath::Rotation;
    if (path == "scale") return ForeignPath::Scale;
    return std::nullopt;
}

std::optional<ForeignInterpolation> InterpolationOf(const std::string& name)
{
    if (name == "LINEAR") return ForeignInterpolation::Linear;
    if (name == "STEP") return ForeignInterpolation::Step;
    if (name == "CUBICSPLINE") return ForeignInterpolation::CubicSpline;
    return std::nullopt;
}

// The keys of sampler into channel (its node, path and interpolation set).
Outcome ReadKeys(const tinygltf::Model& model, const tinygltf::AnimationSampler& sampler, ForeignChannel& channel)
{
    if (Outcome read = ReadGltfFloats(model, sampler.input, 1, channel.times); !read)
        return Outcome::Failure("times: " + read.Message());
    if (channel.times.empty()) return Outcome::Failure("it has no keys");
    for (size_t k = 1; k < channel.times.size(); ++k)
        if (!(channel.times[k] > channel.times[k - 1]))
            return Outcome::Failure("its times are not strictly ascending (key " + std::to_string(k) + " at " +
                                    std::to_string(channel.times[k]) + " s after " +
                                    std::to_string(channel.times[k - 1]) + " s)");
    const int components = ForeignComponents(channel.path);
    if (Outcome read = ReadGltfFloats(model, sampler.output, components, channel.values); !read)
        return Outcome::Failure("values: " + read.Message());
    const size_t perKey = channel.interpolation == ForeignInterpolation::CubicSpline ? 3 : 1;
    const size_t groups = channel.values.size() / size_t(components);
    if (groups != channel.times.size() * perKey)
        return Outcome::Failure(std::to_string(groups) + " values for " + std::to_string(channel.times.size()) +
                                " keys" + (perKey == 3 ? " (a cubic spline has three per key)" : ""));
    return Outcome();
}

}  // namespace

Outcome ImportGltfAnimations(GltfImport& import)
{
    const tinygltf::Model& model = import.model;
    for (size_t a = 0; a < model.animations.size(); ++a) {
        const tinygltf::Animation& source = model.animations[a];
        const std::string label = Label("animation", a, source.name);
        ForeignAnimation animation;
        animation.name = source.name;
        for (size_t c = 0; c < source.channels.size(); ++c) {
            const tinygltf::AnimationChannel& ch = source.channels[c];
            const std::string where = label + ", channel " + std::to_string(c) + ": ";
            if (ch.sampler < 0 || size_t(ch.sampler) >= source.samplers.size())
                return Outcome::Failure(where + "sampler " + std::to_string(ch.sampler) + " does not exist");
            if (ch.target_node < 0) {
                Note(import, "channels of " + label + " that animate no node");
                continue;
            }
            if (size_t(ch.target_node) >= model.nodes.size())
                return Outcome::Failure(where + "node " + std::to_string(ch.target_node) + " does not exist");
            const std::optional<ForeignPath> path = PathOf(ch.target_path);
            if (!path) {
                Note(import,
                     (ch.target_path == "weights" ? std::string("morph weights") : "'" + Shown(ch.target_path) + "'") +
                         " animated in " + label);
                continue;
            }
            // Nodes outside the scene are not brought over, nor what moves them.
            if (import.nodeOf[size_t(ch.target_node)] < 0) continue;
            const tinygltf::AnimationSampler& sampler = source.samplers[size_t(ch.sampler)];
            const std::optional<ForeignInterpolation> interpolation = InterpolationOf(sampler.interpolation);
            if (!interpolation)
                return Outcome::Failure(where + "interpolation '" + Shown(sampler.interpolation) +
                                        "' is not one of glTF's");
            ForeignChannel channel;
            channel.node = import.nodeOf[size_t(ch.target_node)];
            channel.path = *path;
            channel.interpolation = *interpolation;
            if (Outcome keys = ReadKeys(model, sampler, channel); !keys)
                return Outcome::Failure(where + keys.Message());
            animation.channels.push_back(std::move(channel));
        }
        if (!animation.channels.empty()) import.out.animations.push_back(std::move(animation));
    }
    return Outcome();
}

}  // namespace m3d
