#include "format/TimeOffsetText.h"

#include <QTest>

class tst_TimeOffsetText : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected"); // NaN: refused
        QTest::addColumn<double>("framesAt"); // frames shown at this rate; 0: milliseconds
        const double refused = qQNaN();
        QTest::newRow("signed time as the list shows it") << "-00:00:01,500" << -1.5 << 0.0;
        QTest::newRow("plus sign and spaces") << " + 00:01:00,000 " << 60.0 << 0.0;
        QTest::newRow("unsigned time is later") << "00:00:02,250" << 2.25 << 0.0;
        QTest::newRow("no shift") << "00:00:00,000" << 0.0 << 0.0;
        QTest::newRow("seconds with a point") << "-1.5" << -1.5 << 0.0;
        QTest::newRow("seconds with a comma") << "2,25" << 2.25 << 0.0;
        QTest::newRow("a sign alone") << "-" << refused << 0.0;
        QTest::newRow("words") << "soon" << refused << 0.0;
        QTest::newRow("a broken time") << "00:61:00,000" << refused << 0.0;
        QTest::newRow("a whole number is frames while frames are shown") << "-12" << -0.48 << 25.0;
        QTest::newRow("seconds still read while frames are shown") << "1,52" << 1.52 << 25.0;
        QTest::newRow("a timecode length") << "+00:00:01:12" << 1.48 << 25.0;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QFETCH(double, framesAt);
        // An offset of the document plays no part in a length.
        const TimeDisplay display(TimeForm::Frames, framesAt, 3600);
        const auto parsed = TimeOffsetText::parse(text, display);
        if (qIsNaN(expected)) {
            QVERIFY(!parsed);
        } else {
            QVERIFY(parsed);
            QCOMPARE(*parsed, expected);
            const QString written = TimeOffsetText::format(*parsed, display);
            QVERIFY2(written.startsWith(*parsed < 0 ? u'-' : u'+'), qPrintable(written)); // no shift is +0
            QCOMPARE(TimeOffsetText::parse(written, display), parsed);
        }
    }
};

QTEST_GUILESS_MAIN(tst_TimeOffsetText)
#include "tst_timeoffsettext.moc"
