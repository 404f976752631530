// The import window as a user meets it: text typed into the modal window, then OK or
// Cancel, and what the document holds afterwards.
#include "PanelFixture.h"

#include "panels/ImportSubtitlesViewController.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

using DialogAction = std::function<void(ImportSubtitlesViewController *)>;

// Runs the import over the fixture's window while `act` works the modal window.
void runImport(PanelFixture &fixture, DialogAction act)
{
    bool acted = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<ImportSubtitlesViewController *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        act(dialog);
        acted = true;
        if (dialog->isVisible())
            dialog->reject(); // a failed check above must not leave the test hanging
    });
    ImportSubtitlesViewController::run(&fixture.document, &fixture.window);
    QVERIFY(acted);
}

// Types text with real keystrokes, a line feed being the Return key.
void typeText(QWidget *widget, const QString &text)
{
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClicks(widget, lines[i]);
    }
}

DialogAction typeAndPressOk(const QString &text)
{
    return [text](ImportSubtitlesViewController *dialog) {
        typeText(dialog->textView(), text);
        QTest::mouseClick(dialog->buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    };
}

struct Imported
{
    QString text;
    double start;
    double end;
};

} // namespace

Q_DECLARE_METATYPE(QList<Imported>)

class tst_ImportSubtitles : public QObject
{
    Q_OBJECT

private slots:
    void paragraphsBecomeSubtitles_data();
    void paragraphsBecomeSubtitles();
    void okFromTheKeyboard_data();
    void okFromTheKeyboard();
    void oneUndoRemovesTheWholeImport();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void importGoesBeforeSubtitlesWithTheSameStart();
    void pastedWindowsLineBreaksCutParagraphs();
};

void tst_ImportSubtitles::paragraphsBecomeSubtitles_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<QList<Imported>>("expected");

    QTest::newRow("two paragraphs without video")
        << "A\n\nB" << 0.0 << QList<Imported>{{"A", 1, 3}, {"B", 37.0 / 12, 61.0 / 12}};
    QTest::newRow("two paragraphs at 25 fps")
        << "A\n\nB" << 25.0 << QList<Imported>{{"A", 1, 3}, {"B", 3.08, 5.08}};
    QTest::newRow("trailing empty line gives an empty subtitle")
        << "A\n\n" << 0.0 << QList<Imported>{{"A", 1, 3}, {"", 37.0 / 12, 61.0 / 12}};
    QTest::newRow("empty text gives one empty subtitle") << "" << 0.0 << QList<Imported>{{"", 1, 3}};
    QTest::newRow("single line feed stays inside the paragraph")
        << "two\nlines" << 0.0 << QList<Imported>{{"two\nlines", 1, 3}};
    QTest::newRow("third line feed starts the next paragraph")
        << "A\n\n\nB" << 0.0 << QList<Imported>{{"A", 1, 3}, {"\nB", 37.0 / 12, 61.0 / 12}};
    QTest::newRow("spaces are kept") << " A \n\n B" << 0.0
                                     << QList<Imported>{{" A ", 1, 3}, {" B", 37.0 / 12, 61.0 / 12}};
}

void tst_ImportSubtitles::paragraphsBecomeSubtitles()
{
    QFETCH(QString, typed);
    QFETCH(double, frameRate);
    QFETCH(QList<Imported>, expected);
    PanelFixture fixture;
    fixture.controller().setFrameRate(frameRate);

    runImport(fixture, typeAndPressOk(typed));

    QCOMPARE(fixture.controller().count(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const SubtitlePtr subtitle = fixture.controller().at(i);
        QCOMPARE(subtitle->text, expected[i].text);
        QCOMPARE(subtitle->start, expected[i].start);
        QCOMPARE(subtitle->end, expected[i].end);
    }
    QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet::fromRange(0, int(expected.size())));
}

