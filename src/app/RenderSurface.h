#pragma once

#include <QOpenGLWindow>

namespace m3d {

class CAppForm;

// The native OpenGL window the views are drawn into: every frame is the
// form's (RunFrame), and the form hears when the context comes and goes. It
// is transparent for input: the widget holding it gets the mouse.
class RenderSurface : public QOpenGLWindow {
    Q_OBJECT
public:
    explicit RenderSurface(CAppForm& form);
    ~RenderSurface() override;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void ContextAboutToGo();

    CAppForm& form;
};

}  // namespace m3d
