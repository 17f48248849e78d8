#include "support/CliFigure.h"
#include "support/GltfSampleScenes.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>

using namespace m3d;

namespace {

// The walking sample (Motion 0 "歩く", frames 0-40, every frame moving),
// saved with its .mesh files.
struct RenderFigure : CliFigure {
    RenderFigure()
    {
        BuildFigureSample(session, folder);
        Save();
    }
    CliResult Render(const std::string& out, const std::string& options)
    {
        return Run("render " + Quote(path) + " " + Quote(folder.File(out)) + " --motion 歩く " + options);
    }
};

// What a program outside ours reads of a file: the standard output of command, as JSON.
nlohmann::json ReadWith(const std::string& command)
{
    std::string out;
    RunForOutput(command, out);
    return nlohmann::json::parse(out, nullptr, false);
}

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
    const auto be = [&](size_t at) {
        return int(uint8_t(bytes[at])) << 24 | int(uint8_t(bytes[at + 1])) << 16 | int(uint8_t(bytes[at + 2])) << 8 |
               int(uint8_t(bytes[at + 3]));
    };
    return {be(16), be(20)};
}

}  // namespace

TEST(RenderCommand, EveryKindHoldsEveryFrameOfTheRangeAtItsSizeAndRate)
{
    RenderFigure figure;
    for (const char* out : {"walk.gif", "walk.webp", "walk.mp4", "walk.webm"}) {
        const CliResult run = figure.Render(out, "--frames 5-14 --fps 25 --size 96x64");
        ASSERT_EQ(run.exitCode, 0) << out << ": " << run.err;
        const nlohmann::json summary = nlohmann::json::parse(run.out);
        EXPECT_EQ(summary["frames"], 10) << out;
        EXPECT_EQ(summary["size"], nlohmann::json({96, 64})) << out;
        const std::string file = Quote(figure.folder.File(out));
        const std::string name = out;
        if (name.ends_with(".gif") || name.ends_with(".webp")) {
            const nlohmann::json read = ReadWith(Quote(M3D_PYTHON) + " " + Quote(M3D_MOVIE_READER) + " " + file);
            ASSERT_TRUE(read.is_object()) << out;
            EXPECT_EQ(read["frames"], 10) << out;
            EXPECT_EQ(read["width"], 96) << out;
            EXPECT_EQ(read["height"], 64) << out;
            for (const auto& delay : read["delays"]) EXPECT_EQ(delay, 40) << out;
        } else {
            const nlohmann::json read = ReadWith(
                "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                "stream=nb_read_frames,width,height,r_frame_rate -of json " +
                file);
            ASSERT_TRUE(read.is_object()) << out;
            const nlohmann::json& stream = read["streams"][0];
            EXPECT_EQ(stream["nb_read_frames"], "10") << out;
            EXPECT_EQ(stream["width"], 96) << out;
            EXPECT_EQ(stream["height"], 64) << out;
            EXPECT_EQ(stream["r_frame_rate"], "25/1") << out;
        }
    }
    // A video's sides are even: an odd size is drawn a pixel larger, and the summary says so.
    const CliResult odd = figure.Render("odd.mp4", "--frames 0-1 --size 33x21");
    ASSERT_EQ(odd.exitCode, 0) << odd.err;
    EXPECT_EQ(nlohmann::json::parse(odd.out)["size"], nlohmann::json({34, 22}));
    const nlohmann::json read =
        ReadWith("ffprobe -v error -show_entries stream=width,height -of json " + Quote(figure.folder.File("odd.mp4")));
    EXPECT_EQ(read["streams"][0]["width"], 34);
    EXPECT_EQ(read["streams"][0]["height"], 22);
}

