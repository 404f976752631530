// The subtitle list as a user meets it: real keystrokes and clicks on the table, its
// inline editors, its menu and the clipboard.
#include "document/Document.h"
#include "format/SubtitleParser.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>
#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QtTest>

#include <memory>

namespace {

struct Row
{
    const char *text;
    double start;
    double end;
};

SubtitleList makeSubtitles(std::initializer_list<Row> rows)
{
    SubtitleList list;
    for (const Row &row : rows)
        list.append(std::make_shared<Subtitle>(QString::fromUtf8(row.text), row.start, row.end));
    return list;
}

SubtitleList fiveSubtitles()
{
    return makeSubtitles({{"One", 1, 2}, {"Two", 3, 4}, {"Three", 5, 6}, {"Four", 7, 8}, {"Five", 9, 10}});
}

// The table without its number column.
class WithoutNumbers : public QSortFilterProxyModel
{
protected:
    bool filterAcceptsColumn(int column, const QModelIndex &) const override
    {
        return column != SubtitleTableModel::NumberColumn;
    }
};

// A document with a shown list pane.
class Pane
{
public:
    explicit Pane(const SubtitleList &subtitles = fiveSubtitles())
    {
        SubtitleController &controller = document.subtitleController();
        controller.setDelegate(&document);
        controller.setUndoManager(&document.undoManager());
        controller.setSubtitles(subtitles);
        list = std::make_unique<SubtitlesTableViewController>(&document);
        list->resize(640, 400);
        list->show();
        list->activateWindow();
        list->tableView()->setFocus();
    }

    SubtitleController &controller() { return document.subtitleController(); }
    UndoManager &undo() { return document.undoManager(); }
    SubtitlesTableView *view() const { return list->tableView(); }
    QModelIndex index(int row, int column) const { return list->model()->index(row, column); }
    QStringList texts()
    {
        QStringList result;
        for (const SubtitlePtr &subtitle : controller().subtitles())
            result.append(subtitle->text);
        return result;
    }
    // Opens the editor of a cell the way a user does: double-click.
    QWidget *openEditor(int row, int column)
    {
        const QRect rect = view()->visualRect(index(row, column));
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, rect.center());
        return view()->indexWidget(index(row, column));
    }
    void rightClick(int row)
    {
        const QRect rect = view()->visualRect(index(row, 0));
        QTest::mouseClick(view()->viewport(), Qt::RightButton, {}, rect.center());
        QContextMenuEvent event(QContextMenuEvent::Mouse, rect.center(), view()->viewport()->mapToGlobal(rect.center()));
        QApplication::sendEvent(view()->viewport(), &event);
    }
    // Lets the current event's undo registrations become one step.
    void settle() { QTest::qWait(0); undo().closeEventGroup(); }

    Document document;
    std::unique_ptr<SubtitlesTableViewController> list;
};

// Answers the alerts and context menus that open while a test runs.
class ModalWatcher
{
public:
    ModalWatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }
    // Chooses this item in the next context menu.
    void chooseInMenu(const QString &text) { m_menuChoice = text; }

    QStringList alerts;
    QStringList menuItems;

private:
    void poll()
    {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            alerts.append(box->text());
            box->accept();
        }
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            QAction *choice = nullptr;
            for (QAction *action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                menuItems.append(action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)")));
                if (action->text() == m_menuChoice)
                    choice = action;
            }
            menu->close();
            if (choice)
                choice->trigger();
        }
    }

    QTimer m_timer;
    QString m_menuChoice;
};

void typeInto(QWidget *editor, const QString &text)
{
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
        lineEdit->selectAll();
    else if (auto *textEditor = qobject_cast<QPlainTextEdit *>(editor))
        textEditor->selectAll();
    QTest::keyClicks(editor, text);
}

} // namespace

