#include "player/MpvPlayer.h"

#include "TestMedia.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

// libmpv itself, headless, on short generated videos.
class tst_MpvPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pal = m_dir.filePath(QStringLiteral("pal.mp4"));
        QVERIFY(TestMedia::makeVideo(m_pal, {}));
        m_ntsc = m_dir.filePath(QStringLiteral("ntsc.mkv"));
        TestMedia::VideoOptions ntsc;
        ntsc.seconds = 2;
        ntsc.frameRate = QStringLiteral("30000/1001");
        ntsc.audio = false;
        QVERIFY(TestMedia::makeVideo(m_ntsc, ntsc));
    }

    void reportsDurationAndFrameRate_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<double>("duration");
        QTest::newRow("25 fps with sound") << QStringLiteral("pal") << 25.0 << 3.0;
        QTest::newRow("30000/1001 fps without sound") << QStringLiteral("ntsc") << 30000.0 / 1001 << 2.0;
    }

    void reportsDurationAndFrameRate()
    {
        QFETCH(QString, file);
        QFETCH(double, frameRate);
        QFETCH(double, duration);
        auto player = loaded(file == QLatin1String("pal") ? m_pal : m_ntsc);
        QVERIFY(player);
        QVERIFY2(qAbs(player->frameRate() - frameRate) < 1e-3, qPrintable(QString::number(player->frameRate(), 'f', 6)));
        QVERIFY2(qAbs(player->duration() - duration) < 0.05, qPrintable(QString::number(player->duration(), 'f', 6)));
        QCOMPARE(player->rate(), 0.0);
        QCOMPARE(player->currentTime(), 0.0);
    }

    void seeksAndStepsLandExactly_data()
    {
        QTest::addColumn<double>("target"); // sought from 2 s
        QTest::addColumn<int>("frames");    // then stepped
        QTest::addColumn<double>("expected");
        QTest::newRow("on a frame") << 1.0 << 0 << 1.0;
        QTest::newRow("far from the start") << 2.48 << 0 << 2.48;
        QTest::newRow("backwards to the start") << 0.0 << 0 << 0.0;
        QTest::newRow("not a keyframe") << 1.72 << 0 << 1.72;
        QTest::newRow("a frame on") << 1.0 << 1 << 1.04;
        QTest::newRow("a frame back") << 1.04 << -1 << 1.0;
        QTest::newRow("five frames on") << 1.0 << 5 << 1.2;
    }

    void seeksAndStepsLandExactly()
    {
        QFETCH(double, target);
        QFETCH(int, frames);
        QFETCH(double, expected);
        auto player = loaded(m_pal);
        QVERIFY(player);
        player->seek(2.0);
        QVERIFY(QTest::qWaitFor([&] { return qAbs(player->currentTime() - 2.0) < 1e-6; }, 5000));
        std::optional<bool> finished;
        QSignalSpy rate(player.get(), &Player::rateChanged);
        int jumps = 0;
        player->addPeriodicTimeObserver(999, [&](double) { ++jumps; });
        player->seek(target, [&](bool f) { finished = f; });
        QVERIFY(QTest::qWaitFor([&] { return finished.has_value(); }, 5000));
        QVERIFY(*finished && jumps >= 1);
        if (frames) {
            QVERIFY(frames < 0 ? player->canStepBackward() : player->canStepForward());
            jumps = 0;
            player->stepByCount(frames);
            QVERIFY(QTest::qWaitFor([&] { return jumps > 0 && qAbs(player->currentTime() - expected) < 1e-6; }, 5000));
        }
        QVERIFY2(qAbs(player->currentTime() - expected) < 1e-6, qPrintable(QString::number(player->currentTime(), 'f', 6)));
        QCOMPARE(player->rate(), 0.0);
        QCOMPARE(rate.count(), 0);
    }

    void whatCannotBePlayedFails_data()
    {
        QTest::addColumn<QString>("path");
        const QString notes = m_dir.filePath(QStringLiteral("notes.mp4"));
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("These are not moving pictures.\n") > 0);
        QTest::newRow("not a video") << notes;
        // mpv would wait on a FIFO for a writer for good, and the player's teardown with it.
        const QString fifo = m_dir.filePath(QStringLiteral("fifo.mp4"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QTest::newRow("a FIFO") << fifo;
        QTest::newRow("a device") << QStringLiteral("/dev/zero");
        QTest::newRow("a folder") << m_dir.path();
    }

    void whatCannotBePlayedFails()
    {
        QFETCH(QString, path);
        auto player = std::make_unique<MpvPlayer>(MpvPlayer::Output::Headless);
        QSignalSpy failed(player.get(), &Player::failed);
        player->load(path);
        QVERIFY(failed.wait(5000));
        QVERIFY(!failed.first().first().toString().isEmpty());
        QVERIFY(!player->isLoaded());
        player.reset(); // returns: nothing waits on the FIFO
    }

private:
    std::unique_ptr<MpvPlayer> loaded(const QString &path)
    {
        auto player = std::make_unique<MpvPlayer>(MpvPlayer::Output::Headless);
        player->load(path);
        if (!QTest::qWaitFor([&] { return player->isLoaded() && player->frameRate() > 0 && player->duration() > 0; }, 10000))
            return nullptr;
        return player;
    }

    QTemporaryDir m_dir;
    QString m_pal;
    QString m_ntsc;
};

QTEST_MAIN(tst_MpvPlayer)
#include "tst_mpvplayer.moc"
