#pragma once

#include "model/text/SubtitleSearch.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <optional>

class Document;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Edit ▸ Find (Ctrl+F) and Replace (Ctrl+H): searches the texts of the subtitles and
// selects the subtitle of each match in every pane. Stays open beside the window.
// A search goes through the list in slices between which the window stays responsive
// and Stop ends it; Replace All changes the document only once it has been everywhere.
class FindReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    // The window's one dialog, made on first use, with the cursor in the Find field.
    static FindReplaceDialog *open(Document *document, QWidget *window);

    FindReplaceDialog(Document *document, QWidget *parent = nullptr);

    QLineEdit *findField() const { return m_find; }
    QLineEdit *replaceField() const { return m_replace; }
    QCheckBox *caseSensitive() const { return m_caseSensitive; }
    QCheckBox *wholeWords() const { return m_wholeWords; }
    QCheckBox *regularExpression() const { return m_regularExpression; }
    QPushButton *stopButton() const { return m_stop; }
    QLabel *statusLabel() const { return m_status; }
    bool isSearching() const { return m_run.has_value(); }

public slots:
    void findNext();
    void findPrevious();
    // Replaces the match found last, if it is still there, and finds the next one.
    void replace();
    // Every match in every text, as one undo step.
    void replaceAll();
    // Ends the search under way without changing anything.
    void stop();

signals:
    // A slice of a long search is done; `step` of `steps` subtitles are searched.
    void searchProgressed(int step, int steps);
    // The search is over: found, not found, refused, replaced or stopped.
    void searchFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct Run
    {
        SubtitleSearch search;
        SubtitleSearch::Progress progress;
        bool replaceAll = false;
        bool backwards = false;
        int subtitle = 0;
        qsizetype offset = 0;
        QString replacementText;
        SubtitleSearch::Replacement replacement;
    };

    std::optional<SubtitleSearch> search();
    void find(bool backwards);
    void start(Run run);
    void runSlice();
    void finishFind(const std::optional<SubtitleSearch::Match> &match);
    void finishReplaceAll(const SubtitleSearch::Replacement &replacement);
    // The run is over (already cleared): buttons back, the outcome shown, listeners told.
    void endRun(const QString &status, bool problem);
    void setStatus(const QString &text, bool problem = false);
    void undoOrRedo(bool redo);

    QPointer<Document> m_document;
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QCheckBox *m_caseSensitive;
    QCheckBox *m_wholeWords;
    QCheckBox *m_regularExpression;
    QList<QPushButton *> m_searchButtons;
    QPushButton *m_stop;
    QLabel *m_status;
    QTimer m_sliceTimer;
    std::optional<Run> m_run;
    std::optional<SubtitleSearch::Match> m_match; // the match found last
};
