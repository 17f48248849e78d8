#pragma once

#include "scene/Scene.h"
#include "support/TempFolder.h"

#include <string>
#include <vector>

// A closed cube of edge 2 * half around the origin as model text: 8 vertices,
// 6 quads (12 triangles).
inline std::string CubeModelText(float half = 1.0f)
{
    const std::string h = std::to_string(half);
    const std::string n = std::to_string(-half);
    return "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n"
           "Material 1 {\r\n\t\"mat1\" col(1.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) "
           "power(5.00)\r\n}\r\n"
           "Object \"cube\" {\r\n\tvertex 8 {\r\n"
           "\t\t" + n + " " + h + " " + n + "\r\n\t\t" + h + " " + h + " " + n + "\r\n"
           "\t\t" + h + " " + n + " " + n + "\r\n\t\t" + n + " " + n + " " + n + "\r\n"
           "\t\t" + n + " " + h + " " + h + "\r\n\t\t" + h + " " + h + " " + h + "\r\n"
           "\t\t" + h + " " + n + " " + h + "\r\n\t\t" + n + " " + n + " " + h + "\r\n\t}\r\n"
           "\tface 6 {\r\n"
           "\t\t4 V(0 1 2 3) M(0)\r\n\t\t4 V(5 4 7 6) M(0)\r\n\t\t4 V(4 5 1 0) M(0)\r\n"
           "\t\t4 V(3 2 6 7) M(0)\r\n\t\t4 V(4 0 3 7) M(0)\r\n\t\t4 V(1 5 6 2) M(0)\r\n\t}\r\n}\r\nEof\r\n";
}

// Writes a cube model file named fileName into folder and adds it as a Part
// under the tree's selected item. Returns the new Part's index.
inline int AddCube(Scene& scene, const TempFolder& folder, const std::string& fileName, float half = 1.0f)
{
    folder.Write(fileName, CubeModelText(half));
    scene.AddPartFromFile(folder.File(fileName));
    return scene.PartCount() - 1;
}

// Selects Part index in the tree (-1: the root entry), as a click would.
inline void SelectPart(Scene& scene, int index)
{
    scene.SelectTreeItem(index < 0 ? scene.rootPart.treeItem : scene.parts[index]->treeItem);
}

// Adds a cube under Part parent (-1: under the root entry).
inline int AddCubeUnder(Scene& scene, const TempFolder& folder, int parent, const std::string& fileName)
{
    SelectPart(scene, parent);
    return AddCube(scene, folder, fileName);
}

// Notifications in the order they arrived, as short texts.
class RecordingObserver : public SceneObserver {
public:
    void TitleChanged(const std::string& title) override { events.push_back("title " + title); }
    void TreeItemInserted(TreeItem item, TreeItem parent, const std::string& text) override
    {
        events.push_back("insert " + std::to_string(item) + " under " + std::to_string(parent) + " " + text);
    }
    void TreeItemRemoved(TreeItem item) override { events.push_back("remove " + std::to_string(item)); }
    void TreeItemRenamed(TreeItem item, const std::string& text) override
    {
        events.push_back("rename " + std::to_string(item) + " " + text);
    }
    void TreeItemSelected(TreeItem item) override { events.push_back("select " + std::to_string(item)); }
    void TreeItemChecked(TreeItem item, bool checked) override
    {
        events.push_back("check " + std::to_string(item) + (checked ? " on" : " off"));
    }
    void TransformPanelNeedsRefresh() override { events.push_back("transform"); }
    void MotionPanelNeedsRefresh() override { events.push_back("motion"); }
    void HistoryRestartNeeded() override { events.push_back("history restart"); }
    void ViewsFitNeeded() override { events.push_back("fit"); }
    void HistoryFreeNeeded() override { events.push_back("history free"); }

    std::vector<std::string> events;
};
