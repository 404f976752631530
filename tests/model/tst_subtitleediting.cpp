#include "RecordingDelegate.h"

#include "model/UndoManager.h"

#include <QTest>

#include <cmath>

class tst_SubtitleEditing : public QObject
{
    Q_OBJECT

private slots:
    void setStartAndEndKeepLengthWhenCrossing_data()
    {
        QTest::addColumn<bool>("isStart");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expectedStart");
        QTest::addColumn<double>("expectedEnd");
        QTest::newRow("start past the end moves the subtitle") << true << 5.0 << 5.0 << 7.0;
        QTest::newRow("start inside keeps the end") << true << 3.0 << 3.0 << 4.0;
        QTest::newRow("end before the start moves back, not below zero") << false << 1.0 << 0.0 << 1.0;
        QTest::newRow("end inside keeps the start") << false << 3.0 << 2.0 << 3.0;
    }

    void setStartAndEndKeepLengthWhenCrossing()
    {
        QFETCH(bool, isStart);
        QFETCH(double, value);
        QFETCH(double, expectedStart);
        QFETCH(double, expectedEnd);
        SubtitleController controller;
        controller.setSubtitles(makeSubtitles({{"s", 2, 4}}));
        if (isStart)
            controller.setStart(0, value);
        else
            controller.setEnd(0, value);
        QCOMPARE(controller.at(0)->start, expectedStart);
        QCOMPARE(controller.at(0)->end, expectedEnd);
    }

    void addSubtitle_data()
    {
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<double>("nextStart"); // < 0: no subtitle after the anchor
        QTest::addColumn<double>("expectedStart");
        QTest::addColumn<double>("expectedEnd");
        QTest::newRow("anchor ending at 10 s at 25 fps") << 25.0 << -1.0 << 10.08 << 12.08;
        QTest::newRow("shortened before a close next subtitle") << 25.0 << 11.0 << 10.08 << 10.92;
        QTest::newRow("overlaps a next subtitle that starts before it")
            << 25.0 << 10.04 << 10.08 << 12.08;
        QTest::newRow("no video: gap of 1/12 s") << 0.0 << -1.0 << 10.0 + 1.0 / 12 << 12.0 + 1.0 / 12;
    }

    void addSubtitle()
    {
        QFETCH(double, frameRate);
        QFETCH(double, nextStart);
        QFETCH(double, expectedStart);
        QFETCH(double, expectedEnd);
        SubtitleController controller;
        SubtitleList list = makeSubtitles({{"anchor", 8, 10}});
        if (nextStart >= 0)
            list.append(std::make_shared<Subtitle>(QStringLiteral("next"), nextStart, nextStart + 1));
        controller.setSubtitles(list);
        controller.setFrameRate(frameRate);
        const auto position = controller.addSubtitle(std::nullopt, 0);
        QVERIFY(position);
        const Subtitle &added = *controller.at(*position);
        QVERIFY(added.text.isEmpty());
        QVERIFY(qFuzzyCompare(added.start, expectedStart));
        QVERIFY(qFuzzyCompare(added.end, expectedEnd));
    }

    void addSubtitleBeforeEverySubtitleStartsAtZero()
    {
        SubtitleController controller;
        controller.setSubtitles(makeSubtitles({{"first", 0, 1}}));
        const auto position = controller.addSubtitle(-1.0, std::nullopt);
        QCOMPARE(*position, 0);
        QCOMPARE(describe(controller), QStringLiteral("@0-2 first@0-1"));
    }

    void duplicateCopiesAfterAGap()
    {
        SubtitleController controller;
        controller.setSubtitles(makeSubtitles({{"copy me", 10, 12}}));
        controller.duplicateSubtitle(0);
        QCOMPARE(controller.count(), 2);
        QCOMPARE(controller.at(1)->text, QStringLiteral("copy me"));
        QVERIFY(qFuzzyCompare(controller.at(1)->start, 12 + 1.0 / 12));
        QVERIFY(qFuzzyCompare(controller.at(1)->end, 14 + 1.0 / 12));
    }

