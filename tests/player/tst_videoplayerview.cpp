#include "document/Document.h"
#include "player/VideoPlayerView.h"
#include "player/VideoPlayerViewController.h"

#include "FakePlayer.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// Dropping video files on the pane.
class tst_VideoPlayerView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The type comes from the name here; a real video is not needed to be offered one.
        for (const char *name : {"a.mp4", "b.mkv", "c.webm", "d.avi", "e.mov", "notes.txt", "film.srt", "still.png"}) {
            QFile file(m_dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.mp4")));
    }

    void onlyVideosAreTakenAndHighlighted_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("videos");
        QTest::newRow("mp4") << QStringList{"a.mp4"} << QStringList{"a.mp4"};
        QTest::newRow("matroska") << QStringList{"b.mkv"} << QStringList{"b.mkv"};
        QTest::newRow("webm") << QStringList{"c.webm"} << QStringList{"c.webm"};
        QTest::newRow("avi") << QStringList{"d.avi"} << QStringList{"d.avi"};
        QTest::newRow("quicktime") << QStringList{"e.mov"} << QStringList{"e.mov"};
        QTest::newRow("text file") << QStringList{"notes.txt"} << QStringList{};
        QTest::newRow("subtitle file") << QStringList{"film.srt"} << QStringList{};
        QTest::newRow("image") << QStringList{"still.png"} << QStringList{};
        QTest::newRow("folder named like a video") << QStringList{"folder.mp4"} << QStringList{};
        QTest::newRow("missing file") << QStringList{"gone.mp4"} << QStringList{};
        QTest::newRow("web address") << QStringList{"https://example.com/film.mp4"} << QStringList{};
        QTest::newRow("no addresses at all") << QStringList{} << QStringList{};
        QTest::newRow("a video among other files") << QStringList{"notes.txt", "a.mp4"} << QStringList{"a.mp4"};
        QTest::newRow("two videos keep their order") << QStringList{"e.mov", "a.mp4"} << QStringList{"e.mov", "a.mp4"};
    }

    void onlyVideosAreTakenAndHighlighted()
    {
        QFETCH(QStringList, items);
        QFETCH(QStringList, videos);
        QStringList expected;
        for (const QString &video : videos)
            expected.append(m_dir.filePath(video));
        const auto data = mimeData(items);
        QCOMPARE(VideoPlayerView::videoFiles(data.get()), expected);

        Document document;
        VideoPlayerViewController controller(&document);
        VideoPlayerView *view = controller.playerView();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &enter);
        QCOMPARE(enter.isAccepted(), !videos.isEmpty());
        QCOMPARE(view->isHighlighted(), !videos.isEmpty());
        if (enter.isAccepted())
            QCOMPARE(enter.dropAction(), Qt::LinkAction);
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(view, &leave);
        QVERIFY(!view->isHighlighted());
    }

    void dropLoadsEachVideoAndKeepsTheLast()
    {
        Document document;
        VideoPlayerViewController controller(&document);
        QStringList loaded;
        controller.setPlayerFactory([&](const QString &path) {
            loaded.append(path);
            return std::make_unique<FakePlayer>();
        });
        VideoPlayerView *view = controller.playerView();
        const auto data = mimeData({"e.mov", "notes.txt", "a.mp4"});

        QDragEnterEvent enter(QPoint(10, 10), Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &enter);
        QVERIFY(view->isHighlighted());
        QDropEvent drop(QPointF(10, 10), Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &drop);
        QVERIFY(drop.isAccepted());
        QVERIFY(!view->isHighlighted());
        QCOMPARE(loaded, (QStringList{m_dir.filePath("e.mov"), m_dir.filePath("a.mp4")}));
        QCOMPARE(controller.videoPath(), m_dir.filePath("a.mp4"));
        QVERIFY(document.player());
    }

private:
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

    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_VideoPlayerView)
#include "tst_videoplayerview.moc"
