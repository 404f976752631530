#include "document/Document.h"
#include "media/MediaSession.h"
#include "player/VideoPlayerView.h"
#include "player/VideoPlayerViewController.h"

#include "EncodingSamples.h"
#include "FakePlayer.h"

#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// Dropping video files on the pane.
class tst_VideoPlayerView : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Items are file names in the temporary folder, or full URLs when they contain "://".
    std::unique_ptr<QMimeData> mimeData(const QStringList &items) const
    {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString &item : items)
            urls.append(item.contains(QLatin1String("://")) ? QUrl(item) : QUrl::fromLocalFile(m_dir.filePath(item)));
        if (!urls.isEmpty())
            data->setUrls(urls);
        else
            data->setText(QStringLiteral("just some text"));
        return data;
    }

private slots:
    void initTestCase()
    {
        // The type comes from the name here; a real video is not needed to be offered one.
        for (const char *name : {"a.mp4", "b.mkv", "c.webm", "d.avi", "e.mov", "notes.txt", "film.srt", "still.png"})
            QVERIFY(EncodingSamples::writeAll(m_dir.filePath(QString::fromLatin1(name)), {}));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.mp4")));
    }

    void onlyVideosAreTakenAndHighlighted_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("videos");
        QTest::newRow("each kind of video, each loaded in turn")
            << QStringList{"a.mp4", "b.mkv", "c.webm", "d.avi", "e.mov"} << QStringList{"a.mp4", "b.mkv", "c.webm", "d.avi", "e.mov"};
        QTest::newRow("text, subtitles, an image") << QStringList{"notes.txt", "film.srt", "still.png"} << QStringList{};
        QTest::newRow("folder named like a video") << QStringList{"folder.mp4"} << QStringList{};
        QTest::newRow("missing file") << QStringList{"gone.mp4"} << QStringList{};
        QTest::newRow("web address") << QStringList{"https://example.com/film.mp4"} << QStringList{};
        QTest::newRow("no addresses at all") << QStringList{} << QStringList{};
        QTest::newRow("videos among other files") << QStringList{"e.mov", "notes.txt", "a.mp4"} << QStringList{"e.mov", "a.mp4"};
    }

    void onlyVideosAreTakenAndHighlighted()
    {
        QFETCH(QStringList, items);
        QFETCH(QStringList, videos);
        for (QString &video : videos)
            video = m_dir.filePath(video);
        const auto data = mimeData(items);
        Document document;
        MediaSession media;
        VideoPlayerViewController controller(&document, &media);
        QStringList loaded;
        controller.setPlayerFactory([&](const QString &path) {
            loaded.append(path);
            return std::make_unique<FakePlayer>();
        });
        VideoPlayerView *view = controller.playerView();
        for (const bool dropped : {false, true}) { // the pointer leaves, then comes back and lets go
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view, &enter);
            QCOMPARE(enter.isAccepted(), !videos.isEmpty());
            QCOMPARE(view->isHighlighted(), !videos.isEmpty());
            QDropEvent drop(QPointF(10, 10), Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(view, dropped ? static_cast<QEvent *>(&drop) : &leave);
            QVERIFY(!view->isHighlighted());
        }
        QCOMPARE(loaded, videos);
        QCOMPARE(controller.videoPath(), videos.value(videos.size() - 1)); // the last one stays
    }
};

QTEST_MAIN(tst_VideoPlayerView)
#include "tst_videoplayerview.moc"
