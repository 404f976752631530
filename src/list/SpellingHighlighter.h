#pragma once

#include <QPointer>
#include <QSyntaxHighlighter>

class Spelling;

// Underlines the misspelt words of a text being edited with the usual wavy red line.
class SpellingHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    SpellingHighlighter(Spelling *spelling, QTextDocument *document);

protected:
    void highlightBlock(const QString &text) override;

private:
    QPointer<Spelling> m_spelling;
};