    void duplicateNeverEndsBeforeItStarts()
    {
        SubtitleController controller;
        // the next subtitle starts right at the original's end: no room for the copy
        controller.setSubtitles(makeSubtitles({{"a", 10, 12}, {"b", 12, 13}}));
        controller.duplicateSubtitle(0);
        for (const SubtitlePtr &subtitle : controller.subtitles())
            QVERIFY2(subtitle->end >= subtitle->start, qPrintable(describe(controller)));
    }

    void splitSharesTimeByCharacters()
    {
        SubtitleController controller;
        UndoManager undo;
        controller.setUndoManager(&undo);
        controller.setSubtitles(makeSubtitles({{"Hello world", 0, 2 + 1.0 / 12}}));
        const SubtitlePtr original = controller.at(0);
        controller.splitSubtitle(0, 5);
        QCOMPARE(controller.count(), 2);
        QCOMPARE(controller.at(0)->text, QStringLiteral("Hello"));
        QCOMPARE(controller.at(1)->text, QStringLiteral("world"));
        QVERIFY(qFuzzyCompare(controller.at(0)->end, 1.0));
        QVERIFY(qFuzzyCompare(controller.at(1)->start, 1 + 1.0 / 12));
        QCOMPARE(controller.at(1)->end, 2 + 1.0 / 12);
        undo.undo(); // one step restores the subtitle that was split
        QCOMPARE(controller.count(), 1);
        QCOMPARE(controller.at(0), original);
    }

    void splitCountsUserPerceivedCharacters()
    {
        SubtitleController controller;
        // "e" + combining acute is one character, two code units
        const QString text = QStringLiteral("e\u0301e\u0301 ab");
        controller.setSubtitles({std::make_shared<Subtitle>(text, 0, 4 + 1.0 / 12)});
        controller.splitSubtitle(0, 4);
        QVERIFY(qFuzzyCompare(controller.at(0)->end, 2.0));
    }

    void splitOfBlankTextKeepsFiniteTimes()
    {
        SubtitleController controller;
        controller.setSubtitles(makeSubtitles({{"   ", 4, 6}}));
        controller.splitSubtitle(0, 1);
        QCOMPARE(controller.count(), 2);
        for (const SubtitlePtr &subtitle : controller.subtitles()) {
            QVERIFY(std::isfinite(subtitle->start) && std::isfinite(subtitle->end));
            QVERIFY(subtitle->start >= 4 && subtitle->end <= 6 && subtitle->start <= subtitle->end);
        }
    }

    void importCutsParagraphs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two paragraphs") << "A\n\nB" << "A@1-3 B@3.08333-5.08333";
        QTest::newRow("a trailing break makes an empty subtitle") << "A\n\n" << "A@1-3 @3.08333-5.08333";
        QTest::newRow("single line breaks stay in the text") << "A\nB" << "A\nB@1-3";
    }

    void importCutsParagraphs()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        SubtitleController controller;
        controller.importText(text);
        QCOMPARE(describe(controller), expected);
    }

    void importInterleavesWithExistingAndUndoesAtOnce()
    {
        SubtitleController controller;
        UndoManager undo;
        RecordingDelegate delegate;
        controller.setSubtitles(makeSubtitles({{"x", 2, 2.5}}));
        controller.setUndoManager(&undo);
        controller.setDelegate(&delegate);
        controller.importText(QStringLiteral("A\n\nB"));
        QCOMPARE(describe(controller), QStringLiteral("A@1-3 x@2-2.5 B@3.08333-5.08333"));
        QCOMPARE(delegate.calls, QStringList{QStringLiteral("insert {0,2}")});
        undo.undo();
        QCOMPARE(describe(controller), QStringLiteral("x@2-2.5"));
    }

    void insertionIndexesGoBeforeEqualStarts()
    {
        SubtitleController controller;
        controller.setSubtitles(makeSubtitles({{"a", 1, 2}, {"b", 3, 4}}));
        SubtitleList added = makeSubtitles({{"n2", 3, 4}, {"n1", 1, 2}});
        QCOMPARE(controller.insertionIndexes(added), (IndexSet{0, 2}));
        QCOMPARE(added[0]->text, QStringLiteral("n1")); // sorted by start first
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleEditing)
#include "tst_subtitleediting.moc"
