#include "anim/MotionOperations.h"
#include "scene/Scene.h"
#include "support/MatrixMatchers.h"
#include "editor/PartCommands.h"
#include "support/SceneFixtures.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace m3d;

namespace {

constexpr float kQuarterTurn = 1.57079633f;

std::vector<std::string> DisplayNames(const Scene& scene)
{
    std::vector<std::string> names;
    for (const auto& part : scene.Parts()) names.push_back(part->displayName);
    return names;
}

// A,B,C,D: A top-level, B child of A, C child of B, D top-level.
struct FourParts {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    FourParts()
    {
        AddCubeUnder(scene, folder, -1, "A.mqo");
        AddCubeUnder(scene, folder, 0, "B.mqo");
        AddCubeUnder(scene, folder, 1, "C.mqo");
        AddCubeUnder(scene, folder, -1, "D.mqo");
    }
};

// Gives every track of every Motion a key at frame 1 whose _41 tells the
// track's Part by its display name's first letter.
void MarkTracks(Scene& scene)
{
    for (int m = 0; m < scene.MotionCount(); ++m)
        for (int i = 0; i < scene.PartCount(); ++i) {
            Matrix4 mark;
            mark.m[3][0] = static_cast<float>(scene.Parts()[i]->displayName[0]);
            SetKeyMatrix(scene, m, i, 1, mark);
        }
}

std::string TrackOwners(const Motion& motion)
{
    std::string owners;
    for (const MotionTrack& track : motion.tracks) owners += static_cast<char>(track.keys.at(1).matrix.m[3][0]);
    return owners;
}

}  // namespace

TEST(SceneParts, RepeatedFileNamesShareTheirBaseNameNumberTheirDisplayNamesAndCutAtTheFirstDot)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    for (int i = 0; i < 3; ++i) AddCube(scene, folder, "arm.mqo");
    folder.Write("hand.R.mesh", CubeObjectFile());
    const AddedPart hand = scene.AddPartFromFile(folder.File("hand.R.mesh"));
    AddCube(scene, folder, "ARM.mqo");
    // One model added again keeps its file's name; only display names are told apart.
    EXPECT_EQ(DisplayNames(scene), (std::vector<std::string>{"arm", "arm00000", "arm00001", "hand", "ARM"}));
    const std::vector<std::string> baseNames{"arm", "arm", "arm", "hand", "ARM"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(scene.Parts()[i]->baseName, baseNames[i]);
    EXPECT_EQ(scene.Tree().GetText(scene.Parts()[1]->treeItem), "arm00000");
    EXPECT_EQ(scene.addObjectDirectory, folder.path);
    EXPECT_EQ(hand.loaded.Message(), "");
}

TEST(SceneParts, UnreadableFileStillGivesAPartAndSaysWhy)
{
    EditorSession session;
    Scene& scene = session.GetScene();
    const AddedPart added = scene.AddPartFromFile("/no such/models\\leg.L.mqo");
    EXPECT_EQ(added.index, 0);
    ASSERT_EQ(scene.PartCount(), 1);
    // A backslash is part of a file name on this system, but the project file
    // would read it as a separator: the Part's own files take a full-width yen.
    EXPECT_EQ(scene.Parts()[0]->baseName, "models￥leg");
    EXPECT_EQ(scene.Parts()[0]->displayName, "models￥leg");
    EXPECT_EQ(scene.addObjectDirectory, "/no such");
    EXPECT_NE(added.loaded.Message().find("leg.L.mqo"), std::string::npos) << added.loaded.Message();

    // A bare file name leaves no folder behind.
    scene.AddPartFromFile("missing.mqo");
    EXPECT_EQ(scene.addObjectDirectory, "");
}

