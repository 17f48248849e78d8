#pragma once

#include "editor/MovieExport.h"

#include <optional>

class QWidget;

namespace m3d {

// "動画出力": the Motion, its frame range, the size, the frame rate, the view
// whose camera is used, the format, a transparent background or the views'
// own, and the file (its name chooses the kind: .png, NAME%04d.png, .webp,
// .gif, .mp4, .webm; the format list renames it), starting from
// DefaultMovieExport (from lastRendered, the choices last rendered, when
// given). OK refuses what CheckMovieExport refuses, naming why, and asks
// before replacing files. Nothing on Cancel.
std::optional<MovieExportChoices> AskMovieExport(const EditorSession& session, const MovieExportChoices* lastRendered,
                                                 QWidget* parent);

}  // namespace m3d
