#pragma once

#include "editor/EditorSession.h"
#include "editor/MouseController.h"
#include "view/EditTestScene.h"

namespace m3d {

class WindowEvents : public MouseControllerObserver {
public:
    void SetMouseCapture(bool captured) override { capture = captured; }
    void SetDisplayToolbarsVisible(bool visible) override { toolbarsVisible = visible; }
    void ViewRectsChanged() override { ++layouts; }
    bool capture = false;
    bool toolbarsVisible = true;
    int layouts = 0;
};

// Render window 804 x 600: views 0 | 1 above 2 | 3, split band x 398 ... 401,
// y 298 ... 301. View 0 Top, 1 Pers, 2 Front, 3 Left, all aimed at the origin.
struct MouseScene {
    MouseScene()
    {
        ViewState& v = session.Views();
        v.SetRenderSize(804, 600);
        v.views[1].savedPersEye = {300, 200, -400};
        v.views[1].savedPersTarget = {10, 0, 20};
        const ViewType types[4] = {ViewType::Top, ViewType::Pers, ViewType::Front, ViewType::Left};
        for (int i = 0; i < 4; ++i) v.SetViewType(i, types[i]);
        mouse.SetObserver(&events);
        session.History().Clear();
    }
    int Add(Vec3 position, float half = 10, int parent = -1)
    {
        const int index = AddModelPart(scene, folder, CubeModel(half), parent, position);
        session.History().Clear();
        return index;
    }
    void Drag(int x, int y, int toX, int toY, MouseKey keys = MouseKey::Left)
    {
        mouse.LeftButtonDown(x, y);
        mouse.MouseMove(toX, toY, keys);
        mouse.LeftButtonUp(toX, toY);
    }
    int Pushes() const { return session.History().StepCount(); }

    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    MouseController mouse{session};
    WindowEvents events;
};

// The centre pixel of the Front view (2) shows the point (0, 2.5) of its target plane.
constexpr int kFrontX = 199, kFrontY = 450;
// The centre pixel of the Pers view (1).
constexpr int kPersX = 600, kPersY = 149;

}  // namespace m3d
