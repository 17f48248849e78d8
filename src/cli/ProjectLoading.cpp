#include "cli/ProjectLoading.h"

#include "cli/CommandPrompt.h"
#include "cli/JsonWriter.h"
#include "cli/TextureReport.h"

#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "io/WriteTarget.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"

#include <cmath>
#include <cstdio>

namespace m3d {

bool SaveProjectForCommand(Scene& scene, const std::string& path, bool overwriteMeshes, bool replaceReadOnly)
{
    CommandPrompt prompt(overwriteMeshes, replaceReadOnly);
    const ProjectSave saved = SaveProject(scene, path, prompt);
    if (saved) return true;
    std::string failure = saved.outcome.Message();
    if (saved.projectWritten && !overwriteMeshes) failure += " (--overwrite replaces them)";
    if (prompt.askedToReplace && !replaceReadOnly) failure += " (--overwrite replaces read-only files)";
    PrintFailure(failure);
    return false;
}

bool RefuseReadOnlyOutput(const std::string& path, bool overwrite)
{
    const WriteTarget target = InspectWriteTarget(path);
    if (overwrite || target.kind != WriteTarget::Kind::Regular || !target.readOnly) return false;
    std::fprintf(stderr, "%s: the file is read-only; nothing was written (--overwrite replaces it)\n", path.c_str());
    return true;
}

int FindMotionForCommand(const Scene& scene, const std::string& path, const std::string& name)
{
    for (size_t m = 0; m < scene.Motions().size(); ++m)
        if (scene.Motions()[m].name == name) return static_cast<int>(m);
    std::fprintf(stderr, "%s: no Motion named \"%s\"\n", path.c_str(), name.c_str());
    return -1;
}

int FindPartForCommand(const Scene& scene, const std::string& path, const std::string& name)
{
    for (int p = 0; p < scene.PartCount(); ++p)
        if (scene.Parts()[p]->displayName == name) return p;
    std::fprintf(stderr, "%s: no Part named \"%s\"\n", path.c_str(), name.c_str());
    return -1;
}

bool LoadProjectForCommand(EditorSession& session, const std::string& path, ProjectOpening opening)
{
    const ProjectLoad load = OpenProject(session, path, opening);
    for (const CommitRecoveryNote& note : load.recoveries) PrintWarning(note.message);
    if (!load.extras) PrintWarning(load.extras.Message());
    if (load.outcome) return true;
    PrintFailure(load.outcome.Message());
    return false;
}

void PrintFailure(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() == ':')
            line += ' ';  // a heading of the lines that follow
        else if (!line.empty() && line.back() != ' ')
            line += "; ";
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == ';')) line.pop_back();
    std::fprintf(stderr, "%s\n", line.c_str());
}

void PrintWrittenProject(const std::string& path, const Scene& scene)
{
    JsonWriter json;
    json.BeginObject().Key("written").String(path).Key("parts").Int(scene.PartCount());
    json.Key("motions").Int(static_cast<int64_t>(scene.MotionCount())).EndObject();
    std::printf("%s\n", json.Text().c_str());
}

}  // namespace m3d
