#pragma once

#include <QStringList>
#include <QWidget>

class QMimeData;
class VideoPlayerViewController;

// The video pane's picture area and drop target: video files dragged from a file manager
// are framed while they hover and loaded when dropped.
class VideoPlayerView : public QWidget
{
    Q_OBJECT

public:
    explicit VideoPlayerView(QWidget *parent = nullptr);

    VideoPlayerViewController *videoPlayerViewController() const { return m_videoPlayerViewController; }
    void setVideoPlayerViewController(VideoPlayerViewController *controller);
    bool isHighlighted() const { return m_highlighted; }

    // The local video files among the dragged items, in their order: existing regular
    // files whose type is video/*.
    static QStringList videoFiles(const QMimeData *data);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setHighlighted(bool highlighted);

    VideoPlayerViewController *m_videoPlayerViewController = nullptr;
    bool m_highlighted = false;
    QWidget *m_highlightFrame;
};
