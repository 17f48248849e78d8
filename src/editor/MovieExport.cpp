#include "editor/MovieExport.h"

#include "anim/ExportReport.h"
#include "anim/MotionLoop.h"
#include "editor/EditorSession.h"
#include "io/MovieFileNames.h"
#include "text/UiText.h"

namespace m3d {

namespace {

// The view a movie is seen through first: the current one when it is a
// perspective view, else the first perspective view, else the current one.
int PerspectiveViewOf(const ViewState& views)
{
    const int current = views.CurrentView();
    if (views.views[current].type == ViewType::Pers) return current;
    for (int i = 0; i < ViewState::kViewCount; ++i)
        if (views.views[i].type == ViewType::Pers) return i;
    return current;
}

}  // namespace

int MovieLastFrame(const EditorSession& session, int motion)
{
    const Scene& scene = session.GetScene();
    return LastFrameToDraw(scene, scene.MotionAt(motion));
}

MovieExportChoices DefaultMovieExport(const EditorSession& session, const std::string& directory,
                                      const MovieExportChoices* last)
{
    MovieExportChoices choices;
    const Scene& scene = session.GetScene();
    choices.motion = session.CurrentMotion() >= 0 || scene.Motions().empty() ? session.CurrentMotion() : 0;
    if (choices.motion >= 0) choices.lastFrame = MovieLastFrame(session, choices.motion);
    choices.view = PerspectiveViewOf(session.Views());
    choices.background = session.Colours()[ColourIndex::Back];
    choices.framesPerSecond = session.Playback().FramesPerSecond();
    const ExportDialogStart start = ExportDialogStartOf(scene, directory, ".webp");
    choices.path = start.directory + "/" + (start.fileName.empty() ? std::string("motion.webp") : start.fileName);
    if (last == nullptr) return choices;

    if (last->motion == choices.motion && last->lastFrame <= scene.MotionAt(choices.motion).length) {
        choices.firstFrame = last->firstFrame;
        choices.lastFrame = last->lastFrame;
    }
    choices.width = last->width;
    choices.height = last->height;
    choices.framesPerSecond = last->framesPerSecond;
    choices.view = last->view;
    if (!last->background) choices.background.reset();
    if (const std::optional<MovieKind> kind = MovieKindOf(last->path)) {
        const size_t slash = last->path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? start.directory : last->path.substr(0, slash);
        const std::string name = choices.path.substr(choices.path.find_last_of('/') + 1);
        choices.path = WithMovieKind(folder + "/" + name, *kind);
    }
    return choices;
}

std::string CheckMovieExport(const EditorSession& session, const MovieExportChoices& choices)
{
    const Scene& scene = session.GetScene();
    if (choices.motion < 0 || choices.motion >= static_cast<int>(scene.Motions().size()))
        return UiText("core", "書き出すモーションがありません。");
    const int length = scene.MotionAt(choices.motion).length;
    if (choices.firstFrame < 0 || choices.lastFrame > length || choices.firstFrame > choices.lastFrame)
        return WithArguments(UiText("core", "フレームの範囲は 0 から %1 までで、始めを終わり以下にしてください。"),
                             {std::to_string(length)});
    if (choices.width < kMovieSizeMin || choices.width > kMovieSizeMax || choices.height < kMovieSizeMin ||
        choices.height > kMovieSizeMax)
        return WithArguments(UiText("core", "大きさは %1 から %2 ピクセルまでにしてください。"),
                             {std::to_string(kMovieSizeMin), std::to_string(kMovieSizeMax)});
    if (choices.framesPerSecond < kMinFrameRate || choices.framesPerSecond > kMaxFrameRate)
        return UiText("core", "フレームレートは 1 から 120 までにしてください。");
    if (choices.view < 0 || choices.view >= ViewState::kViewCount) return UiText("core", "ビューを選んでください。");
    if (choices.path.empty()) return UiText("core", "書き出すファイルの名前を入力してください。");
    const std::optional<MovieKind> kind = MovieKindOf(choices.path);
    if (!kind)
        return UiText("core",
                      "ファイルの名前は .webp .gif .mp4 .webm .png か、連番の PNG なら NAME%04d.png にしてください。");
    if (*kind == MovieKind::Png && choices.firstFrame != choices.lastFrame)
        return UiText("core", "1 枚の PNG には 1 フレームだけ書けます。連番なら NAME%04d.png にしてください。");
    if (!choices.background && !MovieKindHoldsTransparency(*kind))
        return UiText("core", "動画の背景は透明にできません。");
    return {};
}

PictureViews MoviePictureViews(const EditorSession& session, const MovieExportChoices& choices)
{
    PictureViews p;
    p.views = session.Views();
    p.displays = session.Displays();
    p.colours = session.Colours();
    p.colours[ColourIndex::Back] = choices.background.value_or(0x00000000u);
    p.grid = BuildGrid(p.views.gridWidth, p.colours[ColourIndex::Grid]);
    p.ShowAlone(choices.view, choices.width, choices.height);
    return p;
}

}  // namespace m3d
