// The subtitle list as a user meets it: real keystrokes and clicks on the table, its
// inline editors, its menu, the clipboard, italic, merging and the spelling marks.
#include "app/lifecycle/DocumentController.h"
#include "app/window/DocumentWindow.h"
#include "app/commands/TranslationCommands.h"
#include "document/Document.h"
#include "document/TimeFormSetting.h"
#include "list/SubtitleTableModel.h"
#include "model/quality/QualityCheck.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"
#include "spelling/Spelling.h"

#include "FakePlayer.h"
#include "ModalAnswers.h"
#include "SubtitleText.h"

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTimer>
#include <QAbstractItemModelTester>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QtTest>

#include <memory>
#include <optional>

namespace {

const QString fiveSubtitles = QStringLiteral("One@1-2|Two@3-4|Three@5-6|Four@7-8|Five@9-10");
const QStringList five{"One", "Two", "Three", "Four", "Five"};

// "0", "1", … three seconds apart.
SubtitleList numbered(int count, double length = 2)
{
    SubtitleList subtitles;
    for (int i = 0; i < count; ++i)
        subtitles.append(Subtitle::create(QString::number(i), i * 3.0, i * 3.0 + length));
    return subtitles;
}

// A document with a shown list pane.
class Pane
{
public:
    explicit Pane(const SubtitleList &subtitles = subtitlesFrom(fiveSubtitles))
    {
        document.attachController();
        document.subtitleController().setSubtitles(subtitles);
        list = std::make_unique<SubtitlesTableViewController>(&document);
        list->resize(640, 400);
        list->show();
        QApplication::setActiveWindow(list.get());
        list->tableView()->setFocus();
    }

    SubtitleController &controller() { return document.subtitleController(); }
    UndoManager &undo() { return document.undoManager(); }
    SubtitlesTableView *view() const { return list->tableView(); }
    QModelIndex index(int row, int column) const { return list->model()->index(row, column); }
    QStringList texts() { return textsOf(controller().subtitles()); }
    // Opens the editor of a cell the way a user does: double-click.
    QWidget *openEditor(int row, int column)
    {
        const QRect rect = view()->visualRect(index(row, column));
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, rect.center());
        return view()->indexWidget(index(row, column));
    }
    SubtitleTextEditor *textEditor(int row) const
    {
        return qobject_cast<SubtitleTextEditor *>(view()->indexWidget(index(row, SubtitleTableModel::TextColumn)));
    }
    void rightClick(int row)
    {
        const QRect rect = view()->visualRect(index(row, 0));
        QTest::mouseClick(view()->viewport(), Qt::RightButton, {}, rect.center());
        QContextMenuEvent event(QContextMenuEvent::Mouse, rect.center(), view()->viewport()->mapToGlobal(rect.center()));
        QApplication::sendEvent(view()->viewport(), &event);
    }
    // Ends the editing as the user does: Return, Tab, or a click on another row.
    void leave(QWidget *editor, const QString &how, int clickedRow = 4)
    {
        if (how == QLatin1String("click"))
            QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                              view()->visualRect(index(clickedRow, SubtitleTableModel::NumberColumn)).center());
        else
            QTest::keyClick(editor, how == QLatin1String("Tab") ? Qt::Key_Tab : Qt::Key_Return);
    }
    // Lets the current event's undo registrations become one step.
    void settle() { QTest::qWait(0); undo().closeEventGroup(); }

    Document document;
    std::unique_ptr<SubtitlesTableViewController> list;
};

void typeInto(QWidget *editor, const QString &text)
{
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier); // over what it holds
    QTest::keyClicks(editor, text);
}

} // namespace

// A cell typed into, how the editing ends (Return, Tab, or a click on the last row), and
// the edited subtitle and undo step afterwards (none when empty).
struct FieldEdit
{
    int column;
    QString typed, leave;
    double start, end;
    QString text, stepName;
};
Q_DECLARE_METATYPE(FieldEdit)

