#include "format/TimeDisplay.h"

#include <QTest>

Q_DECLARE_METATYPE(TimeForm)

class tst_TimeDisplay : public QObject
{
    Q_OBJECT

private slots:
    void readAndWrite_data()
    {
        QTest::addColumn<TimeForm>("form");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("offset");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds"); // NaN: refused
        QTest::addColumn<bool>("reads"); // the text reads as the seconds
        QTest::addColumn<bool>("writes"); // the seconds write as the text
        const auto ms = TimeForm::Milliseconds;
        const auto tc = TimeForm::Timecode;
        const double refused = qQNaN();
        const double ntsc = 30000.0 / 1001;
        const double film = 24000.0 / 1001;
        QTest::newRow("no rate: timecode falls back to milliseconds") << tc << 0.0 << 0.0 << "00:00:01,500" << 1.5 << true << true;
        QTest::newRow("milliseconds with a point") << tc << 25.0 << 0.0 << "00:00:01.500" << 1.5 << true << false;
        QTest::newRow("25: frames of a second") << tc << 25.0 << 0.0 << "00:00:01:12" << 1.48 << true << true;
        QTest::newRow("23.976 counts 24 a second") << tc << film << 0.0 << "00:00:01:00" << 1.001 << true << true;
        QTest::newRow("23.976: a start in whole ms shows its frame") << tc << film << 0.0 << "00:00:00:01" << 0.042 << false << true;
        QTest::newRow("23.976: a start as saved (cut to whole ms) shows its frame") << tc << film << 0.0 << "00:00:00:01" << 0.041 << false << true;
        QTest::newRow("29.97: 1.001 is frame 30") << tc << ntsc << 0.0 << "00:00:01;00" << 1.001 << true << true;
        QTest::newRow("29.97: a millisecond short is the frame before") << tc << ntsc << 0.0 << "00:00:00;29" << 1.0 << false << true;
        QTest::newRow("29.97: last frame of minute 0") << tc << ntsc << 0.0 << "00:00:59;29" << 1799 / ntsc << true << true;
        QTest::newRow("29.97: minute 1 skips 00 and 01") << tc << ntsc << 0.0 << "00:01:00;02" << 1800 / ntsc << true << true;
        QTest::newRow("29.97: last frame before minute 10") << tc << ntsc << 0.0 << "00:09:59;29" << 17981 / ntsc << true << true;
        QTest::newRow("29.97: minute 10 skips none") << tc << ntsc << 0.0 << "00:10:00;00" << 17982 / ntsc << true << true;
        QTest::newRow("29.97: an hour") << tc << ntsc << 0.0 << "01:00:00;00" << 107892 / ntsc << true << true;
        QTest::newRow("29.97: colon reads as drop-frame") << tc << ntsc << 0.0 << "00:01:00:02" << 1800 / ntsc << true << false;
        QTest::newRow("59.94: minute 1 skips 00 to 03") << tc << 2 * ntsc << 0.0 << "00:01:00;04" << 3600 / (2 * ntsc) << true << true;
        QTest::newRow("frame number") << TimeForm::Frames << 25.0 << 0.0 << "36" << 1.44 << true << true;
        QTest::newRow("frame number with the offset") << TimeForm::Frames << 25.0 << 10.0 << "286" << 1.44 << true << true;
        QTest::newRow("timecode offset") << tc << 25.0 << 36000.0 << "10:00:01:00" << 1.0 << true << true;
        QTest::newRow("drop-frame offset") << tc << ntsc << 1078920 / ntsc << "10:00:01;00" << 1.001 << true << true;
        QTest::newRow("offset in milliseconds") << ms << 25.0 << 36000.0 << "10:00:01,500" << 1.5 << true << true;
        QTest::newRow("frames past the rate") << tc << 25.0 << 0.0 << "00:00:01:25" << refused << true << false;
        QTest::newRow("semicolon at a non-drop rate") << tc << 25.0 << 0.0 << "00:00:01;12" << refused << true << false;
        QTest::newRow("a frame drop-frame skips") << tc << ntsc << 0.0 << "00:01:00;01" << refused << true << false;
        QTest::newRow("frame number without a rate") << tc << 0.0 << 0.0 << "36" << refused << true << false;
        QTest::newRow("before the offset") << tc << 25.0 << 36000.0 << "09:59:59:00" << refused << true << false;
        QTest::newRow("garbage") << tc << 25.0 << 0.0 << "soon" << refused << true << false;
    }

    void readAndWrite()
    {
        QFETCH(TimeForm, form);
        QFETCH(double, rate);
        QFETCH(double, offset);
        QFETCH(QString, text);
        QFETCH(double, seconds);
        QFETCH(bool, reads);
        QFETCH(bool, writes);
        const TimeDisplay display(form, rate, offset);
        const auto parsed = display.parse(text);
        if (qIsNaN(seconds)) {
            QVERIFY(!parsed);
            QVERIFY(!parsed.error().isEmpty());
            return;
        }
        if (reads) {
            QVERIFY2(parsed, qPrintable(parsed ? QString() : parsed.error()));
            QVERIFY(qAbs(parsed.value() - seconds) < 1e-9);
        }
        if (writes)
            QCOMPARE(display.format(seconds), text);
    }
};

QTEST_GUILESS_MAIN(tst_TimeDisplay)
#include "tst_timedisplay.moc"
