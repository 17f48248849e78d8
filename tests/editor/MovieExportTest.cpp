#include "editor/MovieExport.h"

#include "anim/MotionOperations.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "support/SceneFixtures.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// A cube with the Motions "walk" (length 20) and "run" (length 8), "run" current.
struct MovieSession {
    TempFolder folder;
    EditorSession session;
    MovieSession()
    {
        AddCube(session, folder, "cube.mesh");
        EXPECT_TRUE(NewMotionCommand(session, "walk"));
        EXPECT_TRUE(SetMotionLengthCommand(session, 20));
        EXPECT_TRUE(NewMotionCommand(session, "run"));
        EXPECT_TRUE(SetMotionLengthCommand(session, 8));
    }
};

}  // namespace

TEST(MovieExport, StartsFromTheCurrentMotionAndViewBesideTheProject)
{
    MovieSession m;
    m.session.Views().fourViewMode = 0;
    m.session.Views().maximisedView = 2;
    m.session.GetScene().projectPath = m.folder.File("hero.anm");
    const MovieExportChoices choices = DefaultMovieExport(m.session, "/elsewhere");
    EXPECT_EQ(choices.motion, 1);
    EXPECT_EQ(choices.firstFrame, 0);
    EXPECT_EQ(choices.lastFrame, 8);
    EXPECT_EQ(choices.view, 2);
    EXPECT_EQ(choices.path, m.folder.File("hero.webp"));
    EXPECT_EQ(CheckMovieExport(m.session, choices), "");
    m.session.SelectMotion(-1);  // none chosen: the first
    EXPECT_EQ(DefaultMovieExport(m.session, "").lastFrame, 20);
}

TEST(MovieExport, StartsWithoutALoopsRepeatedFrameAndFromAPerspectiveView)
{
    MovieSession m;
    ViewState& views = m.session.Views();
    views.fourViewMode = 0;
    views.maximisedView = 2;
    views.SetViewType(3, ViewType::Pers);
    Scene& scene = m.session.GetScene();
    const Matrix4 start = MatrixRotationY(0.5f) * MatrixTranslation(1, 2, 3);
    ASSERT_TRUE(SetKeyMatrix(scene, 1, 0, 0, start));
    ASSERT_TRUE(SetKeyMatrix(scene, 1, 0, 4, MatrixTranslation(0, 5, 0)));
    ASSERT_TRUE(SetKeyMatrix(scene, 1, 0, 8, start));
    MovieExportChoices choices = DefaultMovieExport(m.session, "");
    EXPECT_EQ(choices.view, 3);
    EXPECT_EQ(choices.lastFrame, 7);
    // The active view wins when it is a perspective one.
    views.SetViewType(2, ViewType::Pers);
    EXPECT_EQ(DefaultMovieExport(m.session, "").view, 2);
    // A last key that differs from the first is drawn.
    ASSERT_TRUE(SetKeyMatrix(scene, 1, 0, 8, MatrixTranslation(1, 2, 3.01f)));
    EXPECT_EQ(DefaultMovieExport(m.session, "").lastFrame, 8);
    // A Motion switched to loop repeats its first frame at its last, whatever its keys.
    scene.MutableMotions()[1].loop = true;
    EXPECT_EQ(DefaultMovieExport(m.session, "").lastFrame, 7);
}

TEST(MovieExport, TheLastChoicesCarryOverAndTheirRangeOnlyForTheSameMotion)
{
    MovieSession m;
    m.session.GetScene().projectPath = m.folder.File("hero.anm");
    MovieExportChoices last = DefaultMovieExport(m.session, "");
    last.firstFrame = 2;
    last.lastFrame = 5;
    last.width = 320;
    last.height = 240;
    last.framesPerSecond = 12;
    last.view = 3;
    last.background.reset();
    last.path = "/out/clips/run%02d.png";
    MovieExportChoices next = DefaultMovieExport(m.session, "", &last);
    EXPECT_EQ(next.firstFrame, 2);
    EXPECT_EQ(next.lastFrame, 5);
    EXPECT_EQ(next.width, 320);
    EXPECT_EQ(next.height, 240);
    EXPECT_EQ(next.framesPerSecond, 12);
    EXPECT_EQ(next.view, 3);
    EXPECT_FALSE(next.background.has_value());
    EXPECT_EQ(next.path, "/out/clips/hero%04d.png");  // the folder and kind, the project's name
    m.session.SelectMotion(0);
    next = DefaultMovieExport(m.session, "", &last);
    EXPECT_EQ(next.firstFrame, 0);
    EXPECT_EQ(next.lastFrame, 20);
}

TEST(MovieExport, RefusesWhatCannotBeRendered)
{
    MovieSession m;
    const MovieExportChoices good = DefaultMovieExport(m.session, m.folder.File(""));
    const auto refused = [&](auto change) {
        MovieExportChoices choices = good;
        change(choices);
        return !CheckMovieExport(m.session, choices).empty();
    };
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.motion = 2; }));
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.lastFrame = 9; }));  // past "run"'s length
    EXPECT_FALSE(refused([](MovieExportChoices& c) { c.motion = 0, c.lastFrame = 20; }));
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.firstFrame = 5, c.lastFrame = 4; }));
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.width = kMovieSizeMax + 1; }));
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.height = kMovieSizeMin - 1; }));
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.framesPerSecond = 0; }));
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.view = 4; }));
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.path = "walk.avi"; }));
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.path = "walk.png"; }));  // one PNG, nine frames
    EXPECT_FALSE(refused([](MovieExportChoices& c) { c.path = "walk.png", c.firstFrame = c.lastFrame = 3; }));
    EXPECT_TRUE(refused([](MovieExportChoices& c) { c.path = "walk.mp4", c.background.reset(); }));
    EXPECT_FALSE(refused([](MovieExportChoices& c) { c.path = "walk.gif", c.background.reset(); }));
}

TEST(MovieExport, TheChosenViewAloneFillsThePictureOnItsBackground)
{
    MovieSession m;
    MovieExportChoices choices = DefaultMovieExport(m.session, m.folder.File(""));
    choices.view = 3;
    choices.width = 320;
    choices.height = 200;
    choices.background = 0xff102030u;
    m.session.Views().views[3].eye = {1, 2, 3};
    const PictureViews views = MoviePictureViews(m.session, choices);
    for (int i = 0; i < ViewState::kViewCount; ++i) EXPECT_EQ(views.views.views[i].enabled, i == 3 ? 1 : 0) << i;
    EXPECT_EQ(views.views.views[3].eye, Vec3(1, 2, 3));
    EXPECT_EQ(views.views.RenderWidth(), 320);
    EXPECT_EQ(views.views.RenderHeight(), 200);
    EXPECT_EQ(views.colours[ColourIndex::Back], 0xff102030u);
    choices.background.reset();
    EXPECT_EQ(MoviePictureViews(m.session, choices).colours[ColourIndex::Back] >> 24, 0u);  // transparent
}