TEST(SceneParts, NewPartHangsUnderTheSelectedItemAsItsLastChild)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    for (int i = 0; i < 4; ++i) AddCubeUnder(scene, folder, -1, "p.mqo");
    EXPECT_EQ(scene.Parts()[0]->parentIndex, -1);
    EXPECT_EQ(scene.Tree().GetParent(scene.Parts()[0]->treeItem), scene.rootPart.treeItem);
    // The root entry is the first top-level item and stays the only one.
    EXPECT_EQ(scene.Tree().GetChildren(kNoTreeItem), (std::vector<TreeItem>{scene.rootPart.treeItem}));

    AddCubeUnder(scene, folder, 3, "q.mqo");
    AddCubeUnder(scene, folder, 3, "r.mqo");
    EXPECT_EQ(scene.Parts()[4]->parentIndex, 3);
    EXPECT_EQ(scene.Parts()[5]->parentIndex, 3);
    EXPECT_EQ(scene.Tree().GetChildren(scene.Parts()[3]->treeItem),
              (std::vector<TreeItem>{scene.Parts()[4]->treeItem, scene.Parts()[5]->treeItem}));
    // The new Part is selected, current and checked.
    EXPECT_EQ(scene.Tree().GetSelected(), scene.Parts()[5]->treeItem);
    EXPECT_EQ(session.CurrentPart(), 5);
    EXPECT_TRUE(scene.Tree().IsChecked(scene.Parts()[5]->treeItem));
}

TEST(SceneParts, AddingGivesEveryMotionATrackAndLeavesEveryOtherKeyAlone)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddCube(scene, folder, "a.mqo");
    NewMotionCommand(session, "one");
    NewMotionCommand(session, "two");
    scene.Parts()[0]->localMatrix = MatrixRotationZ(0.5f);
    scene.Parts()[0]->localPosition = {1, 2, 3};

    AddCubeUnder(scene, folder, -1, "b.mqo");
    for (const Motion& motion : scene.Motions()) {
        ASSERT_EQ(motion.tracks.size(), 2u);
        ASSERT_EQ(motion.tracks[1].keys.size(), 1u);
        EXPECT_EQ(motion.tracks[1].keys[0].frame, 0);
        EXPECT_EQ(motion.tracks[1].keys[0].matrix, Matrix4::Identity());
        // The older Part's frame-0 key is its animation, not the pose shown.
        ASSERT_EQ(motion.tracks[0].keys.size(), 1u);
        EXPECT_EQ(motion.tracks[0].keys[0].matrix, Matrix4::Identity());
    }
}

