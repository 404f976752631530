// Italic, merging and the spelling marks of the list pane.
#include "document/Document.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"
#include "spelling/Spelling.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class tst_ListFormatting : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_document = std::make_unique<Document>();
        SubtitleController &controller = m_document->subtitleController();
        controller.setDelegate(m_document.get());
        controller.setUndoManager(&m_document->undoManager());
        controller.setSubtitles({std::make_shared<Subtitle>(QStringLiteral("one\ntwo"), 1, 2),
                                 std::make_shared<Subtitle>(QStringLiteral("helo"), 3, 4),
                                 std::make_shared<Subtitle>(QStringLiteral("<i>three</i>"), 5, 6)});
        m_list = std::make_unique<SubtitlesTableViewController>(m_document.get());
        m_list->resize(640, 400);
        m_list->show();
    }

    void cleanup()
    {
        m_list.reset();
        m_document.reset();
    }

    void italicOfRowsIsOneStep()
    {
        m_document->setSelectedSubtitleIndexes({0, 2});
        m_list->toggleItalic();
        QCOMPARE(text(0), QStringLiteral("<i>one\ntwo</i>"));
        QCOMPARE(text(2), QStringLiteral("three"));
        QTRY_COMPARE(m_document->undoManager().undoActionName(), QStringLiteral("Italic"));
        m_document->undoManager().undo();
        QCOMPARE(text(0), QStringLiteral("one\ntwo"));
        QCOMPARE(text(2), QStringLiteral("<i>three</i>"));
    }

    void italicWhileEditingWrapsTheSelectedWords()
    {
        m_list->beginEditingSubtitle(0);
        auto *editor = m_list->findChild<SubtitleTextEditor *>();
        QVERIFY(editor);
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(4);
        cursor.setPosition(7, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        m_list->toggleItalic();
        QCOMPARE(editor->toPlainText(), QStringLiteral("one\n<i>two</i>"));
        QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("<i>two</i>"));
        QCOMPARE(text(0), QStringLiteral("one\ntwo")); // committed only when the editing ends
    }

    void mergeNeedsNeighbours()
    {
        m_document->setSelectedSubtitleIndexes({0, 2});
        QVERIFY(!m_list->canMergeSubtitles());
        m_document->setSelectedSubtitleIndexes({0, 1});
        QVERIFY(m_list->canMergeSubtitles());
        m_list->mergeSubtitles();
        QCOMPARE(m_document->subtitleController().count(), 2);
        QCOMPARE(text(0), QStringLiteral("one\ntwo\nhelo"));
    }

    void misspeltTextsAreMarked()
    {
        qputenv("CUEWRIGHT_DICTIONARY_PATH", qgetenv("CUEWRIGHT_TEST_DATA") + "/spelling");
        QTemporaryDir dir;
        Spelling::setPersonalDictionaryPath(dir.filePath(QStringLiteral("words.txt")));
        Spelling spelling;
        m_list->setSpelling(&spelling);
        const auto mark = [this](int row) {
            return !m_list->model()->index(row, SubtitleTableModel::TextColumn).data(Qt::DecorationRole).isNull();
        };
        QVERIFY(!mark(1)); // no language, no marks
        spelling.setLanguage(QStringLiteral("xx_TEST"));
        QVERIFY(mark(1));
        spelling.addToDictionary(QStringLiteral("helo"));
        QVERIFY(!mark(1));
    }

private:
    QString text(int row) { return m_document->subtitleController().at(row)->text; }

    std::unique_ptr<Document> m_document;
    std::unique_ptr<SubtitlesTableViewController> m_list;
};

QTEST_MAIN(tst_ListFormatting)
#include "tst_listformatting.moc"
