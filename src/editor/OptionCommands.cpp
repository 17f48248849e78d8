#include "editor/OptionCommands.h"

#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/ModelScaleChange.h"
#include "scene/ModelScale.h"

namespace m3d {

GridWidthOutcome CloseGridWidthDialog(EditorSession& session, bool confirmed, int width)
{
    if (confirmed) {
        if (width < ViewState::kGridWidthMin || width > ViewState::kGridWidthMax) return GridWidthOutcome::Refused;
        session.Views().SetGridWidth(width);
        session.Events().Publish(ViewsChanged{});
    }
    session.UpdateTitle();
    return confirmed ? GridWidthOutcome::Stored : GridWidthOutcome::Kept;
}

bool ScaleCommand(EditorSession& session, float factor)
{
    DocumentEdit edit(session, EditorCommand::ModelScale);
    auto change = std::make_unique<ModelScaleChange>(session.GetScene(), factor);
    if (!ScaleModel(session.GetScene(), factor)) return false;
    edit.Add(std::move(change));
    EvaluatePose(session.GetScene(), session.CurrentMotion(), 0);
    // Every key's translation was scaled.
    session.Events().Publish(MotionKeysChanged{session.CurrentMotion()});
    session.ShowCurrentTransform();
    session.FitViews();
    return true;
}

ScaleDialogOutcome CloseScaleDialog(EditorSession& session, bool confirmed, float factor)
{
    if (!confirmed) {
        session.FitViews();
        return ScaleDialogOutcome::Kept;
    }
    return ScaleCommand(session, factor) ? ScaleDialogOutcome::Applied : ScaleDialogOutcome::Refused;
}

ExportXResult ExportXCommand(EditorSession& session, const std::string& path, int timeScaleFactor, UserPrompt& prompt,
                             float lengthScale)
{
    const ExportXResult result = ExportXFile(session.GetScene(), path, timeScaleFactor, prompt, lengthScale);
    if (!result.refused) {
        EvaluatePose(session.GetScene(), session.CurrentMotion(), session.CurrentFrame());
        session.Events().Publish(PoseChanged{});
    }
    return result;
}

ExportGltfResult ExportGltfCommand(EditorSession& session, const std::string& path, UserPrompt& prompt,
                                   const GltfChoices& choices)
{
    return ExportGltfFile(session.GetScene(), path, session.Playback().FramesPerSecond(), prompt, choices);
}

void LightFromFrontCommand(EditorSession& session)
{
    session.Views().LightFromFront();
    session.Events().Publish(ViewsChanged{});
}

}  // namespace m3d