class TestSubtitlesTable : public QObject
{
    Q_OBJECT

private slots:
    void rowsShowNumberTimesAndText();
    void rowsFollowEveryChange_data();
    void rowsFollowEveryChange();
    void editingAFieldChangesThatSubtitleInOneStep_data();
    void editingAFieldChangesThatSubtitleInOneStep();
    void unchangedEditMakesNoUndoStep();
    void invalidTimeShowsAlertAndKeepsEditor();
    void committedTimeReachesEditedSubtitleAfterRowMove();
    void textEditorKeepsTypingWhenItsSubtitleChanges();
    void shiftReturnStartsANewLine();
    void textEditorShowsEveryLine();
    void selectionFollowsDocumentAndClicks();
    void upAndDownMoveTheSelection();
    void copyPutsNumberedSrtOnClipboard();
    void pasteRoundTripInsertsByStartInOneStep();
    void pasteReplacesTargetRows();
    void pasteInvalidSrtKeepsList();
    void pasteReadsTextOtherProgramsWrite();
    void pasteStopsAtFirstInvalidText();
    void rightClickOutsideSelectionTargetsThatRow();
    void rightClickInsideSelectionTargetsSelection();
    void commandsOnEmptyList();
    void addStartsEditingNewRow();
    void addCommitsOpenEditorFirst();
    void duplicateAndDeleteUndoAsOneStep();
    void splitAtCaret_data();
    void splitAtCaret();
    void splitCommitsTypedTextFirst();
};

void TestSubtitlesTable::rowsShowNumberTimesAndText()
{
    Pane pane(makeSubtitles({{"First", 1.5, 3}, {"Two\nlines", 3661.25, 3662}}));
    const auto text = [&](int row, int column) { return pane.index(row, column).data().toString(); };
    QCOMPARE(text(0, SubtitleTableModel::NumberColumn), QStringLiteral("1"));
    QCOMPARE(text(0, SubtitleTableModel::StartColumn), QStringLiteral("00:00:01,500"));
    QCOMPARE(text(1, SubtitleTableModel::StartColumn), QStringLiteral("01:01:01,250"));
    QCOMPARE(text(1, SubtitleTableModel::EndColumn), QStringLiteral("01:01:02,000"));
    QCOMPARE(text(1, SubtitleTableModel::TextColumn), QStringLiteral("Two\nlines"));
    QVERIFY(!(pane.index(0, SubtitleTableModel::NumberColumn).flags() & Qt::ItemIsEditable));
    QVERIFY(pane.index(0, SubtitleTableModel::TextColumn).flags() & Qt::ItemIsEditable);
}

void TestSubtitlesTable::rowsFollowEveryChange_data()
{
    // Each change as the document reports it; the rows must follow under Qt's model
    // contract (announce, change, finish), checked by Qt's own model tester.
    QTest::addColumn<QString>("change");
    QTest::newRow("insert at the top") << "insert";
    QTest::newRow("remove two apart") << "remove";
    QTest::newRow("one row moves up") << "up";
    QTest::newRow("one row moves down") << "down";
    QTest::newRow("two rows move down past each other") << "two down";
    QTest::newRow("two rows tie at an earlier start") << "tie";
    QTest::newRow("undo of a downward move") << "undo down";
    QTest::newRow("reload") << "reload";
}

