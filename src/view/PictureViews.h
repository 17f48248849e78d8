#pragma once

#include "view/GridGeometry.h"
#include "view/ViewDisplay.h"
#include "view/ViewRenderer.h"
#include "view/ViewState.h"

#include <cstdint>
#include <optional>

namespace m3d {

class Scene;

// Where a picture's camera stands and what it looks at, in world units.
struct PictureCamera {
    Vec3 eye;
    Vec3 target;
};

// How a picture of the model is drawn.
struct PictureViewOptions {
    int width = 640;
    int height = 480;
    ViewType type = ViewType::Pers;
    // None: the view is framed on the whole model as the editor's whole-model
    // command frames it (a perspective view keeps its default direction).
    std::optional<PictureCamera> camera;
    // ARGB; none keeps the default BACK colour. An alpha of 0 leaves the
    // background transparent.
    std::optional<uint32_t> background;
    // Off: the model alone, without the grid and the axes.
    bool grid = true;
};

// One view filling the picture, with the window's default display switches,
// colours, grid and light (the defaults of the settings file, as a first
// start of the editor has them) and the view's draw mode set to faces.
struct PictureViews {
    static constexpr int kView = 1;  // the view of the Pers type by default
    ViewState views;
    ViewDisplays displays;
    ColourTable colours;
    GridGeometry grid;
    bool gridShown = true;

    // The inputs of RenderViews for the scene as it is posed.
    ViewFrameInputs Inputs(Scene& scene) const;
    // Makes view (0 ... 3) the only one, filling a picture of width x height.
    void ShowAlone(int view, int width, int height);
};

// The views for a picture of scene in its current pose (which framing reads).
PictureViews MakePictureViews(const Scene& scene, const PictureViewOptions& options);

}  // namespace m3d
