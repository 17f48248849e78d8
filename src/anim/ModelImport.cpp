#include "anim/ModelImport.h"

#include "anim/ImportedAnimations.h"
#include "anim/ImportedParts.h"
#include "anim/MotionOperations.h"
#include "anim/WholeMotionOperations.h"
#include "foreign/ChannelSampling.h"
#include "foreign/NodeWorlds.h"
#include "scene/ModelRules.h"
#include "scene/ProjectFileFormat.h"
#include "scene/Scene.h"
#include "text/NumberText.h"
#include "text/StoredName.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <utility>

namespace m3d {

namespace {

// The scale channels that change a node's scale, by node name, once each.
void NoteAnimatedScales(const ForeignModel& model, std::vector<std::string>& dropped)
{
    std::vector<bool> noted(model.nodes.size(), false);
    for (const ForeignAnimation& animation : model.animations)
        for (const ForeignChannel& channel : animation.channels) {
            if (channel.path != ForeignPath::Scale || noted[static_cast<size_t>(channel.node)]) continue;
            const ForeignNode& node = model.nodes[static_cast<size_t>(channel.node)];
            const float rest[3] = {node.scale.x, node.scale.y, node.scale.z};
            const size_t group = channel.interpolation == ForeignInterpolation::CubicSpline ? 9 : 3;
            const size_t first = channel.interpolation == ForeignInterpolation::CubicSpline ? 3 : 0;
            bool changes = false;
            for (size_t i = first; i + 3 <= channel.values.size() && !changes; i += group)
                for (int k = 0; k < 3; ++k) changes = changes || std::fabs(channel.values[i + k] - rest[k]) > 1e-6f;
            if (!changes) continue;
            noted[static_cast<size_t>(channel.node)] = true;
            dropped.push_back("animated scale of node '" + node.name + "' (its scale at rest is kept)");
        }
}

// Whether node or one above it has a scale other than 1 at rest.
bool ScaledChain(const ForeignModel& model, size_t node)
{
    for (int at = static_cast<int>(node); at >= 0; at = model.nodes[static_cast<size_t>(at)].parent) {
        const Vec3 s = model.nodes[static_cast<size_t>(at)].scale;
        if (s.x != 1.0f || s.y != 1.0f || s.z != 1.0f) return true;
    }
    return false;
}

std::string UniqueMotionName(const std::string& wanted, const std::vector<Motion>& motions)
{
    const std::string base = StorableForeignName(wanted, static_cast<size_t>(kMaxMotionNameBytes), true, "motion");
    auto taken = [&](const std::string& name) {
        return std::any_of(motions.begin(), motions.end(), [&](const Motion& m) { return m.name == name; });
    };
    if (!taken(base)) return base;
    for (int n = 2;; ++n) {
        const std::string suffix = std::to_string(n);
        const std::string name =
            StorableForeignName(base, static_cast<size_t>(kMaxMotionNameBytes) - suffix.size(), true, "motion") +
            suffix;
        if (!taken(name)) return name;
    }
}

}  // namespace

std::string SecondsFigure(double seconds)
{
    char text[32];
    if (seconds >= 1e12)
        std::snprintf(text, sizeof text, "%.3g", seconds);
    else if (seconds >= 10.0 || seconds == std::floor(seconds))
        return GroupedDigits(static_cast<uint64_t>(std::max(seconds, 0.0)));
    else
        std::snprintf(text, sizeof text, "%.1f", std::floor(seconds * 10.0) / 10.0);
    return text;
}

std::string AnimationCutNote(const AnimationCut& cut)
{
    const std::string limit = GroupedDigits(uint64_t(kMaxMotionLength)) + " frames, " +
                              SecondsFigure(double(kMaxMotionLength) / cut.framesPerSecond) + " s at " +
                              std::to_string(cut.framesPerSecond) + " fps";
    const std::string hint =
        cut.fittingFramesPerSecond > 0 ? "; try --fps " + std::to_string(cut.fittingFramesPerSecond) : "";
    if (cut.whole)
        return "animation '" + cut.name + "' (its keys start at " + SecondsFigure(cut.firstKey) + " s, after the " +
               limit + " a Motion holds" + hint + ")";
    return "animation '" + cut.name + "' (" + SecondsFigure(cut.firstKey) + " ... " + SecondsFigure(cut.lastKey) +
           " s) cut at " + limit + hint;
}

std::vector<std::string> ImportNotes(const ModelImport& import)
{
    std::vector<std::string> notes = import.dropped;
    for (const AnimationCut& cut : import.cuts) notes.push_back(AnimationCutNote(cut));
    return notes;
}

Outcome CheckModelFits(const ForeignModel& model, int partsThere, const std::string& path)
{
    if (model.nodes.size() > kMaxModelNodes)
        return Outcome::Failure(path + ": " + TooManyNodesReason(model.nodes.size()));
    const std::vector<int> partOfNode = ImportedPartOfNode(model);
    const size_t added = partOfNode.size() - static_cast<size_t>(std::count(partOfNode.begin(), partOfNode.end(), -1));
    if (static_cast<size_t>(std::max(partsThere, 0)) + added <= kMaxModelNodes) return Outcome();
    return Outcome::Failure(path + ": with the model's " + GroupedDigits(added) + " Parts the project would have " +
                            GroupedDigits(static_cast<uint64_t>(partsThere) + added) + "; it holds at most " +
                            GroupedDigits(kMaxModelNodes));
}

ModelImport ImportModel(Scene& scene, const ForeignModel& model, const std::string& path, int framesPerSecond,
                        const AnimationChoice& choice)
{
    ModelImport result;
    result.dropped = model.dropped;
    NoteAnimatedScales(model, result.dropped);
    const std::vector<int> partOfNode = ImportedPartOfNode(model);
    const ImportedParts imported = ImportedPartsOf(model);
    const std::vector<int>& nodeOfPart = imported.nodeOfPart;

    const std::vector<NodeWorld> rest = NodeWorldsOf(model, NodeTransformsAt(model, -1, 0.0));
    const std::vector<Matrix4> restKeys = ImportedPartKeys(model, imported, -1, 0.0);
    const int firstPart = scene.PartCount();
    const std::vector<PartNames> names = scene.MakePartNamesInOrder(ImportedPartNames(model, imported));
    for (size_t p = 0; p < nodeOfPart.size(); ++p) {
        const size_t node = static_cast<size_t>(nodeOfPart[p]);
        // The geometry in the Part's own axes: the rest scale of the chain stays in the vertices.
        Matrix4 rigidInverse;
        // Without a scale in the chain the vertices stay as the file has them, bit for bit.
        const Matrix4 bake = ScaledChain(model, node) && MatrixInverse(rest[node].rigid, rigidInverse)
                                 ? rest[node].full * rigidInverse
                                 : Matrix4{};
        std::unique_ptr<CMesh> mesh = scene.NewMesh();
        if (Outcome loaded = mesh->LoadModel(NodeGeometry(model, node, bake), path, 1.0f); !loaded)
            result.dropped.push_back("the mesh of node '" + model.nodes[node].name + "': " + loaded.Message());
        const int parentNode = imported.parentNodeOfPart[p];
        const int parent = parentNode < 0 ? -1 : firstPart + partOfNode[static_cast<size_t>(parentNode)];
        const int added = scene.AppendPart(parent, path, std::move(mesh), names[p]);
        Part& part = *scene.PartAt(added);
        part.localMatrix = restKeys[p];
        part.localPosition = restKeys[p].Translation();
        part.localMatrix.SetTranslation({});
        result.parts.push_back(added);
    }
    // The Motions there were get the new Parts at rest.
    for (int m = 0; m < scene.MotionCount(); ++m)
        for (size_t p = 0; p < nodeOfPart.size(); ++p)
            scene.EditMotion(m)->tracks.push_back(MotionTrack{{KeyFrame{0, restKeys[p]}}});

    // The thinning below poses the model at the frames it visits: every Part goes back afterwards.
    std::vector<std::pair<Matrix4, Vec3>> poses;
    for (const auto& part : scene.Parts()) poses.emplace_back(part->localMatrix, part->localPosition);
    for (size_t a = 0; a < model.animations.size(); ++a) {
        if (!choice.kept.empty() && (a >= choice.kept.size() || !choice.kept[a])) continue;
        const ForeignAnimation& animation = model.animations[a];
        const double start = ImportStartOf(animation, choice.fromFirstKey);
        // Clamped in double before it becomes a frame number: a key at 1e30 s is no int.
        const double lastFrame = ImportLastFrameOf(animation, framesPerSecond, choice.fromFirstKey);
        if (lastFrame > kMaxMotionLength) {
            const double firstKey = ImportStartOf(animation, true);
            AnimationCut cut{animation.name, firstKey, AnimationDuration(animation), framesPerSecond, 0, false};
            for (int rate = framesPerSecond - 1; rate >= 1 && cut.fittingFramesPerSecond == 0; --rate)
                if (ImportLastFrameOf(animation, rate, choice.fromFirstKey) <= kMaxMotionLength)
                    cut.fittingFramesPerSecond = rate;
            // Every frame would hold the first keys' values: the rest pose of another name, not the animation.
            cut.whole = (firstKey - start) * framesPerSecond > kMaxMotionLength;
            result.cuts.push_back(cut);
            if (cut.whole) continue;
        }
        Motion motion;
        motion.name = UniqueMotionName(animation.name, scene.Motions());
        motion.length = ImportedMotionLength(animation, framesPerSecond, choice.fromFirstKey);
        for (int p = 0; p < firstPart; ++p) {
            const Part& part = *scene.PartAt(p);
            motion.tracks.push_back(MotionTrack{{KeyFrame{0, KeyMatrixOf(part.localMatrix, part.localPosition)}}});
        }
        motion.tracks.resize(static_cast<size_t>(firstPart) + nodeOfPart.size());
        for (int frame = 0; frame <= motion.length; ++frame) {
            const std::vector<Matrix4> keys =
                ImportedPartKeys(model, imported, static_cast<int>(a), start + double(frame) / framesPerSecond);
            for (size_t p = 0; p < keys.size(); ++p)
                motion.tracks[static_cast<size_t>(firstPart) + p].keys.push_back({frame, keys[p]});
        }
        const int index = scene.AppendMotion(std::move(motion));
        DeleteRedundantKeys(scene, index);
        result.motions.push_back(index);
    }
    // A project needs a Motion to be saved: a model that brings none brings one holding its rest pose.
    if (scene.MotionCount() == 0 && NewMotion(scene, UniqueMotionName(PartBaseNameOf(path), scene.Motions())))
        result.motions.push_back(scene.MotionCount() - 1);
    for (size_t p = 0; p < poses.size(); ++p) {
        Part& part = *scene.PartAt(static_cast<int>(p));
        std::tie(part.localMatrix, part.localPosition) = poses[p];
    }
    scene.UpdateHierarchy(0);
    return result;
}

}  // namespace m3d
