#pragma once

#include <QOpenGLWidget>

struct mpv_handle;
struct mpv_render_context;

// Draws an mpv player's picture through mpv's OpenGL render API. The render context lives
// from the first initializeGL to the widget's destruction; mpv's video output only starts
// once it exists, so the player waits for renderContextReady before opening a file.
class MpvVideoWidget : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit MpvVideoWidget(mpv_handle *mpv, QWidget *parent = nullptr);
    ~MpvVideoWidget() override;

    bool hasRenderContext() const { return m_renderContext != nullptr; }

signals:
    void renderContextReady();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void freeRenderContext();
    static void onUpdate(void *context);

    mpv_handle *m_mpv;
    mpv_render_context *m_renderContext = nullptr;
};
