#pragma once

#include <optional>
#include <string>
#include <vector>

namespace m3d {

// What a picture of a Motion is written as, chosen by the output's name.
enum class MovieKind {
    Png,          // one frame, NAME.png
    PngSequence,  // one PNG a frame, the frame's number in a %d (or %0Nd) of the name
    WebP,         // animated WebP
    Gif,          // animated GIF
    Mp4,          // H.264 video (through the ffmpeg program)
    WebM,         // VP9 video (through the ffmpeg program)
};

// The kind a name asks for: a %d-style pattern in it asks for a sequence of
// PNGs, else its extension (any letter case); nothing for any other name.
std::optional<MovieKind> MovieKindOf(const std::string& path);
// Whether pictures of kind can keep a transparent background (videos cannot).
bool MovieKindHoldsTransparency(MovieKind kind);

// Why path names no picture (MovieKindOf gives nothing), naming it and the kinds there are.
std::string NoMovieKindMessage(const std::string& path);

// The name of frame index of a PNG sequence: the first %d or %0Nd (N 1 ... 9)
// of pattern replaced by index. The pattern is returned as it is without one.
std::string SequenceFileName(const std::string& pattern, int index);

// path named for kind: its extension replaced (.png, .webp, .gif, .mp4,
// .webm) and a sequence's %04d put before it or another kind's number field
// taken out; the folder and the rest of the name stay.
std::string WithMovieKind(const std::string& path, MovieKind kind);

// The files a picture of frames first ... last written to path as kind would
// replace: path itself, or the sequence's PNGs that are there already.
std::vector<std::string> ExistingMovieFiles(const std::string& path, MovieKind kind, int first, int last);

}  // namespace m3d
