#pragma once

#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/LoadedModel.h"
#include "editor/EditorSession.h"
#include "scene/Scene.h"
#include "support/TempFolder.h"

#include <string>
#include <vector>

namespace m3d {

// A closed cube of edge 2 * half around the origin, 12 triangles facing
// outward, as the bytes of an object file. It is written by the mesh
// library's own writer, whose files the loader recognises by their content
// whatever their extension. texture names a texture file of the material
// ("" for none).
inline std::string CubeObjectFile(float half = 1.0f, const std::string& texture = "")
{
    LoadedModel model;
    model.materials.resize(1);
    model.materials[0].diffuse = {0.8f, 0.8f, 0.8f, 1.0f};
    model.materials[0].texturePath = texture;
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    // Outward normal n with u x v = n, so the corners -u-v, u-v, u+v, -u+v run clockwise seen from outside.
    const int faces[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}};
    for (int f = 0; f < 3; ++f)
        for (float sign : {1.0f, -1.0f}) {
            const Vec3 n = axes[faces[f][0]] * sign;
            const Vec3 u = sign > 0 ? axes[faces[f][1]] : axes[faces[f][2]];
            const Vec3 v = sign > 0 ? axes[faces[f][2]] : axes[faces[f][1]];
            const uint32_t first = static_cast<uint32_t>(model.vertices.size());
            const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            for (const auto& c : corners) {
                const Vec3 p = (n + u * c[0] + v * c[1]) * half;
                model.vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, (c[0] + 1) / 2, (1 - c[1]) / 2});
            }
            for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) model.indices.push_back(first + i);
            model.triangleMaterials.insert(model.triangleMaterials.end(), 2, 0);
        }
    TempFolder scratch;
    CMeshBase base;
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    if (!mesh.LoadModel(model, scratch.File("cube.mqo"), 1.0f) || !mesh.SaveMeshFile(scratch.File("cube.mesh")))
        return std::string();
    return scratch.Read("cube.mesh");
}

// The same cube as model text (.mqo): 8 vertices, 6 quads.
inline std::string CubeModelText(float half = 1.0f)
{
    const std::string h = std::to_string(half);
    const std::string n = std::to_string(-half);
    const std::string corners[8] = {n + " " + h + " " + n, h + " " + h + " " + n, h + " " + n + " " + n,
                                    n + " " + n + " " + n, n + " " + h + " " + h, h + " " + h + " " + h,
                                    h + " " + n + " " + h, n + " " + n + " " + h};
    std::string text =
        "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n"
        "Material 1 {\r\n\t\"mat1\" col(1.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) "
        "spc(0.000) power(5.00)\r\n}\r\nObject \"cube\" {\r\n\tvertex 8 {\r\n";
    for (const std::string& corner : corners) text += "\t\t" + corner + "\r\n";
    text +=
        "\t}\r\n\tface 6 {\r\n"
        "\t\t4 V(0 1 2 3) M(0)\r\n\t\t4 V(5 4 7 6) M(0)\r\n\t\t4 V(4 5 1 0) M(0)\r\n"
        "\t\t4 V(3 2 6 7) M(0)\r\n\t\t4 V(4 0 3 7) M(0)\r\n\t\t4 V(1 5 6 2) M(0)\r\n\t}\r\n}\r\nEof\r\n";
    return text;
}

// Writes a cube object file named fileName into folder and adds it as a Part
// under the tree's selected item, which then selects it (so cubes added one
// after another form a chain). Returns the new Part's index.
inline int AddCube(Scene& scene, const TempFolder& folder, const std::string& fileName, float half = 1.0f)
{
    folder.Write(fileName, CubeObjectFile(half));
    const int added = scene.AddPartFromFile(folder.File(fileName)).index;
    scene.SelectTreeItem(scene.Parts()[added]->treeItem);
    return added;
}

// The same through the session: the new Part becomes the current Part.
inline int AddCube(EditorSession& session, const TempFolder& folder, const std::string& fileName, float half = 1.0f)
{
    folder.Write(fileName, CubeObjectFile(half));
    const int added = session.GetScene().AddPartFromFile(folder.File(fileName)).index;
    session.SelectPart(added);
    return added;
}

// Selects Part index in the tree (-1: the root entry), as a click would.
inline void SelectPart(Scene& scene, int index)
{
    scene.SelectTreeItem(index < 0 ? scene.rootPart.treeItem : scene.Parts()[index]->treeItem);
}
inline void SelectPart(EditorSession& session, int index) { session.SelectPart(index); }

// Adds a cube under Part parent (-1: under the root entry).
template <typename Model>
int AddCubeUnder(Model& model, const TempFolder& folder, int parent, const std::string& fileName)
{
    SelectPart(model, parent);
    return AddCube(model, folder, fileName);
}

// The session's events in the order they arrived, as short texts.
class RecordingObserver {
public:
    explicit RecordingObserver(EditorSession& session)
        : subscription(session.Events().Subscribe([this](const EditorEvent& e) { Record(e); }))
    {
    }

    std::vector<std::string> events;

private:
    void Record(const EditorEvent& event)
    {
        OnEvent<TitleChanged>(event, [&](const TitleChanged& e) { events.push_back("title " + e.title); });
        OnEvent<TreeItemInserted>(event, [&](const TreeItemInserted& e) {
            events.push_back("insert " + std::to_string(e.item) + " under " + std::to_string(e.parent) + " " + e.text);
        });
        OnEvent<TreeItemRemoved>(
            event, [&](const TreeItemRemoved& e) { events.push_back("remove " + std::to_string(e.item)); });
        OnEvent<TreeItemRenamed>(event, [&](const TreeItemRenamed& e) {
            events.push_back("rename " + std::to_string(e.item) + " " + e.text);
        });
        OnEvent<SelectionChanged>(
            event, [&](const SelectionChanged& e) { events.push_back("select " + std::to_string(e.item)); });
        OnEvent<TreeItemChecked>(event, [&](const TreeItemChecked& e) {
            events.push_back("check " + std::to_string(e.item) + (e.checked ? " on" : " off"));
        });
        OnEvent<PoseChanged>(event, [&](const PoseChanged&) { events.push_back("transform"); });
        OnEvent<MotionListChanged>(event, [&](const MotionListChanged&) { events.push_back("motion"); });
    }

    EditorSubscription subscription;
};

}  // namespace m3d
