#include "app/RenderWidget.h"

#include "app/CAppForm.h"
#include "app/CommandIds.h"
#include "app/RenderSurface.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWheelEvent>

namespace m3d {

RenderWidget::RenderWidget(CAppForm& owner, QWidget* parent)
    : QWidget(parent), form(owner), surface(new RenderSurface(owner)), container(createWindowContainer(surface, this))
{
    setObjectName(IdName(IDC_RENDER_WINDOW));
    setMouseTracking(true);  // the cursor shape follows the splitter band without a button down
    // The mouse goes past the surface and its container to this widget.
    container->setAttribute(Qt::WA_TransparentForMouseEvents);
    container->setFocusPolicy(Qt::NoFocus);
}

RenderWidget::~RenderWidget()
{
    // The surface (and its context) goes while the form can still release
    // the device it holds.
    delete container;
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

QOpenGLContext* RenderWidget::context() const { return surface->context(); }

QSurfaceFormat RenderWidget::format() const { return surface->format(); }

void RenderWidget::makeCurrent() { surface->makeCurrent(); }

void RenderWidget::doneCurrent() { surface->doneCurrent(); }

void RenderWidget::RequestFrame() { surface->update(); }

QImage RenderWidget::grabFramebuffer()
{
    QOpenGLContext* gl = context();
    if (gl == nullptr) return {};
    // A swapped back buffer holds nothing defined: draw the frame afresh and
    // read it before it is shown.
    surface->makeCurrent();
    form.RunFrame();
    const QSize size = surface->size() * surface->devicePixelRatio();
    QImage image(size, QImage::Format_RGBA8888);
    QOpenGLFunctions* f = gl->functions();
    f->glBindFramebuffer(GL_FRAMEBUFFER, surface->defaultFramebufferObject());
    f->glPixelStorei(GL_PACK_ALIGNMENT, 4);
    f->glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    surface->doneCurrent();
    return image.mirrored();  // the rows come bottom first
}

void RenderWidget::resizeEvent(QResizeEvent* event)
{
    container->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void RenderWidget::mousePressEvent(QMouseEvent* event) { form.RenderMousePress(*event); }

void RenderWidget::mouseReleaseEvent(QMouseEvent* event) { form.RenderMouseRelease(*event); }

void RenderWidget::wheelEvent(QWheelEvent* event)
{
    form.RenderWheel(*event);
    event->accept();
}

void RenderWidget::mouseMoveEvent(QMouseEvent* event) { form.RenderMouseMove(*event); }

}  // namespace m3d
