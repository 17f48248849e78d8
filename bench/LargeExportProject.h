#pragma once

// The project the export benchmarks share, at the size of a large one: 100
// Parts with a small mesh each, 10 Motions of 600 frames with a key every 5 frames.
#include "meshlib/LoadedModel.h"
#include "scene/Scene.h"
#include "editor/EditorSession.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace m3d {

namespace largeexport {

inline Matrix4 KeyPose(int part, int frame)
{
    Matrix4 m = MatrixRotationYawPitchRoll(0.01f * frame + part, 0.02f * part, -0.005f * frame);
    m.SetTranslation({0.1f * part, 0.5f * frame, -0.25f * part});
    return m;
}

// An eight-sided closed tube: 16 side vertices and two cap centres, 32 triangles.
inline LoadedModel Tube()
{
    LoadedModel model;
    for (int ring = 0; ring < 2; ++ring)
        for (int k = 0; k < 8; ++k) {
            _MESH_VERTEX v;
            v.x = std::cos(k * 0.785398f);
            v.z = std::sin(k * 0.785398f);
            v.y = -10.0f * ring;
            model.vertices.push_back(v);
        }
    model.vertices.push_back(_MESH_VERTEX{});
    _MESH_VERTEX bottom;
    bottom.y = -10.0f;
    model.vertices.push_back(bottom);
    for (uint32_t k = 0; k < 8; ++k) {
        const uint32_t n = (k + 1) % 8;
        model.indices.insert(model.indices.end(), {k, n, k + 8, n, n + 8, k + 8, 16, n, k, 17, k + 8, n + 8});
    }
    model.triangleMaterials.assign(model.indices.size() / 3, 0);
    model.materials.resize(1);
    return model;
}

struct LargeProject {
    std::string folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    LargeProject()
    {
        folder = (std::filesystem::temp_directory_path() / ("m3d-bench-export-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(folder);
        const LoadedModel tube = Tube();
        for (int i = 0; i < 100; ++i) {
            // Every fourth Part starts a new chain under the root entry.
            const int parent = i % 4 == 0 ? -1 : i - 1;
            scene.SelectTreeItem(parent < 0 ? scene.rootPart.treeItem : scene.Parts()[parent]->treeItem);
            const std::string path = folder + "/part" + std::to_string(i) + ".mqo";
            scene.AddPartFromFile(path);
            if (const Outcome loaded = scene.Parts().back()->mesh->LoadModel(tube, path, 1.0f); !loaded)
                std::fprintf(stderr, "%s\n", loaded.Message().c_str());
        }
        for (int m = 0; m < 10; ++m) {
            Motion motion;
            motion.name = "motion" + std::to_string(m);
            motion.length = 600;
            motion.tracks.resize(100);
            for (int p = 0; p < 100; ++p)
                for (int f = 0; f <= 600; f += 5) motion.tracks[p].keys.push_back({f, KeyPose(p, f + m)});
            scene.MutableMotions().push_back(std::move(motion));
        }
        session.SelectMotion(9);
    }
    ~LargeProject() { std::filesystem::remove_all(folder); }
};

}  // namespace largeexport

}  // namespace m3d