void TestSubtitlesTable::rowsFollowEveryChange()
{
    QFETCH(QString, change);
    Pane pane;
    SubtitleTableModel *model = pane.list->model();
    // The tester compares neighbouring rows' first column across a change; the number
    // column changes with every insertion by its nature, so it sees the rows without it.
    WithoutNumbers proxy;
    proxy.setSourceModel(model);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Where each subtitle's row is, as a view that holds on to rows sees it.
    QList<std::pair<QPersistentModelIndex, SubtitlePtr>> held;
    for (int row = 0; row < model->rowCount(); ++row)
        held.append({QPersistentModelIndex(pane.index(row, SubtitleTableModel::StartColumn)), pane.controller().at(row)});
    // Rows may change only between an announcement and its end.
    const auto rowsOf = [model] {
        SubtitleList rows;
        for (int row = 0; row < model->rowCount(); ++row)
            rows.append(model->subtitleAt(row));
        return rows;
    };
    SubtitleList announced = rowsOf();
    int changesOutsideAnnouncements = 0;
    const auto checkUnchanged = [&] { changesOutsideAnnouncements += rowsOf() != announced; };
    const auto takeChanged = [&] { announced = rowsOf(); };
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, model, checkUnchanged);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, model, checkUnchanged);
    connect(model, &QAbstractItemModel::rowsAboutToBeMoved, model, checkUnchanged);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, model, checkUnchanged);
    connect(model, &QAbstractItemModel::rowsInserted, model, takeChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, model, takeChanged);
    connect(model, &QAbstractItemModel::rowsMoved, model, takeChanged);
    connect(model, &QAbstractItemModel::modelReset, model, takeChanged);
    QList<std::pair<QPersistentModelIndex, SubtitlePtr>> heldInProxy;
    for (int row = 0; row < proxy.rowCount(); ++row)
        heldInProxy.append({QPersistentModelIndex(proxy.index(row, 0)), pane.controller().at(row)});

    SubtitleController &controller = pane.controller();
    Subtitle::Values later, earlier;
    later.start = 9.5;
    earlier.start = 0.5;
    if (change == QLatin1String("insert"))
        controller.insertSubtitles(makeSubtitles({{"Zero", 0, 0.5}}), IndexSet(0));
    else if (change == QLatin1String("remove"))
        controller.removeSubtitles(controller.subtitlesAt({0, 2}), {0, 2});
    else if (change == QLatin1String("up"))
        controller.updateSubtitles({earlier}, IndexSet(3));
    else if (change == QLatin1String("down"))
        controller.updateSubtitles({later}, IndexSet(0));
    else if (change == QLatin1String("two down"))
        controller.updateSubtitles({later, later}, IndexSet{0, 1});
    else if (change == QLatin1String("tie"))
        controller.updateSubtitles({earlier, earlier}, IndexSet{2, 4});
    else if (change == QLatin1String("undo down")) {
        controller.updateSubtitles({later}, IndexSet(1));
        pane.undo().closeEventGroup();
        pane.undo().undo();
    } else
        controller.setSubtitles(fiveSubtitles());
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(changesOutsideAnnouncements, 0);

    QCOMPARE(model->rowCount(), controller.count());
    for (int row = 0; row < controller.count(); ++row) {
        QCOMPARE(model->subtitleAt(row), controller.at(row));
        QCOMPARE(pane.index(row, SubtitleTableModel::NumberColumn).data().toString(), QString::number(row + 1));
        QCOMPARE(pane.index(row, SubtitleTableModel::TextColumn).data().toString(), controller.at(row)->text);
    }
    if (change == QLatin1String("reload"))
        return; // a reset lets go of every held row
    for (const auto &[index, subtitle] : std::as_const(held)) {
        const int row = controller.indexOf(subtitle);
        QCOMPARE(index.isValid() ? index.row() : -1, row);
    }
    for (const auto &[index, subtitle] : std::as_const(heldInProxy))
        QCOMPARE(index.isValid() ? proxy.mapToSource(index).row() : -1, controller.indexOf(subtitle));
    // The selection moved with the changed subtitles.
    QCOMPARE(pane.view()->selectionModel()->selectedRows().size(), pane.document.selectedSubtitleIndexes().count());
}

void TestSubtitlesTable::editingAFieldChangesThatSubtitleInOneStep_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stepName");

    QTest::newRow("a later start moves the row and the end along")
        << int(SubtitleTableModel::StartColumn) << "00:00:07,500" << 7.5 << 8.5 << "Two" << "Edit Start Time";
    QTest::newRow("an earlier end moves the start along")
        << int(SubtitleTableModel::EndColumn) << "00:00:02,500" << 1.5 << 2.5 << "Two" << "Edit End Time";
    QTest::newRow("a new text") << int(SubtitleTableModel::TextColumn) << "Deux" << 3.0 << 4.0 << "Deux"
                                << "Edit Text";
}

