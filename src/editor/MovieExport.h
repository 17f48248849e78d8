#pragma once

#include "view/PictureViews.h"

#include <cstdint>
#include <optional>
#include <string>

namespace m3d {

class EditorSession;

// What "動画出力" renders: frames firstFrame ... lastFrame of Motion motion,
// each width x height pixels, seen through the camera of view (0 ... 3), on
// background (ARGB; nothing: transparent), written to path, whose name
// chooses the kind (MovieKindOf), at framesPerSecond.
struct MovieExportChoices {
    int motion = -1;
    int firstFrame = 0;
    int lastFrame = 0;
    int width = 640;
    int height = 480;
    int view = 1;
    std::optional<uint32_t> background;
    int framesPerSecond = 30;
    std::string path;
};

inline constexpr int kMovieSizeMin = 16;
inline constexpr int kMovieSizeMax = 4096;

// The last frame of Motion motion (a valid index) a movie draws unless told:
// its length, or one before when the last frame repeats the first (a loop).
int MovieLastFrame(const EditorSession& session, int motion);

// The choices the dialog starts from: the current Motion (the first without
// one; -1 without any), its frames 0 ... MovieLastFrame, 640 x 480, the
// current view (the maximised one, or the active one in four-view mode) when
// it is a perspective view, else the first perspective view, else the
// current one, the views' background colour, the playback
// rate, and an animated WebP beside the project named after it (in directory
// without a project). With the choices last rendered, their size, rate, view,
// transparency, folder and kind carry over, and their frame range too when
// it is of the same Motion and still inside it.
MovieExportChoices DefaultMovieExport(const EditorSession& session, const std::string& directory,
                                      const MovieExportChoices* last = nullptr);

// Why choices cannot be rendered ("" when they can): no such Motion, a frame
// range outside the Motion or reversed, a size outside kMovieSizeMin ...
// kMovieSizeMax, a rate outside 1 ... 120, no view of that number, no name,
// a name of no known kind (MovieKindOf), one PNG for several frames, or a
// transparent background for a kind that cannot hold one.
std::string CheckMovieExport(const EditorSession& session, const MovieExportChoices& choices);

// The views as a frame of the movie sees them: choices.view alone, with its
// type, camera and display switches, filling a picture of the chosen size,
// in the window's colours and grid on the chosen background.
PictureViews MoviePictureViews(const EditorSession& session, const MovieExportChoices& choices);

}  // namespace m3d
