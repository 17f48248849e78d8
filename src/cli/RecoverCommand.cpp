#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"
#include "cli/TextureReport.h"
#include "editor/EditorSession.h"
#include "editor/RecoveryFolder.h"
#include "scene/SnapshotRestore.h"

#include <cstdio>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "recover --list | recover ID OUT.anm [--overwrite]   (--list: the snapshots of programs that ended without "
    "saving, as JSON; ID OUT.anm: writes snapshot ID as the project OUT.anm with its .mesh files; --overwrite: "
    "replace files already there)";

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
    return 2;
}

int List(const RecoveryFolder& folder)
{
    std::vector<std::string> damaged;
    const std::vector<RecoverableSnapshot> snapshots = folder.List(&damaged);
    for (const std::string& line : damaged) PrintWarning(line);
    JsonWriter json;
    json.BeginArray();
    for (const RecoverableSnapshot& snapshot : snapshots) {
        json.BeginObject();
        json.Key("id").String(snapshot.id);
        json.Key("project").String(snapshot.info.projectName);
        json.Key("originalPath").String(snapshot.info.originalPath);
        json.Key("time").Int(snapshot.info.savedAt);
        json.Key("parts").Int(snapshot.info.parts);
        json.Key("motions").Int(snapshot.info.motions);
        json.EndObject();
    }
    json.EndArray();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

int Recover(const std::vector<std::string>& args)
{
    const RecoveryFolder folder(DefaultRecoveryFolder());
    if (args.size() == 1 && args[0] == "--list") return List(folder);
    std::vector<std::string> words;
    bool overwrite = false;
    for (const std::string& arg : args) {
        if (arg == "--overwrite")
            overwrite = true;
        else if (arg.rfind("-", 0) == 0)
            return Usage();
        else
            words.push_back(arg);
    }
    if (words.size() != 2) return Usage();
    const std::string& id = words[0];
    const std::string& out = words[1];
    DocumentSnapshot snapshot;
    if (Outcome read = folder.Read(id, snapshot); !read) {
        PrintFailure(read.Message());
        return 1;
    }
    EditorSession session;
    const ProjectLoad load = RestoreSnapshot(session.GetScene(), snapshot, folder.Path() + "/" + id);
    if (!load.complete) {
        PrintFailure(load.outcome.Message());
        return 1;
    }
    if (!load.outcome) PrintWarning(load.outcome.Message());
    if (!SaveProjectForCommand(session.GetScene(), out, overwrite, overwrite)) return 1;
    PrintWrittenProject(out, session.GetScene());
    return 0;
}

const CliCommandRegistration registration("recover", kUsage, Recover);

}  // namespace

}  // namespace m3d
