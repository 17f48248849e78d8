#include "view/PictureViews.h"

#include "scene/Scene.h"
#include "settings/SettingsValues.h"
#include "view/SettingsBinding.h"

#include <cmath>

namespace m3d {

ViewFrameInputs PictureViews::Inputs(Scene& scene) const
{
    ViewFrameInputs in{views, displays, colours, grid, scene};
    in.showGrid = gridShown;
    return in;
}

void PictureViews::ShowAlone(int view, int width, int height)
{
    views.fourViewMode = 1;
    views.ToggleLayout(view);
    views.activeView = view;
    views.SetRenderSize(width, height);
}

PictureViews MakePictureViews(const Scene& scene, const PictureViewOptions& options)
{
    PictureViews p;
    ApplySettings(DefaultSettingsValues(std::string()), p.views, p.displays, p.colours);
    p.grid = BuildGrid(p.views.gridWidth, p.colours[ColourIndex::Grid]);
    p.gridShown = options.grid;
    if (options.background) p.colours[ColourIndex::Back] = *options.background;
    p.displays[PictureViews::kView].drawMode = 1;
    p.ShowAlone(PictureViews::kView, options.width, options.height);
    p.views.SetViewType(PictureViews::kView, options.type);
    if (options.camera) {
        View& view = p.views.views[PictureViews::kView];
        view.eye = options.camera->eye;
        view.target = options.camera->target;
        // A line of sight straight up or down has no screen up; it leans as
        // the Top view does, one part in 2000 toward -Z.
        const Vec3 sight = view.target - view.eye;
        if (std::hypot(sight.x, sight.z) <= Length(sight) * 1e-5f) view.eye.z -= Length(sight) / 2000.0f;
        p.views.SavePersCamera(PictureViews::kView);
    } else {
        p.views.FitWholeModel(scene.Meshes());
    }
    return p;
}

}  // namespace m3d
