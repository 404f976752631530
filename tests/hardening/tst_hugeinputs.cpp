#include "format/SubtitleParser.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"

#include "TimelineFixture.h"

#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>

// Sizes far beyond everyday files, through the real panes: everything still works and
// stays in order. How long it takes is measured in bench/.
class tst_HugeInputs : public QObject
{
    Q_OBJECT

private:
    // The timeline fixture with the subtitle list beside it, as in the document window.
    struct Panes : TimelineFixture
    {
        std::unique_ptr<SubtitlesTableViewController> table;

        explicit Panes(const QList<std::pair<double, double>> &times)
            : TimelineFixture(times)
        {
            table = std::make_unique<SubtitlesTableViewController>(&document);
            table->resize(600, 400);
            table->show();
            QApplication::processEvents();
        }
        SubtitlesTableView *tableView() const { return table->tableView(); }
        bool inTimeOrder()
        {
            const SubtitleList &list = document.subtitleController().subtitles();
            return std::is_sorted(list.cbegin(), list.cend(), [](const SubtitlePtr &a, const SubtitlePtr &b) { return *a < *b; });
        }
        QString rowText(int row) const { return table->model()->index(row, SubtitleTableModel::TextColumn).data().toString(); }
    };

private slots:
    void millionSubtitles()
    {
        constexpr int count = 1'000'000;
        QList<std::pair<double, double>> times;
        times.reserve(count);
        for (int i = 0; i < count; ++i)
            times.append({i * 3.0, i * 3.0 + 2.0});
        const auto panes = std::make_unique<Panes>(times);
        SubtitleController &controller = panes->document.subtitleController();
        QCOMPARE(panes->table->model()->rowCount(), count);

        panes->tableView()->scrollToBottom();
        panes->tableView()->repaint();
        const QScrollBar *bar = panes->tableView()->verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum());
        panes->timeline->scrollToOffset(panes->timeline->xForTime(count / 2 * 3.0));
        panes->timeline->repaint();
        QVERIFY(!panes->timeline->visibleSubtitles().isEmpty());
        // All the way out every block is on screen, drawn as a mark per pixel column, and
        // each can still be picked by its time.
        panes->timeline->fitFilm();
        panes->timeline->repaint();
        QCOMPARE(panes->timeline->hitTestAction(QPointF(panes->timeline->xForTime(count / 2 * 3.0 + 1), 20))
                     ->subtitles.first(),
                 controller.at(count / 2));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("million.srt"));
        QVERIFY(panes->document.write(path));
        Document reread;
        QVERIFY(reread.read(path));
        QCOMPARE(reread.subtitleController().count(), count);
        QCOMPARE(reread.subtitleController().at(count - 1)->text(), QStringLiteral("Subtitle %1").arg(count));
    }

    void megabyteText()
    {
        QString text;
        for (int line = 0; text.size() < 1024 * 1024; ++line)
            text += QStringLiteral("Line %1 of a very long subtitle, which keeps going and going.\n").arg(line);
        text.chop(1);
        const QString srt = QStringLiteral("1\n00:00:01,000 --> 00:00:04,000\n") + text + QStringLiteral("\n\n");

        const SubtitleList parsed = SubtitleParser::shared().parse(srt).value();
        QCOMPARE(parsed.first()->text(), text);
        QCOMPARE(SubtitleParser::shared().serialize(parsed), srt);

        Panes panes(QList<std::pair<double, double>>{});
        panes.document.subtitleController().setSubtitles(parsed);
        panes.tableView()->repaint();
        panes.timeline->repaint();
        QCOMPARE(panes.rowText(0), text);
        panes.document.setSelectedSubtitleIndexes(IndexSet(0));
        panes.tableView()->repaint();
        QVERIFY(panes.timeline->blockRect(parsed.first()));
    }

    // All blocks on top of each other: the timeline shows them without hanging, and a drag
    // of one keeps the list in time order, with equal starts in their old order.
    void tenThousandAtTheSameTime()
    {
        constexpr int count = 10'000;
        const QList<std::pair<double, double>> times(count, {10.0, 12.0}); // x 300 to 360
        const auto panes = std::make_unique<Panes>(times);
        SubtitleController &controller = panes->document.subtitleController();
        const SubtitleList before = controller.subtitles();
        panes->timeline->repaint();
        QCOMPARE(panes->timeline->visibleSubtitles().size(), count);

        panes->drag(QPointF(330, TimelineFixture::rowY), {QPointF(345, TimelineFixture::rowY), QPointF(360, TimelineFixture::rowY)});
        panes->endTurn();
        const SubtitleList after = controller.subtitles();
        QVERIFY(panes->inTimeOrder());
        const SubtitlePtr moved = after.last();
        QVERIFY2(moved->start > 10.5 && qAbs(moved->end - moved->start - 2.0) < 1e-9, qPrintable(QString::number(moved->start)));
        SubtitleList others = before;
        others.removeOne(moved);
        QCOMPARE(after.first(count - 1), others);
        QCOMPARE(panes->document.selectedSubtitleIndexes(), IndexSet(count - 1));

        panes->document.undoManager().undo();
        QVERIFY(panes->inTimeOrder());
        QCOMPARE(moved->start, 10.0);
    }
};

QTEST_MAIN(tst_HugeInputs)
#include "tst_hugeinputs.moc"
