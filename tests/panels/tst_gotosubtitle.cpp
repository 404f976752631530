// The go-to panel as a user meets it: typed numbers, Return, Escape and clicks elsewhere.
#include "PanelFixture.h"

#include "panels/GoToSubtitleViewController.h"

#include <QLineEdit>
#include <QPointer>

namespace {

// Opens the panel over the fixture's window and waits until it has the keyboard.
GoToSubtitleViewController *openPanel(PanelFixture &fixture)
{
    GoToSubtitleViewController *panel = GoToSubtitleViewController::open(&fixture.document, &fixture.window);
    if (!QTest::qWaitFor([panel] { return QApplication::activeWindow() == panel->window(); }))
        qWarning("the go-to panel never became the active window");
    return panel;
}

} // namespace

class tst_GoToSubtitle : public QObject
{
    Q_OBJECT

private slots:
    void returnGoesToTypedNumberAndCloses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key"); // 0: a click into the document window instead
        QTest::addColumn<IndexSet>("expected"); // the selection after the key

        const IndexSet unchanged{5};
        QTest::newRow("3 selects the third") << "3" << int(Qt::Key_Return) << IndexSet{2};
        QTest::newRow("the keypad's Enter too") << "+3" << int(Qt::Key_Enter) << IndexSet{2};
        QTest::newRow("10 of ten selects the last") << "10" << int(Qt::Key_Return) << IndexSet{9};
        QTest::newRow("1 selects the first") << "001" << int(Qt::Key_Return) << IndexSet{0};
        QTest::newRow("0 is no subtitle") << "0" << int(Qt::Key_Return) << unchanged;
        QTest::newRow("11 of ten is no subtitle") << "11" << int(Qt::Key_Return) << unchanged;
        QTest::newRow("-1 is no subtitle") << "-1" << int(Qt::Key_Return) << unchanged;
        QTest::newRow("trailing space is no number") << "3 " << int(Qt::Key_Return) << unchanged;
        QTest::newRow("decimal point") << "3.0" << int(Qt::Key_Return) << unchanged;
        QTest::newRow("empty field") << "" << int(Qt::Key_Return) << unchanged;
        QTest::newRow("digits past every integer type") << "99999999999999999999999" << int(Qt::Key_Return) << unchanged;
        QTest::newRow("Escape closes without a jump") << "3" << int(Qt::Key_Escape) << unchanged;
        QTest::newRow("a click elsewhere closes without a jump") << "3" << 0 << unchanged;
    }

    void returnGoesToTypedNumberAndCloses()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(IndexSet, expected);
        PanelFixture fixture(10);
        fixture.document.setSelectedSubtitleIndexes(IndexSet{5});

        GoToSubtitleViewController *panel = openPanel(fixture);
        const QPointer<QWidget> panelWindow = panel->window();
        QCOMPARE(QApplication::activeWindow(), panelWindow.data());
        // A second open raises this one.
        QCOMPARE(GoToSubtitleViewController::open(&fixture.document, &fixture.window), panel);
        QVERIFY(panel->numberField()->hasFocus());
        QTest::keyClicks(panel->numberField(), typed);
        if (key)
            QTest::keyClick(panel->numberField(), Qt::Key(key));
        else
            fixture.window.activateWindow();

        QCOMPARE(fixture.document.selectedSubtitleIndexes(), expected);
        QTRY_VERIFY(panelWindow.isNull());
        QTRY_COMPARE(QApplication::activeWindow(), &fixture.window);
    }
};

QTEST_MAIN(tst_GoToSubtitle)
#include "tst_gotosubtitle.moc"
