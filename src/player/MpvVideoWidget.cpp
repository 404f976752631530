#include "player/MpvVideoWidget.h"

#include "player/MpvLibrary.h"

#include <QOpenGLContext>

#include <mpv/render_gl.h>

namespace {

void *procAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(QByteArray(name))) : nullptr;
}

} // namespace

MpvVideoWidget::MpvVideoWidget(mpv_handle *mpv, QWidget *parent)
    : QOpenGLWidget(parent)
    , m_mpv(mpv)
{
}

MpvVideoWidget::~MpvVideoWidget()
{
    freeRenderContext();
}

void MpvVideoWidget::freeRenderContext()
{
    if (!m_renderContext)
        return;
    // mpv frees GL objects here, so its context must be current.
    makeCurrent();
    libmpv().mpv_render_context_set_update_callback(m_renderContext, nullptr, nullptr);
    libmpv().mpv_render_context_free(m_renderContext);
    m_renderContext = nullptr;
    doneCurrent();
}

void MpvVideoWidget::initializeGL()
{
    if (m_renderContext)
        return;
    mpv_opengl_init_params glInit{&procAddress, nullptr};
    mpv_render_param params[]{
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (libmpv().mpv_render_context_create(&m_renderContext, m_mpv, params) < 0) {
        m_renderContext = nullptr;
        qWarning("mpv: could not create an OpenGL render context");
        return;
    }
    libmpv().mpv_render_context_set_update_callback(m_renderContext, &MpvVideoWidget::onUpdate, this);
    emit renderContextReady();
}

void MpvVideoWidget::paintGL()
{
    if (!m_renderContext)
        return;
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), int(width() * ratio), int(height() * ratio), 0};
    int flipY = 1;
    mpv_render_param params[]{
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    libmpv().mpv_render_context_render(m_renderContext, params);
}

void MpvVideoWidget::onUpdate(void *context)
{
    // Called on one of mpv's threads: only hand over to the GUI thread.
    auto *widget = static_cast<MpvVideoWidget *>(context);
    QMetaObject::invokeMethod(widget, [widget] {
        if (widget->m_renderContext
            && (libmpv().mpv_render_context_update(widget->m_renderContext) & MPV_RENDER_UPDATE_FRAME))
            widget->update();
    }, Qt::QueuedConnection);
}