TEST(RenderCommand, ASequenceNumbersItsPngsByFrameAndEachMovingFrameDiffers)
{
    RenderFigure figure;
    const CliResult run = figure.Render("w_%03d.png", "--frames 38-40 --size 80x60");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(figure.folder.Exists("w_037.png"));
    EXPECT_FALSE(figure.folder.Exists("w_041.png"));
    std::vector<std::string> frames;
    for (const char* name : {"w_038.png", "w_039.png", "w_040.png"}) frames.push_back(figure.folder.Read(name));
    for (const std::string& frame : frames) EXPECT_EQ(PngSize(frame), std::make_pair(80, 60));
    EXPECT_NE(frames[0], frames[1]);
    EXPECT_NE(frames[1], frames[2]);
    // A Motion without keys stands still: its frames are one picture.
    ASSERT_EQ(figure
                  .Run("render " + Quote(figure.path) + " " + Quote(figure.folder.File("still_%d.png")) +
                       " --motion 待機 --frames 0-1 --size 80x60")
                  .exitCode,
              0);
    EXPECT_EQ(figure.folder.Read("still_0.png"), figure.folder.Read("still_1.png"));
}

TEST(RenderCommand, RefusesToReplaceAnOutputAndFramesTheMotionHasNot)
{
    RenderFigure figure;
    figure.folder.Write("walk.gif", "mine");
    CliResult run = figure.Render("walk.gif", "--frames 0-1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("--overwrite"), std::string::npos) << run.err;
    EXPECT_EQ(figure.folder.Read("walk.gif"), "mine");
    EXPECT_EQ(figure.Render("walk.gif", "--frames 0-1 --size 32x24 --overwrite").exitCode, 0);
    EXPECT_NE(figure.folder.Read("walk.gif"), "mine");

    run = figure.Render("past.webp", "--frames 30-41");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("0-40"), std::string::npos) << run.err;
    EXPECT_FALSE(figure.folder.Exists("past.webp"));
    EXPECT_EQ(figure.Render("walk.avi", "").exitCode, 1);
    run = figure.Render("nowhere.webp", "--camera 1 2 3 1 2 3");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("--camera"), std::string::npos) << run.err;
    EXPECT_FALSE(figure.folder.Exists("nowhere.webp"));
    run = figure.Render("nowhere.webp", "--camera 0 0 inf 0 0 0");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--camera: \"inf\""), std::string::npos) << run.err;
}

TEST(ThumbnailCommand, DrawsEachKindAtTheAskedSizeAndRefusesWhatItCannotRead)
{
    RenderFigure figure;
    for (const std::string& input : {figure.path, figure.folder.File("頭.mesh"), figure.folder.File("胴体.mqo")}) {
        const CliResult run = figure.Run("thumbnail -s 48 " + Quote(input) + " " + Quote(figure.folder.File("t")));
        ASSERT_EQ(run.exitCode, 0) << input << ": " << run.err;
        EXPECT_EQ(PngSize(figure.folder.Read("t")), std::make_pair(48, 48)) << input;
    }
    const std::string project = figure.folder.Read("figure.anm");
    figure.folder.Write("damaged.anm", project.substr(0, project.size() / 2));
    CliResult run = figure.Run("thumbnail -s 48 " + Quote(figure.folder.File("damaged.anm")) + " " +
                               Quote(figure.folder.File("d.png")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("damaged.anm"), std::string::npos) << run.err;
    EXPECT_FALSE(figure.folder.Exists("d.png"));
    // A project whose meshes are not beside it (a sandbox copies only the file) gets no picture.
    TempFolder alone;
    alone.Write("figure.anm", project);
    run = figure.Run("thumbnail -s 48 " + Quote(alone.File("figure.anm")) + " " + Quote(alone.File("a.png")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(alone.Exists("a.png"));
}

TEST(RenderCommand, WithoutAnOpenGLContextSaysSoAndWritesNothing)
{
    RenderFigure figure;
    // No EGL vendor library: the surfaceless platform cannot be found.
    setenv("__EGL_VENDOR_LIBRARY_FILENAMES", figure.folder.File("none.json").c_str(), 1);
    const CliResult run = figure.Render("walk.gif", "--frames 0-1");
    unsetenv("__EGL_VENDOR_LIBRARY_FILENAMES");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot make an OpenGL context"), std::string::npos) << run.err;
    EXPECT_FALSE(figure.folder.Exists("walk.gif"));
}