TEST(SceneParts, RemovingASubtreeRenumbersPartsAndTracks)
{
    FourParts f;
    NewMotionCommand(f.session, "m1");
    NewMotionCommand(f.session, "m2");
    MarkTracks(f.scene);
    EXPECT_EQ(f.scene.RemovePart(f.scene.Parts()[1]->treeItem), 1);
    EXPECT_EQ(DisplayNames(f.scene), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(f.scene.Parts()[1]->parentIndex, -1);
    for (const Motion& motion : f.scene.Motions()) EXPECT_EQ(TrackOwners(motion), "AD");
    // The tree lost B and C with it.
    EXPECT_TRUE(f.scene.Tree().GetChildren(f.scene.Parts()[0]->treeItem).empty());
    EXPECT_EQ(f.scene.Tree().GetCount(), 3);
}

TEST(SceneParts, PartnersFollowRenumberingAndLoseARemovedPartner)
{
    {
        FourParts f;
        f.scene.Parts()[0]->symmetryIndex = 3;
        f.scene.Parts()[3]->symmetryIndex = 0;
        f.scene.RemovePart(f.scene.Parts()[1]->treeItem);
        EXPECT_EQ(f.scene.Parts()[0]->symmetryIndex, 1);
        EXPECT_EQ(f.scene.Parts()[1]->symmetryIndex, 0);
    }
    {
        FourParts f;
        f.scene.Parts()[0]->symmetryIndex = 3;
        f.scene.Parts()[3]->symmetryIndex = 0;
        f.scene.RemovePart(f.scene.Parts()[3]->treeItem);
        EXPECT_EQ(f.scene.Parts()[0]->symmetryIndex, -1);
    }
}

// The Part indices of item's children in the tree, in tree order.
std::vector<int> ChildIndices(const Scene& scene, TreeItem item)
{
    std::vector<int> indices;
    for (TreeItem child : scene.Tree().GetChildren(item)) indices.push_back(scene.FindPartByTreeItem(child));
    return indices;
}

TEST(ScenePartMove, APartMovedUnderALaterOneGoesAfterItWithItsSubtreeAndTheMoveBackRestoresAll)
{
    FourParts f;
    AddCubeUnder(f.scene, f.folder, 0, "E.mqo");  // A's second child
    NewMotionCommand(f.session, "m1");
    NewMotionCommand(f.session, "m2");
    MarkTracks(f.scene);
    f.scene.Parts()[0]->symmetryIndex = 3;
    f.scene.Parts()[3]->symmetryIndex = 0;
    const TreeItem b = f.scene.Parts()[1]->treeItem, c = f.scene.Parts()[2]->treeItem, d = f.scene.Parts()[3]->treeItem;
    std::vector<TreeItemMoved> reports;
    f.scene.onTreeChange = [&](const TreeChange& change) {
        if (const auto* moved = std::get_if<TreeItemMoved>(&change)) reports.push_back(*moved);
    };

    const std::optional<PartMove> move = PlanPartMove(f.scene, 1, 3);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->order, (std::vector<int>{0, 3, 1, 2, 4}));
    const PartMove back = f.scene.MovePart(*move);
    EXPECT_EQ(DisplayNames(f.scene), (std::vector<std::string>{"A", "D", "B", "C", "E"}));
    EXPECT_EQ(f.scene.Parts()[2]->parentIndex, 1);
    EXPECT_EQ(f.scene.Parts()[3]->parentIndex, 2);
    EXPECT_EQ(f.scene.Parts()[4]->parentIndex, 0);
    EXPECT_EQ(f.scene.Parts()[0]->symmetryIndex, 1);
    EXPECT_EQ(f.scene.Parts()[1]->symmetryIndex, 0);
    for (const Motion& motion : f.scene.Motions()) EXPECT_EQ(TrackOwners(motion), "ADBCE");
    EXPECT_EQ(ChildIndices(f.scene, d), (std::vector<int>{2}));
    EXPECT_EQ(ChildIndices(f.scene, b), (std::vector<int>{3}));
    EXPECT_EQ(ChildIndices(f.scene, f.scene.Parts()[0]->treeItem), (std::vector<int>{4}));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].item, b);
    EXPECT_EQ(reports[0].parent, d);

    EXPECT_EQ(back.part, 2);
    EXPECT_EQ(back.newParent, 0);
    f.scene.MovePart(back);
    EXPECT_EQ(DisplayNames(f.scene), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(f.scene.Parts()[1]->parentIndex, 0);
    EXPECT_EQ(f.scene.Parts()[2]->parentIndex, 1);
    EXPECT_EQ(f.scene.Parts()[0]->symmetryIndex, 3);
    for (const Motion& motion : f.scene.Motions()) EXPECT_EQ(TrackOwners(motion), "ABCDE");
    // B is A's first child again, before E.
    EXPECT_EQ(ChildIndices(f.scene, f.scene.Parts()[0]->treeItem), (std::vector<int>{1, 4}));
    EXPECT_EQ(f.scene.Parts()[2]->treeItem, c);
}