class tst_SubtitlesTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("cuewright-tests"));
    }

    void rowsFollowEveryChange_data()
    {
        // Each change as the document reports it; the rows, and the rows a view holds on
        // to, must follow.
        QTest::addColumn<QString>("change");
        QTest::addColumn<IndexSet>("rows"); // updated to `start`
        QTest::addColumn<double>("start");
        QTest::newRow("insert at the top") << "insert" << IndexSet() << 0.0;
        QTest::newRow("remove two apart") << "remove" << IndexSet() << 0.0;
        QTest::newRow("one row moves up") << "update" << IndexSet(3) << 0.5;
        QTest::newRow("one row moves down to the end") << "update" << IndexSet(0) << 9.5;
        QTest::newRow("two rows move down past each other") << "update" << IndexSet{0, 1} << 9.5;
        QTest::newRow("two rows tie at an earlier start") << "update" << IndexSet{2, 4} << 0.5;
        QTest::newRow("undo of a downward move by several") << "undo" << IndexSet(1) << 8.5;
        QTest::newRow("reload") << "reload" << IndexSet() << 0.0;
        // Of two hundred rows: changes in more places than a view follows one by one.
        QTest::newRow("a hundred rows pass others at once") << "shift many" << IndexSet::fromRange(50, 100) << 100.0;
        QTest::newRow("undo of a hundred rows passing others") << "undo shift many" << IndexSet::fromRange(50, 100) << 100.0;
        QTest::newRow("every other row removed") << "remove many" << IndexSet() << 0.0;
        QTest::newRow("undo of every other row removed") << "undo remove many" << IndexSet() << 0.0;
    }

    void rowsFollowEveryChange()
    {
        QFETCH(QString, change);
        QFETCH(IndexSet, rows);
        QFETCH(double, start);
        const bool many = change.contains(QLatin1String("many"));
        Pane pane(many ? numbered(200) : subtitlesFrom(fiveSubtitles));
        SubtitleTableModel *model = pane.list->model();
        // Changes in many places keep Qt's model contract. (The # column shows a row's number,
        // which the tester's checks of single insertions read as a changed neighbour.)
        std::optional<QAbstractItemModelTester> tester;
        if (many)
            tester.emplace(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        // Where each subtitle's row is, as a view that holds on to rows sees it.
        QList<std::pair<QPersistentModelIndex, SubtitlePtr>> held;
        for (int row = 0; row < model->rowCount(); ++row)
            held.append({QPersistentModelIndex(pane.index(row, SubtitleTableModel::StartColumn)), pane.controller().at(row)});
        SubtitleController &controller = pane.controller();
        // The current row, in the moved block, goes with its subtitle.
        const SubtitlePtr current = controller.count() > 60 ? controller.at(60) : nullptr;
        if (current)
            pane.view()->selectionModel()->setCurrentIndex(pane.index(60, 0), QItemSelectionModel::NoUpdate);
        IndexSet odd;
        for (int row = 1; row < controller.count(); row += 2)
            odd.insert(row);
        if (change == QLatin1String("insert")) {
            controller.insertSubtitles(subtitlesFrom("Zero@0-0.5"), IndexSet(0));
        } else if (change == QLatin1String("remove")) {
            controller.removeSubtitles(controller.subtitlesAt({0, 2}), {0, 2});
        } else if (change == QLatin1String("reload")) {
            controller.setSubtitles(subtitlesFrom(fiveSubtitles));
        } else if (change.endsWith(QLatin1String("remove many"))) {
            controller.removeSubtitles(controller.subtitlesAt(odd), odd);
        } else if (change.endsWith(QLatin1String("shift many"))) {
            QList<Subtitle::Values> shifted;
            for (int row : rows)
                shifted.append({controller.at(row)->start + start, {}, {}});
            controller.updateSubtitles(shifted, rows);
        } else {
            controller.updateSubtitles(QList<Subtitle::Values>(rows.count(), {start, {}, {}}), rows);
        }
        if (change.startsWith(QLatin1String("undo"))) {
            pane.undo().closeEventGroup();
            pane.undo().undo();
        }
        QCOMPARE(model->rowCount(), controller.count());
        for (int row = 0; row < controller.count(); ++row) {
            QCOMPARE(model->subtitleAt(row), controller.at(row));
            QCOMPARE(pane.index(row, SubtitleTableModel::NumberColumn).data().toString(), QString::number(row + 1));
            QCOMPARE(pane.index(row, SubtitleTableModel::TextColumn).data().toString(), controller.at(row)->text());
        }
        if (change == QLatin1String("reload") || change.endsWith(QLatin1String("remove many")))
            return; // a reset lets go of every held row
        for (const auto &[index, subtitle] : std::as_const(held))
            QCOMPARE(index.isValid() ? index.row() : -1, controller.indexOf(subtitle));
        if (current)
            QCOMPARE(pane.view()->selectionModel()->currentIndex().row(), controller.indexOf(current));
        // The selection moved with the changed subtitles.
        QCOMPARE(pane.view()->selectionModel()->selectedRows().size(), pane.document.selectedSubtitleIndexes().count());
    }

    void editingAFieldChangesThatSubtitleInOneStep_data()
    {
        QTest::addColumn<FieldEdit>("edit");
        const int start = SubtitleTableModel::StartColumn, text = SubtitleTableModel::TextColumn;
        QTest::newRow("a later start moves the row and the end along")
            << FieldEdit{start, "00:00:07,500", "Return", 7.5, 8.5, "Two", "Edit Start Time"};
        QTest::newRow("an earlier end, left with Tab, moves the start along")
            << FieldEdit{SubtitleTableModel::EndColumn, "00:00:02,500", "Tab", 1.5, 2.5, "Two", "Edit End Time"};
        QTest::newRow("a new text") << FieldEdit{text, "Deux", "Return", 3, 4, "Deux", "Edit Text"};
        QTest::newRow("a new start, left by a click on another row")
            << FieldEdit{start, "00:00:03,250", "click", 3.25, 4, "Two", "Edit Start Time"};
        QTest::newRow("the same start typed back") << FieldEdit{start, "00:00:03,000", "Return", 3, 4, "Two", ""};
        QTest::newRow("the same text typed back") << FieldEdit{text, "Two", "Return", 3, 4, "Two", ""};
    }

    void editingAFieldChangesThatSubtitleInOneStep()
    {
        QFETCH(FieldEdit, edit);
        const auto &[column, typed, leave, start, end, text, stepName] = edit;
        Pane pane;
        const SubtitlePtr two = pane.controller().at(1);
        QWidget *editor = pane.openEditor(1, column);
        QVERIFY(editor);
        typeInto(editor, typed);
        pane.leave(editor, leave);
        QTRY_COMPARE(two->text(), text);
        QTRY_COMPARE(two->start, start);
        QCOMPARE(two->end, end);
        QTRY_VERIFY(!pane.view()->isEditing());
        const SubtitlePtr selected = leave == QLatin1String("click") ? pane.controller().at(4) : two;
        QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(pane.controller().indexOf(selected)));

        pane.settle();
        QCOMPARE(pane.undo().canUndo(), !stepName.isEmpty());
        if (stepName.isEmpty())
            return;
        QCOMPARE(pane.undo().undoActionName(), stepName);
        pane.undo().undo();
        QCOMPARE(std::make_pair(two->start, two->end), std::make_pair(3.0, 4.0));
        QCOMPARE(pane.texts(), five);
        QVERIFY(!pane.undo().canUndo());
    }

    void refusedTimeStaysInItsEditorUntilEscape_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::newRow("Return") << "Return";
        QTest::newRow("a click on another row") << "click";
    }

    void refusedTimeStaysInItsEditorUntilEscape()
    {
        QFETCH(QString, leave);
        Pane pane;
        ModalAnswers answers;
        auto *editor = qobject_cast<QLineEdit *>(pane.openEditor(1, SubtitleTableModel::StartColumn));
        QVERIFY(editor);
        typeInto(editor, QStringLiteral("00:00:7,5"));
        pane.leave(editor, leave);
        QTRY_COMPARE(answers.alerts.size(), 1);
        QVERIFY(answers.alerts.first().startsWith(QStringLiteral("“00:00:7,5” is not a time")));
        QTest::qWait(50);
        QCOMPARE(pane.view()->indexWidget(pane.index(1, SubtitleTableModel::StartColumn)), editor);
        QCOMPARE(editor->text(), QStringLiteral("00:00:7,5"));
        QCOMPARE(pane.list->focusWidget(), editor); // the focus it has when the window is active again
        QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(1));

        // Escape gives the typing up: the old time stays, and shows in the next editor.
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!pane.view()->isEditing());
        pane.settle();
        QCOMPARE(pane.controller().at(1)->start, 3.0);
        QVERIFY(!pane.undo().canUndo());
        QCOMPARE(answers.alerts.size(), 1);
        editor = qobject_cast<QLineEdit *>(pane.openEditor(1, SubtitleTableModel::StartColumn));
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("00:00:03,000"));
    }

    // Other panes change the list while an editor is open: what is typed stays, and
    // reaches the edited subtitle wherever its row has gone.
    // The form is the user's choice for every window: once chosen, the list shows
    // timecode with the document's offset, and its editor reads it back.
    void timecodeIsShownAndTypedOnceChosen()
    {
        Pane pane;
        pane.document.setFrameRate(25);
        pane.document.setTimecodeOffset(36000);
        TimeFormSetting::shared()->setForm(TimeForm::Timecode);
        const auto restore = qScopeGuard([] { TimeFormSetting::shared()->setForm(TimeForm::Milliseconds); });
        QCOMPARE(pane.index(1, SubtitleTableModel::StartColumn).data().toString(), QStringLiteral("10:00:03:00"));
        auto *editor = qobject_cast<QLineEdit *>(pane.openEditor(1, SubtitleTableModel::StartColumn));
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("10:00:03:00"));
        typeInto(editor, QStringLiteral("10:00:02:12"));
        pane.leave(editor, QStringLiteral("Return"));
        QTRY_VERIFY(!pane.view()->isEditing());
        QCOMPARE(pane.controller().at(1)->start, 2.48);
        QCOMPARE(pane.index(1, SubtitleTableModel::StartColumn).data().toString(), QStringLiteral("10:00:02:12"));
    }

    void editorsOutliveOtherChangesToTheList()
    {
        Pane pane;
        const SubtitlePtr three = pane.controller().at(2);
        QWidget *editor = pane.openEditor(2, SubtitleTableModel::EndColumn);
        typeInto(editor, QStringLiteral("00:00:06,750"));
        // Return commits once the key is done with; before then, rows are inserted above.
        QTest::keyClick(editor, Qt::Key_Return);
        pane.controller().insertSubtitles(subtitlesFrom("A@0-0.2|B@0.3-0.4"), {0, 1});
        QTRY_COMPARE(three->end, 6.75);
        QCOMPARE(pane.controller().at(2)->end, 2.0);

        auto *text = qobject_cast<SubtitleTextEditor *>(pane.openEditor(5, SubtitleTableModel::TextColumn));
        QVERIFY(text);
        typeInto(text, QStringLiteral("typed"));
        pane.controller().setEnd(5, 8.5); // the timeline dragging its end
        QCOMPARE(pane.textEditor(5), text);
        QCOMPARE(text->toPlainText(), QStringLiteral("typed"));
        QTest::keyClick(text, Qt::Key_Return);
        QTRY_COMPARE(pane.controller().at(5)->text(), QStringLiteral("typed"));
        QCOMPARE(pane.controller().at(5)->end, 8.5);
    }

    void textEditorTakesNewLinesAndShowsThem()
    {
        Pane pane(subtitlesFrom("1\n2\n3\n4@0-1|below@2-3"));
        QWidget *editor = pane.openEditor(1, SubtitleTableModel::TextColumn);
        typeInto(editor, QStringLiteral("Hello,"));
        QTest::keyClick(editor, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(editor, QStringLiteral("world"));
        QVERIFY(pane.view()->isEditing());
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(pane.controller().at(1)->text(), QStringLiteral("Hello,\nworld"));

        // A row shows two lines; more are cut, and edited whole.
        auto *rows = qobject_cast<QStyledItemDelegate *>(pane.view()->itemDelegate());
        QCOMPARE(rows->displayText(pane.texts().at(1), {}), QStringLiteral("Hello,\u2028world"));
        QCOMPARE(rows->displayText(pane.texts().at(0), {}), QStringLiteral("1\u20282 …"));
        pane.list->beginEditingSubtitle(0);
        SubtitleTextEditor *tall = pane.textEditor(0);
        QVERIFY(tall);
        QTest::qWait(20);
        QVERIFY(tall->height() >= 4 * tall->fontMetrics().lineSpacing());
    }

    // In a list of thousands, where a command over every other subtitle selects rows in
    // thousands of places: such a selection looks and acts as any other.
    void selectionFollowsDocumentClicksAndKeys()
    {
        Pane pane(numbered(2400));
        const auto click = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
            QTest::mouseClick(pane.view()->viewport(), Qt::LeftButton, modifiers,
                              pane.view()->visualRect(pane.index(row, 1)).center());
        };
        const auto colourOfRow = [&](int row) {
            const QRect cell = pane.view()->visualRect(pane.index(row, SubtitleTableModel::TextColumn));
            return pane.view()->viewport()->grab().toImage().pixelColor(cell.right() - 2, cell.center().y());
        };
        QSignalSpy documentSelections(&pane.document, &Document::selectionChanged);
        pane.document.setSelectedSubtitleIndexes({1, 2});
        QModelIndexList rows = pane.view()->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].row() + rows[1].row(), 3);
        QCOMPARE(documentSelections.count(), 1); // the table did not push it back
        click(4);
        QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(4));
        click(2, Qt::ShiftModifier);
        QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet({2, 3, 4}));
        QVERIFY(!pane.list->isManipulatingSelection());
        pane.document.setSelectedSubtitleIndexes(IndexSet(2));
        QTest::keyClick(pane.view(), Qt::Key_Down);
        QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(3));

        IndexSet scattered; // every odd row but 3
        for (int row = 1; row < 2400; row += 2) {
            if (row != 3)
                scattered.insert(row);
        }
        // As a command selects: anew, the view staying at the top (a smaller selection
        // would show its last row).
        const auto selectScattered = [&] {
            pane.document.setSelectedSubtitleIndexes(IndexSet(1));
            pane.document.setSelectedSubtitleIndexes(scattered);
        };
        const QColor selected = colourOfRow(3);
        const QColor unselected = colourOfRow(1);
        QVERIFY(selected != unselected);
        selectScattered();
        QCOMPARE(colourOfRow(5), selected);
        QCOMPARE(colourOfRow(3), unselected);
        // Ctrl+click adds a row to all the others, and takes one away.
        click(3, Qt::ControlModifier);
        click(5, Qt::ControlModifier);
        IndexSet expected = scattered;
        expected.insert(3);
        expected.remove(5);
        QCOMPARE(pane.document.selectedSubtitleIndexes(), expected);
        QCOMPARE(colourOfRow(3), selected);
        QCOMPARE(colourOfRow(5), unselected);
        // A plain click replaces them all, on screen too.
        selectScattered();
        click(3);
        QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(3));
        QCOMPARE(colourOfRow(1), unselected);
        QCOMPARE(colourOfRow(3), selected);

        // The playback keys go to the player, down and up, and the selection stays.
        int playbackKeys = 0;
        connect(pane.list.get(), &SubtitlesTableViewController::playbackKeyEvent, [&] { ++playbackKeys; });
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_J, Qt::Key_K, Qt::Key_L, Qt::Key_Left, Qt::Key_Right})
            QTest::keyClick(pane.view(), key);
        QCOMPARE(playbackKeys, 12);
        QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(3));
        // Return starts editing the text of the selected row.
        QTest::keyClick(pane.view(), Qt::Key_Return);
        QVERIFY(pane.textEditor(3));
    }

    void pasteInsertsByStartOneStepPerText_data()
    {
        QTest::addColumn<IndexSet>("selection"); // the rows the paste replaces
        QTest::addColumn<QStringList>("pasted");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("alerts");
        QTest::newRow("each where its start puts it")
            << IndexSet() << QStringList{"1\n00:00:02,000 --> 00:00:02,500\nA\n\n2\n00:00:08,000 --> 00:00:08,500\nB\n"}
            << QStringList{"One", "A", "Two", "Three", "Four", "B", "Five"} << 0;
        QTest::newRow("the selected rows are replaced")
            << IndexSet{1, 2}
            << QStringList{"1\n00:00:00,500 --> 00:00:00,900\nx\n\n2\n00:00:08,000 --> 00:00:08,500\ny\n\n"
                           "3\n00:00:20,000 --> 00:00:21,000\nz\n"}
            << QStringList{"x", "One", "Four", "y", "Five", "z"} << 0;
        QTest::newRow("text other programs write") << IndexSet() << QStringList{"7\n0:0:2.5-->0:0:3\nsloppy\n\n\n"}
                                                   << QStringList{"One", "sloppy", "Two", "Three", "Four", "Five"} << 0;
        QTest::newRow("invalid text keeps the list and its selection")
            << IndexSet(0) << QStringList{"1\n00:00:01,000 to 00:00:02,000\nNo arrow\n"} << five << 1;
        QTest::newRow("stops at the first invalid text")
            << IndexSet()
            << QStringList{"1\n00:00:02,000 --> 00:00:02,500\nvalid\n", "not srt", "1\n00:00:30,000 --> 00:00:31,000\nnever\n"}
            << QStringList{"One", "valid", "Two", "Three", "Four", "Five"} << 1;
    }

    void pasteInsertsByStartOneStepPerText()
    {
        QFETCH(IndexSet, selection);
        QFETCH(QStringList, pasted);
        QFETCH(QStringList, texts);
        QFETCH(int, alerts);
        Pane pane;
        ModalAnswers answers;
        pane.document.setSelectedSubtitleIndexes(selection);
        pane.list->pasteTexts(pasted);
        QCOMPARE(answers.alerts.size(), alerts);
        QCOMPARE(pane.texts(), texts);
        pane.settle();
        if (texts != five)
            QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Paste"));
        int steps = 0;
        for (; pane.undo().canUndo(); ++steps)
            pane.undo().undo();
        QCOMPARE(steps, texts == five ? 0 : 1);
        QCOMPARE(pane.texts(), five);
    }

    void rightClickTargetsRowOrSelection_data()
    {
        // Rows 1 and 2 are selected; the clipboard holds "anything".
        QTest::addColumn<int>("clicked"); // -1: in an empty list
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("menu"); // empty: not checked
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("step"); // the undo step, which takes the texts back
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("the first row, outside the selection: that row alone")
            << 0 << "Delete" << QStringList{"Add Subtitle", "Duplicate Subtitle", "Split Subtitle at Text Cursor (off)", "Copy", "Paste", "Delete"}
            << QStringList{"Two", "Three", "Four", "Five"} << "Delete Subtitle" << "anything";
        // Duplicate wants one row; the selection holds two.
        QTest::newRow("inside the selection: all of it")
            << 1 << "Delete" << QStringList{"Add Subtitle", "Duplicate Subtitle (off)", "Split Subtitle at Text Cursor (off)", "Copy", "Paste", "Delete"}
            << QStringList{"One", "Four", "Five"} << "Delete Subtitles" << "anything";
        QTest::newRow("an empty list") << -1 << "Delete" << QStringList{"Add Subtitle", "Duplicate Subtitle (off)",
            "Split Subtitle at Text Cursor (off)", "Copy (off)", "Paste", "Delete (off)"} << QStringList() << "" << "anything";
        QTest::newRow("duplicate") << 4 << "Duplicate Subtitle" << QStringList()
                                   << QStringList{"One", "Two", "Three", "Four", "Five", "Five"} << "Duplicate Subtitle" << "anything";
        QTest::newRow("copy: numbered from 1") << 2 << "Copy" << QStringList() << five << ""
            << "1\n00:00:03,000 --> 00:00:04,000\nTwo\n\n2\n00:00:05,000 --> 00:00:06,000\nThree\n\n";
    }

    void rightClickTargetsRowOrSelection()
    {
        QFETCH(int, clicked);
        QFETCH(QString, command);
        QFETCH(QStringList, menu);
        QFETCH(QStringList, texts);
        QFETCH(QString, step);
        QFETCH(QString, clipboard);
        Pane pane(subtitlesFrom(clicked < 0 ? QString() : fiveSubtitles));
        QGuiApplication::clipboard()->setText(QStringLiteral("anything"));
        if (clicked >= 0)
            pane.document.setSelectedSubtitleIndexes({1, 2});
        ModalAnswers answers;
        answers.chooseInMenu(command);
        pane.rightClick(clicked);
        if (!menu.isEmpty())
            QCOMPARE(answers.menuItems, menu);
        QCOMPARE(pane.texts(), texts);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QCOMPARE(pane.view()->clickedRow(), -1);
        pane.settle();
        QCOMPARE(pane.undo().canUndo() ? pane.undo().undoActionName() : QString(), step);
        if (!step.isEmpty()) {
            pane.undo().undo();
            QCOMPARE(pane.texts(), five);
        }
    }

    void addCommitsOpenEditorThenEditsTheNewRow()
    {
        FakePlayer player;
        Pane pane;
        pane.document.setPlayer(&player);
        pane.document.setFrameRate(25);
        QWidget *editor = pane.openEditor(1, SubtitleTableModel::TextColumn);
        typeInto(editor, QStringLiteral("Changed"));
        player.jumpTo(5.5); // inside Three, which the new one follows, two frames on
        pane.list->addSubtitle();
        pane.settle(); // the user types afterwards
        // The typed text went to row 1; the new row is being edited.
        QCOMPARE(pane.texts(), QStringList({"One", "Changed", "Three", "", "Four", "Five"}));
        QCOMPARE(pane.controller().at(3)->start, 6.08);
        QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(3));
        QVERIFY(pane.textEditor(3));
        QTest::keyClicks(pane.textEditor(3), QStringLiteral("Typed at once"));
        QTest::keyClick(pane.textEditor(3), Qt::Key_Return);
        QTRY_COMPARE(pane.controller().at(3)->text(), QStringLiteral("Typed at once"));
        pane.settle();
        pane.undo().undo();
        QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Add Subtitle"));
        pane.undo().undo();
        QCOMPARE(pane.texts(), QStringList({"One", "Changed", "Three", "Four", "Five"}));
        QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Edit Text"));
    }

    void editingWhilePlayingPausesAndResumes_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<int>("endKey");
        QTest::newRow("while playing, Return: resumes after") << true << int(Qt::Key_Return);
        QTest::newRow("while playing, Escape: stays paused") << true << int(Qt::Key_Escape);
        QTest::newRow("while paused: stays paused") << false << int(Qt::Key_Return);
    }

    void editingWhilePlayingPausesAndResumes()
    {
        QFETCH(bool, playing);
        QFETCH(int, endKey);
        const bool confirmed = endKey == Qt::Key_Return;
        FakePlayer player;
        Pane pane;
        pane.document.setPlayer(&player);
        if (playing)
            player.play();
        pane.list->editSubtitle(3);
        QCOMPARE(player.rate(), 0.0);
        QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(3));
        QTest::keyClicks(pane.textEditor(3), QStringLiteral(" again"));
        QTest::keyClick(pane.textEditor(3), Qt::Key(endKey));
        QCOMPARE(player.rate(), playing && confirmed ? 1.0 : 0.0);
        QTRY_COMPARE(pane.controller().at(3)->text(), confirmed ? QStringLiteral("Four again") : QStringLiteral("Four"));

        // Only once: a later edit does not start playback.
        player.pause();
        pane.list->beginEditingSubtitle(1);
        QTest::keyClick(pane.textEditor(1), Qt::Key_Return);
        pane.list->confirmSubtitleEdit();
        QCOMPARE(player.rate(), 0.0);
    }

    void qualityMarksFollowTheNeighboursEdit()
    {
        Pane pane(subtitlesFrom("<i>Others end before</i>\nthe voice does.@11-11.8|Drag@11.5-14"));
        const auto cell = [&pane](int row, int column, int role = Qt::DisplayRole) {
            return pane.index(row, column).data(role);
        };
        QCOMPARE(cell(0, SubtitleTableModel::DurationColumn).toString(), QStringLiteral("0.800"));
        QCOMPARE(cell(0, SubtitleTableModel::ReadingSpeedColumn).toString(), QStringLiteral("40.0"));
        QCOMPARE(cell(0, SubtitleTableModel::LongestLineColumn).toString(), QStringLiteral("17 ×2"));
        for (int column : {SubtitleTableModel::EndColumn, SubtitleTableModel::DurationColumn,
                           SubtitleTableModel::ReadingSpeedColumn})
            QVERIFY(cell(0, column, Qt::BackgroundRole).isValid());
        QVERIFY(!cell(0, SubtitleTableModel::LongestLineColumn, Qt::BackgroundRole).isValid());
        QVERIFY(!cell(0, SubtitleTableModel::NumberColumn, Qt::DecorationRole).isNull());
        QVERIFY(!cell(1, SubtitleTableModel::NumberColumn, Qt::DecorationRole).isValid());
        // A screen reader hears the marks: every problem after the number, each marked
        // cell's own after it, and the text without its tags.
        const auto said = [&](int column) { return cell(0, column, Qt::AccessibleDescriptionRole).toString(); };
        for (QualityCheck::Problem problem : {QualityCheck::Overlap, QualityCheck::TooShort, QualityCheck::TooFast})
            QVERIFY2(said(SubtitleTableModel::NumberColumn).contains(QualityCheck::name(problem)),
                     qPrintable(said(SubtitleTableModel::NumberColumn)));
        QVERIFY(said(SubtitleTableModel::EndColumn).startsWith(QualityCheck::name(QualityCheck::Overlap)));
        QVERIFY(!said(SubtitleTableModel::EndColumn).contains(QualityCheck::name(QualityCheck::TooFast)));
        QVERIFY(said(SubtitleTableModel::LongestLineColumn).isEmpty());
        QCOMPARE(cell(0, SubtitleTableModel::TextColumn, Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Others end before the voice does."));
        QCOMPARE(pane.list->model()->headerData(SubtitleTableModel::ReadingSpeedColumn, Qt::Horizontal,
                                                Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Reading speed"));

        // Only the second subtitle changes; the first one's End loses its mark, and its row
        // is reported so that the view paints it again.
        QSignalSpy changed(pane.list->model(), &QAbstractItemModel::dataChanged);
        pane.controller().setStart(1, 13);
        QVERIFY(!cell(0, SubtitleTableModel::EndColumn, Qt::BackgroundRole).isValid());
        QTRY_VERIFY(std::any_of(changed.cbegin(), changed.cend(), [](const QList<QVariant> &arguments) {
            return arguments.at(0).toModelIndex().row() == 0
                && arguments.at(1).toModelIndex().column() >= SubtitleTableModel::EndColumn;
        }));
    }

    void numberColumnFitsTheLargestNumberAndItsMark()
    {
        // Every subtitle is too short: every row has the problem mark.
        Pane pane(numbered(9998, 0.5));
        const auto fits = [&pane] {
            const int last = pane.list->model()->rowCount() - 1;
            const QModelIndex number = pane.index(last, SubtitleTableModel::NumberColumn);
            return !number.data(Qt::DecorationRole).isNull()
                && pane.view()->sizeHintForIndex(number).width() <= pane.view()->columnWidth(SubtitleTableModel::NumberColumn);
        };
        QVERIFY(fits());
        // The list grows past 9,999.
        pane.controller().insertSubtitles(subtitlesFrom("More@3e4-30002|And more@30001-30001.2"), IndexSet{9998, 9999});
        QCOMPARE(pane.list->model()->index(9999, SubtitleTableModel::NumberColumn).data().toString(), QStringLiteral("10000"));
        QVERIFY(fits());
    }

    void translationStaysInViewBesideOriginalAndProblems_data()
    {
        QTest::addColumn<bool>("problemsFirst");
        QTest::newRow("original, then the Problems panel") << false;
        QTest::newRow("the Problems panel, then the original") << true;
    }

    // In the window at its first size, with the three things that take the list's width.
    void translationStaysInViewBesideOriginalAndProblems()
    {
        QFETCH(bool, problemsFirst);
        QTemporaryDir folder;
        const QString original = folder.filePath(QStringLiteral("original.srt"));
        QFile file(original);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1\n00:00:03,000 --> 00:00:08,000\nA beginning, at long last, of a rather long line\n");
        file.close();
        DocumentController controller;
        DocumentWindow *window = controller.windowOf(controller.newDocument());
        window->show();
        auto *problems = window->findChild<QDockWidget *>(QStringLiteral("problems"));
        if (problemsFirst)
            problems->show();
        QVERIFY(window->translationCommands()->attachOriginal(original, TextEncoding::Automatic));
        problems->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        const SubtitlesTableView *table = window->findChild<SubtitlesTableView *>();
        const auto right = [table](int column) { return table->columnViewportPosition(column) + table->columnWidth(column); };
        QTRY_VERIFY(!table->isColumnHidden(SubtitleTableModel::OriginalColumn) && problems->isVisible());
        QTRY_COMPARE(right(SubtitleTableModel::TextColumn), table->viewport()->width());
        QVERIFY(table->columnViewportPosition(SubtitleTableModel::OriginalColumn) >= 0);
        // The original takes at most half of what the other columns leave.
        QVERIFY(table->columnWidth(SubtitleTableModel::TextColumn) >= table->columnWidth(SubtitleTableModel::OriginalColumn));
    }

    void italicAndMergeOfRowsOrItalicOfTheEditedWords()
    {
        Pane pane(subtitlesFrom("one\ntwo@1-2|helo@3-4|<i>three</i>@5-6"));
        pane.document.setSelectedSubtitleIndexes({0, 2});
        pane.list->toggleItalic();
        QCOMPARE(pane.texts(), QStringList({"<i>one\ntwo</i>", "helo", "three"}));
        pane.settle();
        QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Italic"));
        pane.undo().undo();
        QCOMPARE(pane.texts(), QStringList({"one\ntwo", "helo", "<i>three</i>"}));

        // Merging wants neighbours.
        pane.document.setSelectedSubtitleIndexes({0, 2});
        QVERIFY(!pane.list->canMergeSubtitles());
        pane.document.setSelectedSubtitleIndexes({0, 1});
        pane.list->mergeSubtitles();
        QCOMPARE(pane.texts(), QStringList({"one\ntwo\nhelo", "<i>three</i>"}));

        // While a text is edited, only its selected words, committed when the editing ends.
        pane.list->beginEditingSubtitle(0);
        SubtitleTextEditor *editor = pane.textEditor(0);
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(4);
        cursor.setPosition(7, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        pane.list->toggleItalic();
        QCOMPARE(editor->toPlainText(), QStringLiteral("one\n<i>two</i>\nhelo"));
        QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("<i>two</i>"));
        QCOMPARE(pane.texts().first(), QStringLiteral("one\ntwo\nhelo"));
    }

    void misspeltTextsAreMarked()
    {
        qputenv("CUEWRIGHT_DICTIONARY_PATH", qgetenv("CUEWRIGHT_TEST_DATA") + "/spelling");
        QTemporaryDir dir;
        Spelling::setPersonalDictionaryPath(dir.filePath(QStringLiteral("words.txt")));
        Spelling spelling;
        Pane pane(subtitlesFrom("helo@3-4"));
        pane.list->setSpelling(&spelling);
        const auto marked = [&pane] { return !pane.index(0, SubtitleTableModel::TextColumn).data(Qt::DecorationRole).isNull(); };
        QVERIFY(!marked()); // no language, no marks
        QVERIFY(spelling.setLanguage(QStringLiteral("xx_TEST")));
        QVERIFY(marked());
        QCOMPARE(pane.index(0, SubtitleTableModel::TextColumn).data(Qt::AccessibleDescriptionRole).toString(),
                 QStringLiteral("Misspelt: helo"));
        QVERIFY(spelling.addToDictionary(QStringLiteral("helo")));
        QVERIFY(!marked());
    }
};

QTEST_MAIN(tst_SubtitlesTable)
#include "tst_subtitlestable.moc"
