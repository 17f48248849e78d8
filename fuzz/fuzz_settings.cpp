// The settings file on arbitrary bytes: reading never yields a non-finite
// float, and the values read survive being written into the same file and
// read again (the file's other lines must not change what the keys say).
//   build-fuzz/bin/fuzz_settings -max_total_time=300 corpus/ fuzz/corpus/fuzz_settings/
#include "settings/AppSettings.h"
#include "settings/ProfileFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace m3d;

namespace {

bool Finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool SameVector(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

void CheckFinite(const SettingsValues& v)
{
    bool ok = Finite(v.lightDirection) && std::isfinite(v.splitX) && std::isfinite(v.splitY) &&
              std::isfinite(v.orthographicScale);
    for (const ViewSettingsValues& view : v.views)
        ok = ok && Finite(view.target) && Finite(view.persEye) && Finite(view.persTarget);
    if (!ok) std::abort();
}

// The writer turns CR and LF inside a value into spaces so that no value can
// start a line of its own; a lone CR can stand inside a value that was read.
std::string Written(std::string value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n') c = ' ';
    return value;
}

// Floats go through "%f" and come back exactly only once they have been
// through it, so they are compared only when withFloats is set.
void CheckSame(const SettingsValues& a, const SettingsValues& b, bool withFloats)
{
    if (Written(a.addObjectDirectory) != b.addObjectDirectory ||
        Written(a.exportXFileDirectory) != b.exportXFileDirectory || a.colours != b.colours ||
        a.frameRate != b.frameRate || a.timeScaleFactor != b.timeScaleFactor || a.gridWidth != b.gridWidth ||
        a.gridXY != b.gridXY || a.gridYZ != b.gridYZ || a.gridZX != b.gridZX)
        std::abort();
    if (withFloats && (!SameVector(a.lightDirection, b.lightDirection) || a.splitX != b.splitX ||
                       a.splitY != b.splitY || a.orthographicScale != b.orthographicScale))
        std::abort();
    for (size_t i = 0; i < a.views.size(); ++i) {
        const ViewSettingsValues &x = a.views[i], &y = b.views[i];
        if (x.type != y.type || x.drawMode != y.drawMode || x.drawSelect != y.drawSelect) std::abort();
        if (withFloats && (!SameVector(x.target, y.target) || !SameVector(x.persEye, y.persEye) ||
                           !SameVector(x.persTarget, y.persTarget)))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto currentDirectory = [] { return std::string("/cwd"); };
    const SettingsOwners owners;
    ProfileFile profile;
    profile.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    SettingsValues read;
    ReadSettings(profile, read, owners, currentDirectory);
    CheckFinite(read);

    // Written into the same file and read back; then once more, when the
    // floats have been through "%f" already and must not move again.
    SettingsValues previous = read;
    for (int round = 0; round < 2; ++round) {
        WriteSettings(profile, previous, owners);
        ProfileFile reloaded;
        reloaded.Parse(profile.Text());
        SettingsValues again;
        ReadSettings(reloaded, again, owners, currentDirectory);
        CheckSame(previous, again, round > 0);
        profile = reloaded;
        previous = again;
    }
    return 0;
}
