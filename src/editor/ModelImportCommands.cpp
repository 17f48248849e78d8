#include "editor/ModelImportCommands.h"

#include "anim/ImportedAnimations.h"
#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/PlaybackController.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/LengthUnitChange.h"
#include "editor/history/MotionListChange.h"
#include "editor/history/PartSetChange.h"
#include "foreign/ForeignReaderProcess.h"
#include "scene/ProjectFileFormat.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"
#include "text/NumberText.h"
#include "text/UiText.h"

namespace m3d {

namespace {

Outcome CheckFrameRate(const std::string& path, const ModelImportOptions& options)
{
    if (options.framesPerSecond < kMinFrameRate || options.framesPerSecond > kMaxFrameRate)
        return Outcome::Failure(path + ": " + std::to_string(options.framesPerSecond) + " frames a second is outside " +
                                std::to_string(kMinFrameRate) + " ... " + std::to_string(kMaxFrameRate));
    return Outcome();
}

// model, as ReadForeignModelInChild hands it over, made ready to be added to a scene of partsThere
// Parts: checked to fit, in the editor's space at the options' scale, what its animations become chosen.
Outcome BringIn(ForeignModel& model, const std::string& path, const ModelImportOptions& options, int partsThere,
                AnimationChoice& choice)
{
    if (Outcome rate = CheckFrameRate(path, options); !rate) return rate;
    if (Outcome fits = CheckModelFits(model, partsThere, path); !fits) return fits;
    choice.fromFirstKey = options.fromFirstKey;
    choice.kept = options.animations
                      ? *options.animations
                      : OfferedAnimations(ImportableAnimations(model, options.framesPerSecond, options.fromFirstKey));
    return BringForeignModelIn(model, path, options.scale,
                               options.outsideImagesAllowed ? NamedFileScope::Anywhere : NamedFileScope::InFolder);
}

ModelImport AddToProject(EditorSession& session, const ForeignModel& model, const std::string& path,
                         int framesPerSecond, const AnimationChoice& choice)
{
    Scene& scene = session.GetScene();
    DocumentEdit edit(session, EditorCommand::ImportModel);
    edit.PoseBeforePartSetChange();
    ModelImport import = ImportModel(scene, model, path, framesPerSecond, choice);
    // The first model of known size gives a project of unknown unit its own.
    if (!IsKnownLengthUnit(scene.metresPerUnit) && IsKnownLengthUnit(model.metresPerUnit)) {
        edit.Add(std::make_unique<LengthUnitChange>(scene.metresPerUnit));
        scene.metresPerUnit = model.metresPerUnit;
    }
    if (!import.parts.empty()) {
        edit.Add(PartSetChange::Added(import.parts));
        edit.PartSetChanged();
    }
    for (int motion : import.motions) edit.Add(MotionListChange::Added(motion));
    // The last new Motion is shown at frame 0, as an opened project's is: the model's rest pose
    // may be another animation's first frame, and a key set now must hold what is on screen.
    if (!import.motions.empty()) {
        session.SelectMotion(import.motions.back());
        session.SetCurrentFrame(0);
        EvaluatePose(scene, import.motions.back(), 0);
    }
    edit.Commit();
    if (!import.parts.empty()) session.SelectPart(import.parts.front());
    session.ShowCurrentTransform();
    session.FitWholeModel();
    session.UpdateTitle();
    return import;
}

}  // namespace

Expected<ModelImport> ImportModelCommand(EditorSession& session, const std::string& path,
                                         const ModelImportOptions& options)
{
    if (Outcome rate = CheckFrameRate(path, options); !rate) return rate;
    ForeignModel model;
    if (Outcome read = ReadForeignModelInChild(path, model); !read) return read;
    return ImportReadModelCommand(session, path, std::move(model), options);
}

Expected<ModelImport> ImportReadModelCommand(EditorSession& session, const std::string& path, ForeignModel model,
                                             const ModelImportOptions& options)
{
    AnimationChoice choice;
    if (Outcome brought = BringIn(model, path, options, session.GetScene().PartCount(), choice); !brought)
        return brought;
    return AddToProject(session, model, path, options.framesPerSecond, choice);
}

Expected<ModelImport> OpenModelCommand(EditorSession& session, const std::string& path,
                                       const ModelImportOptions& options, UserPrompt& prompt)
{
    if (Outcome rate = CheckFrameRate(path, options); !rate) return rate;
    ForeignModel model;
    if (Outcome read = ReadForeignModelInChild(path, model); !read) return read;
    AnimationChoice choice;
    if (Outcome brought = BringIn(model, path, options, 0, choice); !brought) return brought;
    NewProject(session, prompt);
    // NewProject leaves the scene as it was when the person keeps the unsaved work.
    if (session.GetScene().PartCount() != 0 || session.GetScene().MotionCount() != 0)
        return Outcome::Cancellation(path + ": not opened (the open project was kept)");
    return AddToProject(session, model, path, options.framesPerSecond, choice);
}

namespace {

// cut as a line of the window's note.
std::string AnimationCutLine(const AnimationCut& cut)
{
    const std::string frames = GroupedDigits(uint64_t(kMaxMotionLength));
    const std::string rate = std::to_string(cut.framesPerSecond);
    const std::string limit = SecondsFigure(double(kMaxMotionLength) / cut.framesPerSecond);
    std::string line =
        cut.whole
            ? WithArguments(UiText("core",
                                   "アニメーション「%1」（キーが %2 秒から始まり、%3 フレーム（%4 fps で "
                                   "%5 秒）の後にあるため、入れていません）"),
                            {cut.name, SecondsFigure(cut.firstKey), frames, rate, limit})
            : WithArguments(UiText("core", "アニメーション「%1」の %2 秒より後（%3 フレーム、%4 fps で切りました）"),
                            {cut.name, limit, frames, rate});
    if (cut.fittingFramesPerSecond > 0)
        line += WithArguments(UiText("core", "：再生のフレームレートを %1 にして読み込むと全部入ります"),
                              {std::to_string(cut.fittingFramesPerSecond)});
    return line;
}

}  // namespace

void ShowModelImportNotes(const ModelImport& import, UserPrompt& prompt)
{
    if (import.dropped.empty() && import.cuts.empty()) return;
    std::string text = UiText("core", "次のものは読み込めませんでした:");
    for (const std::string& line : import.dropped) text += "\n- " + line;
    for (const AnimationCut& cut : import.cuts) text += "\n- " + AnimationCutLine(cut);
    prompt.ShowNote(text, UiText("core", "モデルの読み込み"));
}

}  // namespace m3d
