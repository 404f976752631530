#include "list/SpellingHighlighter.h"

#include "spelling/Spelling.h"
#include "style/ProblemColour.h"

SpellingHighlighter::SpellingHighlighter(Spelling *spelling, QTextDocument *document)
    : QSyntaxHighlighter(document)
    , m_spelling(spelling)
{
    connect(spelling, &Spelling::changed, this, &QSyntaxHighlighter::rehighlight);
}

void SpellingHighlighter::highlightBlock(const QString &text)
{
    if (!m_spelling)
        return;
    QTextCharFormat misspelt;
    misspelt.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    misspelt.setUnderlineColor(ProblemColour::solid());
    for (const Spelling::Range &range : m_spelling->misspelledWords(text))
        setFormat(range.start, range.length, misspelt);
}
