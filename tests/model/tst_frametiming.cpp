#include "model/FrameTiming.h"
#include "model/timing/GapChaining.h"
#include "model/quality/QualityLimits.h"
#include "model/SubtitleController.h"
#include "model/timing/TimingNudge.h"
#include "model/timing/TimingSettings.h"

#include "SubtitleText.h"

#include <QTest>

#include <cmath>
#include <limits>

// "A frame" means one thing everywhere: a frame of the video, or of the quality profile's
// rate while no video gives one.
class tst_FrameTiming : public QObject
{
    Q_OBJECT

private slots:
    void oneFrame_data()
    {
        QTest::addColumn<double>("videoRate");
        QTest::addColumn<double>("profileRate");
        QTest::addColumn<double>("frame");
        QTest::newRow("the video's rate wins") << 25.0 << 30.0 << 0.04;
        QTest::newRow("no video: the profile's rate") << 0.0 << 25.0 << 0.04;
        QTest::newRow("no video, a film profile") << 0.0 << 24.0 << 1 / 24.0;
        QTest::newRow("a negative rate is none") << -25.0 << 30.0 << 1 / 30.0;
        QTest::newRow("an unreadable rate is none") << std::numeric_limits<double>::quiet_NaN() << 30.0 << 1 / 30.0;
        QTest::newRow("an endless rate is none") << std::numeric_limits<double>::infinity() << 50.0 << 0.02;
    }

    // Each place that counts in frames counts the same frame.
    void oneFrame()
    {
        QFETCH(double, videoRate);
        QFETCH(double, profileRate);
        QFETCH(double, frame);
        QCOMPARE(FrameTiming::frameLength(videoRate, profileRate), frame);

        QualityLimits limits;
        limits.frameRate = profileRate;
        limits.minGapFrames = 1;
        QCOMPARE(limits.minGap(videoRate), frame);

        TimingSettings settings;
        settings.chainThresholdFrames = 1;
        QCOMPARE(settings.chainThreshold(videoRate, profileRate), frame);

        SubtitleController controller;
        controller.setFrameRate(std::isfinite(videoRate) && videoRate > 0 ? videoRate : 0);
        controller.setProfileFrameRate(profileRate);
        QCOMPARE(controller.twoFrameGap(), 2 * frame);

        // A nudged start stops a frame before its end (on whole milliseconds without a
        // video); chaining leaves a subtitle at least a frame.
        const double rate = std::isfinite(videoRate) && videoRate > 0 ? videoRate : 0;
        const SubtitleList one = subtitlesFrom(QStringLiteral("1-2"));
        const double start = *TimingNudge(TimingNudge::Edge::Start, 5, rate, profileRate, 0).valuesFor(one, IndexSet(0)).at(0).start;
        QVERIFY2(std::abs(2 - start - frame) <= 0.001, qPrintable(QString::number(start)));

        const SubtitleList overlapping = subtitlesFrom(QStringLiteral("1-3|1.5-4"));
        GapChaining::Rules rules{1, 0.5 - 1.5 * frame, rate, profileRate}; // ends a frame and a half in
        QVERIFY(!GapChaining::chain(overlapping, IndexSet(0), rules).isEmpty());
        rules.minGap = 0.5 - 0.5 * frame; // would end half a frame in
        QVERIFY(GapChaining::chain(overlapping, IndexSet(0), rules).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_FrameTiming)
#include "tst_frametiming.moc"
