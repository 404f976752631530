// The libmpv player itself, headless, on a video made for the test.
#include "player/MpvPlayer.h"

#include "TestMedia.h"

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
    // stops where it ends.
    void speedKeepsPitchAndBoundaries_data()
    {
        QTest::addColumn<double>("speed");
        QTest::newRow("slowest") << 0.5;
        QTest::newRow("fastest") << 2.0;
    }

    void speedKeepsPitchAndBoundaries()
    {
        QFETCH(double, speed);
        MpvPlayer player(MpvPlayer::Output::Headless);
        player.load(m_video);
        QTRY_VERIFY_WITH_TIMEOUT(player.isLoaded() && player.duration() > 0, 10000);
        player.setSpeed(speed);
        double stoppedAt = -1;
        player.addBoundaryTimeObserver({1.0}, [&] {
            stoppedAt = player.currentTime();
            player.pause();
        });
        player.seek(0.6);
        player.play();
        QCOMPARE(player.mpvProperty("speed").toDouble(), speed);
        QCOMPARE(player.mpvProperty("audio-pitch-correction"), QStringLiteral("yes"));
        QTRY_VERIFY_WITH_TIMEOUT(stoppedAt >= 0, 10000);
        // Reached at the first frame from the boundary on, whatever the speed.
        QVERIFY2(stoppedAt >= 1.0 && stoppedAt <= 1.0 + 2 / 25.0, qPrintable(QString::number(stoppedAt)));
    }

private:
    QTemporaryDir m_dir;
    QString m_video;
};

QTEST_MAIN(tst_MpvPlayer)
#include "tst_mpvplayer.moc"