TEST(ScenePartMove, TheOrderStaysWhenItFitsAndATopLevelPartGoesAfterTheLastTopLevelOne)
{
    FourParts f;
    // D is already after A and A's child B.
    std::optional<PartMove> move = PlanPartMove(f.scene, 3, 0);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->order, (std::vector<int>{0, 1, 2, 3}));
    f.scene.MovePart(*move);
    EXPECT_EQ(ChildIndices(f.scene, f.scene.Parts()[0]->treeItem), (std::vector<int>{1, 3}));
    // C to the top level lands after D, the last top-level Part then.
    FourParts g;
    move = PlanPartMove(g.scene, 2, -1);
    ASSERT_TRUE(move);
    g.scene.MovePart(*move);
    EXPECT_EQ(DisplayNames(g.scene), (std::vector<std::string>{"A", "B", "D", "C"}));
    EXPECT_EQ(g.scene.Parts()[3]->parentIndex, -1);
    EXPECT_EQ(ChildIndices(g.scene, g.scene.rootPart.treeItem), (std::vector<int>{0, 2, 3}));
}

TEST(ScenePartMove, NeitherIntoItsOwnSubtreeNorUnderItsParentNorAnOrderWithAChildFirst)
{
    FourParts f;
    EXPECT_FALSE(PlanPartMove(f.scene, 0, 2));   // A under its grandchild C
    EXPECT_FALSE(PlanPartMove(f.scene, 1, 1));   // B under itself
    EXPECT_FALSE(PlanPartMove(f.scene, 1, 0));   // A is B's parent already
    EXPECT_FALSE(PlanPartMove(f.scene, 3, -1));  // D is top-level already
    EXPECT_FALSE(PlanPartMove(f.scene, 7, -1));
    EXPECT_FALSE(PlanPartMove(f.scene, 1, 7));
    PartMove bad = *PlanPartMove(f.scene, 1, 3);
    bad.order = {0, 2, 1, 3};  // C before B
    EXPECT_EQ(f.scene.MovePart(bad).part, -1);
    bad.order = {0, 1, 1, 3};
    EXPECT_EQ(f.scene.MovePart(bad).part, -1);
    EXPECT_EQ(DisplayNames(f.scene), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(f.scene.Parts()[1]->parentIndex, 0);
    EXPECT_EQ(ChildIndices(f.scene, f.scene.Parts()[0]->treeItem), (std::vector<int>{1}));
}

TEST(SceneParts, RemovingTheRootEntryOrAStaleItemChangesNothing)
{
    FourParts f;
    NewMotionCommand(f.session, "m");
    SelectPart(f.scene, -1);
    EXPECT_EQ(f.scene.RemovePart(f.scene.Tree().GetSelected()), 0);
    const TreeItem gone = f.scene.Parts()[3]->treeItem;
    f.scene.RemovePart(gone);
    EXPECT_EQ(f.scene.RemovePart(gone), 0);
    EXPECT_EQ(f.scene.PartCount(), 3);
    EXPECT_EQ(f.scene.Motions()[0].tracks.size(), 3u);
}

TEST(SceneParts, RemovingTheSelectedPartSelectsItsNextSiblingByItsNewIndex)
{
    FourParts f;
    SelectPart(f.scene, 0);
    RecordingObserver observer(f.session);
    DeleteCurrentPart(f.session);
    ASSERT_EQ(f.scene.PartCount(), 1);
    EXPECT_EQ(f.scene.Tree().GetSelected(), f.scene.Parts()[0]->treeItem);
    EXPECT_EQ(f.session.CurrentPart(), 0);
    EXPECT_NE(std::find(observer.events.begin(), observer.events.end(),
                        "select " + std::to_string(f.scene.Parts()[0]->treeItem)),
              observer.events.end());

    // The last child goes: its parent is selected.
    TempFolder folder;
    AddCubeUnder(f.scene, folder, 0, "E.mqo");
    f.scene.RemovePart(f.scene.Parts()[1]->treeItem);
    EXPECT_EQ(f.session.CurrentPart(), 0);
}

TEST(SceneParts, RemovingTheLastPartKeepsTheRootEntry)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddCube(scene, folder, "a.mqo");
    scene.RemovePart(scene.Parts()[0]->treeItem);
    EXPECT_EQ(scene.PartCount(), 0);
    EXPECT_EQ(scene.Tree().GetCount(), 1);
    EXPECT_EQ(scene.Tree().GetSelected(), scene.rootPart.treeItem);
    EXPECT_EQ(session.CurrentPart(), -1);
    EXPECT_EQ(scene.MeshBase().GetTextureNum(), 0);
}

