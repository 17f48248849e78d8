#include "anim/XFileContentBuilder.h"

#include "anim/PoseEvaluation.h"
#include "anim/XFileNames.h"
#include "scene/Scene.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace m3d {

std::vector<int> MotionKeyFrames(const Motion& motion)
{
    const int length = std::max(motion.length, 0);
    std::vector<int> frames;
    for (const MotionTrack& track : motion.tracks)
        for (const KeyFrame& key : track.keys)
            if (key.frame >= 0 && key.frame < length) frames.push_back(key.frame);
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    frames.push_back(length);
    return frames;
}

std::vector<int> XFileKeyFrames(const Motion& motion)
{
    std::vector<int> frames = MotionKeyFrames(motion);
    const int length = frames.back();
    for (const MotionTrack& track : motion.tracks)
        for (size_t k = 0; k + 1 < track.keys.size(); ++k) {
            if (track.keys[k].interpolation.IsLinear()) continue;
            const int end = std::min(track.keys[k + 1].frame, length);
            for (int frame = std::max(track.keys[k].frame + 1, 0); frame < end; ++frame) frames.push_back(frame);
        }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

std::optional<InterpolationKind> SharedInterpolationKind(const MotionTrack& track, int lastFrame)
{
    std::optional<InterpolationKind> shared;
    for (size_t k = 0; k + 1 < track.keys.size() && track.keys[k].frame < lastFrame; ++k) {
        const InterpolationKind kind = track.keys[k].interpolation.Kind();
        if (shared && *shared != kind) return std::nullopt;
        shared = kind;
    }
    return shared.value_or(InterpolationKind::Linear);
}

XMeshData ExportMeshData(Scene& scene, const CMesh* mesh)
{
    XMeshData out;
    if (mesh == nullptr) return out;
    out.vertices.reserve(static_cast<size_t>(std::max(mesh->GetVertexNum(), 0)));
    for (int i = 0; i < mesh->GetVertexNum(); ++i)
        if (const _MESH_VERTEX* v = mesh->GetVertex(i)) out.vertices.push_back(*v);
    for (int k = 0; k < mesh->GetMeshNum(); ++k)
        if (const _MESH_MESHDATA* m = mesh->GetMesh(k)) out.subMeshes.push_back(*m);
    for (int k = 0; k < mesh->GetMtrlNum(); ++k) {
        const _MESH_MATERIAL* material = mesh->GetMtrl(k);
        if (material == nullptr) continue;
        std::string textureName;
        int textureIndex = -1;
        if (material->textureNumber != -1) {
            const _MESH_TEXTURE* reference = mesh->GetTexture(material->textureNumber);
            const _MESHBASE_TEXTURE* texture = reference ? scene.MeshBase().GetTexture(reference->index) : nullptr;
            if (texture != nullptr) {
                textureName = XFileTextureName(texture->name);
                textureIndex = reference->index;
            }
        }
        out.materials.push_back(*material);
        out.textureNames.push_back(std::move(textureName));
        out.textureIndices.push_back(textureIndex);
    }
    return out;
}

Matrix4 RestMatrixOf(const Scene& scene, int part)
{
    if (!scene.Motions().empty()) {
        const Motion& first = scene.Motions().front();
        if (part < static_cast<int>(first.tracks.size()) && !first.tracks[part].keys.empty())
            return first.tracks[part].keys.front().matrix;
    }
    const Part& p = *scene.Parts()[part];
    return KeyMatrixOf(p.localMatrix, p.localPosition);
}

std::vector<TreeOrderEntry> PartsInTreeOrder(const Scene& scene)
{
    std::unordered_map<TreeItem, int> partOfItem;
    for (int i = 0; i < scene.PartCount(); ++i) partOfItem[scene.Parts()[i]->treeItem] = i;

    const PartsTree& tree = scene.Tree();
    std::vector<TreeOrderEntry> order;
    order.reserve(static_cast<size_t>(scene.PartCount()));
    // An explicit stack of (item, depth), children pushed in reverse so that
    // they come out in tree order.
    std::vector<std::pair<TreeItem, int>> pending;
    const std::vector<TreeItem>& top = tree.GetChildren(scene.rootPart.treeItem);
    for (auto it = top.rbegin(); it != top.rend(); ++it) pending.emplace_back(*it, 0);
    while (!pending.empty()) {
        const auto [item, depth] = pending.back();
        pending.pop_back();
        const auto found = partOfItem.find(item);
        if (found == partOfItem.end()) continue;
        order.push_back({found->second, depth});
        const std::vector<TreeItem>& children = tree.GetChildren(item);
        for (auto it = children.rbegin(); it != children.rend(); ++it) pending.emplace_back(*it, depth + 1);
    }
    return order;
}

static void CollectFrames(Scene& scene, const std::vector<std::string>& names, XFileContent& content)
{
    for (const TreeOrderEntry& entry : PartsInTreeOrder(scene)) {
        XFrame frame;
        frame.name = names[entry.part];
        frame.transform = RestMatrixOf(scene, entry.part);
        frame.mesh = ExportMeshData(scene, scene.Parts()[entry.part]->mesh.get());
        frame.depth = entry.depth;
        content.frames.push_back(std::move(frame));
    }
}

static XAnimationSet BuildAnimationSet(const Scene& scene, const Motion& motion, const std::vector<std::string>& names,
                                       int timeScaleFactor)
{
    const int partCount = scene.PartCount();
    XAnimationSet set;
    set.name = SanitizeXFileName(motion.name);
    set.animations.resize(static_cast<size_t>(partCount));
    const std::vector<int> frames = XFileKeyFrames(motion);
    for (int p = 0; p < partCount; ++p) {
        set.animations[p].name = names[p];
        set.animations[p].keys.resize(frames.size());
    }
    // One pass per key frame over all Parts: the pose a Part gets from its own
    // track does not depend on the others.
    for (size_t k = 0; k < frames.size(); ++k) {
        for (int p = 0; p < partCount; ++p) {
            const TrackPose pose = PartPoseAt(scene, motion, p, frames[k]);
            XAnimationKey& key = set.animations[p].keys[k];
            key.time = int64_t{frames[k]} * timeScaleFactor;
            Matrix4 written = pose.localMatrix;
            written.SetTranslation(pose.localPosition);
            written.ToArray(key.values);
        }
    }
    return set;
}

XFileContent BuildXFileContent(Scene& scene, int timeScaleFactor)
{
    std::vector<std::string> displayNames;
    displayNames.reserve(static_cast<size_t>(scene.PartCount()));
    for (const auto& part : scene.Parts()) displayNames.push_back(part->displayName);
    const std::vector<std::string> names = UniqueXFileNames(displayNames);

    XFileContent content;
    CollectFrames(scene, names, content);
    for (auto motion = scene.Motions().rbegin(); motion != scene.Motions().rend(); ++motion)
        content.animationSets.push_back(BuildAnimationSet(scene, *motion, names, timeScaleFactor));
    return content;
}

void ScaleXFileContent(XFileContent& content, float lengthScale)
{
    if (lengthScale == 1.0f) return;
    for (XFrame& frame : content.frames) {
        for (_MESH_VERTEX& v : frame.mesh.vertices) {
            v.x *= lengthScale;
            v.y *= lengthScale;
            v.z *= lengthScale;
        }
        for (int c = 0; c < 3; ++c) frame.transform.m[3][c] *= lengthScale;
    }
    // A key's 16 values are its matrix in row order: the translation row starts at 12.
    for (XAnimationSet& set : content.animationSets)
        for (XAnimation& animation : set.animations)
            for (XAnimationKey& key : animation.keys)
                for (int c = 12; c < 15; ++c) key.values[c] *= lengthScale;
}

}  // namespace m3d
