#include "player/VideoPlayerView.h"

#include "player/VideoPlayerViewController.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPainter>

namespace {

constexpr int frameWidth = 6;

// A video is linked to the document, not copied or moved.
void acceptAsLink(QDropEvent *event)
{
    if (event->possibleActions() & Qt::LinkAction) {
        event->setDropAction(Qt::LinkAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}

// Drawn above the picture (a child), since the picture covers the whole view.
class HighlightFrame : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QColor colour = palette().color(QPalette::Highlight);
        colour.setAlphaF(0.5);
        painter.setPen(QPen(colour, frameWidth));
        painter.setBrush(Qt::NoBrush);
        // A pen is centred on its line: inset by half so the whole width shows.
        painter.drawRect(QRectF(rect()).adjusted(frameWidth / 2.0, frameWidth / 2.0, -frameWidth / 2.0,
                                                 -frameWidth / 2.0));
    }
};

} // namespace

VideoPlayerView::VideoPlayerView(QWidget *parent)
    : QWidget(parent)
    , m_highlightFrame(new HighlightFrame(this))
{
    setAcceptDrops(true);
    m_highlightFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_highlightFrame->hide();
}

void VideoPlayerView::setVideoPlayerViewController(VideoPlayerViewController *controller)
{
    m_videoPlayerViewController = controller;
}

QStringList VideoPlayerView::videoFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    const QMimeDatabase database;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (!info.isFile())
            continue;
        if (database.mimeTypeForFile(info).name().startsWith(QLatin1String("video/")))
            files.append(info.absoluteFilePath());
    }
    return files;
}

void VideoPlayerView::dragEnterEvent(QDragEnterEvent *event)
{
    const bool acceptable = m_videoPlayerViewController && !videoFiles(event->mimeData()).isEmpty();
    setHighlighted(acceptable);
    if (!acceptable) {
        event->ignore();
        return;
    }
    acceptAsLink(event);
}

void VideoPlayerView::dragLeaveEvent(QDragLeaveEvent *)
{
    setHighlighted(false);
}

void VideoPlayerView::dropEvent(QDropEvent *event)
{
    setHighlighted(false);
    const QStringList files = videoFiles(event->mimeData());
    if (!m_videoPlayerViewController || files.isEmpty()) {
        event->ignore();
        return;
    }
    acceptAsLink(event);
    // Each replaces the one before: the last one stays.
    for (const QString &file : files)
        m_videoPlayerViewController->loadVideo(file);
}

void VideoPlayerView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_highlightFrame->setGeometry(rect());
}

void VideoPlayerView::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    m_highlightFrame->setVisible(highlighted);
    if (highlighted)
        m_highlightFrame->raise();
}