void TestSubtitlesTable::editingAFieldChangesThatSubtitleInOneStep()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(QString, text);
    QFETCH(QString, stepName);

    Pane pane;
    const SubtitlePtr two = pane.controller().at(1);
    QWidget *editor = pane.openEditor(1, column);
    QVERIFY(editor);
    typeInto(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(two->text, text);
    QTRY_COMPARE(two->start, start);
    QCOMPARE(two->end, end);
    QVERIFY(!pane.view()->isEditing());
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(pane.controller().indexOf(two)));

    pane.settle();
    QCOMPARE(pane.undo().undoActionName(), stepName);
    pane.undo().undo();
    QCOMPARE(two->start, 3.0);
    QCOMPARE(two->end, 4.0);
    QCOMPARE(two->text, QStringLiteral("Two"));
    QCOMPARE(pane.controller().indexOf(two), 1);
    QVERIFY(!pane.undo().canUndo());
}

void TestSubtitlesTable::unchangedEditMakesNoUndoStep()
{
    Pane pane;
    for (int column : {SubtitleTableModel::StartColumn, SubtitleTableModel::TextColumn}) {
        QWidget *editor = pane.openEditor(2, column);
        QVERIFY(editor);
        // Typing the same value back is no change either.
        typeInto(editor, pane.index(2, column).data().toString());
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!pane.view()->isEditing());
        pane.settle();
    }
    QVERIFY(!pane.undo().canUndo());
    QCOMPARE(pane.controller().at(2)->start, 5.0);
}

