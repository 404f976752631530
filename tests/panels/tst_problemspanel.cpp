// The Problems panel as a user meets it: F8 walks the problems, a picked row selects its
// subtitle and is described whole, Fix mends one problem or says why not, Fix All mends
// what it can in one undo step and says what it did.
#include "ModalAnswers.h"
#include "PanelFixture.h"
#include "SubtitleText.h"

#include "panels/ProblemListModel.h"
#include "panels/ProblemsPanel.h"
#include "app/preferences/Translator.h"

#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

ProblemsPanel *shownPanel(PanelFixture &fixture)
{
    auto *panel = new ProblemsPanel(&fixture.document);
    (new QVBoxLayout(&fixture.window))->addWidget(panel);
    panel->show();
    return panel;
}

// The panel's lines of text, top to bottom: the summary, then the selected problem.
QStringList labelTexts(const ProblemsPanel *panel)
{
    QList<QLabel *> labels = panel->findChildren<QLabel *>();
    std::sort(labels.begin(), labels.end(), [](QLabel *a, QLabel *b) { return a->y() < b->y(); });
    QStringList texts;
    for (const QLabel *label : labels)
        texts << label->text();
    return texts;
}

} // namespace

class tst_ProblemsPanel : public QObject
{
    Q_OBJECT

private slots:
    void walkPickAndFixAll()
    {
        PanelFixture fixture;
        // As in the demo: the fourth is too short and too fast, the fifth runs into the sixth.
        fixture.controller().setSubtitles(subtitlesFrom("Welcome to Cuewright.@1-2.6|Every line you hear has a subtitle.@4-6.2|"
                                                        "Some of them start too late.@8.4-10|Others end before\nthe voice does.@11-11.8|"
                                                        "Drag the blocks@14-17.9|Then save.@17.4-20.5"));
        const QString before = fixture.controller().at(3)->text() + QString::number(fixture.controller().at(4)->end);
        ProblemsPanel *panel = shownPanel(fixture);
        QTRY_COMPARE(panel->model()->rowCount(), 3);

        // Which problem is next or previous is the problem index's (its test walks them).
        panel->goToNextProblem();
        QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{3});
        panel->goToPreviousProblem(); // round the start
        QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{4});

        // Picking the second problem of a subtitle keeps that row, and selects its subtitle.
        fixture.document.setSelectedSubtitleIndexes(IndexSet{0});
        panel->view()->selectRow(1);
        QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{3});
        QCOMPARE(panel->view()->selectionModel()->selectedRows().value(0).row(), 1);
        // Its description whole under the table, however narrow the panel.
        QCOMPARE(labelTexts(panel).value(1), QStringLiteral("Subtitle 4 · Too fast: 40.0 characters per second; at most 20"));

        buttonOf(panel, QStringLiteral("Fix All"))->click();
        QCOMPARE(fixture.document.problemIndex().subtitlesWithProblems(), 0);
        QTRY_COMPARE(panel->model()->rowCount(), 0);
        QCOMPARE(labelTexts(panel).value(0), QStringLiteral("Fixed 3: 1 overlap(s), 1 too short, 1 too fast. No problems"));
        UndoManager &undo = fixture.document.undoManager();
        undo.closeEventGroup();
        QCOMPARE(undo.undoActionName(), QStringLiteral("Fix All Problems"));
        undo.undo();
        QCOMPARE(fixture.controller().at(3)->text() + QString::number(fixture.controller().at(4)->end), before);
        QTRY_COMPARE(panel->model()->rowCount(), 3);
        // The outcome is gone once the list has changed again, and so it is after new limits.
        QCOMPARE(labelTexts(panel).value(0), QStringLiteral("2 subtitle(s) with problems"));
        buttonOf(panel, QStringLiteral("Fix All"))->click();
        QVERIFY(labelTexts(panel).value(0).startsWith(QStringLiteral("Fixed 3")));
        QualityLimits strict;
        strict.maxLineLength = 10;
        fixture.document.problemIndex().setLimits(strict);
        QVERIFY(!labelTexts(panel).value(0).startsWith(QStringLiteral("Fixed")));
    }

    void fixOneProblemOrSayWhyNot()
    {
        PanelFixture fixture;
        // The first reads too fast and has a line too long; the second reads too fast and is
        // only a frame before the third, which has no time to spare either.
        const QString line = QStringLiteral("A line that runs on far too long for anyone to read at once");
        fixture.controller().setSubtitles(subtitlesFrom(line + "@0-2.5|Twenty-five characters!!!@5-6|Exactly twenty of them@6.042-7.142"));
        ProblemsPanel *panel = shownPanel(fixture);
        QTRY_COMPARE(panel->model()->rowCount(), 4);
        UndoManager &undo = fixture.document.undoManager();
        const auto fixFirstRow = [&] {
            panel->view()->selectRow(0);
            buttonOf(panel, QStringLiteral("Fix"))->click();
            undo.closeEventGroup();
        };
        const auto times = [&fixture] {
            QString text;
            for (const SubtitlePtr &subtitle : fixture.controller().subtitles())
                text += QStringLiteral("%1-%2 ").arg(subtitle->start).arg(subtitle->end);
            return text;
        };

        fixFirstRow(); // too fast: longer, its text as it was
        QCOMPARE(times(), QStringLiteral("0-2.95 5-6 6.042-7.142 "));
        QCOMPARE(fixture.controller().at(0)->text(), line);
        QCOMPARE(undo.undoActionName(), QStringLiteral("Fix Reading Speed"));
        QTRY_COMPARE(panel->model()->rowCount(), 3);
        fixFirstRow(); // the line: broken, its time as it was
        QCOMPARE(fixture.controller().at(0)->text(), QStringLiteral("A line that runs on far too\nlong for anyone to read at once"));
        QCOMPARE(times(), QStringLiteral("0-2.95 5-6 6.042-7.142 "));
        QCOMPARE(undo.undoActionName(), QStringLiteral("Fix Line Breaks"));
        QTRY_COMPARE(panel->model()->rowCount(), 2);

        // Ending the second earlier to open the gap would make it read faster still.
        fixFirstRow();
        QCOMPARE(times(), QStringLiteral("0-2.95 5-6 6.042-7.142 "));
        QCOMPARE(labelTexts(panel).value(0), QStringLiteral("Subtitle 2 left as it is: neither it nor the next one has "
                                                            "time to spare. 1 subtitle(s) with problems"));
    }

    // At the width it first asks for, the panel shows every name and description whole,
    // in English and in German (longer words, a decimal comma), with an hour's numbers.
    void nothingIsCutAtItsFirstWidth_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en_US";
        QTest::newRow("German") << "de_DE";
    }

    void nothingIsCutAtItsFirstWidth()
    {
        QFETCH(QString, language);
        QCoreApplication &app = *QCoreApplication::instance();
        QCOMPARE(Translator::install(app, {language}).isEmpty(), language.startsWith(u"en"));
        QLocale::setDefault(QLocale(language));
        const auto restore = qScopeGuard([&app] {
            Translator::install(app, {QStringLiteral("en_US")});
            QLocale::setDefault(QLocale::c());
        });
        PanelFixture fixture;
        fixture.document.setFrameRate(25);
        fixture.document.problemIndex().setShotChanges(ShotChanges({3600.0, 3620.0}));
        // Near a cut at both ends, too short and too close to the next; three lines, one too
        // long, into the next; too fast; too long.
        fixture.controller().setSubtitles(subtitlesFrom("Hi@3599.72-3600.1|A line that runs on far too long for anyone!\nto\nread@3600.12-3612|"
                                                        "Far too fast for anyone to read at all, really@3611-3613|Long@3613.5-3621.5"));
        ProblemsPanel panel(&fixture.document);
        panel.resize(panel.sizeHint().width(), 1200);
        panel.show();
        QTRY_COMPARE(panel.model()->rowCount(), 12);
        const QTableView *view = panel.view();
        const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        for (int row = 0; row < panel.model()->rowCount(); ++row) {
            for (const int column : {int(ProblemListModel::KindColumn), int(ProblemListModel::DescriptionColumn)}) {
                const QModelIndex index = panel.model()->index(row, column);
                const QString text = index.data().toString();
                const QRect cell = view->visualRect(index).adjusted(margin, 0, -margin, 0);
                const QRect needed = view->fontMetrics().boundingRect(QRect(0, 0, cell.width(), 1 << 20), Qt::TextWordWrap, text);
                QVERIFY2(needed.width() <= cell.width() && needed.height() <= cell.height(), qPrintable(text));
            }
        }
    }
};

QTEST_MAIN(tst_ProblemsPanel)
#include "tst_problemspanel.moc"
