// The libmpv player itself, headless, on a video made for the test.
#include "player/MpvPlayer.h"
#include "player/SoundGrains.h"

#include "TestMedia.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <cmath>

class tst_MpvPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        m_video = m_dir.filePath(QStringLiteral("tone.mp4"));
        QVERIFY(TestMedia::makeVideo(m_video));
    }

    // Slower or faster, mpv plays at the speed with its pitch kept, and a span played still
    // stops at the first frame from its end on.
    void speedKeepsPitchAndBoundaries()
    {
        for (double speed : {0.5, 2.0}) {
            MpvPlayer player(MpvPlayer::Output::Headless);
            // The slower speed is chosen before the video loads: it holds for the video too.
            const bool chosenFirst = speed < 1;
            if (chosenFirst)
                player.setSpeed(speed);
            player.load(m_video);
            QTRY_VERIFY_WITH_TIMEOUT(player.isLoaded() && player.duration() > 0, 10000);
            if (!chosenFirst)
                player.setSpeed(speed);
            double stoppedAt = -1;
            player.addBoundaryTimeObserver({1.0}, [&] { stoppedAt = player.currentTime(); player.pause(); });
            player.seek(0.6);
            player.play();
            QCOMPARE(player.mpvProperty("speed").toDouble(), speed);
            QCOMPARE(player.mpvProperty("audio-pitch-correction"), QStringLiteral("yes"));
            QTRY_VERIFY_WITH_TIMEOUT(stoppedAt >= 0, 10000);
            QVERIFY2(stoppedAt >= 1.0 && stoppedAt <= 1.0 + 2 / 25.0, qPrintable(QString::number(stoppedAt)));
        }
    }

    // Steps land on frames of the video: quick presses each count, from where the last
    // one goes (mpv's own frame step drops those that come while one is under way), and a
    // step of several frames counts from the frame shown, whose time may lie a rounding
    // error below it (1.16 s is frame 28.999… at 25 fps).
    void framesStep_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<QList<int>>("presses");
        QTest::addColumn<int>("frame");
        QTest::newRow("ten quick steps forwards") << 0.4 << QList<int>(10, 1) << 20;
        QTest::newRow("five quick steps back") << 1.0 << QList<int>(5, -1) << 20;
        QTest::newRow("three frames from a time just below its frame") << 1.16 << QList<int>{3} << 32;
        QTest::newRow("three back, then two on") << 2.28 << QList<int>{-3, 2} << 56;
        // mpv tells the end of the film as the last frame's time (3 s, not 2.96 s).
        QTest::newRow("not past the last frame") << 2.8 << QList<int>{10, 1, -1} << 73;
        QTest::newRow("not before the first") << 0.08 << QList<int>{-1, -5} << 0;
    }
    void framesStep()
    {
        QFETCH(double, from);
        QFETCH(QList<int>, presses);
        QFETCH(int, frame);
        MpvPlayer player(MpvPlayer::Output::Headless);
        player.load(m_video);
        QTRY_VERIFY_WITH_TIMEOUT(player.isLoaded() && player.duration() > 0 && player.frameRate() > 0, 10000);
        bool landed = false;
        player.seek(from, [&](bool) { landed = true; });
        QTRY_VERIFY_WITH_TIMEOUT(landed, 10000);
        for (int count : presses)
            player.stepByCount(count);
        const auto shown = [&] { return int(std::lround(player.mpvProperty("time-pos").toDouble() * 25)); };
        QTRY_COMPARE_WITH_TIMEOUT(shown(), frame, 10000);
        QTest::qWait(300); // no step still to come
        QCOMPARE(shown(), frame);
        QCOMPARE(player.currentTime(), frame / 25.0);
    }

    // A grain plays from the sound-only player; one stopped before it lands never starts.
    void grainsPlayAndStop()
    {
        SoundGrains grains(std::make_unique<MpvPlayer>(MpvPlayer::Output::SilentSound), m_video);
        QSignalSpy started(&grains, &SoundGrains::grainStarted);
        grains.play(1.0, 0.07);
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
        QCOMPARE(started.first().first().toDouble(), 1.0);
        grains.play(2.0, 0.07);
        grains.stop();
        QTest::qWait(300);
        QCOMPARE(started.count(), 1);
    }

private:
    QTemporaryDir m_dir;
    QString m_video;
};

QTEST_MAIN(tst_MpvPlayer)
#include "tst_mpvplayer.moc"
