#pragma once

#include "pictures/MovieFile.h"

#include <memory>
#include <string>

namespace m3d {

// A video through the ffmpeg program: H.264 in MP4 (webm false) or VP9 in
// WebM, 4:2:0 (an odd width or height is padded by a pixel), at the options'
// rate. The program encodes into a folder of its own while the frames come
// through a pipe; Finish hands its file to the set. Fails naming path when
// no ffmpeg is found on the PATH.
Expected<std::unique_ptr<MovieWriter>> OpenFfmpegMovie(const std::string& path, bool webm, const MovieOptions& options);

}  // namespace m3d