TEST(SceneParts, ClearSceneEmptiesPartsAndMotionsButKeepsTheProjectName)
{
    FourParts f;
    NewMotionCommand(f.session, "m");
    f.scene.projectPath = "/x/y.anm";
    f.scene.projectFileName = "y.anm";
    const TreeItem a = f.scene.Parts()[0]->treeItem, d = f.scene.Parts()[3]->treeItem;
    SelectPart(f.scene, 2);
    RecordingObserver observer(f.session);
    f.scene.ClearScene();
    // Each top-level item goes with its subtree, the last first.
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"remove " + std::to_string(d), "remove " + std::to_string(a)}));
    EXPECT_EQ(f.scene.Tree().GetSelected(), f.scene.rootPart.treeItem);
    EXPECT_EQ(f.scene.PartCount(), 0);
    EXPECT_TRUE(f.scene.Motions().empty());
    EXPECT_EQ(f.session.CurrentMotion(), -1);
    EXPECT_EQ(f.scene.Tree().GetCount(), 1);
    EXPECT_EQ(f.scene.projectFileName, "y.anm");
    EXPECT_EQ(f.scene.projectPath, "/x/y.anm");
}

TEST(SceneParts, FindPartByTreeItem)
{
    FourParts f;
    EXPECT_EQ(f.scene.FindPartByTreeItem(f.scene.rootPart.treeItem), -1);
    EXPECT_EQ(f.scene.FindPartByTreeItem(kNoTreeItem), -1);
    EXPECT_EQ(f.scene.FindPartByTreeItem(f.scene.Parts()[2]->treeItem), 2);
    Scene empty;
    EXPECT_EQ(empty.FindPartByTreeItem(f.scene.Parts()[2]->treeItem), -1);
    // Removing B (with C) moves D from 3 to 1.
    const TreeItem d = f.scene.Parts()[3]->treeItem;
    EXPECT_EQ(f.scene.FindPartByTreeItem(d), 3);
    f.scene.RemovePart(f.scene.Parts()[1]->treeItem);
    EXPECT_EQ(f.scene.FindPartByTreeItem(d), 1);
}

TEST(SceneHierarchy, ChildPositionIsCarriedThroughTheRotatedParent)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddCubeUnder(scene, folder, -1, "parent.mqo");
    AddCubeUnder(scene, folder, 0, "child.mqo");
    scene.Parts()[0]->localMatrix = MatrixRotationY(kQuarterTurn);
    scene.Parts()[0]->localPosition = {5, 0, 0};
    scene.Parts()[1]->localMatrix = MatrixRotationX(0.3f);
    scene.Parts()[1]->localPosition = {1, 0, 0};
    scene.UpdateHierarchy(0);

    Vec3 position;
    scene.Parts()[1]->mesh->GetPosition(position);
    // A quarter turn about +Y takes +X to -Z in this left-handed world.
    EXPECT_TRUE(VectorsNear(position, {5, 0, -1}, 1e-5f));
    Matrix4 expected = MatrixRotationX(0.3f) * MatrixRotationY(kQuarterTurn);
    expected.SetTranslation({5, 0, -1});
    EXPECT_TRUE(MatricesNear(scene.Parts()[1]->mesh->GetMatrix(), expected, 1e-5f));
    EXPECT_TRUE(MatricesNear(scene.WorldMatrixOf(1), expected, 1e-5f));
}

