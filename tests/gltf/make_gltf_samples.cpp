// Writes the glTF files the outside validator checks: the bundled sample
// figure and the generated models of support/GltfSampleScenes.h, each as
// .glb and as .gltf with its side files.
//   make_gltf_samples OUT_FOLDER SAMPLE_FIGURE.anm
#include "anim/ExportGltfFile.h"
#include "editor/FileCommands.h"
#include "support/GltfSampleScenes.h"
#include "support/ScriptedPrompt.h"

#include <cstdio>
#include <filesystem>
#include <functional>

using namespace m3d;

namespace {

bool ExportBoth(EditorSession& session, const std::string& folder, const std::string& name)
{
    for (const char* extension : {".glb", ".gltf"}) {
        const std::string path = folder + "/" + name + extension;
        ScriptedPrompt prompt;
        const ExportGltfResult result = ExportGltfFile(session.GetScene(), path, kDefaultGltfFramesPerSecond, prompt);
        if (!result.written) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), result.message.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_gltf_samples OUT_FOLDER SAMPLE_FIGURE.anm\n");
        return 2;
    }
    const std::string out = argv[1];
    std::error_code ec;
    std::filesystem::remove_all(out, ec);
    std::filesystem::create_directories(out, ec);

    EditorSession figure;
    if (const ProjectLoad load = OpenProject(figure, argv[2], ProjectOpening::Reading); !load.outcome) {
        std::fprintf(stderr, "%s: cannot be loaded: %s\n", argv[2], load.outcome.Message().c_str());
        return 1;
    }
    bool ok = ExportBoth(figure, out, "figure");

    TempFolder sampleFolder;
    EditorSession sample;
    BuildFigureSample(sample, sampleFolder);
    ok = ExportBoth(sample, out, "generated") && ok;

    TempFolder manyFolder;
    EditorSession many;
    BuildManyPartsSample(many, manyFolder, 100, 3);
    ok = ExportBoth(many, out, "many_parts") && ok;

    TempFolder kindsFolder;
    EditorSession kinds;
    BuildInterpolationSample(kinds, kindsFolder);
    ok = ExportBoth(kinds, out, "interpolations") && ok;

    // The same Parts with every key auto-clamped Bezier: spline positions beside baked rotations.
    for (Motion& motion : kinds.GetScene().MutableMotions())
        for (MotionTrack& track : motion.tracks)
            for (KeyFrame& key : track.keys) key.interpolation = KeyInterpolation::AutoClamped();
    ok = ExportBoth(kinds, out, "bezier") && ok;
    return ok ? 0 : 1;
}