void TestSubtitlesTable::invalidTimeShowsAlertAndKeepsEditor()
{
    Pane pane;
    ModalWatcher watcher;
    auto *editor = qobject_cast<QLineEdit *>(pane.openEditor(1, SubtitleTableModel::StartColumn));
    QVERIFY(editor);
    typeInto(editor, QStringLiteral("00:00:7,5"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(watcher.alerts, QStringList{QStringLiteral("Invalid timestamp.")});
    QTest::qWait(50);

    QCOMPARE(pane.view()->indexWidget(pane.index(1, SubtitleTableModel::StartColumn)), editor);
    QCOMPARE(editor->text(), QStringLiteral("00:00:7,5"));
    QCOMPARE(pane.controller().at(1)->start, 3.0);
    QVERIFY(!pane.undo().canUndo());

    // Tab (moving to the next field) is refused the same way; Escape gives up.
    QTest::keyClick(editor, Qt::Key_Tab);
    QTRY_COMPARE(watcher.alerts.size(), 2);
    QCOMPARE(pane.view()->indexWidget(pane.index(1, SubtitleTableModel::StartColumn)), editor);
    QTest::keyClick(editor, Qt::Key_Escape);
    QTRY_VERIFY(!pane.view()->isEditing());
    QCOMPARE(pane.controller().at(1)->start, 3.0);
    QCOMPARE(watcher.alerts.size(), 2);
}

void TestSubtitlesTable::committedTimeReachesEditedSubtitleAfterRowMove()
{
    Pane pane;
    const SubtitlePtr three = pane.controller().at(2);
    QWidget *editor = pane.openEditor(2, SubtitleTableModel::EndColumn);
    typeInto(editor, QStringLiteral("00:00:06,750"));
    // The editor commits and closes; before the value is applied, rows are inserted
    // above the edited one.
    emit pane.view()->itemDelegate()->commitData(editor);
    emit pane.view()->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
    pane.controller().insertSubtitles(makeSubtitles({{"A", 0, 0.2}, {"B", 0.3, 0.4}}), {0, 1});
    QCOMPARE(pane.controller().indexOf(three), 4);
    QTRY_COMPARE(three->end, 6.75);
    QCOMPARE(pane.controller().at(2)->end, 2.0);
}

void TestSubtitlesTable::textEditorKeepsTypingWhenItsSubtitleChanges()
{
    Pane pane;
    auto *editor = qobject_cast<SubtitleTextEditor *>(pane.openEditor(3, SubtitleTableModel::TextColumn));
    QVERIFY(editor);
    typeInto(editor, QStringLiteral("typed"));
    // Another pane changes the same subtitle (the timeline dragging its end).
    pane.controller().setEnd(3, 8.5);
    QCOMPARE(pane.view()->indexWidget(pane.index(3, SubtitleTableModel::TextColumn)), editor);
    QCOMPARE(editor->toPlainText(), QStringLiteral("typed"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(pane.controller().at(3)->text, QStringLiteral("typed"));
    QCOMPARE(pane.controller().at(3)->end, 8.5);
}

void TestSubtitlesTable::shiftReturnStartsANewLine()
{
    Pane pane;
    QWidget *editor = pane.openEditor(0, SubtitleTableModel::TextColumn);
    typeInto(editor, QStringLiteral("Hello,"));
    QTest::keyClick(editor, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(editor, QStringLiteral("world"));
    QVERIFY(pane.view()->isEditing());
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(pane.controller().at(0)->text, QStringLiteral("Hello,\nworld"));

    // Editing it again shows both lines and leaves them as they are.
    editor = pane.openEditor(0, SubtitleTableModel::TextColumn);
    QCOMPARE(qobject_cast<SubtitleTextEditor *>(editor)->toPlainText(), QStringLiteral("Hello,\nworld"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!pane.view()->isEditing());
    pane.settle();
    QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Edit Text"));
    pane.undo().undo();
    QCOMPARE(pane.controller().at(0)->text, QStringLiteral("One"));
}

void TestSubtitlesTable::textEditorShowsEveryLine()
{
    Pane pane(makeSubtitles({{"1\n2\n3\n4", 0, 1}, {"below", 2, 3}}));
    pane.list->beginEditingSubtitle(0);
    auto *editor = qobject_cast<SubtitleTextEditor *>(pane.view()->indexWidget(pane.index(0, 3)));
    QVERIFY(editor);
    QTest::qWait(20);
    QVERIFY(editor->height() >= 4 * editor->fontMetrics().lineSpacing());
    QCOMPARE(editor->verticalScrollBar()->value(), 0);
}

void TestSubtitlesTable::selectionFollowsDocumentAndClicks()
{
    Pane pane;
    QSignalSpy documentSelections(&pane.document, &Document::selectionChanged);
    pane.document.setSelectedSubtitleIndexes({1, 2});
    QModelIndexList rows = pane.view()->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].row() + rows[1].row(), 3);
    // The table did not push the document's own selection back.
    QCOMPARE(documentSelections.count(), 1);

    const QRect rect = pane.view()->visualRect(pane.index(4, 1));
    QTest::mouseClick(pane.view()->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(4));
    QTest::mouseClick(pane.view()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      pane.view()->visualRect(pane.index(2, 1)).center());
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet({2, 3, 4}));
    QVERIFY(!pane.list->isManipulatingSelection());
}

void TestSubtitlesTable::upAndDownMoveTheSelection()
{
    Pane pane;
    pane.document.setSelectedSubtitleIndexes(IndexSet(2));
    QTest::keyClick(pane.view(), Qt::Key_Down);
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(3));
    QTest::keyClick(pane.view(), Qt::Key_Up);
    QTest::keyClick(pane.view(), Qt::Key_Up);
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(1));
    // Without a video the playback keys do nothing, and in particular do not move.
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_J, Qt::Key_K, Qt::Key_L, Qt::Key_Left, Qt::Key_Right})
        QTest::keyClick(pane.view(), key);
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(1));
    QVERIFY(!pane.view()->isEditing());
    // Return starts editing the text of the selected row.
    QTest::keyClick(pane.view(), Qt::Key_Return);
    QVERIFY(qobject_cast<SubtitleTextEditor *>(pane.view()->indexWidget(pane.index(1, SubtitleTableModel::TextColumn))));
}

