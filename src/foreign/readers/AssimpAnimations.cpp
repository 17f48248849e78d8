#include "foreign/readers/AssimpAnimations.h"

#include "foreign/readers/AssimpTransform.h"
#include "foreign/readers/DroppedNotes.h"

#include <assimp/anim.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <utility>

namespace m3d {

namespace {

constexpr double kDefaultTicksPerSecond = 25.0;

// Keys of one path, checked: times in seconds, strictly ascending.
template <class Value>
struct Keys {
    std::vector<float> times;
    std::vector<Value> values;
};

struct NodeKeys {
    Keys<aiVector3D> position;
    Keys<aiQuaternion> rotation;
    Keys<aiVector3D> scale;
};

bool Finite(const aiVector3D& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool Finite(const aiQuaternion& q)
{
    return std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w);
}

aiVector3D Blend(const aiVector3D& a, const aiVector3D& b, float t) { return a + (b - a) * t; }
aiQuaternion Blend(const aiQuaternion& a, const aiQuaternion& b, float t)
{
    aiQuaternion out;
    aiQuaternion::Interpolate(out, a, b, t);  // the shorter arc
    return out.Normalize();
}

bool Near(float a, float b) { return std::fabs(a - b) <= 1e-5f * std::max({1.0f, std::fabs(a), std::fabs(b)}); }
bool Near(const aiVector3D& a, const aiVector3D& b) { return Near(a.x, b.x) && Near(a.y, b.y) && Near(a.z, b.z); }
bool Near(const aiQuaternion& a, const aiQuaternion& b)
{
    const float sign = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w < 0.0f ? -1.0f : 1.0f;
    return Near(a.x, sign * b.x) && Near(a.y, sign * b.y) && Near(a.z, sign * b.z) && Near(a.w, sign * b.w);
}

// The file's keys in seconds, sorted, one per time (the last). reordered
// tells whether that changed anything.
template <class Key, class Value>
Outcome CleanKeys(const Key* keys, unsigned count, double ticksPerSecond, const std::string& what, Keys<Value>& out,
                  bool& reordered)
{
    if (count > 0 && !keys) return Outcome::Failure(what + " has no keys array");
    std::vector<std::pair<float, Value>> timed;
    timed.reserve(count);
    for (unsigned k = 0; k < count; ++k) {
        // Checked in double: a time past the floats' range has no float to become.
        const double seconds = keys[k].mTime / ticksPerSecond;
        if (!(std::fabs(seconds) <= std::numeric_limits<float>::max()) || !Finite(keys[k].mValue))
            return Outcome::Failure(what + " holds a key that is not a finite number");
        timed.emplace_back(static_cast<float>(seconds), keys[k].mValue);
    }
    const auto earlier = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (!std::is_sorted(timed.begin(), timed.end(), earlier)) {
        std::stable_sort(timed.begin(), timed.end(), earlier);
        reordered = true;
    }
    for (size_t k = 0; k < timed.size(); ++k) {
        if (k + 1 < timed.size() && timed[k + 1].first == timed[k].first) {
            reordered = true;
            continue;
        }
        out.times.push_back(timed[k].first);
        out.values.push_back(timed[k].second);
    }
    if constexpr (std::is_same_v<Value, aiQuaternion>) {
        for (aiQuaternion& q : out.values) {
            const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
            if (!(length > 0.0f) || !std::isfinite(length)) return Outcome::Failure(what + " holds a zero rotation");
            q = aiQuaternion(q.w / length, q.x / length, q.y / length, q.z / length);
        }
    }
    return {};
}

// The path's value at seconds (held before the first key and after the last),
// or resting when the path has no keys.
template <class Value>
Value ValueAt(const Keys<Value>& keys, float seconds, const Value& resting)
{
    if (keys.times.empty()) return resting;
    if (seconds <= keys.times.front()) return keys.values.front();
    if (seconds >= keys.times.back()) return keys.values.back();
    const size_t k = size_t(std::upper_bound(keys.times.begin(), keys.times.end(), seconds) - keys.times.begin()) - 1;
    const float t = (seconds - keys.times[k]) / (keys.times[k + 1] - keys.times[k]);
    return Blend(keys.values[k], keys.values[k + 1], t);
}

void Flatten(const aiVector3D& v, std::vector<float>& out) { out.insert(out.end(), {v.x, v.y, v.z}); }
void Flatten(const aiQuaternion& q, std::vector<float>& out) { out.insert(out.end(), {q.x, q.y, q.z, q.w}); }

// A channel for the path unless every value is the node's resting one.
template <class Value>
void AddChannel(int32_t node, ForeignPath path, const std::vector<float>& times, const std::vector<Value>& values,
                const Value& resting, ForeignAnimation& animation)
{
    if (std::all_of(values.begin(), values.end(), [&](const Value& v) { return Near(v, resting); })) return;
    ForeignChannel channel;
    channel.node = node;
    channel.path = path;
    channel.interpolation = ForeignInterpolation::Linear;
    channel.times = times;
    for (const Value& v : values) Flatten(v, channel.values);
    animation.channels.push_back(std::move(channel));
}

// The moving chain of one kept node folded into its channels. At every time
// any part of the chain has a key, each part's own transform is taken there
// (its keys interpolated, or its resting transform), the product decomposed,
// and the three paths get a Linear key. At those times the node is where the
// file puts it. Between them the folded channels interpolate the product's
// translation, rotation and scale rather than each part's: when parts have
// keys at different times, or a rotation turns about an offset pivot (the
// node's origin then sweeps an arc, the folded translation its chord), the
// node moves a little differently between keys than the file's chain would.
void AddFoldedChannels(int32_t index, const FoldedNode& node, const std::vector<const NodeKeys*>& parts,
                       ForeignAnimation& animation)
{
    std::vector<float> times;
    for (const NodeKeys* keys : parts) {
        if (!keys) continue;
        for (const auto* path : {&keys->position.times, &keys->rotation.times, &keys->scale.times})
            times.insert(times.end(), path->begin(), path->end());
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    std::vector<Trs> resting;
    for (const aiNode* part : node.chain) resting.push_back(DecomposeTrs(part->mTransformation));

    std::vector<aiVector3D> positions, scales;
    std::vector<aiQuaternion> rotations;
    for (const float seconds : times) {
        aiMatrix4x4 local = node.above;
        for (size_t i = 0; i < node.chain.size(); ++i) {
            if (!parts[i]) {
                local *= node.chain[i]->mTransformation;
                continue;
            }
            const Trs at{ValueAt(parts[i]->position, seconds, resting[i].translation),
                         ValueAt(parts[i]->rotation, seconds, resting[i].rotation),
                         ValueAt(parts[i]->scale, seconds, resting[i].scale)};
            local *= ComposeTrs(at);
        }
        Trs folded = DecomposeTrs(local);
        // Decomposition picks either sign of a rotation; keep neighbours on one side.
        if (!rotations.empty()) {
            const aiQuaternion& last = rotations.back();
            const aiQuaternion& q = folded.rotation;
            if (last.x * q.x + last.y * q.y + last.z * q.z + last.w * q.w < 0.0f)
                folded.rotation = aiQuaternion(-q.w, -q.x, -q.y, -q.z);
        }
        positions.push_back(folded.translation);
        rotations.push_back(folded.rotation);
        scales.push_back(folded.scale);
    }
    const Trs still = DecomposeTrs(FoldedTransform(node));
    AddChannel(index, ForeignPath::Translation, times, positions, still.translation, animation);
    AddChannel(index, ForeignPath::Rotation, times, rotations, still.rotation, animation);
    AddChannel(index, ForeignPath::Scale, times, scales, still.scale, animation);
}

void AddOwnChannels(int32_t index, const aiNode& node, const NodeKeys& keys, ForeignAnimation& animation)
{
    const Trs still = DecomposeTrs(node.mTransformation);
    AddChannel(index, ForeignPath::Translation, keys.position.times, keys.position.values, still.translation,
               animation);
    AddChannel(index, ForeignPath::Rotation, keys.rotation.times, keys.rotation.values, still.rotation, animation);
    AddChannel(index, ForeignPath::Scale, keys.scale.times, keys.scale.values, still.scale, animation);
}

}  // namespace

Outcome ReadAssimpAnimations(const aiScene& scene, const std::vector<FoldedNode>& nodes, const std::string& path,
                             ForeignModel& model)
{
    if (scene.mNumAnimations > 0 && !scene.mAnimations)
        return Outcome::Failure(path + ": the list of animations is missing");
    // The file's nodes by name, the first depth first winning; the chains list
    // them in that order (a helper above several kept nodes more than once).
    std::map<std::string, const aiNode*> byName;
    std::set<std::string> repeated;
    std::map<const aiNode*, std::vector<std::pair<size_t, size_t>>> placesOf;  // (kept node, place in its chain)
    for (size_t n = 0; n < nodes.size(); ++n) {
        for (size_t i = 0; i < nodes[n].chain.size(); ++i) {
            const aiNode* part = nodes[n].chain[i];
            std::vector<std::pair<size_t, size_t>>& places = placesOf[part];
            if (places.empty()) {
                const auto [known, added] = byName.try_emplace(part->mName.C_Str(), part);
                if (!added) repeated.insert(part->mName.C_Str());
            }
            places.emplace_back(n, i);
        }
    }

    for (unsigned a = 0; a < scene.mNumAnimations; ++a) {
        const aiAnimation* from = scene.mAnimations[a];
        if (!from) return Outcome::Failure(path + ": animation " + std::to_string(a) + " is missing");
        ForeignAnimation animation;
        animation.name = from->mName.C_Str();
        const std::string what = path + ": animation '" + animation.name + "'";
        double ticksPerSecond = from->mTicksPerSecond == 0.0 ? kDefaultTicksPerSecond : from->mTicksPerSecond;
        if (!std::isfinite(ticksPerSecond) || ticksPerSecond < 0.0)
            return Outcome::Failure(what + " runs at " + std::to_string(ticksPerSecond) + " ticks per second");
        if (from->mNumMeshChannels > 0 || from->mNumMorphMeshChannels > 0)
            NoteDropped(model.dropped, "mesh and morph animation of animation '" + animation.name + "'");
        if (from->mNumChannels > 0 && !from->mChannels) return Outcome::Failure(what + " has no list of channels");

        std::map<const aiNode*, NodeKeys> keysOf;
        bool reordered = false;
        for (unsigned c = 0; c < from->mNumChannels; ++c) {
            const aiNodeAnim* channel = from->mChannels[c];
            if (!channel) return Outcome::Failure(what + " lacks channel " + std::to_string(c));
            const std::string target = channel->mNodeName.C_Str();
            const auto found = byName.find(target);
            if (found == byName.end()) {
                NoteDropped(model.dropped, "channel of animation '" + animation.name + "' for node '" + target +
                                               "', which is not in the file");
                continue;
            }
            if (repeated.count(target))
                NoteDropped(model.dropped, "animation '" + animation.name +
                                               "' moves only the first of the nodes named '" + target + "'");
            const auto [keys, added] = keysOf.try_emplace(found->second);
            if (!added) {
                NoteDropped(model.dropped,
                            "second channel of animation '" + animation.name + "' for node '" + target + "'");
                continue;
            }
            const std::string channelName = what + " channel '" + target + "'";
            for (Outcome cleaned : {CleanKeys(channel->mPositionKeys, channel->mNumPositionKeys, ticksPerSecond,
                                              channelName, keys->second.position, reordered),
                                    CleanKeys(channel->mRotationKeys, channel->mNumRotationKeys, ticksPerSecond,
                                              channelName, keys->second.rotation, reordered),
                                    CleanKeys(channel->mScalingKeys, channel->mNumScalingKeys, ticksPerSecond,
                                              channelName, keys->second.scale, reordered)})
                if (!cleaned) return cleaned;
        }
        if (reordered)
            NoteDropped(model.dropped, "keys of animation '" + animation.name +
                                           "' out of order or at one time (sorted, the last at each time kept)");

        // Per kept node, the keys of each part of its chain (null: resting).
        std::map<size_t, std::vector<const NodeKeys*>> partsOf;
        for (const auto& [part, keys] : keysOf)
            for (const auto& [n, i] : placesOf[part]) {
                std::vector<const NodeKeys*>& parts = partsOf[n];
                parts.resize(nodes[n].chain.size(), nullptr);
                parts[i] = &keys;
            }
        for (const auto& [n, parts] : partsOf) {
            const FoldedNode& node = nodes[n];
            if (node.chain.size() == 1 && node.above.IsIdentity())
                AddOwnChannels(int32_t(n), *node.node, *parts[0], animation);
            else
                AddFoldedChannels(int32_t(n), node, parts, animation);
        }
        if (!animation.channels.empty()) model.animations.push_back(std::move(animation));
    }
    return {};
}

}  // namespace m3d
