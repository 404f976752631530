#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

class Document;
class ShotChangeDetector;
class VideoPlayerViewController;

// Keeps a document's shot changes with its video: each video loaded is scanned in the
// background, nearest the playback cursor first (or its cached list taken at once), what
// is found goes into the document as it comes, and once the list is complete it is kept
// in the cache again after each of the user's additions and removals. Another video, or
// the window closing, stops the scan.
class ShotChangeTracking : public QObject
{
    Q_OBJECT

public:
    ShotChangeTracking(Document *document, VideoPlayerViewController *player, QObject *parent = nullptr);
    ~ShotChangeTracking() override;

signals:
    void progressChanged(std::optional<double> progress);
    // The video cannot be scanned; the message is for the user.
    void failed(const QString &message);

private:
    void videoChanged(const QString &path);
    void startDetector(const QString &path);
    void setProgress(std::optional<double> progress);

    QPointer<Document> m_document;
    QPointer<VideoPlayerViewController> m_player;
    std::unique_ptr<ShotChangeDetector> m_detector;
    std::optional<double> m_progress;
    bool m_complete = false;
    int m_request = 0; // the video being looked at before its scan starts
};
