#pragma once

#include <string>
#include <vector>

namespace m3d::soak {

// The run's own folder. Everything the soak opens, saves or exports lies in
// it, and the program's settings, home and temporary files too, so that a run
// never touches the user's files or settings:
//   figure/   a copy of the sample figure, which the window opens first
//   saves/    projects saved through the file dialogs
//   exports/  DirectX and glTF exports
//   bad/      files that no reader accepts (cut short, empty, not a model)
//   home/, settings/, work/, runtime/, tmp/  HOME, the settings file, the
//             current folder, XDG_RUNTIME_DIR and TMPDIR
class SoakFolder {
public:
    // root: an existing folder the run may fill.
    explicit SoakFolder(std::string root);

    // Makes the folders, copies the figure (every file of figureFolder) and
    // writes the bad files; false with error filled when that fails.
    bool Prepare(const std::string& figureFolder, std::string& error) const;
    // Points HOME, the XDG folders and TMPDIR into the folder and makes
    // work/ the current folder. Call before the Qt application exists.
    void UseAsEnvironment() const;

    const std::string& Root() const { return root; }
    std::string SettingsPath() const { return root + "/settings/marionettica3d.ini"; }
    std::string StartProject() const { return root + "/figure/figure.anm"; }
    // root/relative; "" when relative is absolute or climbs out with "..".
    std::string Absolute(const std::string& relative) const;
    // path relative to the root; "" when path does not lie inside it.
    std::string Relative(const std::string& path) const;
    // The files under figure/, saves/, exports/ and bad/ (relative paths,
    // sorted) whose names end with one of suffixes (".anm"; empty: any).
    std::vector<std::string> Files(const std::vector<std::string>& suffixes) const;

private:
    std::string root;
};

}  // namespace m3d::soak
