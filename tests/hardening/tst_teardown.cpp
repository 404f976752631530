#include "document/Document.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"

#include <QApplication>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>

// Tearing windows down in the orders the application does. The faults these guard
// against are uses of freed memory, which the sanitized build (make test-asan) reports.
class tst_Teardown : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("CuewrightTests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_teardown"));
    }

    // Closing a window schedules it for deletion, and its document goes with it, after
    // the panes that refer to it; quitting deletes the others at once.
    void closingAndQuittingDeleteThePanesFirst()
    {
        DocumentController controller;
        QPointer<Document> document = controller.newDocument();
        QPointer<DocumentWindow> window = DocumentController::windowOf(document);
        QPointer<DocumentWindow> other = DocumentController::windowOf(controller.newDocument());
        QVERIFY(window && window->close());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull() && document.isNull());
        QCOMPARE(controller.documents().size(), 1);
        QVERIFY(controller.quit());
        QVERIFY(other.isNull());
    }

    // An editor open in the list when the list goes: the table commits it on the way
    // out, and that must not reach the half-destroyed list controller.
    void aListDestroyedWhileEditing()
    {
        Document document;
        document.subtitleController().setSubtitles({Subtitle::create(QStringLiteral("Hi"), 1, 2)});
        auto *list = new SubtitlesTableViewController(&document);
        list->resize(400, 300);
        list->show();
        QApplication::setActiveWindow(list);
        list->beginEditingSubtitle(0);
        QApplication::processEvents();
        QWidget *editor = list->tableView()->indexWidget(list->model()->index(0, SubtitleTableModel::TextColumn));
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral(" there"));
        delete list;
        QCOMPARE(document.subtitleController().at(0)->text(), QStringLiteral("Hi"));
    }
};

QTEST_MAIN(tst_Teardown)
#include "tst_teardown.moc"
