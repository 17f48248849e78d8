#include "foreign/readers/AssimpAxes.h"
#include "foreign/readers/DroppedNotes.h"

#include <assimp/scene.h>

#include <cmath>

namespace m3d {

namespace {

int32_t IntSetting(const aiMetadata* settings, const char* key, int32_t fallback)
{
    int32_t value = fallback;
    if (settings) settings->Get(std::string(key), value);
    return value;
}

// The file's unit in centimetres: FBX writes it as a double, some exporters
// as a float.
double UnitSetting(const aiMetadata* settings)
{
    double unit = 1.0;
    float single = 1.0f;
    if (settings && !settings->Get(std::string("UnitScaleFactor"), unit) &&
        settings->Get(std::string("UnitScaleFactor"), single))
        unit = single;
    return unit;
}

}  // namespace

aiMatrix4x4 FbxAxesToYUp(const aiScene& scene, std::vector<std::string>& dropped)
{
    const aiMetadata* settings = scene.mMetaData;
    // Each entry: the file's axis (0 x, 1 y, 2 z) and sign that become x
    // (right), y (up), z (front) of ours.
    int32_t axes[3] = {IntSetting(settings, "CoordAxis", 0), IntSetting(settings, "UpAxis", 1),
                       IntSetting(settings, "FrontAxis", 2)};
    int32_t signs[3] = {IntSetting(settings, "CoordAxisSign", 1), IntSetting(settings, "UpAxisSign", 1),
                        IntSetting(settings, "FrontAxisSign", 1)};
    double unit = UnitSetting(settings);
    if (!std::isfinite(unit) || unit <= 0.0 || unit > 1e30) {
        NoteDropped(dropped, "unit scale " + std::to_string(unit) + " of the file (taken as 1)");
        unit = 1.0;
    }
    bool usable = true;
    for (int i = 0; i < 3; ++i) {
        usable = usable && axes[i] >= 0 && axes[i] <= 2 && (signs[i] == 1 || signs[i] == -1);
        for (int j = 0; j < i; ++j) usable = usable && axes[i] != axes[j];
    }
    if (!usable) {
        NoteDropped(dropped, "axis settings of the file (no usable set of three axes: taken as Y up)");
        for (int i = 0; i < 3; ++i) axes[i] = i, signs[i] = 1;
    }
    // Rows: ours = rows . theirs. A left-handed set makes this a mirror,
    // which the top nodes then carry as a negative scale.
    aiMatrix4x4 change;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            change[row][column] = column == axes[row] ? ai_real(signs[row] * unit) : ai_real(0);
    return change;
}

}  // namespace m3d
