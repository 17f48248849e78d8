#include "anim/MotionOperations.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/FrameCommands.h"
#include "editor/MotionCommands.h"
#include "editor/OptionCommands.h"
#include "editor/PartCommands.h"
#include "editor/PartTreeCommands.h"
#include "editor/PoseCommands.h"
#include "editor/SymmetryEditor.h"
#include "scene/ModelRules.h"
#include "scene/ProjectExtrasFile.h"
#include "scene/ProjectFile.h"
#include "scene/ProjectFileFormat.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <random>

using namespace m3d;

// Random command sequences on a generated project: undoing everything gives
// back the saved start byte for byte, redoing everything the end, the
// unsaved mark is set exactly when the document differs from the last save,
// and every saved project opens again as the document that was saved.
namespace {

// What a save would write, held in memory: the project file, its side file
// and every Part's geometry.
std::string DocumentBytes(const Scene& scene)
{
    const Expected<std::string> built = BuildProjectFile(ProjectPartRecordsOf(scene), scene.Motions());
    EXPECT_TRUE(Succeeded(built));
    std::string bytes = built ? *built : std::string();
    bytes += BuildProjectExtras(ProjectPartRecordsOf(scene), scene.Motions(), scene.metresPerUnit, bytes);
    for (const auto& part : scene.Parts()) {
        if (!part->mesh) continue;
        bytes += std::to_string(part->mesh->GetFaceNum()) + "/" + std::to_string(part->mesh->GetMtrlNum());
        for (const Vec3& p : part->mesh->GetVertexPositions())
            bytes.append(reinterpret_cast<const char*>(&p), sizeof p);
    }
    return bytes;
}

// The model's rules, after every command and every undo and redo.
void ExpectValidModel(const Scene& scene)
{
    EXPECT_EQ(DescribeViolations(Validate(scene)), "");
    for (int i = 0; i < scene.PartCount(); ++i) {
        const int parent = scene.Parts()[i]->parentIndex;
        EXPECT_TRUE(scene.Tree().Contains(scene.Parts()[i]->treeItem));
        // The tree mirrors the links, each Part's children in index order.
        const TreeItem parentItem = parent >= 0 ? scene.Parts()[parent]->treeItem : scene.rootPart.treeItem;
        EXPECT_EQ(scene.Tree().GetParent(scene.Parts()[i]->treeItem), parentItem) << "Part " << i;
        int previous = -1;
        for (TreeItem child : scene.Tree().GetChildren(scene.Parts()[i]->treeItem)) {
            EXPECT_GT(scene.FindPartByTreeItem(child), previous) << "children of Part " << i;
            previous = scene.FindPartByTreeItem(child);
        }
    }
}

// Every file a save wrote into folder, by name.
std::map<std::string, std::string> SavedFiles(const TempFolder& folder, const std::string& subfolder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File(subfolder)))
        files[entry.path().filename().string()] = folder.Read(subfolder + "/" + entry.path().filename().string());
    return files;
}

// Names the project file would fold (¥ into a separator, 〜 into ～...), in
// other letter cases, or plain.
const char* const kNameStems[] = {"n", "n〜", "h¥", "x−", "y—", "z‾", "c¢", "p£", "q¬", "r‖", "n～", "ARM", "Body"};

struct RandomEditing {
    TempFolder folder;
    TempFolder elsewhere;  // object files named as those of folder
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;
    std::mt19937 random;
    std::string savedBytes;
    std::string lastSaved;
    int names = 0;

