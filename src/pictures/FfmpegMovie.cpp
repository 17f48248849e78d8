#include "pictures/FfmpegMovie.h"

#include "io/FileReading.h"
#include "io/FileSetWriter.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace m3d {

namespace {

// The ffmpeg program on the PATH; "" when there is none.
std::string FindFfmpeg()
{
    const char* path = std::getenv("PATH");
    std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (size_t start = 0; start <= folders.size();) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/ffmpeg";
        if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

class FfmpegMovie : public MovieWriter {
public:
    FfmpegMovie(std::string path, std::string program, bool webm, const MovieOptions& options)
        : path(std::move(path)), program(std::move(program)), webm(webm), options(options)
    {
    }
    ~FfmpegMovie() override
    {
        Stop(true);
        if (!folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }

    Outcome Add(const TextureImage& frame) override
    {
        if (pid < 0) {
            width = frame.width;
            height = frame.height;
            if (Outcome started = Start(); !started) return started;
        }
        if (frame.width != width || frame.height != height)
            return Outcome::Failure(path + ": the frames differ in size");
        const char* data = reinterpret_cast<const char*>(frame.rgba.data());
        for (size_t sent = 0, size = frame.rgba.size(); sent < size;) {
            // A socket rather than a pipe: a program that ended early is an
            // error here (MSG_NOSIGNAL), not a signal that ends this process.
            const ssize_t n = send(input, data + sent, size - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return Finished("ffmpeg stopped taking frames");
            sent += size_t(n);
        }
        return {};
    }

    Outcome Finish(FileSetWriter& set) override
    {
        if (pid < 0) return Outcome::Failure(path + ": no frame to write");
        if (Outcome ended = Finished(""); !ended) return ended;
        Expected<std::string> video = ReadWholeFile(Output(), size_t(1) << 36);
        if (!video) return Outcome::Failure(path + ": " + video.Message());
        return set.Add(path, *video);
    }

private:
    std::string Output() const { return folder + (webm ? "/video.webm" : "/video.mp4"); }

    Outcome Start()
    {
        char templ[] = "/tmp/m3d-video-XXXXXX";
        if (!mkdtemp(templ))
            return Outcome::Failure(path + ": no folder for the video: " + std::strerror(errno), errno);
        folder = templ;
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
            return Outcome::Failure(path + ": " + std::strerror(errno), errno);
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        std::vector<std::string> args{program, "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "rawvideo",
                                      "-pix_fmt", "rgba", "-s", size, "-framerate",
                                      std::to_string(options.framesPerSecond), "-i", "pipe:0",
                                      // 4:2:0 wants even sides.
                                      "-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", "yuv420p"};
        if (webm)
            args.insert(args.end(), {"-c:v", "libvpx-vp9", "-crf", "30", "-b:v", "0", "-row-mt", "1", "-deadline",
                                     "good", "-cpu-used", "4"});
        else
            args.insert(args.end(), {"-c:v", "libx264", "-preset", "medium", "-crf", "18", "-movflags", "+faststart"});
        args.push_back(Output());
        const std::string log = folder + "/ffmpeg.log";
        // Everything the child needs is made before the fork: between fork and
        // exec a process of several threads may only make system calls.
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid = fork();
        if (pid == 0) {
            // The child: the frames on its input, its messages into the log.
            dup2(ends[1], 0);
            const int logFile = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (logFile >= 0) dup2(logFile, 2);
            const int null = open("/dev/null", O_WRONLY);
            if (null >= 0) dup2(null, 1);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(ends[1]);
        if (pid < 0) {
            close(ends[0]);
            return Outcome::Failure(path + ": ffmpeg could not be started: " + std::strerror(errno), errno);
        }
        input = ends[0];
        return {};
    }

    // Ends the input and waits for the program; a failure says why, with
    // its first message.
    Outcome Finished(const std::string& reason)
    {
        const int status = Stop(false);
        if (reason.empty() && WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
        Expected<std::string> log = ReadWholeFile(folder + "/ffmpeg.log", 64 * 1024);
        std::string said = log ? *log : std::string();
        if (const size_t line = said.find('\n'); line != std::string::npos) said.resize(line);
        std::string why = reason.empty() ? "ffmpeg failed" : reason;
        if (WIFEXITED(status) && WEXITSTATUS(status) == 127) why = "ffmpeg could not be run";
        return Outcome::Failure(path + ": " + why + (said.empty() ? "" : ": " + said));
    }

    // Closes the input (killing the program first when kill is set) and
    // reaps it; its wait status, or -1 when none ran.
    int Stop(bool kill)
    {
        if (input >= 0) close(input);
        input = -1;
        if (pid <= 0) return -1;
        if (kill) ::kill(pid, SIGKILL);
        int status = -1;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        pid = 0;
        return status;
    }

    std::string path, program;
    bool webm;
    MovieOptions options;
    std::string folder;
    int width = 0, height = 0;
    pid_t pid = -1;  // -1: not started; 0: ended
    int input = -1;
};

}  // namespace

Expected<std::unique_ptr<MovieWriter>> OpenFfmpegMovie(const std::string& path, bool webm, const MovieOptions& options)
{
    const std::string program = FindFfmpeg();
    if (program.empty())
        return Outcome::Failure(path +
                                ": videos are made by the ffmpeg program, which is not on the PATH "
                                "(install the package ffmpeg)");
    return std::unique_ptr<MovieWriter>(std::make_unique<FfmpegMovie>(path, program, webm, options));
}

}  // namespace m3d
