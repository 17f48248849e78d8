#include "app/RenderSurface.h"

#include "app/CAppForm.h"
#include "app/RenderWidget.h"

#include <QOpenGLContext>

namespace m3d {

RenderSurface::RenderSurface(CAppForm& owner) : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate), form(owner)
{
    setFormat(RenderWidget::RequestedFormat());
    setFlag(Qt::WindowTransparentForInput);
}

RenderSurface::~RenderSurface()
{
    // The base class's destructor destroys the context, when this is no longer
    // a RenderSurface: its last signal must not reach ContextAboutToGo then, so
    // the device goes now (nothing when the form has released it already).
    if (QOpenGLContext* gl = context()) {
        disconnect(gl, &QOpenGLContext::aboutToBeDestroyed, this, &RenderSurface::ContextAboutToGo);
        ContextAboutToGo();
    }
}

void RenderSurface::initializeGL()
{
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &RenderSurface::ContextAboutToGo,
            Qt::UniqueConnection);
    form.DeviceContextReady(context());
}

void RenderSurface::ContextAboutToGo()
{
    makeCurrent();
    form.DeviceContextLost();
    doneCurrent();
}

void RenderSurface::paintGL() { form.RunFrame(); }

}  // namespace m3d
