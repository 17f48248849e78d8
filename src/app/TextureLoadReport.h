#pragma once

#include "app/TaskProgressDialog.h"

class QWidget;

namespace m3d {

class Scene;

// The window's side of texture loading: a progress dialog while a load
// decodes textures (see CMeshBase::SetTaskProgress), and, once the load is
// over, a message naming the textures it could not use.
class TextureLoadReport {
public:
    // Installs itself as the progress of scene's texture loading until destroyed.
    TextureLoadReport(Scene& scene, QWidget* parent);
    ~TextureLoadReport();
    TextureLoadReport(const TextureLoadReport&) = delete;
    TextureLoadReport& operator=(const TextureLoadReport&) = delete;

    // To be called after every change of the session: when the program is
    // idle again, the problems of the loads since are shown and the progress
    // starts afresh.
    void SessionChanged();

private:
    void Report();

    Scene& scene;
    QWidget* parent;
    TaskProgressDialog progress;
    bool pending = false;
};

}  // namespace m3d
