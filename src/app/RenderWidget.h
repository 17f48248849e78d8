#pragma once

#include <QImage>
#include <QSurfaceFormat>
#include <QWidget>

class QOpenGLContext;

namespace m3d {

class CAppForm;
class RenderSurface;

// The render window: a native OpenGL 3.3 core surface with a depth buffer
// (RenderSurface), which the window system shows directly instead of the
// toolkit compositing it into the main window. It draws only when asked
// (RequestFrame) and tells the form when its GL context comes and goes. The
// surface takes no input: the mouse messages come to this widget, which
// hands them to the form, and the keys stay with the main window.
class RenderWidget : public QWidget {
    Q_OBJECT
public:
    RenderWidget(CAppForm& form, QWidget* parent);
    ~RenderWidget() override;

    // The surface format the render window asks for.
    static QSurfaceFormat RequestedFormat();

    // The surface's context; nullptr before it is first shown.
    QOpenGLContext* context() const;
    QSurfaceFormat format() const;
    void makeCurrent();
    void doneCurrent();
    // A frame is drawn at the next chance (several requests make one frame).
    void RequestFrame();
    // A frame drawn now and read back, top row first; a null image before
    // the surface has a context.
    QImage grabFramebuffer();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CAppForm& form;
    RenderSurface* surface;  // owned by container
    QWidget* container;
};

}  // namespace m3d
