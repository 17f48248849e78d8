#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"
#include "cli/TextureReport.h"
#include "editor/EditorSession.h"
#include "editor/ModelImportCommands.h"
#include "foreign/ForeignFormats.h"
#include "math/LengthUnit.h"
#include "scene/KeyInterpolation.h"
#include "scene/TextureOutput.h"

#include <cmath>
#include <cstdio>

namespace m3d {

namespace {

void WriteParts(JsonWriter& json, const Scene& scene)
{
    json.Key("parts").BeginArray();
    for (int i = 0; i < scene.PartCount(); ++i) {
        const Part& part = *scene.Parts()[i];
        json.BeginObject();
        json.Key("index").Int(i);
        json.Key("baseName").String(part.baseName);
        json.Key("displayName").String(part.displayName);
        json.Key("parent").Int(part.parentIndex);
        json.Key("symmetry").Int(part.symmetryIndex);
        json.Key("vertices").Int(part.mesh ? part.mesh->GetVertexNum() : 0);
        json.Key("faces").Int(part.mesh ? part.mesh->GetFaceNum() : 0);
        json.EndObject();
    }
    json.EndArray();
}

void WriteMotions(JsonWriter& json, const Scene& scene)
{
    json.Key("motions").BeginArray();
    for (const Motion& motion : scene.Motions()) {
        json.BeginObject();
        json.Key("name").String(motion.name);
        json.Key("length").Int(motion.length);
        json.Key("loop").Bool(motion.loop);
        json.Key("tracks").BeginArray();
        for (const MotionTrack& track : motion.tracks) {
            json.BeginArray();
            for (const KeyFrame& key : track.keys) {
                float values[16];
                key.matrix.ToArray(values);
                json.BeginObject().Key("frame").Int(key.frame);
                json.Key("matrix").Floats(values, 16);
                // Only where it is not the linear most keys have.
                if (!key.interpolation.IsLinear())
                    json.Key("interpolation").String(InterpolationName(key.interpolation));
                json.EndObject();
            }
            json.EndArray();
        }
        json.EndArray().EndObject();
    }
    json.EndArray();
}

int Info(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: marionettica3d-cli info PROJECT.anm|MODEL\n");
        return 2;
    }
    EditorSession session;
    Scene& scene = session.GetScene();
    // A model of another program's format shows what "import" would make of it.
    std::vector<std::string> dropped;
    const bool model = ForeignReaderOf(args[0]).has_value();
    if (model) {
        const Expected<ModelImport> import = ImportModelCommand(session, args[0], {});
        if (!import) {
            PrintFailure(import.Status().Message());
            return 1;
        }
        dropped = ImportNotes(*import);
    } else if (!LoadProjectForCommand(session, args[0], ProjectOpening::Reading)) {
        return 1;
    }
    JsonWriter json;
    json.BeginObject();
    WriteParts(json, scene);
    WriteMotions(json, scene);
    // What one unit is in metres; null when nobody said.
    json.Key("metresPerUnit").Double(IsKnownLengthUnit(scene.metresPerUnit) ? scene.metresPerUnit : NAN);
    if (model) {
        json.Key("dropped").BeginArray();
        for (const std::string& line : dropped) json.String(line);
        json.EndArray();
    }
    const std::vector<std::string> problems = TextureProblemLines(PartTextureProblems(scene));
    WriteTextureProblems(json, problems);
    json.EndObject();
    PrintWarning(TextureProblemWarning(problems));
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("info",
                                          "info PROJECT.anm|MODEL   (MODEL: what import would make of it; a project is "
                                          "only read: an interrupted save of it stays as it is, with a warning)",
                                          Info);

}  // namespace

}  // namespace m3d
