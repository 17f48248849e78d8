#include "editor/CommandRegistry.h"

#include "anim/PartPivot.h"
#include "editor/CommandHost.h"
#include "editor/CommandState.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/FrameCommands.h"
#include "editor/JointLimitCommands.h"
#include "editor/MenuCommandIds.h"
#include "editor/MotionCommands.h"
#include "editor/OptionCommands.h"
#include "editor/PartCommands.h"
#include "editor/PartShapeCommands.h"
#include "editor/PartTreeCommands.h"
#include "editor/PoseCommands.h"
#include "editor/TransformPanelControls.h"
#include "scene/ModelRules.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace m3d {

namespace {

using C = EditorCommand;
using M = CommandMenu;
constexpr CommandNeeds kAlways{};
constexpr CommandNeeds kNotPlaying{.notPlaying = true};
constexpr CommandNeeds kPartNotPlaying{.currentPart = true, .notPlaying = true};
constexpr CommandNeeds kKeyDrag{.notPlaying = true, .keyDrag = true};
constexpr CommandNeeds kAnyDrag{.notPlaying = true, .anyDrag = true};
constexpr const char* kInterpolationLabel = QT_TRANSLATE_NOOP("core", "補間の変更");

// The interpolation commands: Make gives the interpolation.
template <KeyInterpolation (*Make)()>
void GiveInterpolation(CommandContext& context)
{
    context.session.Timeline().SetInterpolation(Make());
}
template <KeyInterpolation (*Make)()>
void UseForNewKeys(CommandContext& context)
{
    context.session.Timeline().SetNewKeyInterpolation(Make());
}
template <KeyInterpolation (*Make)()>
bool UsedForNewKeys(const EditorSession& session)
{
    return session.Timeline().NewKeyInterpolation() == Make();
}
// Keys that act only while the main window has the focus (CommandEntry).
constexpr bool kMainWindowKeys = true;

void AskPoleOfCurrentPart(CommandContext& c)
{
    IkPosing& ik = c.session.Ik();
    const int part = c.session.CurrentPart();
    const std::optional<Vec3> current = ik.PoleOf(part);
    if (const std::optional<PoleAnswer> answer = c.host.AskPole(current ? current : ik.SuggestedPole(part)))
        ik.SetPole(part, answer->pole);
}

void AskJointLimitOfCurrentPart(CommandContext& c)
{
    const int part = c.session.CurrentPart();
    const Part* limited = c.session.GetScene().PartAt(part);
    if (!limited) return;
    if (const std::optional<JointLimit> limit = c.host.AskJointLimit(limited->jointLimit))
        SetJointLimitCommand(c.session, part, *limit);
}

void ShowLoadError(CommandContext& c, const Outcome& loaded)
{
    if (!loaded) c.host.Prompt().ShowMessage(loaded.Message(), UiText("core", "Error"));
}

void AddPartFromFile(CommandContext& c)
{
    const std::string path = c.host.AskObjectPath(UiText("core", kAddObjectDialogTitle));
    if (!path.empty()) ShowLoadError(c, AddObject(c.session, path));
}

void SwapPartFile(CommandContext& c)
{
    if (c.session.CurrentPart() < 0) return;
    const std::string path = c.host.AskObjectPath(UiText("core", kSwapObjectDialogTitle));
    ShowLoadError(c, SwapCurrentObject(c.session, path).loaded);
}

void OpenProjectFromFile(CommandContext& c)
{
    if (!AskSaveBeforeOpening(c.session, c.host.Prompt())) return;
    const std::string path = c.host.AskProjectPath();
    if (!path.empty()) OpenProjectCommand(c.session, c.host.Prompt(), path);
}

void ChangeGridWidth(CommandContext& c)
{
    const std::optional<int> width = c.host.AskGridWidth(c.session.Views().gridWidth);
    CloseGridWidthDialog(c.session, width.has_value(), width.value_or(0));
}

void ChangeMoveSnap(CommandContext& c)
{
    if (const std::optional<float> step = c.host.AskMoveSnap(c.session.Posing().MoveSnap()))
        c.session.Posing().SetMoveSnap(*step);
}

void ChangeModelScale(CommandContext& c)
{
    const std::optional<float> factor = c.host.AskScaleFactor();
    if (CloseScaleDialog(c.session, factor.has_value(), factor.value_or(1.0f)) == ScaleDialogOutcome::Refused)
        c.host.Prompt().ShowMessage(
            UiText("core", "この倍率ではモデルの値が浮動小数点数の範囲を超えるため、スケールを変更しませんでした。"),
            UiText("core", "スケールの変更"));
}

void MovePivotFromDialog(CommandContext& c)
{
    const std::optional<Vec3> point = c.host.AskPivotPoint();
    if (point && !MovePivotCommand(c.session, *point) &&
        !PivotKeepsShape(c.session.GetScene(), c.session.CurrentPart(), *point))
        c.host.Prompt().ShowMessage(
            UiText("core", "その点はパーツから遠すぎて、形を保ったままピボットを移せないため、移動しませんでした。"),
            UiText("core", "ピボットの移動"));
}

void NewMotionFromDialog(CommandContext& c)
{
    if (const std::optional<MotionNameAnswer> answer = c.host.AskMotionName()) {
        if (answer->duplicate && c.session.CurrentMotion() >= 0)
            DuplicateMotionCommand(c.session, answer->name);
        else
            NewMotionCommand(c.session, answer->name);
    }
    c.session.Timeline().ResetToStart();
}

void RenameMotionFromDialog(CommandContext& c)
{
    if (c.session.CurrentMotion() < 0) return;
    if (const std::optional<MotionNameAnswer> answer = c.host.AskMotionName())
        RenameMotionCommand(c.session, answer->name);
}

void ChangeMotionLength(CommandContext& c)
{
    const int motion = c.session.CurrentMotion();
    if (motion < 0) return;
    if (const std::optional<int> length = c.host.AskMotionLength(c.session.GetScene().Motions()[motion].length))
        SetMotionLengthCommand(c.session, *length);
}

void SelectMotionInList(CommandContext& c)
{
    c.session.SelectMotion(c.argument);
    c.session.Timeline().ResetToStart();
}

void StartPlayback(CommandContext& c)
{
    // A refused rate is shown by its field and playback does not start.
    if (c.session.IsPlaying() || c.session.CurrentMotion() < 0 || !c.host.ReadFrameRate()) return;
    c.session.Playback().Play();
}

void TogglePlayback(CommandContext& c)
{
    if (c.session.IsPlaying())
        c.session.Playback().Stop();
    else
        StartPlayback(c);
}

// A transform panel "Set": the fields are read first; a refused one sets nothing.
template <void (*Set)(EditorSession&)>
void SetFromFields(CommandContext& c)
{
    if (c.host.ReadTransformFields()) Set(c.session);
}

template <PoseDragKind Kind>
void StartKeyDrag(CommandContext& c)
{
    c.session.Posing().StartKeyDrag(Kind);
}
template <DragAxis Axis>
void ToggleDragAxis(CommandContext& c)
{
    c.session.Posing().ToggleAxis(Axis);
}

template <bool (MotionTimeline::*Command)()>
void TimelineCommand(CommandContext& c)
{
    (c.session.Timeline().*Command)();
}

const std::array kMenus = {
    CommandMenuEntry{M::File, M::None, QT_TRANSLATE_NOOP("core", "&File")},
    CommandMenuEntry{M::Export, M::File, QT_TRANSLATE_NOOP("core", "エクスポート（&E）")},
    CommandMenuEntry{M::Preferences, M::File, QT_TRANSLATE_NOOP("core", "環境設定（&C）")},
    CommandMenuEntry{M::Parts, M::None, QT_TRANSLATE_NOOP("core", "&Parts")},
    CommandMenuEntry{M::Ik, M::Parts, QT_TRANSLATE_NOOP("core", "IK（&K）")},
    CommandMenuEntry{M::Option, M::None, QT_TRANSLATE_NOOP("core", "&Option")},
    CommandMenuEntry{M::Extra, M::Option, QT_TRANSLATE_NOOP("core", "追加機能（&A）")},
    CommandMenuEntry{M::View, M::None, QT_TRANSLATE_NOOP("core", "表示（&V）")},
    CommandMenuEntry{M::Motion, M::None, QT_TRANSLATE_NOOP("core", "モーション（&M）")},
    CommandMenuEntry{M::Interpolation, M::Motion, QT_TRANSLATE_NOOP("core", "補間（&I）")},
    CommandMenuEntry{M::NewKeys, M::Interpolation, QT_TRANSLATE_NOOP("core", "新しいキーの補間（&N）")},
    CommandMenuEntry{M::Help, M::None, QT_TRANSLATE_NOOP("core", "&Help")},
};

// clang-format off
const std::array kCommands = {
    // File
    CommandEntry{C::NewProject, "new", ID_FILE_NEW, M::File, false, QT_TRANSLATE_NOOP("core", "新規作成（&N）"), "Ctrl+N", nullptr, kAlways,
                 [](CommandContext& c) { NewProject(c.session, c.host.Prompt()); }, false},
    CommandEntry{C::OpenProject, "open", ID_FILE_OPEN, M::File, false, QT_TRANSLATE_NOOP("core", "開く（&O）"), "Ctrl+O", nullptr, kAlways,
                 OpenProjectFromFile, false},
    CommandEntry{C::SaveProject, "save", ID_FILE_SAVE, M::File, false, QT_TRANSLATE_NOOP("core", "上書き保存（S）"), "Ctrl+S", nullptr, kAlways,
                 [](CommandContext& c) { SaveCommand(c.session, c.host.Prompt()); }, false},
    CommandEntry{C::SaveProjectAs, "save-as", ID_FILE_SAVE_AS, M::File, false, QT_TRANSLATE_NOOP("core", "名前を付けて保存（&A）"), "Ctrl+Shift+S", nullptr, kAlways,
                 [](CommandContext& c) { SaveAsCommand(c.session, c.host.Prompt()); }, false},
    CommandEntry{C::ImportModel, "import-model", ID_FILE_IMPORT_MODEL, M::File, true, QT_TRANSLATE_NOOP("core", "モデルを読み込む（&I）..."), "Ctrl+I", QT_TRANSLATE_NOOP("core", "モデルの読み込み"), kNotPlaying,
                 [](CommandContext& c) { c.host.ShowImportModelDialog(); }, false},
    CommandEntry{C::ExportGltf, "export-gltf", ID_EXPORT_GLTF, M::Export, false, QT_TRANSLATE_NOOP("core", "glTF出力（&T）"), "", nullptr, kAlways,
                 [](CommandContext& c) { c.host.ShowExportGltfDialog(); }, false},
    CommandEntry{C::RenderMovie, "render-movie", ID_FILE_RENDER_MOVIE, M::File, false, QT_TRANSLATE_NOOP("core", "動画出力（&V）..."), "", nullptr, kNotPlaying,
                 [](CommandContext& c) { c.host.ShowMovieExportDialog(); }, false},
    CommandEntry{C::RecoverDocuments, "recover", ID_FILE_RECOVER, M::File, false, QT_TRANSLATE_NOOP("core", "復元…"), "", nullptr, kNotPlaying,
                 [](CommandContext& c) { c.host.ShowRecoveryDialog(); }, false},
    CommandEntry{C::ColourSettings, "colours", ID_COLOR_CHANGE, M::Preferences, false, QT_TRANSLATE_NOOP("core", "色の変更"), "", nullptr, kAlways,
                 [](CommandContext& c) { c.host.ShowColourDialog(); }, false},
    CommandEntry{C::Exit, "exit", ID_APP_EXIT, M::File, true, QT_TRANSLATE_NOOP("core", "E&xit"), "Ctrl+Q", nullptr, kAlways,
                 [](CommandContext& c) { c.host.Quit(); }, false},
    // Parts
    CommandEntry{C::AddPart, "add-part", ID_PARTS_ADD, M::Parts, false, QT_TRANSLATE_NOOP("core", "追加（&A）"), "", QT_TRANSLATE_NOOP("core", "パーツの追加"), kNotPlaying,
                 AddPartFromFile, false},
    CommandEntry{C::DeletePart, "delete-part", ID_PARTS_DELETE, M::Parts, false, QT_TRANSLATE_NOOP("core", "削除（&D）"), "", QT_TRANSLATE_NOOP("core", "パーツの削除"), kPartNotPlaying,
                 [](CommandContext& c) { DeleteCurrentPart(c.session); }, false},
    CommandEntry{C::SwapPart, "swap-part", ID_PARTS_SWAP, M::Parts, false, QT_TRANSLATE_NOOP("core", "入れ替え（&C）"), "", QT_TRANSLATE_NOOP("core", "パーツの入れ替え"), kPartNotPlaying,
                 SwapPartFile, false},
    CommandEntry{C::AddMirroredPart, "add-mirrored-part", ID_PARTS_ADD_MIRRORED, M::Parts, false, QT_TRANSLATE_NOOP("core", "反転して追加（&R）"), "", QT_TRANSLATE_NOOP("core", "反転して追加"), kPartNotPlaying,
                 [](CommandContext& c) { c.host.ShowMirroredNameDialog(); }, false},
    CommandEntry{C::SymmetrySettings, "symmetry", ID_PARTS_SYMMETRY, M::Parts, false, QT_TRANSLATE_NOOP("core", "対称関係（&S）"), "", QT_TRANSLATE_NOOP("core", "対称関係"), kNotPlaying,
                 [](CommandContext& c) { c.host.ShowSymmetryDialog(); }, false},
    CommandEntry{C::RenamePart, "rename-part", ID_PARTS_RENAME, M::Parts, false, QT_TRANSLATE_NOOP("core", "名前の変更（&N）"), "F2", QT_TRANSLATE_NOOP("core", "名前の変更"), kPartNotPlaying,
                 [](CommandContext& c) { c.host.ShowRenamePartDialog(); }, false},
    CommandEntry{C::MovePivot, "move-pivot", ID_PARTS_MOVE_PIVOT, M::Parts, true, QT_TRANSLATE_NOOP("core", "ピボットの移動（&P）..."), "", QT_TRANSLATE_NOOP("core", "ピボットの移動"), kPartNotPlaying,
                 MovePivotFromDialog, false},
    CommandEntry{C::ResizePart, "resize-part", ID_PARTS_RESIZE, M::Parts, false, QT_TRANSLATE_NOOP("core", "サイズ変更（&Z）..."), "", QT_TRANSLATE_NOOP("core", "サイズ変更"), kPartNotPlaying,
                 [](CommandContext& c) { if (const auto factor = c.host.AskPartScale()) ResizePartCommand(c.session, *factor); }, false},
    // Parts › IK
    CommandEntry{C::ToggleIk, "ik", ID_PARTS_IK, M::Ik, false, QT_TRANSLATE_NOOP("core", "IKで動かす（&I）"), "I", nullptr, kAlways,
                 [](CommandContext& c) { c.session.Ik().SetEnabled(!c.session.Ik().Enabled()); }, false, kMainWindowKeys,
                 [](const EditorSession& s) { return s.Ik().Enabled(); }},
    CommandEntry{C::LongerChain, "ik-longer-chain", ID_PARTS_IK_LONGER_CHAIN, M::Ik, false, QT_TRANSLATE_NOOP("core", "チェーンを長く（&L）"), "]", nullptr, kAlways,
                 [](CommandContext& c) { c.session.Ik().SetChainLength(c.session.Ik().ChainLength() + 1); }, false, kMainWindowKeys},
    CommandEntry{C::ShorterChain, "ik-shorter-chain", ID_PARTS_IK_SHORTER_CHAIN, M::Ik, false, QT_TRANSLATE_NOOP("core", "チェーンを短く（&S）"), "[", nullptr, kAlways,
                 [](CommandContext& c) { c.session.Ik().SetChainLength(c.session.Ik().ChainLength() - 1); }, false, kMainWindowKeys},
    CommandEntry{C::PinPart, "ik-pin", ID_PARTS_IK_PIN, M::Ik, true, QT_TRANSLATE_NOOP("core", "ピン留め（&N）"), "", nullptr, kPartNotPlaying,
                 [](CommandContext& c) { c.session.Ik().SetPinned(c.session.CurrentPart(), !c.session.Ik().IsPinned(c.session.CurrentPart())); }, false, false,
                 [](const EditorSession& s) { return s.Ik().IsPinned(s.CurrentPart()); }},
    CommandEntry{C::SetPole, "ik-pole", ID_PARTS_IK_POLE, M::Ik, false, QT_TRANSLATE_NOOP("core", "ポール（&O）..."), "", nullptr, kPartNotPlaying,
                 AskPoleOfCurrentPart, false},
    CommandEntry{C::JointLimits, "joint-limits", ID_PARTS_JOINT_LIMITS, M::Ik, false, QT_TRANSLATE_NOOP("core", "関節の制限（&J）..."), "", QT_TRANSLATE_NOOP("core", "関節の制限"), kPartNotPlaying,
                 AskJointLimitOfCurrentPart, false},
    CommandEntry{C::KeyIkParts, "ik-keys", ID_PARTS_IK_KEYS, M::Ik, true, QT_TRANSLATE_NOOP("core", "IKで動いたパーツをキー登録（&K）"), "", QT_TRANSLATE_NOOP("core", "IKのキー登録"), kNotPlaying,
                 [](CommandContext& c) { c.session.Timeline().SetKeysOf(c.session.Ik().LastDragParts(), EditorCommand::KeyIkParts); }, false},
    // Parts tree: a Part dropped on another (argument: its index, -1 for root)
    CommandEntry{C::ReparentPart, "reparent-part", 0, M::None, false, QT_TRANSLATE_NOOP("core", "親の変更"), "", QT_TRANSLATE_NOOP("core", "親の変更"), kPartNotPlaying,
                 [](CommandContext& c) { ReparentCurrentPart(c.session, c.argument); }, false},
    // Option
    CommandEntry{C::LightFromFront, "light-from-front", ID_LIGHT_FROM_FRONT, M::Option, false, QT_TRANSLATE_NOOP("core", "正面から照らす（&F）"), "", nullptr, kAlways,
                 [](CommandContext& c) { LightFromFrontCommand(c.session); }, false},
    CommandEntry{C::GridWidth, "grid-width", ID_GRID_WIDTH, M::Option, true, QT_TRANSLATE_NOOP("core", "グリッドの幅を変更（&C）"), "", nullptr, kAlways,
                 ChangeGridWidth, false},
    CommandEntry{C::MoveSnap, "move-snap", ID_MOVE_SNAP, M::Option, false, QT_TRANSLATE_NOOP("core", "移動のスナップ（&N）..."), "", nullptr, kAlways,
                 ChangeMoveSnap, false},
    CommandEntry{C::ModelScale, "scale", ID_MODEL_SCALE, M::Option, false, QT_TRANSLATE_NOOP("core", "スケールの調整（&S）"), "", QT_TRANSLATE_NOOP("core", "スケールの調整"), kAlways,
                 ChangeModelScale, true},
    CommandEntry{C::MirrorPose, "mirror-pose", ID_POSE_MIRROR, M::Option, true, QT_TRANSLATE_NOOP("core", "左右逆のポーズにする（&R）"), "", QT_TRANSLATE_NOOP("core", "左右逆のポーズ"), kAlways,
                 [](CommandContext& c) { MirrorPoseCommand(c.session); }, false},
    CommandEntry{C::DropToGround, "drop-to-ground", ID_POSE_GROUND, M::Option, false, QT_TRANSLATE_NOOP("core", "全オブジェクトの一番下を地面に合わせる（&G）"), "", QT_TRANSLATE_NOOP("core", "地面に合わせる"), kAlways,
                 [](CommandContext& c) { DropToGroundCommand(c.session); }, false},
    CommandEntry{C::LevelPart, "level-pose", ID_POSE_LEVEL, M::Option, false, QT_TRANSLATE_NOOP("core", "選択オブジェクトを水平にする（&H）"), "", QT_TRANSLATE_NOOP("core", "水平にする"), kAlways,
                 [](CommandContext& c) { LevelCurrentPart(c.session); }, false},
    CommandEntry{C::ExportX, "export-x", ID_EXPORT_XFILE, M::Option, true, QT_TRANSLATE_NOOP("core", "Xファイル出力（&X）"), "", nullptr, kAlways,
                 [](CommandContext& c) { c.host.ShowExportXDialogs(); }, false, false, nullptr, M::Export},
    CommandEntry{C::DeleteRedundantKeys, "delete-redundant-keys", ID_MOTION_DELETE_REDUNDANT_KEYS, M::Extra, false, QT_TRANSLATE_NOOP("core", "余計なキーを削除（&D）"), "", QT_TRANSLATE_NOOP("core", "余計なキーを削除"), kAlways,
                 [](CommandContext& c) { DeleteRedundantKeysCommand(c.session); }, true},
    CommandEntry{C::MirrorMotion, "mirror-motion", ID_MOTION_MIRROR, M::Extra, false, QT_TRANSLATE_NOOP("core", "左右逆のモーションにする（&M）"), "", QT_TRANSLATE_NOOP("core", "左右逆のモーション"), kAlways,
                 [](CommandContext& c) { MirrorMotionCommand(c.session); }, true},
    CommandEntry{C::GroundAllKeyframes, "ground-all-keyframes", ID_MOTION_GROUND, M::Extra, false, QT_TRANSLATE_NOOP("core", "全てのキーフレームで一番下を地面に合わせる（&A）"), "", QT_TRANSLATE_NOOP("core", "全てのキーフレームで地面に合わせる"), kAlways,
                 [](CommandContext& c) { GroundAllKeyframesCommand(c.session); }, true},
    CommandEntry{C::LevelPartInAllKeyframes, "level-part", ID_MOTION_LEVEL, M::Extra, false, QT_TRANSLATE_NOOP("core", "選択オブジェクトを全てのキーフレームで水平にする（&L）"), "", QT_TRANSLATE_NOOP("core", "全てのキーフレームで水平にする"), kAlways,
                 [](CommandContext& c) { LevelPartInAllKeyframesCommand(c.session); }, true},
    CommandEntry{C::TurnMotionAround, "turn-around", ID_MOTION_TURN_Z, M::Extra, false, QT_TRANSLATE_NOOP("core", "モーションをZ方向に反転させる（&Z）"), "", QT_TRANSLATE_NOOP("core", "Z方向に反転"), kAlways,
                 [](CommandContext& c) { TurnMotionAroundCommand(c.session); }, true},
    // View
    CommandEntry{C::FitWholeModel, "fit-whole-model", ID_VIEW_FIT_WHOLE_MODEL, M::View, false, QT_TRANSLATE_NOOP("core", "全体表示（&F）"), "F", nullptr, kNotPlaying,
                 [](CommandContext& c) { c.session.FitWholeModel(); }, false},
    // Motion
    CommandEntry{C::TogglePlayback, "play-stop", ID_MOTION_PLAY_STOP, M::Motion, false, QT_TRANSLATE_NOOP("core", "再生/停止（&P）"), "Space", nullptr, kAlways,
                 TogglePlayback, false, kMainWindowKeys},
    CommandEntry{C::PreviousFrame, "previous-frame", ID_MOTION_PREVIOUS_FRAME, M::Motion, true, QT_TRANSLATE_NOOP("core", "前のフレーム（&B）"), "Left", kFrameChangeLabel, kNotPlaying,
                 [](CommandContext& c) { StepFrameCommand(c.session, -1); }, false, kMainWindowKeys},
    CommandEntry{C::NextFrame, "next-frame", ID_MOTION_NEXT_FRAME, M::Motion, false, QT_TRANSLATE_NOOP("core", "次のフレーム（&F）"), "Right", kFrameChangeLabel, kNotPlaying,
                 [](CommandContext& c) { StepFrameCommand(c.session, 1); }, false, kMainWindowKeys},
    CommandEntry{C::PreviousKey, "previous-key", ID_MOTION_PREVIOUS_KEY, M::Motion, false, QT_TRANSLATE_NOOP("core", "前のキー（&R）"), "Shift+Left", kFrameChangeLabel, kNotPlaying,
                 [](CommandContext& c) { GoToNeighbourKeyCommand(c.session, KeyDirection::Previous); }, false, kMainWindowKeys},
    CommandEntry{C::NextKey, "next-key", ID_MOTION_NEXT_KEY, M::Motion, false, QT_TRANSLATE_NOOP("core", "次のキー（&X）"), "Shift+Right", kFrameChangeLabel, kNotPlaying,
                 [](CommandContext& c) { GoToNeighbourKeyCommand(c.session, KeyDirection::Next); }, false, kMainWindowKeys},
    CommandEntry{C::FirstFrame, "first-frame", ID_MOTION_FIRST_FRAME, M::Motion, false, QT_TRANSLATE_NOOP("core", "最初のフレーム（&H）"), "Home", kFrameChangeLabel, kNotPlaying,
                 [](CommandContext& c) { GoToFrameCommand(c.session, 0); }, false, kMainWindowKeys},
    CommandEntry{C::LastFrame, "last-frame", ID_MOTION_LAST_FRAME, M::Motion, false, QT_TRANSLATE_NOOP("core", "最後のフレーム（&E）"), "End", kFrameChangeLabel, kNotPlaying,
                 [](CommandContext& c) { GoToLastFrameCommand(c.session); }, false, kMainWindowKeys},
    CommandEntry{C::SetKey, "set-key", ID_MOTION_SET_KEY, M::Motion, true, QT_TRANSLATE_NOOP("core", "キーを設定（&K）"), "K", QT_TRANSLATE_NOOP("core", "キーの設定"), kNotPlaying,
                 TimelineCommand<&MotionTimeline::SetKeyHere>, false},
    CommandEntry{C::SetAllKeys, "set-all-keys", ID_MOTION_SET_ALL_KEYS, M::Motion, false, QT_TRANSLATE_NOOP("core", "全パーツのキーを設定（&A）"), "Shift+K", QT_TRANSLATE_NOOP("core", "全パーツのキーの設定"), kNotPlaying,
                 TimelineCommand<&MotionTimeline::SetAllKeys>, false},
    CommandEntry{C::DeleteKey, "delete-key", ID_MOTION_DELETE_KEY, M::Motion, false, QT_TRANSLATE_NOOP("core", "キーを削除（&D）"), "Alt+K", QT_TRANSLATE_NOOP("core", "キーの削除"), kNotPlaying,
                 TimelineCommand<&MotionTimeline::DeleteKeys>, false},
    // Motion > Interpolation
    CommandEntry{C::InterpolationLinear, "interpolation-linear", ID_MOTION_INTERPOLATION_LINEAR, M::Interpolation, false, QT_TRANSLATE_NOOP("core", "リニア（&L）"), "Alt+1", kInterpolationLabel, kNotPlaying,
                 GiveInterpolation<KeyInterpolation::Linear>, false},
    CommandEntry{C::InterpolationSmooth, "interpolation-smooth", ID_MOTION_INTERPOLATION_SMOOTH, M::Interpolation, false, QT_TRANSLATE_NOOP("core", "スムーズ（&S）"), "Alt+2", kInterpolationLabel, kNotPlaying,
                 GiveInterpolation<KeyInterpolation::AutoClamped>, false},
    CommandEntry{C::InterpolationEaseIn, "interpolation-ease-in", ID_MOTION_INTERPOLATION_EASE_IN, M::Interpolation, false, QT_TRANSLATE_NOOP("core", "イーズイン（&I）"), "Alt+3", kInterpolationLabel, kNotPlaying,
                 GiveInterpolation<KeyInterpolation::EaseIn>, false},
    CommandEntry{C::InterpolationEaseOut, "interpolation-ease-out", ID_MOTION_INTERPOLATION_EASE_OUT, M::Interpolation, false, QT_TRANSLATE_NOOP("core", "イーズアウト（&O）"), "Alt+4", kInterpolationLabel, kNotPlaying,
                 GiveInterpolation<KeyInterpolation::EaseOut>, false},
    CommandEntry{C::InterpolationEaseInOut, "interpolation-ease-in-out", ID_MOTION_INTERPOLATION_EASE_IN_OUT, M::Interpolation, false, QT_TRANSLATE_NOOP("core", "イーズインアウト（&B）"), "Alt+5", kInterpolationLabel, kNotPlaying,
                 GiveInterpolation<KeyInterpolation::EaseInOut>, false},
    CommandEntry{C::InterpolationStep, "interpolation-step", ID_MOTION_INTERPOLATION_STEP, M::Interpolation, false, QT_TRANSLATE_NOOP("core", "ステップ（&T）"), "Alt+6", kInterpolationLabel, kNotPlaying,
                 GiveInterpolation<KeyInterpolation::Step>, false},
    CommandEntry{C::NewKeysLinear, "new-keys-linear", ID_MOTION_NEW_KEYS_LINEAR, M::NewKeys, false, QT_TRANSLATE_NOOP("core", "リニア（&L）"), "", nullptr, kAlways,
                 UseForNewKeys<KeyInterpolation::Linear>, false, false, UsedForNewKeys<KeyInterpolation::Linear>},
    CommandEntry{C::NewKeysSmooth, "new-keys-smooth", ID_MOTION_NEW_KEYS_SMOOTH, M::NewKeys, false, QT_TRANSLATE_NOOP("core", "スムーズ（&S）"), "", nullptr, kAlways,
                 UseForNewKeys<KeyInterpolation::AutoClamped>, false, false, UsedForNewKeys<KeyInterpolation::AutoClamped>},
    CommandEntry{C::NewKeysEaseIn, "new-keys-ease-in", ID_MOTION_NEW_KEYS_EASE_IN, M::NewKeys, false, QT_TRANSLATE_NOOP("core", "イーズイン（&I）"), "", nullptr, kAlways,
                 UseForNewKeys<KeyInterpolation::EaseIn>, false, false, UsedForNewKeys<KeyInterpolation::EaseIn>},
    CommandEntry{C::NewKeysEaseOut, "new-keys-ease-out", ID_MOTION_NEW_KEYS_EASE_OUT, M::NewKeys, false, QT_TRANSLATE_NOOP("core", "イーズアウト（&O）"), "", nullptr, kAlways,
                 UseForNewKeys<KeyInterpolation::EaseOut>, false, false, UsedForNewKeys<KeyInterpolation::EaseOut>},
    CommandEntry{C::NewKeysEaseInOut, "new-keys-ease-in-out", ID_MOTION_NEW_KEYS_EASE_IN_OUT, M::NewKeys, false, QT_TRANSLATE_NOOP("core", "イーズインアウト（&B）"), "", nullptr, kAlways,
                 UseForNewKeys<KeyInterpolation::EaseInOut>, false, false, UsedForNewKeys<KeyInterpolation::EaseInOut>},
    CommandEntry{C::NewKeysStep, "new-keys-step", ID_MOTION_NEW_KEYS_STEP, M::NewKeys, false, QT_TRANSLATE_NOOP("core", "ステップ（&T）"), "", nullptr, kAlways,
                 UseForNewKeys<KeyInterpolation::Step>, false, false, UsedForNewKeys<KeyInterpolation::Step>},
    CommandEntry{C::ToggleMotionLoop, "motion-loop", ID_MOTION_LOOP, M::Motion, true, QT_TRANSLATE_NOOP("core", "ループ（&L）"), "", QT_TRANSLATE_NOOP("core", "ループの切り替え"), kNotPlaying,
                 [](CommandContext& c) {
                     const int motion = c.session.CurrentMotion();
                     if (motion >= 0) SetMotionLoopCommand(c.session, motion, !c.session.GetScene().MotionAt(motion).loop);
                 }, false, false,
                 [](const EditorSession& s) { return s.CurrentMotion() >= 0 && s.GetScene().MotionAt(s.CurrentMotion()).loop; }},
    CommandEntry{C::MatchLoopEnds, "match-ends", ID_MOTION_MATCH_ENDS, M::Motion, false, QT_TRANSLATE_NOOP("core", "両端を合わせる（&M）"), "", QT_TRANSLATE_NOOP("core", "両端を合わせる"), kNotPlaying,
                 [](CommandContext& c) { MatchLoopEndsCommand(c.session); }, true},
    // View
    CommandEntry{C::ToggleCurvePanel, "curves", ID_VIEW_CURVES, M::View, true, QT_TRANSLATE_NOOP("core", "カーブ（&C）"), "", nullptr, kAlways,
                 [](CommandContext& c) { c.session.SetCurvePanelShown(!c.session.CurvePanelShown()); }, false, false,
                 [](const EditorSession& s) { return s.CurvePanelShown(); }},
    CommandEntry{C::ToggleLocalAxes, "local-axes", ID_VIEW_LOCAL_AXES, M::View, false, QT_TRANSLATE_NOOP("core", "ローカル軸（&L）"), "", nullptr, kAlways,
                 [](CommandContext& c) { c.session.Posing().SetSpace(c.session.Posing().Space() == AxisSpace::Local ? AxisSpace::World : AxisSpace::Local); }, false, false,
                 [](const EditorSession& s) { return s.Posing().Space() == AxisSpace::Local; }},
    // Help
    CommandEntry{C::HelpContents, "help", ID_HELP_CONTENTS, M::Help, false, QT_TRANSLATE_NOOP("core", "目次（&M）"), "", nullptr, kAlways,
                 [](CommandContext& c) { c.host.ShowHelpContents(); }, false},
    CommandEntry{C::UserGuide, "guide", ID_HELP_GUIDE, M::Help, false, QT_TRANSLATE_NOOP("core", "ユーザーガイド（&G）"), "", nullptr, kAlways,
                 [](CommandContext& c) { c.host.ShowUserGuide(); }, false},
    CommandEntry{C::About, "about", ID_APP_ABOUT, M::Help, false, QT_TRANSLATE_NOOP("core", "バージョン情報（&A）"), "", nullptr, kAlways,
                 [](CommandContext& c) { c.host.ShowAbout(); }, false},
    // Transform panel
    CommandEntry{C::SetRelativeRotation, "set-relative-rotation", 0, M::None, false, QT_TRANSLATE_NOOP("core", "相対回転を設定"), "", QT_TRANSLATE_NOOP("core", "回転"), kNotPlaying,
                 SetFromFields<OnRelativeRotationSet>, false},
    CommandEntry{C::SetAbsoluteRotation, "set-absolute-rotation", 0, M::None, false, QT_TRANSLATE_NOOP("core", "絶対回転を設定"), "", QT_TRANSLATE_NOOP("core", "回転"), kNotPlaying,
                 SetFromFields<OnAbsoluteRotationSet>, false},
    CommandEntry{C::SetRelativePosition, "set-relative-position", 0, M::None, false, QT_TRANSLATE_NOOP("core", "相対移動を設定"), "", QT_TRANSLATE_NOOP("core", "移動"), kNotPlaying,
                 SetFromFields<OnRelativePositionSet>, false},
    CommandEntry{C::SetAbsolutePosition, "set-absolute-position", 0, M::None, false, QT_TRANSLATE_NOOP("core", "絶対移動を設定"), "", QT_TRANSLATE_NOOP("core", "移動"), kNotPlaying,
                 SetFromFields<OnAbsolutePositionSet>, false},
    CommandEntry{C::LinkLR, "link-lr", 0, M::None, false, QT_TRANSLATE_NOOP("core", "左右連動"), "", nullptr, kNotPlaying,
                 [](CommandContext& c) { SetLinkLR(c.session, c.argument != 0); }, false},
    CommandEntry{C::FitViews, "fit-views", 0, M::None, false, QT_TRANSLATE_NOOP("core", "視点調整"), "", nullptr, kNotPlaying,
                 [](CommandContext& c) { c.session.FitViews(); }, false},
    CommandEntry{C::Undo, "undo", ID_EDIT_UNDO, M::None, false, QT_TRANSLATE_NOOP("core", "元に戻す"), "Ctrl+Z", nullptr, kNotPlaying,
                 [](CommandContext& c) { UndoCommand(c.session); }, false},
    CommandEntry{C::Redo, "redo", ID_EDIT_REDO, M::None, false, QT_TRANSLATE_NOOP("core", "やり直し"), "Ctrl+Y; Ctrl+Shift+Z", nullptr, kNotPlaying,
                 [](CommandContext& c) { RedoCommand(c.session); }, false},
    // Motion panel
    CommandEntry{C::SelectMotion, "select-motion", 0, M::None, false, QT_TRANSLATE_NOOP("core", "モーション一覧"), "", nullptr, kNotPlaying,
                 SelectMotionInList, false},
    CommandEntry{C::NewMotion, "new-motion", 0, M::None, false, QT_TRANSLATE_NOOP("core", "新規モーション"), "", QT_TRANSLATE_NOOP("core", "モーションの追加"), kNotPlaying,
                 NewMotionFromDialog, false},
    CommandEntry{C::DeleteMotion, "delete-motion", 0, M::None, false, QT_TRANSLATE_NOOP("core", "モーションの削除"), "", QT_TRANSLATE_NOOP("core", "モーションの削除"), kNotPlaying,
                 [](CommandContext& c) { DeleteMotionCommand(c.session); }, false},
    CommandEntry{C::RenameMotion, "rename-motion", 0, M::None, false, QT_TRANSLATE_NOOP("core", "モーションの名前変更"), "", QT_TRANSLATE_NOOP("core", "モーション名の変更"), kNotPlaying,
                 RenameMotionFromDialog, false},
    CommandEntry{C::SetMotionLength, "motion-length", 0, M::None, false, QT_TRANSLATE_NOOP("core", "モーションの長さ変更"), "", QT_TRANSLATE_NOOP("core", "長さの変更"), kNotPlaying,
                 ChangeMotionLength, false},
    CommandEntry{C::Play, "play", 0, M::None, false, QT_TRANSLATE_NOOP("core", "再生"), "", nullptr, kAlways,
                 StartPlayback, false},
    CommandEntry{C::Stop, "stop", 0, M::None, false, QT_TRANSLATE_NOOP("core", "停止"), "", QT_TRANSLATE_NOOP("core", "再生の停止"), kAlways,
                 [](CommandContext& c) { c.session.Playback().Stop(); }, false},
    CommandEntry{C::DeleteAllKeys, "delete-all-keys", 0, M::None, false, QT_TRANSLATE_NOOP("core", "全パーツのキーを削除"), "", QT_TRANSLATE_NOOP("core", "全パーツのキーの削除"), kNotPlaying,
                 TimelineCommand<&MotionTimeline::DeleteAllKeys>, false},
    CommandEntry{C::CopyKeys, "copy-keys", 0, M::None, false, QT_TRANSLATE_NOOP("core", "キーをコピー"), "", nullptr, kNotPlaying,
                 TimelineCommand<&MotionTimeline::CopyKeys>, false},
    CommandEntry{C::PasteKeys, "paste-keys", 0, M::None, false, QT_TRANSLATE_NOOP("core", "キーを貼り付け"), "", QT_TRANSLATE_NOOP("core", "キーの貼り付け"), kNotPlaying,
                 TimelineCommand<&MotionTimeline::PasteKeys>, false},
    CommandEntry{C::RealTimePlayback, "real-time", 0, M::None, false, QT_TRANSLATE_NOOP("core", "実時間"), "", nullptr, kAlways,
                 [](CommandContext& c) { c.session.Playback().SetRealTime(c.argument != 0); }, false},
    CommandEntry{C::FrameRate, "frame-rate", 0, M::None, false, QT_TRANSLATE_NOOP("core", "frame/sec"), "", nullptr, kNotPlaying,
                 [](CommandContext& c) { c.session.Playback().SetFramesPerSecond(c.argument); }, false},
    // Pose drags by the keys, from the pointer over the views
    CommandEntry{C::RotateDrag, "rotate-drag", 0, M::None, false, QT_TRANSLATE_NOOP("core", "キーで回転"), "R", nullptr, kPartNotPlaying,
                 StartKeyDrag<PoseDragKind::Rotate>, false, kMainWindowKeys},
    CommandEntry{C::MoveDrag, "move-drag", 0, M::None, false, QT_TRANSLATE_NOOP("core", "キーで移動"), "G", nullptr, kPartNotPlaying,
                 StartKeyDrag<PoseDragKind::Move>, false, kMainWindowKeys},
    CommandEntry{C::DragAxisX, "drag-axis-x", 0, M::None, false, QT_TRANSLATE_NOOP("core", "X軸に限定"), "X", nullptr, kKeyDrag,
                 ToggleDragAxis<DragAxis::X>, false, kMainWindowKeys},
    CommandEntry{C::DragAxisY, "drag-axis-y", 0, M::None, false, QT_TRANSLATE_NOOP("core", "Y軸に限定"), "Y", nullptr, kKeyDrag,
                 ToggleDragAxis<DragAxis::Y>, false, kMainWindowKeys},
    CommandEntry{C::DragAxisZ, "drag-axis-z", 0, M::None, false, QT_TRANSLATE_NOOP("core", "Z軸に限定"), "Z", nullptr, kKeyDrag,
                 ToggleDragAxis<DragAxis::Z>, false, kMainWindowKeys},
    CommandEntry{C::ConfirmDrag, "confirm-drag", 0, M::None, false, QT_TRANSLATE_NOOP("core", "ドラッグを確定"), "Return; Enter", nullptr, kKeyDrag,
                 [](CommandContext& c) { c.session.Posing().ConfirmDrag(); }, false, kMainWindowKeys},
    CommandEntry{C::CancelDrag, "cancel-drag", 0, M::None, false, QT_TRANSLATE_NOOP("core", "ドラッグを取り消す"), "Escape", nullptr, kAnyDrag,
                 [](CommandContext& c) { c.session.Posing().CancelDrag(); c.session.Ik().CancelDrag(); }, false, kMainWindowKeys},
};
// clang-format on

}  // namespace

