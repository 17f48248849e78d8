#include "cli/PoseJson.h"

#include "cli/JsonWriter.h"
#include "scene/Scene.h"

namespace m3d {

void WritePosePartsJson(JsonWriter& json, const Scene& scene)
{
    json.Key("parts").BeginArray();
    for (int i = 0; i < scene.PartCount(); ++i) {
        const Part& part = *scene.Parts()[i];
        float local[16];
        float world[16];
        part.localMatrix.ToArray(local);
        scene.WorldMatrixOf(i).ToArray(world);
        const float position[3] = {part.localPosition.x, part.localPosition.y, part.localPosition.z};
        json.BeginObject();
        json.Key("index").Int(i);
        json.Key("displayName").String(part.displayName);
        json.Key("localMatrix").Floats(local, 16);
        json.Key("localPosition").Floats(position, 3);
        json.Key("world").Floats(world, 16);
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace m3d
