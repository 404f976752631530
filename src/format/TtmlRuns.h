#pragma once

#include "format/TtmlStyle.h"

#include <QList>
#include <QString>

// A paragraph's text as TTML shows it, gathered piece by piece: runs of text, each in one
// look, with line breaks between them, written out as the program's tags. White space
// collapses as TTML's default says, except in text kept as written.
class TtmlRuns
{
public:
    // Text whose runs of white space show as one space, and none at a line's ends.
    void appendText(const QString &text, const TtmlStyle &style);
    // Text kept as written (xml:space="preserve"): its line breaks are lines.
    void appendPreserved(const QString &text, const TtmlStyle &style);
    void appendLineBreak();
    // The tags that say what the runs say, the white space collapsed.
    QString markup();

private:
    struct Run
    {
        QString text;
        TtmlStyle style;
        bool lineBreak = false;
    };
    void collapseSpaces();

    QList<Run> m_runs;
    qsizetype m_collapsedUpTo = 0; // runs before this are kept as written or collapsed already
};
