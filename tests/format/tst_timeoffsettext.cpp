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
        const double refused = qQNaN();
        QTest::newRow("signed time as the list shows it") << "-00:00:01,500" << -1.5;
        QTest::newRow("plus sign and spaces") << " + 00:01:00,000 " << 60.0;
        QTest::newRow("unsigned time is later") << "00:00:02,250" << 2.25;
        QTest::newRow("seconds with a point") << "-1.5" << -1.5;
        QTest::newRow("seconds with a comma") << "2,25" << 2.25;
        QTest::newRow("a sign alone") << "-" << refused;
        QTest::newRow("words") << "soon" << refused;
        QTest::newRow("a broken time") << "00:61:00,000" << refused;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const auto parsed = TimeOffsetText::parse(text);
        if (qIsNaN(expected)) {
            QVERIFY(!parsed);
        } else {
            QVERIFY(parsed);
            QCOMPARE(*parsed, expected);
            QCOMPARE(TimeOffsetText::parse(TimeOffsetText::format(*parsed)), parsed);
        }
    }
};

QTEST_GUILESS_MAIN(tst_TimeOffsetText)
#include "tst_timeoffsettext.moc"