void TestSubtitlesTable::copyPutsNumberedSrtOnClipboard()
{
    Pane pane;
    pane.document.setSelectedSubtitleIndexes({2, 4});
    QVERIFY(pane.list->canCopy());
    pane.list->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("1\n00:00:05,000 --> 00:00:06,000\nThree\n\n2\n00:00:09,000 --> 00:00:10,000\nFive\n\n"));
    QVERIFY(!pane.undo().canUndo());
}

void TestSubtitlesTable::pasteRoundTripInsertsByStartInOneStep()
{
    Pane source;
    source.document.setSelectedSubtitleIndexes({1, 3});
    source.list->copy();

    Pane target(makeSubtitles({{"a", 0, 1}, {"b", 4, 5}, {"c", 10, 11}}));
    QVERIFY(target.list->canPaste());
    target.list->paste();
    QCOMPARE(target.texts(), QStringList({"a", "Two", "b", "Four", "c"}));
    QCOMPARE(target.document.selectedSubtitleIndexes(), IndexSet({1, 3}));
    // The pasted subtitles are copies, not the source's.
    QVERIFY(target.controller().at(1) != source.controller().at(1));

    target.settle();
    QCOMPARE(target.undo().undoActionName(), QStringLiteral("Paste"));
    target.undo().undo();
    QCOMPARE(target.texts(), QStringList({"a", "b", "c"}));
    QVERIFY(!target.undo().canUndo());
}

void TestSubtitlesTable::pasteReplacesTargetRows()
{
    Pane pane;
    QGuiApplication::clipboard()->setText(QStringLiteral("1\n00:00:00,500 --> 00:00:00,900\nx\n\n"
                                                         "2\n00:00:08,000 --> 00:00:08,500\ny\n\n"
                                                         "3\n00:00:20,000 --> 00:00:21,000\nz\n"));
    pane.document.setSelectedSubtitleIndexes({1, 2});
    pane.list->paste();
    QCOMPARE(pane.texts(), QStringList({"x", "One", "Four", "y", "Five", "z"}));
    pane.settle();
    pane.undo().undo();
    QCOMPARE(pane.texts(), QStringList({"One", "Two", "Three", "Four", "Five"}));
}

void TestSubtitlesTable::pasteInvalidSrtKeepsList()
{
    Pane pane;
    ModalWatcher watcher;
    QGuiApplication::clipboard()->setText(QStringLiteral("1\n00:00:01,000 -> 00:00:02,000\nOne arrow head\n"));
    pane.document.setSelectedSubtitleIndexes(IndexSet(0));
    pane.list->paste();
    QCOMPARE(watcher.alerts.size(), 1);
    QVERIFY2(watcher.alerts.first().contains(QStringLiteral("Invalid timestamp.")), qPrintable(watcher.alerts.first()));
    QVERIFY(watcher.alerts.first().contains(QStringLiteral("line 1")));
    QCOMPARE(pane.texts(), QStringList({"One", "Two", "Three", "Four", "Five"}));
    pane.settle();
    QVERIFY(!pane.undo().canUndo());
}

void TestSubtitlesTable::pasteReadsTextOtherProgramsWrite()
{
    Pane pane;
    ModalWatcher watcher;
    pane.list->pasteTexts({QStringLiteral("7\n0:0:2.5-->0:0:3\nsloppy\n\n\n")});
    QCOMPARE(watcher.alerts.size(), 0);
    QCOMPARE(pane.texts(), QStringList({"One", "sloppy", "Two", "Three", "Four", "Five"}));
}

