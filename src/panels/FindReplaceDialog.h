#pragma once

#include "model/SubtitleSearch.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class Document;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Edit ▸ Find (Ctrl+F) and Replace (Ctrl+H): searches the texts of the subtitles and
// selects the subtitle of each match in every pane. Stays open beside the window.
class FindReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    // The window's one dialog, made on first use; Replace shows the replace field first.
    static FindReplaceDialog *open(Document *document, QWidget *window, bool replace);

    FindReplaceDialog(Document *document, QWidget *parent = nullptr);

    QLineEdit *findField() const { return m_find; }
    QLineEdit *replaceField() const { return m_replace; }
    QCheckBox *caseSensitive() const { return m_caseSensitive; }
    QCheckBox *wholeWords() const { return m_wholeWords; }
    QCheckBox *regularExpression() const { return m_regularExpression; }
    QLabel *statusLabel() const { return m_status; }

public slots:
    bool findNext();
    bool findPrevious();
    // Replaces the match found last, if it is still there, and finds the next one.
    void replace();
    // Every match in every text, as one undo step; returns how many were replaced.
    int replaceAll();

private:
    std::optional<SubtitleSearch> search();
    bool find(bool backwards);
    void setStatus(const QString &text, bool problem = false);

    QPointer<Document> m_document;
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QCheckBox *m_caseSensitive;
    QCheckBox *m_wholeWords;
    QCheckBox *m_regularExpression;
    QLabel *m_status;
    std::optional<SubtitleSearch::Match> m_match; // the match found last
};
