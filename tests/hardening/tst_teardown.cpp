#include "document/Document.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

// Tearing panes down in the orders the application does. The faults these guard
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