void TestSubtitlesTable::pasteStopsAtFirstInvalidText()
{
    Pane pane;
    ModalWatcher watcher;
    pane.list->pasteTexts({QStringLiteral("1\n00:00:02,000 --> 00:00:02,500\nvalid\n"), QStringLiteral("not srt"),
                           QStringLiteral("1\n00:00:30,000 --> 00:00:31,000\nnever\n")});
    QCOMPARE(watcher.alerts.size(), 1);
    QCOMPARE(pane.texts(), QStringList({"One", "valid", "Two", "Three", "Four", "Five"}));
}

void TestSubtitlesTable::rightClickOutsideSelectionTargetsThatRow()
{
    Pane pane;
    pane.document.setSelectedSubtitleIndexes({0, 1});
    ModalWatcher watcher;
    watcher.chooseInMenu(QStringLiteral("Delete"));
    pane.rightClick(3);
    QCOMPARE(watcher.menuItems, QStringList({"Add Subtitle", "Duplicate Subtitle", "Split Subtitle at Text Cursor (off)", "Copy",
                                             "Paste", "Delete"}));
    QCOMPARE(pane.texts(), QStringList({"One", "Two", "Three", "Five"}));
    QCOMPARE(pane.view()->clickedRow(), -1);
    pane.settle();
    QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Delete Subtitle"));
    pane.undo().undo();
    QCOMPARE(pane.texts().size(), 5);
}

void TestSubtitlesTable::rightClickInsideSelectionTargetsSelection()
{
    Pane pane;
    pane.document.setSelectedSubtitleIndexes({1, 2});
    ModalWatcher watcher;
    watcher.chooseInMenu(QStringLiteral("Copy"));
    pane.rightClick(2);
    // Duplicate wants one row; the selection holds two.
    QVERIFY(watcher.menuItems.contains(QStringLiteral("Duplicate Subtitle (off)")));
    QCOMPARE(SubtitleParser::shared().parse(QGuiApplication::clipboard()->text()).value().size(), 2);
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet({1, 2}));
}

void TestSubtitlesTable::commandsOnEmptyList()
{
    Pane pane{SubtitleList()};
    QVERIFY(!pane.list->canCopy());
    QVERIFY(!pane.list->canDeleteSubtitles());
    QVERIFY(!pane.list->canDuplicateSubtitle());
    QVERIFY(!pane.list->canSplitSubtitle());
    QGuiApplication::clipboard()->setText(QStringLiteral("anything"));
    QVERIFY(pane.list->canPaste());
    QGuiApplication::clipboard()->clear();
    QVERIFY(!pane.list->canPaste());
    pane.list->deleteSubtitles();
    pane.list->duplicateSubtitle();
    pane.list->copy();
    pane.settle();
    QVERIFY(!pane.undo().canUndo());
}

void TestSubtitlesTable::addStartsEditingNewRow()
{
    Pane pane{SubtitleList()};
    pane.list->addSubtitle();
    QCOMPARE(pane.controller().count(), 1);
    QCOMPARE(pane.controller().at(0)->start, 0.0);
    QCOMPARE(pane.controller().at(0)->end, 2.0);
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(0));
    auto *editor = qobject_cast<SubtitleTextEditor *>(pane.view()->indexWidget(pane.index(0, 3)));
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("Typed at once"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(pane.controller().at(0)->text, QStringLiteral("Typed at once"));
    pane.settle();
    pane.undo().undo();
    QCOMPARE(pane.controller().at(0)->text, QString());
    QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Add Subtitle"));
    pane.undo().undo();
    QCOMPARE(pane.controller().count(), 0);
}