void tst_ImportSubtitles::okFromTheKeyboard_data()
{
    QTest::addColumn<QList<QKeyCombination>>("keys"); // pressed after typing "A", Return, Return, "B"

    QTest::newRow("Ctrl+Return in the text area") << QList<QKeyCombination>{Qt::CTRL | Qt::Key_Return};
    QTest::newRow("Return on a button presses the default OK")
        << QList<QKeyCombination>{QKeyCombination(Qt::Key_Tab), QKeyCombination(Qt::Key_Return)};
}

void tst_ImportSubtitles::okFromTheKeyboard()
{
    QFETCH(QList<QKeyCombination>, keys);
    PanelFixture fixture;
    runImport(fixture, [&](ImportSubtitlesViewController *dialog) {
        typeText(dialog->textView(), QStringLiteral("A\n\nB"));
        for (QKeyCombination key : keys) {
            QVERIFY(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        }
    });
    QCOMPARE(fixture.controller().count(), 2);
    QCOMPARE(fixture.controller().at(1)->text, QStringLiteral("B"));
}

void tst_ImportSubtitles::oneUndoRemovesTheWholeImport()
{
    PanelFixture fixture(2);
    runImport(fixture, typeAndPressOk(QStringLiteral("A\n\nB\n\nC")));
    QCOMPARE(fixture.controller().count(), 5);
    // The step is filed when the event that made it is over.
    QTRY_COMPARE(fixture.document.undoManager().undoActionName(), QStringLiteral("Import Subtitles"));

    fixture.document.undoManager().undo();
    QCOMPARE(fixture.controller().count(), 2);
    QCOMPARE(fixture.controller().at(0)->text, QStringLiteral("Line 1"));
    QVERIFY(!fixture.document.undoManager().canUndo());

    fixture.document.undoManager().redo();
    QCOMPARE(fixture.controller().count(), 5);
}

void tst_ImportSubtitles::cancelChangesNothing_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape") << true;
}

void tst_ImportSubtitles::cancelChangesNothing()
{
    QFETCH(bool, escape);
    PanelFixture fixture(3);
    fixture.document.setSelectedSubtitleIndexes(IndexSet{1});
    runImport(fixture, [&](ImportSubtitlesViewController *dialog) {
        typeText(dialog->textView(), QStringLiteral("A\n\nB"));
        if (escape)
            QTest::keyClick(dialog->textView(), Qt::Key_Escape);
        else
            QTest::mouseClick(dialog->buttons()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    QCOMPARE(fixture.controller().count(), 3);
    QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{1});
    QVERIFY(!fixture.document.undoManager().canUndo());
}

void tst_ImportSubtitles::importGoesBeforeSubtitlesWithTheSameStart()
{
    PanelFixture fixture;
    fixture.controller().setSubtitles({std::make_shared<Subtitle>(QStringLiteral("Old"), 1.0, 2.0)});
    runImport(fixture, typeAndPressOk(QStringLiteral("New")));
    QCOMPARE(fixture.controller().count(), 2);
    QCOMPARE(fixture.controller().at(0)->text, QStringLiteral("New"));
    QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{0});
}

// The text area keeps line breaks as line feeds, so a script copied from a Windows file
// is cut into paragraphs like any other.
void tst_ImportSubtitles::pastedWindowsLineBreaksCutParagraphs()
{
    PanelFixture fixture;
    QApplication::clipboard()->setText(QStringLiteral("First\r\nline\r\n\r\nSecond"));
    runImport(fixture, [](ImportSubtitlesViewController *dialog) {
        QTest::keyClick(dialog->textView(), Qt::Key_V, Qt::ControlModifier);
        QTest::mouseClick(dialog->buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    QCOMPARE(fixture.controller().count(), 2);
    QCOMPARE(fixture.controller().at(0)->text, QStringLiteral("First\nline"));
    QCOMPARE(fixture.controller().at(1)->text, QStringLiteral("Second"));
}

QTEST_MAIN(tst_ImportSubtitles)
#include "tst_importsubtitles.moc"
