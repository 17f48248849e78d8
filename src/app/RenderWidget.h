#pragma once

#include <QOpenGLWidget>

namespace m3d {

class CAppForm;

// The render window: an OpenGL 3.3 core surface with a depth buffer. It draws
// only when asked (update), hands every frame and every mouse message to the
// form, and tells the form when its GL context comes and goes.
class RenderWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    RenderWidget(CAppForm& form, QWidget* parent);
    ~RenderWidget() override;

    // The surface format the render window asks for.
    static QSurfaceFormat RequestedFormat();

protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ContextAboutToGo();

    CAppForm& form;
};

}  // namespace m3d