TEST(SceneHierarchy, RecomposesOnlyThePartItsLaterSiblingsAndTheirDescendants)
{
    FourParts f;  // A(0) > B(1) > C(2), D(3)
    for (auto& part : f.scene.Parts()) part->localPosition = {1, 0, 0};
    f.scene.UpdateHierarchy(0);
    Vec3 p;
    f.scene.Parts()[2]->mesh->GetPosition(p);
    EXPECT_EQ(p, (Vec3{3, 0, 0}));

    for (auto& part : f.scene.Parts()) part->localPosition = {2, 0, 0};
    f.scene.UpdateHierarchy(3);  // D has no later sibling and no children
    f.scene.Parts()[0]->mesh->GetPosition(p);
    EXPECT_EQ(p, (Vec3{1, 0, 0}));
    f.scene.Parts()[3]->mesh->GetPosition(p);
    EXPECT_EQ(p, (Vec3{2, 0, 0}));

    f.scene.UpdateHierarchy(1);  // B and C, against A's unchanged world
    f.scene.Parts()[2]->mesh->GetPosition(p);
    EXPECT_EQ(p, (Vec3{5, 0, 0}));
    f.scene.Parts()[0]->mesh->GetPosition(p);
    EXPECT_EQ(p, (Vec3{1, 0, 0}));

    f.scene.UpdateHierarchy(-1);
    f.scene.UpdateHierarchy(4);
}

TEST(SceneTitle, TextBeforeAnyProjectAndWithACurrentPart)
{
    EditorSession session;
    Scene& scene = session.GetScene();
    RecordingObserver observer(session);
    session.UpdateTitle();
    EXPECT_EQ(session.TitleText(), "Marionettica3D Ver 1.0.0   名称未設定 face:0 mesh:0   グリッドの幅:10");
    EXPECT_EQ(observer.events.back(), "title " + session.TitleText());

    TempFolder folder;
    AddCube(scene, folder, "arm.mqo");
    AddCubeUnder(scene, folder, -1, "leg.mqo");
    scene.projectFileName = "robot.anm";
    session.Views().gridWidth = 50;
    session.UpdateTitle();
    EXPECT_EQ(session.TitleText(),
              "Marionettica3D Ver 1.0.0   robot.anm face:24 mesh:2   leg face:12 mesh:1   グリッドの幅:50   高さ 2");
    // The height in metres too once the unit is known: the arm lifted 0.5 stands 2.5 units (25 cm) tall.
    scene.metresPerUnit = 0.1;
    scene.PartAt(0)->mesh->SetPosition({0, 0.5f, 0});
    session.UpdateTitle();
    EXPECT_NE(session.TitleText().find("グリッドの幅:50   高さ 2.5（25 cm）"), std::string::npos)
        << session.TitleText();
}

TEST(SceneSelection, SelectingAnItemRunsTheReaction)
{
    FourParts f;
    RecordingObserver observer(f.session);
    SelectPart(f.session, 1);
    EXPECT_EQ(f.session.CurrentPart(), 1);
    ASSERT_EQ(observer.events.size(), 3u);
    EXPECT_EQ(observer.events[0], "select " + std::to_string(f.scene.Parts()[1]->treeItem));
    EXPECT_EQ(observer.events[1], "transform");
    EXPECT_EQ(observer.events[2].substr(0, 6), "title ");

    observer.events.clear();
    SelectPart(f.session, 1);  // no change, no reaction
    EXPECT_TRUE(observer.events.empty());
    SelectPart(f.session, -1);
    EXPECT_EQ(f.session.CurrentPart(), -1);
}

TEST(SceneSelection, AddingReportsTheItemUnderItsParentThenSelectsAndChecksIt)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    folder.Write("arm.mqo", CubeObjectFile());
    RecordingObserver observer(session);
    ASSERT_TRUE(AddObject(session, folder.File("arm.mqo")));
    const std::string item = std::to_string(scene.Parts()[0]->treeItem);
    ASSERT_GE(observer.events.size(), 3u);
    EXPECT_EQ(observer.events[0], "insert " + item + " under " + std::to_string(scene.rootPart.treeItem) + " arm");
    EXPECT_NE(std::find(observer.events.begin(), observer.events.end(), "select " + item), observer.events.end());
    EXPECT_NE(std::find(observer.events.begin(), observer.events.end(), "check " + item + " on"),
              observer.events.end());
}
