#include "PanelFixture.h"

#include "panels/FrameRateDialog.h"
#include "panels/ShiftTimesDialog.h"
#include "panels/SynchronizeDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>

// The dialogs that change many subtitles at once, driven as a user drives them.
class tst_TimingDialogs : public QObject
{
    Q_OBJECT

private slots:
    void shiftScopes_data()
    {
        QTest::addColumn<int>("scope");
        QTest::addColumn<QList<double>>("starts");
        QTest::newRow("selected only") << int(ShiftTimesDialog::Scope::Selected) << QList<double>{0, 11.5, 20, 30};
        QTest::newRow("selected and after")
            << int(ShiftTimesDialog::Scope::SelectedAndAfter) << QList<double>{0, 11.5, 21.5, 31.5};
        QTest::newRow("all") << int(ShiftTimesDialog::Scope::All) << QList<double>{1.5, 11.5, 21.5, 31.5};
    }

    void shiftScopes()
    {
        QFETCH(int, scope);
        QFETCH(QList<double>, starts);
        PanelFixture fixture(4);
        fixture.document.setSelectedSubtitleIndexes(IndexSet(1));
        ShiftTimesDialog dialog(&fixture.document);
        dialog.offsetField()->setText(QStringLiteral("+00:00:01,500"));
        dialog.setScope(ShiftTimesDialog::Scope(scope));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QList<double> actual;
        for (const SubtitlePtr &subtitle : fixture.controller().subtitles())
            actual << subtitle->start;
        QCOMPARE(actual, starts);
        QTRY_COMPARE(fixture.document.undoManager().undoActionName(), QStringLiteral("Shift Times"));
        fixture.document.undoManager().undo();
        QCOMPARE(fixture.controller().at(3)->start, 30.0);
        QVERIFY(!fixture.document.undoManager().canUndo());
    }

    // Keys typed while the window was still busy (making a large selection) reach the
    // dialog the first of them opened, not the window behind it.
    void keysTypedAheadReachTheDialog()
    {
        PanelFixture fixture(300);
        fixture.document.setSelectedSubtitleIndexes(IndexSet::fromRange(0, 300));
        ShiftTimesDialog dialog(&fixture.document, &fixture.window);
        QTimer::singleShot(0, &fixture.window, [&] {
            // Already on their way to the window when the dialog opens.
            QTest::keyClick(fixture.window.windowHandle(), '+');
            QTest::keyClick(fixture.window.windowHandle(), '2');
            QTest::keyClick(fixture.window.windowHandle(), Qt::Key_Return);
            // Once every event queued so far has been handled, the keys were lost.
            QTimer::singleShot(0, &dialog, [&dialog] {
                QTimer::singleShot(0, &dialog, [&dialog] {
                    if (dialog.isVisible())
                        dialog.reject();
                });
            });
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(fixture.controller().at(0)->start, 2.0);
        QCOMPARE(fixture.controller().at(299)->start, 2992.0);
    }

    void refusedValuesKeepTheDialogOpen()
    {
        PanelFixture fixture(3);
        ShiftTimesDialog shift(&fixture.document);
        shift.show();
        shift.offsetField()->setText(QStringLiteral("soon"));
        shift.accept();
        QVERIFY(shift.isVisible());
        QVERIFY(!shift.messageLabel()->isHidden());
        // Two points on one subtitle make no line.
        SynchronizeDialog synchronize(&fixture.document);
        synchronize.show();
        synchronize.firstNumber()->setValue(2);
        synchronize.secondNumber()->setValue(2);
        synchronize.accept();
        QVERIFY(synchronize.isVisible());
        QVERIFY(!synchronize.messageLabel()->text().isEmpty());
        QVERIFY(!fixture.document.undoManager().canUndo());
    }

    // The numbers a user types count from 1.
    void synchroniseMovesAlongTheLine()
    {
        PanelFixture fixture(4); // starts 0, 10, 20, 30
        SynchronizeDialog dialog(&fixture.document);
        dialog.firstNumber()->setValue(2);
        dialog.secondNumber()->setValue(4);
        dialog.firstTime()->setText(QStringLiteral("00:00:11,000"));
        dialog.secondTime()->setText(QStringLiteral("00:00:32,000"));
        dialog.accept();
        QCOMPARE(fixture.controller().at(2)->start, 21.5);
        QCOMPARE(fixture.controller().at(3)->start, 32.0);
        fixture.document.undoManager().undo();
        QCOMPARE(fixture.controller().at(2)->start, 20.0);
    }

    // With no video to tell it, the rate converted to becomes the document's, and undo
    // puts back both the times and the rate.
    void convertingWithoutVideoChoosesTheRate()
    {
        PanelFixture fixture(2); // starts 0, 10
        QSignalSpy told(&fixture.document, &Document::frameRateChanged);
        FrameRateDialog dialog(&fixture.document);
        dialog.fromRate()->setCurrentText(QStringLiteral("25"));
        dialog.toRate()->setCurrentText(QStringLiteral("50"));
        dialog.accept();
        QCOMPARE(fixture.controller().at(1)->start, 5.0);
        QCOMPARE(fixture.document.frameRate(), 50.0);
        QCOMPARE(fixture.controller().frameRate(), 50.0);
        QCOMPARE(told.count(), 1);
        fixture.document.undoManager().undo();
        QCOMPARE(fixture.controller().at(1)->start, 10.0);
        QCOMPARE(fixture.document.frameRate(), 0.0);
        fixture.document.undoManager().redo();
        QCOMPARE(fixture.document.frameRate(), 50.0);
        QCOMPARE(fixture.controller().at(1)->start, 5.0);
    }

    void parseRate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("rate"); // 0: refused
        QTest::newRow("23.976 is the NTSC rate") << "23.976" << 24000.0 / 1001;
        QTest::newRow("29.97 is the NTSC rate") << "29,97" << 30000.0 / 1001;
        QTest::newRow("a typed rate") << "12.5" << 12.5;
        QTest::newRow("words") << "fast" << 0.0;
    }

    void parseRate()
    {
        QFETCH(QString, text);
        QFETCH(double, rate);
        QCOMPARE(FrameRateDialog::parseRate(text).value_or(0.0), rate);
    }
};

QTEST_MAIN(tst_TimingDialogs)
#include "tst_timingdialogs.moc"