std::span<const CommandEntry> Commands() { return kCommands; }

std::span<const CommandMenuEntry> CommandMenus() { return kMenus; }

const CommandEntry& EntryOf(EditorCommand command)
{
    // Built once: the table need not follow the enumeration's order.
    static const auto byCommand = [] {
        std::array<const CommandEntry*, kCommands.size()> table{};
        for (const CommandEntry& entry : kCommands) table[static_cast<size_t>(entry.command)] = &entry;
        return table;
    }();
    return *byCommand[static_cast<size_t>(command)];
}

const CommandEntry* FindCommand(std::string_view name)
{
    for (const CommandEntry& entry : kCommands)
        if (name == entry.name) return &entry;
    return nullptr;
}

std::string UndoLabelOf(EditorCommand command)
{
    const char* label = EntryOf(command).undoLabel;
    return label ? UiText("core", label) : std::string();
}

void RunCommand(EditorCommand command, EditorSession& session, CommandHost& host, int argument)
{
    if (!CanRun(session, command)) return;
    // A key drag holds Parts and keys by index: whatever the command changes,
    // the release must not move keys it no longer names.
    session.Timeline().CancelKeyDrag();
    if (!EntryOf(command).needs.keyDrag && !EntryOf(command).needs.anyDrag) session.Posing().ConfirmDrag();
    CommandContext context{session, host, argument};
    EntryOf(command).run(context);
#ifndef NDEBUG
    // A command that leaves the model breaking its rules is a bug: stop at
    // the command that did it rather than where the damage shows.
    if (const std::vector<ModelViolation> broken = Validate(session.GetScene()); !broken.empty()) {
        std::fprintf(stderr, "command %s broke the model's rules:\n%s", EntryOf(command).name,
                     DescribeViolations(broken).c_str());
        std::abort();
    }
#endif
}

}  // namespace m3d