    explicit RandomEditing(unsigned seed) : random(seed)
    {
        folder.Write("body.mqo", CubeObjectFile(2));
        folder.Write("arm.mqo", CubeObjectFile(1));
        folder.Write("swap.mqo", CubeObjectFile(3));
        elsewhere.Write("arm.mqo", CubeObjectFile(4));
        elsewhere.Write("BODY.mqo", CubeObjectFile(5));
        elsewhere.Write("x〜.mqo", CubeObjectFile(6));
        for (const char* file : {"body.mqo", "arm.mqo", "arm.mqo"}) {
            session.SelectPart(scene.PartCount() > 0 ? 0 : -1);
            EXPECT_TRUE(AddObject(session, folder.File(file)));
        }
        scene.Parts()[1]->symmetryIndex = 2;
        scene.Parts()[2]->symmetryIndex = 1;
        EXPECT_TRUE(NewMotionCommand(session, "walk"));
        EXPECT_TRUE(NewMotionCommand(session, "idle"));
        for (int part = 0; part < 3; ++part)
            SetKeyMatrix(scene, 0, part, 10 * (part + 1), MatrixRotationZ(0.3f * part) * MatrixTranslation(1, 2, 3));
        session.History().Clear();
        Save("start");
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    KeyInterpolation RandomInterpolation()
    {
        switch (Pick(5)) {
        case 0: return KeyInterpolation::Linear();
        case 1: return KeyInterpolation::Step();
        case 2: return KeyInterpolation::Smooth();
        case 3: return KeyInterpolation::Bezier(static_cast<TangentMode>(Pick(3)));
        default: return KeyInterpolation::Ease(Pick(11) / 10.0f, Value(), Pick(11) / 10.0f, Value());
        }
    }
    float Value() { return std::uniform_real_distribution<float>(-3, 3)(random); }
    std::string NewName() { return kNameStems[Pick(std::size(kNameStems))] + std::to_string(++names); }
    std::string ObjectFile()
    {
        const std::string files[] = {folder.File("arm.mqo"), folder.File("body.mqo"), elsewhere.File("arm.mqo"),
                                     elsewhere.File("BODY.mqo"), elsewhere.File("x〜.mqo")};
        return files[Pick(std::size(files))];
    }

    // Saves into folder subfolder as "名前を付けて保存" does; false when
    // there is nothing a project can hold (no Motion or no Part).
    bool Save(const std::string& subfolder)
    {
        if (scene.Motions().empty() || scene.Parts().empty()) return false;
        std::filesystem::create_directories(folder.File(subfolder));
        prompt.savePaths = {folder.File(subfolder + "/project.anm")};
        prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
        EXPECT_TRUE(SaveAsCommand(session, prompt));
        savedBytes = DocumentBytes(scene);
        lastSaved = subfolder;
        ExpectReopensAsSaved(subfolder);
        return true;
    }

    // Names, links, Motions, keys and geometry as the scene holds them.
    void ExpectReopensAsSaved(const std::string& subfolder)
    {
        EditorSession reopened;
        const ProjectLoad load =
            OpenProject(reopened, folder.File(subfolder + "/project.anm"), ProjectOpening::Editing);
        EXPECT_TRUE(load.complete) << load.outcome.Message();
        EXPECT_EQ(DocumentBytes(reopened.GetScene()), DocumentBytes(scene)) << subfolder;
    }

    // Saves over the last saved project, answering "キャンセル" (nothing may
    // change) or "いいえ" to every .mesh question (a partial save unless the
    // kept files hold the same geometry: then the mark goes).
    void RefusedSave()
    {
        if (lastSaved == "start" || scene.Motions().empty() || scene.Parts().empty()) return;
        const std::map<std::string, std::string> before = SavedFiles(folder, lastSaved);
        const bool wasModified = session.History().IsModified();
        const bool cancel = Pick(2);
        prompt.savePaths = {folder.File(lastSaved + "/project.anm")};
        prompt.meshAnswers.assign(size_t(scene.PartCount()),
                                  cancel ? MeshOverwriteAnswer::Cancel : MeshOverwriteAnswer::No);
        const bool saved = SaveAsCommand(session, prompt);
        if (cancel) {
            EXPECT_FALSE(saved);
            EXPECT_EQ(SavedFiles(folder, lastSaved), before);
            EXPECT_EQ(session.History().IsModified(), wasModified);
        } else if (saved) {
            savedBytes = DocumentBytes(scene);
            ExpectReopensAsSaved(lastSaved);
        }
    }

    void RunRandomCommand()
    {
        const int motion = session.CurrentMotion();
        const int length = motion >= 0 ? scene.Motions()[motion].length : 0;
        switch (Pick(32)) {
        case 0: session.SelectPart(Pick(scene.PartCount() + 1) - 1); break;
        case 1:
            session.SelectMotion(Pick(scene.MotionCount() + 1) - 1);
            session.SetCurrentFrame(Pick(40));
            break;
        case 2:
            if (Part* part = scene.PartAt(session.CurrentPart())) {
                part->localPosition = {Value(), Value(), Value()};
                part->localMatrix = MatrixRotationY(Value());
                scene.UpdateHierarchy(0);
                session.History().PushUndo("pose");
            }
            break;
        case 3: session.Timeline().SetKeyHere(); break;
        case 4: session.Timeline().DeleteKeys(); break;
        case 5: session.Timeline().SetAllKeys(); break;
        case 6: session.Timeline().DeleteAllKeys(); break;
        case 7: session.Timeline().CopyKeys(); break;
        case 8: session.Timeline().PasteKeys(); break;
        case 9: MirrorMotionCommand(session); break;
        case 10: GroundAllKeyframesCommand(session); break;
        case 11: LevelPartInAllKeyframesCommand(session); break;
        case 12: TurnMotionAroundCommand(session); break;
        case 13: DeleteRedundantKeysCommand(session); break;
        case 14: NewMotionCommand(session, Pick(2) ? NewName() : "m" + std::to_string(++names)); break;
        case 15: DuplicateMotionCommand(session, Pick(2) ? NewName() : "d" + std::to_string(++names)); break;
        case 16: DeleteMotionCommand(session); break;
        case 17:
            RenameMotionCommand(session, "r" + std::to_string(++names));
            SetMotionLengthCommand(session, 1 + Pick(std::max(1, length + 20)));
            break;
        case 18: static_cast<void>(AddObject(session, ObjectFile())); break;
        case 19: DeleteCurrentPart(session); break;
        case 20:
            Pick(2) ? SwapCurrentObject(session, folder.File("swap.mqo")).hadPart
                    : (AddMirroredPart(session, Pick(2) ? NewName() : "mirror" + std::to_string(++names)), true);
            break;
        case 21: {
            SymmetryEditor editor(session);
            SymmetryEditor::EditValues values = editor.VisibleValues();
            for (int row = 0; row < std::min(editor.PartCount(), SymmetryEditor::kVisibleRows); ++row)
                values[size_t(row)] = Pick(editor.PartCount() + 1) - 1;
            editor.Apply(values);
            break;
        }
        case 22: ScaleCommand(session, Pick(2) ? 2.0f : 0.3f); break;
        case 23: MirrorPoseCommand(session); break;
        case 24: {  // a range chosen and dragged along the timeline
            MotionTimeline& timeline = session.Timeline();
            const int low = Pick(40);
            timeline.LeftDoubleClick(timeline.FrameX(low), 40);
            timeline.MouseMove(timeline.FrameX(low + Pick(10)));
            timeline.LeftUp();
            timeline.LeftDown(timeline.FrameX(low), 40);
            timeline.MouseMove(timeline.FrameX(low + Pick(41) - 20));
            timeline.LeftUp();
            break;
        }
        case 25:  // a key marker dragged
            if (motion >= 0 && scene.PartCount() > 0 && session.Timeline().FirstRow() == 0) {
                MotionTimeline& timeline = session.Timeline();
                const int part = Pick(std::min(scene.PartCount(), 3));
                const std::vector<KeyFrame>& keys = scene.Motions()[motion].tracks[part].keys;
                const int frame = keys[Pick(static_cast<int>(keys.size()))].frame;
                timeline.LeftDown(timeline.FrameX(frame), 45 + 15 * part);
                timeline.MouseMove(timeline.FrameX(frame + Pick(21) - 10));
                timeline.LeftUp();
            }
            break;
        case 26:
            switch (Pick(3)) {
            case 0: StepFrameCommand(session, Pick(3) - 1); break;
            case 1: GoToNeighbourKeyCommand(session, Pick(2) ? KeyDirection::Next : KeyDirection::Previous); break;
            default: GoToFrameCommand(session, Pick(70)); break;
            }
            break;
        case 27: RenameCurrentPart(session, Pick(4) ? NewName() : "arm"); break;
        case 28: ReparentCurrentPart(session, Pick(scene.PartCount() + 1) - 1); break;
        case 29: RefusedSave(); break;
        case 30: session.Timeline().SetInterpolation(RandomInterpolation()); break;
        case 31: session.Timeline().SetNewKeyInterpolation(RandomInterpolation()); break;
        }
    }
};

TEST(DocumentHistoryProperty, UndoAllGivesTheStartRedoAllTheEndAndTheMarkFollowsTheLastSave)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomEditing e(seed);
        const std::string startBytes = e.savedBytes;
        for (int step = 0; step < 40; ++step) {
            const int roll = e.Pick(10);
            if (roll == 0)
                e.session.History().Undo();
            else if (roll == 1)
                e.session.History().Redo();
            else if (roll == 2 && step % 7 == 0)
                e.Save("middle" + std::to_string(step));
            else
                e.RunRandomCommand();
            ExpectValidModel(e.scene);
            ASSERT_EQ(e.session.History().IsModified(), DocumentBytes(e.scene) != e.savedBytes) << "step " << step;
        }
        while (e.session.History().RedoEnabled()) e.session.History().Redo();
        const std::string endBytes = DocumentBytes(e.scene);
        const bool endSaved = e.Save("end");
        const int steps = e.session.History().Position();
        while (e.session.History().UndoEnabled()) e.session.History().Undo();
        ExpectValidModel(e.scene);
        EXPECT_EQ(DocumentBytes(e.scene), startBytes);
        ASSERT_TRUE(e.Save("undone"));
        EXPECT_EQ(SavedFiles(e.folder, "undone"), SavedFiles(e.folder, "start"));
        for (int k = 0; k < steps; ++k) e.session.History().Redo();
        ExpectValidModel(e.scene);
        EXPECT_EQ(DocumentBytes(e.scene), endBytes);
        if (endSaved && e.Save("redone")) {
            EXPECT_EQ(SavedFiles(e.folder, "redone"), SavedFiles(e.folder, "end"));
        }
    }
}

}  // namespace
