#include "editor/SymmetryEditor.h"

#include "scene/Scene.h"
#include "support/SceneFixtures.h"
#include "editor/EditorSession.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// count top-level Parts named p0, p1, ..., none with a partner.
struct Parts {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    explicit Parts(int count)
    {
        for (int i = 0; i < count; ++i) AddCubeUnder(scene, folder, -1, "p" + std::to_string(i) + ".mqo");
    }
};

std::vector<int> VisibleIndices(const SymmetryEditor& editor)
{
    std::vector<int> shown;
    for (int k = 0; k < SymmetryEditor::kVisibleRows; ++k)
        if (editor.RowAt(k).visible) shown.push_back(editor.RowAt(k).partIndex);
    return shown;
}

std::vector<int> Range(int first, int last)
{
    std::vector<int> values;
    for (int i = first; i <= last; ++i) values.push_back(i);
    return values;
}

}  // namespace

TEST(SymmetryEditor, RowsShowIndexNameParentAndTheCopyAndRowsBeyondThePartsAreHidden)
{
    Parts p(5);
    SelectPart(p.scene, 1);
    AddCube(p.scene, p.folder, "child.mqo");
    p.scene.Parts()[2]->symmetryIndex = 4;
    SymmetryEditor editor(p.session);
    EXPECT_FALSE(editor.ScrollBarVisible());
    EXPECT_EQ(VisibleIndices(editor), Range(0, 5));
    EXPECT_EQ(editor.RowAt(5).name, "child");
    EXPECT_EQ(editor.RowAt(5).parentIndex, 1);
    EXPECT_EQ(editor.RowAt(0).parentIndex, -1);
    EXPECT_EQ(editor.RowAt(2).symmetryValue, 4);
    for (int k : {6, 15, 16, -1}) {
        EXPECT_FALSE(editor.RowAt(k).visible);
        EXPECT_EQ(editor.RowAt(k).name, "");
    }
}

TEST(SymmetryEditor, CommitClampsApplyWritesThePartsAndRestartsTheHistoryAndCancelLeavesThem)
{
    Parts p(10);
    {
        SymmetryEditor cancelled(p.session);
        SymmetryEditor::EditValues edits = cancelled.VisibleValues();
        edits[1] = 3;
        cancelled.Commit(edits);
    }
    EXPECT_EQ(p.scene.Parts()[1]->symmetryIndex, -1);

    SymmetryEditor editor(p.session);
    SymmetryEditor::EditValues edits = editor.VisibleValues();
    edits[0] = 99;
    edits[1] = -7;
    edits[2] = 9;
    edits[4] = 4;  // its own index is allowed
    edits[5] = 7;
    edits[12] = 3;  // a row without a Part: ignored
    editor.Commit(edits);
    EXPECT_EQ(editor.Values(), (std::vector<int>{9, -1, 9, -1, 4, 7, -1, -1, -1, -1}));
    EXPECT_EQ(p.scene.Parts()[0]->symmetryIndex, -1);

    p.session.History().Clear();
    p.session.History().PushUndo("edit");
    edits = editor.VisibleValues();
    edits[6] = 10;
    editor.Apply(edits);
    const std::vector<int> expected{9, -1, 9, -1, 4, 7, 9, -1, -1, -1};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p.scene.Parts()[i]->symmetryIndex, expected[i]) << "part " << i;
    // Links are not made mutual: Part 7 keeps -1 although Part 5 names it.
    EXPECT_EQ(p.session.History().StepCount(), 1);
}

TEST(SymmetryEditor, ScrollingMovesTheWindowWithinItsRangeAndKeepsValuesScrolledAway)
{
    Parts p(20);
    SymmetryEditor editor(p.session);
    EXPECT_TRUE(editor.ScrollBarVisible());
    EXPECT_EQ(editor.ScrollRangeMax(), 19);
    const auto scroll = [&](SymmetryScrollCode code, int thumb = 0) {
        editor.Scroll(editor.VisibleValues(), code, thumb);
        return editor.FirstVisibleRow();
    };
    EXPECT_EQ(scroll(SymmetryScrollCode::LineUp), 0);
    EXPECT_EQ(scroll(SymmetryScrollCode::PageDown), 3);
    EXPECT_EQ(VisibleIndices(editor), Range(3, 18));
    EXPECT_EQ(scroll(SymmetryScrollCode::LineDown), 4);
    EXPECT_EQ(scroll(SymmetryScrollCode::LineDown), 4);  // n - 16 is the last window
    EXPECT_EQ(scroll(SymmetryScrollCode::PageUp), 1);
    EXPECT_EQ(scroll(SymmetryScrollCode::PageUp), 0);
    EXPECT_EQ(scroll(SymmetryScrollCode::ThumbTrack, 2), 2);
    EXPECT_EQ(scroll(SymmetryScrollCode::ThumbTrack, 17), 4);
    EXPECT_EQ(scroll(SymmetryScrollCode::Top), 0);
    EXPECT_EQ(scroll(SymmetryScrollCode::ThumbPosition, 3), 0);  // only tracking moves the window
    EXPECT_EQ(scroll(SymmetryScrollCode::End), 0);

    SymmetryEditor::EditValues edits = editor.VisibleValues();
    edits[0] = 19;
    edits[15] = 100;
    editor.Scroll(edits, SymmetryScrollCode::Bottom);  // committed before Part 0 leaves the window
    EXPECT_EQ(VisibleIndices(editor), Range(4, 19));
    EXPECT_EQ(editor.RowAt(11).symmetryValue, 19);  // Part 15, clamped
    edits = editor.VisibleValues();
    edits[15] = 0;  // Part 19
    editor.Apply(edits);
    EXPECT_EQ(p.scene.Parts()[0]->symmetryIndex, 19);
    EXPECT_EQ(p.scene.Parts()[15]->symmetryIndex, 19);
    EXPECT_EQ(p.scene.Parts()[19]->symmetryIndex, 0);
}

TEST(SymmetryEditor, SixteenPartsOrFewerKeepTheWindowAtTheTop)
{
    for (int count : {0, 1, 16}) {
        Parts p(count);
        SymmetryEditor editor(p.session);
        EXPECT_FALSE(editor.ScrollBarVisible());
        EXPECT_EQ(editor.ScrollRangeMax(), count < 2 ? 0 : count - 1);
        for (SymmetryScrollCode code :
             {SymmetryScrollCode::Bottom, SymmetryScrollCode::PageDown, SymmetryScrollCode::LineDown}) {
            editor.Scroll(editor.VisibleValues(), code);
            EXPECT_EQ(editor.FirstVisibleRow(), 0) << count << " parts, code " << int(code);
        }
    }
}

TEST(SymmetryEditor, PartnersAreOfferedByNameAfterNoneInPartOrder)
{
    Parts p(3);
    SymmetryEditor editor(p.session);
    const std::vector<std::string> choices = editor.PartnerChoices();
    ASSERT_EQ(choices.size(), 4u);
    EXPECT_EQ(choices[0], "なし");
    // Choice k names Part k - 1: the value the list stands for.
    for (int part = 0; part < 3; ++part)
        EXPECT_EQ(choices[size_t(part) + 1],
                  std::to_string(part) + ": " + p.session.GetScene().Parts()[part]->displayName);
}
