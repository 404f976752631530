// A translation against its original: which original line a subtitle pairs with, and the
// two checks that compare them (untranslated text, times that no original line has).
#include "model/quality/OriginalPairing.h"
#include "model/quality/ProblemIndex.h"
#include "model/quality/QualityFixes.h"
#include "model/SubtitleController.h"

#include <QTest>

#include <memory>

namespace {

struct Line
{
    double start;
    double end;
    QString text;
};
using Lines = QList<Line>;

SubtitleList subtitlesOf(const Lines &lines)
{
    SubtitleList list;
    for (const Line &line : lines)
        list.append(Subtitle::create(line.text, line.start, line.end));
    return list;
}

} // namespace

Q_DECLARE_METATYPE(Line)
Q_DECLARE_METATYPE(Lines)

class tst_OriginalPairing : public QObject
{
    Q_OBJECT

private slots:
    // One translated subtitle against the original's lines: the line it pairs with (-1:
    // none) and the problems the index finds.
    void pairsAndChecks_data()
    {
        QTest::addColumn<Lines>("originals");
        QTest::addColumn<Line>("subtitle");
        QTest::addColumn<int>("paired");
        QTest::addColumn<bool>("untranslated");
        QTest::addColumn<bool>("unmatched");
        const Lines two{{0, 2, "One"}, {2, 4, "Two"}};
        QTest::newRow("the line it overlaps most") << two << Line{1.5, 4, "Deux"} << 1 << false << true;
        QTest::newRow("equal overlaps: the earlier") << two << Line{1, 3, "Un deux"} << 0 << false << true;
        QTest::newRow("equal overlaps both inside it: the earlier")
            << Lines{{1, 1.5, "A"}, {2, 2.5, "B"}} << Line{0.5, 3, "AB"} << 0 << false << true;
        QTest::newRow("no line overlaps: none") << Lines{{0, 1, "A"}, {5, 6, "B"}} << Line{2, 3, "A"} << -1 << false << true;
        QTest::newRow("touching is no overlap") << Lines{{0, 2, "A"}} << Line{2, 3, "A"} << -1 << false << true;
        QTest::newRow("a long earlier line ties with the matching one")
            << Lines{{0, 100, "Long"}, {10, 12, "X"}, {20, 22, "Y"}} << Line{20, 22, "Y"} << 0 << false << false;
        QTest::newRow("a later line inside beats an earlier one barely overlapping")
            << Lines{{0, 1.2, "A"}, {1, 3, "B"}, {1.5, 1.6, "C"}} << Line{1, 3, "B"} << 1 << true << false;
        QTest::newRow("translated, on the original's times") << two << Line{2, 4, "Deux"} << 1 << false << false;
        QTest::newRow("the same text, tags and spacing aside")
            << Lines{{0, 2, "<i>Hello</i>\nthere"}} << Line{0, 2, " Hello  there "} << 0 << true << false;
        QTest::newRow("empty text") << two << Line{0, 2, ""} << 0 << true << false;
        QTest::newRow("tags only count as empty") << two << Line{0, 2, "<i> </i>"} << 0 << true << false;
        QTest::newRow("empty and paired with nothing") << two << Line{9, 10, ""} << -1 << true << true;
        QTest::newRow("start off by less than the tolerance") << two << Line{2.0004, 4, "Deux"} << 1 << false << false;
        QTest::newRow("start off by more than the tolerance") << two << Line{2.0006, 4, "Deux"} << 1 << false << true;
        QTest::newRow("end off by less than the tolerance") << two << Line{2, 3.9996, "Deux"} << 1 << false << false;
        QTest::newRow("end off by more than the tolerance") << two << Line{2, 3.9994, "Deux"} << 1 << false << true;
        QTest::newRow("starts matching one line, ends matching another")
            << two << Line{0, 4, "Un deux"} << 0 << false << true;
    }

    void pairsAndChecks()
    {
        QFETCH(Lines, originals);
        QFETCH(Line, subtitle);
        QFETCH(int, paired);
        QFETCH(bool, untranslated);
        QFETCH(bool, unmatched);
        auto pairing = std::make_shared<const OriginalPairing>(subtitlesOf(originals));
        QCOMPARE(pairing->pairedWith(subtitle.start, subtitle.end).value_or(-1), paired);

        SubtitleController controller;
        controller.setSubtitles(subtitlesOf({subtitle}));
        ProblemIndex index(controller);
        QCOMPARE(index.problems(0) & QualityCheck::originalProblems, QualityCheck::Problems());
        index.setOriginal(pairing);
        const QualityCheck::Problems found = index.problems(0);
        QCOMPARE(bool(found & QualityCheck::Untranslated), untranslated);
        QCOMPARE(bool(found & QualityCheck::NoMatchingOriginal), unmatched);
        index.setOriginal(nullptr); // detached: neither check
        QCOMPARE(index.problems(0) & QualityCheck::originalProblems, QualityCheck::Problems());
    }

    // Fix and Fix All leave these to the translator and say so, rather than counting them
    // as mended (the check alone cannot see them).
    void fixesLeaveWhatOnlyTheTranslatorCanMend()
    {
        SubtitleController controller;
        controller.setSubtitles(subtitlesOf({{0, 2, "One"}, {5, 6, "Six"}}));
        ProblemIndex index(controller);
        index.setOriginal(std::make_shared<const OriginalPairing>(subtitlesOf({{0, 2, "One"}})));
        QVERIFY(index.problems(0) & QualityCheck::Untranslated);
        QVERIFY(index.problems(1) & QualityCheck::NoMatchingOriginal);

        const QualityFixes::Outcome one = QualityFixes::fix(controller, index, 0, QualityCheck::Untranslated);
        QCOMPARE(one.changedSubtitles, 0);
        QCOMPARE(one.fixedCount(), 0);
        QCOMPARE((one.left.at({QualityCheck::Untranslated, QualityFixes::NoAutomaticFix})), 1);

        const QualityFixes::Outcome all = QualityFixes::fixAll(controller, index);
        QCOMPARE(all.fixed.count(QualityCheck::Untranslated) + all.fixed.count(QualityCheck::NoMatchingOriginal), size_t(0));
        QCOMPARE((all.left.at({QualityCheck::Untranslated, QualityFixes::NoAutomaticFix})), 1);
        QCOMPARE((all.left.at({QualityCheck::NoMatchingOriginal, QualityFixes::NoAutomaticFix})), 1);
        QVERIFY2(all.summary().contains(QStringLiteral("no automatic fix")), qPrintable(all.summary()));
    }
};

QTEST_GUILESS_MAIN(tst_OriginalPairing)
#include "tst_originalpairing.moc"