void TestSubtitlesTable::addCommitsOpenEditorFirst()
{
    Pane pane;
    QWidget *editor = pane.openEditor(1, SubtitleTableModel::TextColumn);
    typeInto(editor, QStringLiteral("Changed"));
    pane.list->addSubtitle();
    // The typed text went to row 1; the new row follows it and is being edited.
    QCOMPARE(pane.texts(), QStringList({"One", "Changed", "", "Three", "Four", "Five"}));
    QVERIFY(pane.view()->indexWidget(pane.index(2, SubtitleTableModel::TextColumn)));
    QTest::qWait(20);
    QCOMPARE(pane.texts().at(1), QStringLiteral("Changed"));
    pane.settle();
    pane.undo().undo();
    QCOMPARE(pane.texts(), QStringList({"One", "Changed", "Three", "Four", "Five"}));
    QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Edit Text"));
}

void TestSubtitlesTable::duplicateAndDeleteUndoAsOneStep()
{
    Pane pane;
    pane.document.setSelectedSubtitleIndexes(IndexSet(4));
    QVERIFY(pane.list->canDuplicateSubtitle());
    pane.list->duplicateSubtitle();
    QCOMPARE(pane.texts(), QStringList({"One", "Two", "Three", "Four", "Five", "Five"}));
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(5));
    pane.settle();
    QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Duplicate Subtitle"));

    pane.document.setSelectedSubtitleIndexes({0, 2});
    pane.list->deleteSubtitles();
    QCOMPARE(pane.texts(), QStringList({"Two", "Four", "Five", "Five"}));
    QCOMPARE(pane.document.selectedSubtitleIndexes(), IndexSet(0));
    pane.settle();
    QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Delete Subtitles"));
    pane.undo().undo();
    QCOMPARE(pane.texts().size(), 6);
    pane.undo().undo();
    QCOMPARE(pane.texts().size(), 5);
}

void TestSubtitlesTable::splitAtCaret_data()
{
    QTest::addColumn<int>("caret");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("caret at the start") << 0 << QStringList({"", "Hello world"});
    QTest::newRow("caret in the middle, spaces trimmed") << 5 << QStringList({"Hello", "world"});
    QTest::newRow("caret at the end") << 11 << QStringList({"Hello world", ""});
}

void TestSubtitlesTable::splitAtCaret()
{
    QFETCH(int, caret);
    QFETCH(QStringList, texts);
    Pane pane(makeSubtitles({{"Hello world", 0, 4}}));
    pane.list->beginEditingSubtitle(0);
    auto *editor = qobject_cast<SubtitleTextEditor *>(pane.view()->indexWidget(pane.index(0, 3)));
    QVERIFY(editor);
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(caret);
    editor->setTextCursor(cursor);
    QVERIFY(pane.list->canSplitSubtitle());
    pane.list->splitSubtitle();
    QCOMPARE(pane.texts(), texts);
    QVERIFY(!pane.view()->isEditing());
    pane.settle();
    QCOMPARE(pane.undo().undoActionName(), QStringLiteral("Split Subtitle"));
    pane.undo().undo();
    QCOMPARE(pane.texts(), QStringList{"Hello world"});
    QVERIFY(!pane.undo().canUndo());
}

void TestSubtitlesTable::splitCommitsTypedTextFirst()
{
    Pane pane(makeSubtitles({{"", 0, 4}}));
    pane.list->beginEditingSubtitle(0);
    QVERIFY(!pane.list->canSplitSubtitle());
    auto *editor = qobject_cast<SubtitleTextEditor *>(pane.view()->indexWidget(pane.index(0, 3)));
    QTest::keyClicks(editor, QStringLiteral("First half"));
    QTest::keyClick(editor, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(editor, QStringLiteral("second"));
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(10);
    editor->setTextCursor(cursor);
    QVERIFY(pane.list->canSplitSubtitle());
    pane.list->splitSubtitle();
    QCOMPARE(pane.texts(), QStringList({"First half", "\nsecond"}));
    QTest::qWait(20);
    QCOMPARE(pane.controller().count(), 2);
}

QTEST_MAIN(TestSubtitlesTable)
#include "tst_subtitlestable.moc"
