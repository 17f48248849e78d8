#include "editor/CommandRegistry.h"

#include "editor/CommandHost.h"
#include "editor/EditorSession.h"
#include "editor/MenuCommandIds.h"
#include "scene/UserPrompt.h"
#include "support/SceneFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

using namespace m3d;

namespace {

// A host that answers the scale and pivot dialogs and counts its messages.
class AnsweringHost : public CommandHost, private UserPrompt {
public:
    std::optional<Vec3> pivot;
    int messages = 0;
    UserPrompt& Prompt() override { return *this; }
    std::optional<float> AskScaleFactor() override { return 3.0f; }
    std::optional<Vec3> AskPivotPoint() override { return pivot; }

private:
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    YesNoCancel AskYesNoCancel(const std::string&, const std::string&) override { return YesNoCancel::Cancel; }
    void ShowMessage(const std::string&, const std::string&) override { ++messages; }
    std::string AskSavePath(const std::string&, const std::string&) override { return {}; }
    MeshOverwriteAnswer AskMeshOverwrite(const std::string&) override { return MeshOverwriteAnswer::Cancel; }
};

}  // namespace

TEST(CommandRegistry, EveryCommandHasOneEntryWithItsOwnNameAndNumber)
{
    std::set<std::string> names;
    std::set<int> ids;
    for (int c = 0; c < int(Commands().size()); ++c) {
        const CommandEntry& entry = EntryOf(static_cast<EditorCommand>(c));
        EXPECT_EQ(static_cast<int>(entry.command), c);
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
        if (entry.id != 0) {
            EXPECT_TRUE(ids.insert(entry.id).second) << entry.name;
        }
        EXPECT_EQ(FindCommand(entry.name), &entry);
        // A command with a menu item has a number to name it by, and its menu is in the menu table.
        EXPECT_EQ(entry.menu != CommandMenu::None,
                  entry.id != 0 && entry.id != ID_EDIT_UNDO && entry.id != ID_EDIT_REDO)
            << entry.name;
        const auto menus = CommandMenus();
        EXPECT_TRUE(
            entry.menu == CommandMenu::None ||
            std::any_of(menus.begin(), menus.end(), [&](const CommandMenuEntry& m) { return m.menu == entry.menu; }))
            << entry.name;
    }
    EXPECT_EQ(Commands().size(), names.size());
    EXPECT_EQ(FindCommand("no-such-command"), nullptr);
}

TEST(CommandRegistry, AScalingRunThroughTheRegistryIsOneUndoStepBitForBit)
{
    TempFolder folder;
    EditorSession session;
    AddCube(session, folder, "a.mqo", 1.5f);
    AnsweringHost host;
    const std::vector<Vec3> before = session.GetScene().Parts()[0]->mesh->GetVertexPositions();
    RunCommand(EditorCommand::ModelScale, session, host);
    EXPECT_EQ(session.GetScene().Parts()[0]->mesh->GetVertexPositions()[0].x, 3 * before[0].x);
    EXPECT_EQ(session.History().UndoLabel(), "スケールの調整");
    session.History().Undo();
    const std::vector<Vec3> after = session.GetScene().Parts()[0]->mesh->GetVertexPositions();
    ASSERT_EQ(after.size(), before.size());
    for (size_t k = 0; k < after.size(); ++k) EXPECT_TRUE(after[k] == before[k]) << k;
}

TEST(CommandRegistry, APivotTooFarForThePartToKeepItsShapeIsRefusedWithAMessage)
{
    TempFolder folder;
    EditorSession session;
    AddCube(session, folder, "a.mqo", 1.5f);
    session.SelectPart(0);
    AnsweringHost host;
    host.pivot = Vec3{1e9f, 0, 0};
    const std::vector<Vec3> before = session.GetScene().Parts()[0]->mesh->GetVertexPositions();
    RunCommand(EditorCommand::MovePivot, session, host);
    EXPECT_EQ(host.messages, 1);
    EXPECT_EQ(session.GetScene().Parts()[0]->mesh->GetVertexPositions(), before);
    EXPECT_EQ(session.History().UndoLabel(), "");
    host.pivot = Vec3{1, 0, 0};
    RunCommand(EditorCommand::MovePivot, session, host);
    EXPECT_EQ(host.messages, 1);
    EXPECT_NE(session.History().UndoLabel(), "");
}
