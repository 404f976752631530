// The Problems panel as a user meets it: F8 walks the problems, a picked row selects its
// subtitle, Fix All mends what it can in one undo step.
#include "PanelFixture.h"

#include "panels/ProblemListModel.h"
#include "panels/ProblemsPanel.h"

#include <QTableView>
#include <QVBoxLayout>

class tst_ProblemsPanel : public QObject
{
    Q_OBJECT

private slots:
    void walkPickAndFixAll();
};

void tst_ProblemsPanel::walkPickAndFixAll()
{
    PanelFixture fixture;
    // As in the demo: the fourth is too short and too fast, the fifth runs into the sixth.
    const QList<std::tuple<const char *, double, double>> rows{
        {"Welcome to Cuewright.", 1, 2.6},       {"Every line you hear has a subtitle.", 4, 6.2},
        {"Some of them start too late.", 8.4, 10}, {"Others end before\nthe voice does.", 11, 11.8},
        {"Drag the blocks", 14, 17.9},             {"Then save.", 17.4, 20.5}};
    SubtitleList subtitles;
    for (const auto &[text, start, end] : rows)
        subtitles.append(Subtitle::create(QString::fromUtf8(text), start, end));
    fixture.controller().setSubtitles(subtitles);
    const QString before = fixture.controller().at(3)->text() + QString::number(fixture.controller().at(4)->end);

    auto *panel = new ProblemsPanel(&fixture.document);
    (new QVBoxLayout(&fixture.window))->addWidget(panel);
    panel->show();
    QTRY_COMPARE(panel->model()->rowCount(), 3);

    panel->goToNextProblem();
    QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{3});
    panel->goToNextProblem();
    QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{4});
    panel->goToNextProblem(); // round the end
    QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{3});
    panel->goToPreviousProblem();
    QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{4});

    // Picking the second problem of a subtitle keeps that row, and selects its subtitle.
    fixture.document.setSelectedSubtitleIndexes(IndexSet{0});
    panel->view()->selectRow(1);
    QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{3});
    QCOMPARE(panel->view()->selectionModel()->selectedRows().value(0).row(), 1);

    panel->fixAll();
    QCOMPARE(fixture.document.problemIndex().subtitlesWithProblems(), 0);
    QTRY_COMPARE(panel->model()->rowCount(), 0);
    UndoManager &undo = fixture.document.undoManager();
    undo.closeEventGroup();
    QCOMPARE(undo.undoActionName(), QStringLiteral("Fix All Problems"));
    undo.undo();
    QCOMPARE(fixture.controller().at(3)->text() + QString::number(fixture.controller().at(4)->end), before);
    QTRY_COMPARE(panel->model()->rowCount(), 3);
}

QTEST_MAIN(tst_ProblemsPanel)
#include "tst_problemspanel.moc"
