// The libmpv player itself, headless, on a video made for the test.
#include "player/MpvPlayer.h"
#include "player/SoundGrains.h"

#include "TestMedia.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

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
