#include "app/RenderWidget.h"

#include "app/CAppForm.h"
#include "app/CommandIds.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>

namespace m3d {

RenderWidget::RenderWidget(CAppForm& owner, QWidget* parent) : QOpenGLWidget(parent), form(owner)
{
    setObjectName(IdName(IDC_RENDER_WINDOW));
    setFormat(RequestedFormat());
    setMouseTracking(true);  // the cursor shape follows the splitter band without a button down
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
}

RenderWidget::~RenderWidget()
{
    // The base class's destructor destroys the context, when this is no longer
    // a RenderWidget: its last signal must not reach ContextAboutToGo then, so
    // the device goes now (nothing when the form has released it already).
    if (QOpenGLContext* gl = context()) {
        disconnect(gl, &QOpenGLContext::aboutToBeDestroyed, this, &RenderWidget::ContextAboutToGo);
        ContextAboutToGo();
    }
}

QSurfaceFormat RenderWidget::RequestedFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setSwapInterval(1);
    return format;
}

void RenderWidget::initializeGL()
{
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &RenderWidget::ContextAboutToGo,
            Qt::UniqueConnection);
    form.DeviceContextReady(context());
}

void RenderWidget::ContextAboutToGo()
{
    makeCurrent();
    form.DeviceContextLost();
    doneCurrent();
}

void RenderWidget::paintGL() { form.RunFrame(); }

void RenderWidget::mousePressEvent(QMouseEvent* event)
{
    form.RenderMousePress(*event);
    QOpenGLWidget::mousePressEvent(event);
}

void RenderWidget::mouseReleaseEvent(QMouseEvent* event)
{
    form.RenderMouseRelease(*event);
    QOpenGLWidget::mouseReleaseEvent(event);
}

void RenderWidget::wheelEvent(QWheelEvent* event)
{
    form.RenderWheel(*event);
    event->accept();
}

void RenderWidget::mouseMoveEvent(QMouseEvent* event)
{
    form.RenderMouseMove(*event);
    QOpenGLWidget::mouseMoveEvent(event);
}

}  // namespace m3d
