// Costs of the animation data at scale: saving a large project file again,
// and evaluating a pose of many long tracks.
#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "io/AtomicFile.h"
#include "io/FileReading.h"
#include "math/Quaternion.h"
#include "scene/ProjectFileFormat.h"
#include "scene/Scene.h"
#include "editor/EditorSession.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace m3d;

namespace {

Matrix4 KeyPose(int part, int frame)
{
    Matrix4 m = MatrixRotationYawPitchRoll(0.01f * frame + part, 0.02f * part, -0.005f * frame);
    m.SetTranslation({0.1f * part, 0.5f * frame, -0.25f * part});
    return m;
}

// 100 Parts (each under the one before it every fourth Part), 10 Motions of
// 600 frames with a key every 5 frames on every track.
ProjectData GeneratedProject()
{
    ProjectData data;
    for (int i = 0; i < 100; ++i)
        data.parts.push_back({"part" + std::to_string(i), i % 4 == 0 ? -1 : i - 1, i % 2 == 0 ? i + 1 : i - 1});
    for (int m = 0; m < 10; ++m) {
        Motion motion;
        motion.name = "motion" + std::to_string(m);
        motion.length = 600;
        motion.tracks.resize(data.parts.size());
        for (size_t p = 0; p < data.parts.size(); ++p)
            for (int f = 0; f <= 600; f += 5) motion.tracks[p].keys.push_back({f, KeyPose(int(p), f + m)});
        data.motions.push_back(std::move(motion));
    }
    return data;
}

struct ProjectFiles {
    std::string folder;
    std::string source;
    std::string target;
    ProjectFiles()
    {
        folder = (std::filesystem::temp_directory_path() / ("m3d-bench-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(folder);
        source = folder + "/source.anm";
        target = folder + "/target.anm";
        const ProjectData data = GeneratedProject();
        const Expected<std::string> bytes = BuildProjectFile(data.parts, data.motions);
        const Outcome written = bytes ? WriteFileAtomically(source, *bytes) : bytes.Status();
        if (!written) std::fprintf(stderr, "%s\n", written.Message().c_str());
    }
    ~ProjectFiles() { std::filesystem::remove_all(folder); }
};

// Read, check, lay out again and write: the project file part of a resave.
// Returns the bytes written.
Expected<size_t> ResaveProjectFile(const ProjectFiles& files)
{
    const Expected<std::string> read = ReadWholeFile(files.source);
    if (!read) return read.Status();
    ProjectData data;
    if (Outcome parsed = ParseProjectFile(*read, files.source, data); !parsed) return parsed;
    const Expected<std::string> built = BuildProjectFile(data.parts, data.motions);
    if (!built) return built.Status();
    if (Outcome written = WriteFileAtomically(files.target, *built); !written) return written;
    return built->size();
}

void BM_ResaveProjectFile(benchmark::State& state)
{
    ProjectFiles files;
    for (auto _ : state) {
        const Expected<size_t> written = ResaveProjectFile(files);
        if (!written) state.SkipWithError(written.Message().c_str());
        state.counters["bytes"] = double(written ? *written : 0);
    }
}
BENCHMARK(BM_ResaveProjectFile)->Unit(benchmark::kMillisecond);

// The floor under it: the same bytes read and written without being looked at.
void BM_CopyProjectFileBaseline(benchmark::State& state)
{
    ProjectFiles files;
    for (auto _ : state) {
        const Expected<std::string> bytes = ReadWholeFile(files.source);
        const Outcome copied = bytes ? WriteFileAtomically(files.target, *bytes) : bytes.Status();
        if (!copied) state.SkipWithError(copied.Message().c_str());
    }
}
BENCHMARK(BM_CopyProjectFileBaseline)->Unit(benchmark::kMillisecond);

// 200 Parts in a tree (parent of i is (i - 1) / 2), each with a mesh and
// 1,000 keys, three frames apart.
struct PosedScene {
    EditorSession session;
    Scene& scene = session.GetScene();
    PosedScene()
    {
        for (int i = 0; i < 200; ++i) {
            auto part = std::make_unique<Part>();
            part->mesh = std::make_unique<CMesh>();
            scene.MutableMeshBase().InitMesh(part->mesh.get(), 1);
            part->parentIndex = i == 0 ? -1 : (i - 1) / 2;
            scene.MutableParts().push_back(std::move(part));
        }
        Motion motion;
        motion.name = "long";
        motion.length = 3000;
        motion.tracks.resize(200);
        for (int p = 0; p < 200; ++p)
            for (int k = 0; k < 1000; ++k) motion.tracks[p].keys.push_back({3 * k, KeyPose(p, k)});
        scene.MutableMotions().push_back(std::move(motion));
    }
};

void BM_EvaluatePose(benchmark::State& state)
{
    PosedScene posed;
    int frame = 0;
    for (auto _ : state) {
        EvaluatePose(posed.scene, 0, frame);
        frame = (frame + 7) % 3001;
    }
    benchmark::DoNotOptimize(posed.scene.Parts()[199]->localPosition);
}
BENCHMARK(BM_EvaluatePose)->Unit(benchmark::kMicrosecond);

// The peer: the same evaluation with the key found by a scan from the start.
void BM_EvaluatePoseByKeyScan(benchmark::State& state)
{
    PosedScene posed;
    int frame = 0;
    for (auto _ : state) {
        const Motion& motion = posed.scene.Motions()[0];
        for (int i = 0; i < posed.scene.PartCount(); ++i) {
            const std::vector<KeyFrame>& keys = motion.tracks[i].keys;
            size_t j = 0;
            while (j < keys.size() && keys[j].frame <= frame) ++j;
            Part& part = *posed.scene.Parts()[i];
            if (j == keys.size()) {
                part.localMatrix = keys.back().matrix;
                part.localPosition = keys.back().matrix.Translation();
                continue;
            }
            const float t = float(frame - keys[j - 1].frame) / float(keys[j].frame - keys[j - 1].frame);
            part.localMatrix = MatrixRotationQuaternion(QuaternionSlerp(QuaternionRotationMatrix(keys[j - 1].matrix),
                                                                        QuaternionRotationMatrix(keys[j].matrix), t));
            const Vec3 a = keys[j - 1].matrix.Translation();
            const Vec3 b = keys[j].matrix.Translation();
            part.localPosition = a * (1.0f - t) + b * t;
        }
        posed.scene.UpdateHierarchy(0);
        frame = (frame + 7) % 3001;
    }
}
BENCHMARK(BM_EvaluatePoseByKeyScan)->Unit(benchmark::kMicrosecond);

}  // namespace
