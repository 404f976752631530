#include "model/Subtitle.h"

#include <QSet>
#include <QTest>

#include <cmath>
#include <unordered_set>

class tst_Subtitle : public QObject
{
    Q_OBJECT

private slots:
    void lookAlikesAreDistinct()
    {
        auto a = std::make_shared<Subtitle>(QStringLiteral("Hi"), 1.0, 2.0);
        auto b = std::make_shared<Subtitle>(QStringLiteral("Hi"), 1.0, 2.0);
        QVERIFY(a != b);
        std::unordered_set<SubtitlePtr> set{a, b};
        QCOMPARE(set.size(), size_t(2));
        SubtitleList list{a, b};
        QCOMPARE(list.indexOf(b), 1);
        // hashing follows identity even while the fields change
        a->start = 9;
        QVERIFY(set.contains(a));
    }

    void orderingUsesStartAlone_data()
    {
        QTest::addColumn<double>("startA");
        QTest::addColumn<double>("endA");
        QTest::addColumn<double>("startB");
        QTest::addColumn<double>("endB");
        QTest::addColumn<bool>("less");
        QTest::addColumn<bool>("greater");
        QTest::newRow("earlier start is less") << 1.0 << 9.0 << 2.0 << 3.0 << true << false;
        QTest::newRow("equal starts, different ends") << 1.0 << 2.0 << 1.0 << 5.0 << false << false;
        QTest::newRow("not-a-number start") << std::nan("") << 2.0 << 1.0 << 5.0 << false << false;
    }

    void orderingUsesStartAlone()
    {
        QFETCH(double, startA);
        QFETCH(double, endA);
        QFETCH(double, startB);
        QFETCH(double, endB);
        QFETCH(bool, less);
        QFETCH(bool, greater);
        const Subtitle a(QStringLiteral("a"), startA, endA);
        const Subtitle b(QStringLiteral("b"), startB, endB);
        QCOMPARE(a < b, less);
        QCOMPARE(a > b, greater);
        QCOMPARE(a >= b, !less);
        QCOMPARE(a <= b, !greater);
    }

    void sortIsStable()
    {
        SubtitleList list;
        for (int i = 0; i < 50; ++i)
            list.append(std::make_shared<Subtitle>(QString::number(i), double(i % 3), 10.0));
        const SubtitleList original = list;
        sortSubtitles(list);
        for (int i = 1; i < list.size(); ++i) {
            QVERIFY(list[i - 1]->start <= list[i]->start);
            if (list[i - 1]->start == list[i]->start)
                QVERIFY(original.indexOf(list[i - 1]) < original.indexOf(list[i]));
        }
    }

    void valueKeysFromRawValues_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<bool>("valid");
        QTest::newRow("start") << "start" << true;
        QTest::newRow("end") << "end" << true;
        QTest::newRow("text") << "text" << true;
        QTest::newRow("capitalised") << "Start" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("unknown") << "duration" << false;
    }

    void valueKeysFromRawValues()
    {
        QFETCH(QString, raw);
        QFETCH(bool, valid);
        const auto key = Subtitle::valueKeyFromRawValue(raw);
        QCOMPARE(key.has_value(), valid);
        if (key)
            QCOMPARE(Subtitle::rawValue(*key), raw);
    }
};

QTEST_GUILESS_MAIN(tst_Subtitle)
#include "tst_subtitle.moc"
