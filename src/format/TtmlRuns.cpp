#include "format/TtmlRuns.h"

void TtmlRuns::appendText(const QString &text, const TtmlStyle &style)
{
    m_runs.append({text, style});
}

void TtmlRuns::appendPreserved(const QString &text, const TtmlStyle &style)
{
    collapseSpaces();
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            appendLineBreak();
        m_runs.append({lines[i], style});
    }
    m_collapsedUpTo = m_runs.size();
}

void TtmlRuns::appendLineBreak()
{
    m_runs.append({{}, {}, true});
}

// The nesting of tags that says what the runs say. A tag stays open across a line break
// when the text after it still wants it.
QString TtmlRuns::markup()
{
    enum Tag { Color, Italic, Bold, Underline };
    static const QString opening[] = {QString(), QStringLiteral("<i>"), QStringLiteral("<b>"), QStringLiteral("<u>")};
    static const QString closing[] = {QStringLiteral("</font>"), QStringLiteral("</i>"), QStringLiteral("</b>"), QStringLiteral("</u>")};
    collapseSpaces();
    QList<Tag> open;
    QString openColor;
    QString text;
    qsizetype pendingBreaks = 0;
    const auto wants = [](const TtmlStyle &style, Tag tag) {
        switch (tag) {
        case Color: return !style.color.isEmpty();
        case Italic: return style.italic;
        case Bold: return style.bold;
        case Underline: return style.underline;
        }
        return false;
    };
    // Line breaks before the first text or after the last show nothing: they are left out.
    const auto close = [&](qsizetype from, bool atEnd = false) {
        while (open.size() > from)
            text += closing[open.takeLast()];
        if (!text.isEmpty() && !atEnd)
            text += QString(pendingBreaks, u'\n');
        pendingBreaks = 0;
    };
    for (const Run &run : std::as_const(m_runs)) {
        if (run.lineBreak)
            ++pendingBreaks;
        if (run.text.isEmpty())
            continue;
        qsizetype keep = 0;
        while (keep < open.size() && wants(run.style, open[keep]) && (open[keep] != Color || openColor == run.style.color))
            ++keep;
        close(keep);
        for (const Tag tag : {Color, Italic, Bold, Underline}) {
            if (!wants(run.style, tag) || open.contains(tag))
                continue;
            text += tag == Color ? QStringLiteral("<font color=\"%1\">").arg(run.style.color) : opening[tag];
            if (tag == Color)
                openColor = run.style.color;
            open.append(tag);
        }
        text += run.text;
    }
    close(0, true);
    return text;
}

// Collapses white space as TTML shows it by default: runs of it are one space, and
// none is left at the start or end of a line.
void TtmlRuns::collapseSpaces()
{
    bool atLineStart = true;
    bool afterSpace = false;
    Run *lastText = nullptr;
    const auto trimLast = [&] {
        if (lastText && lastText->text.endsWith(u' '))
            lastText->text.chop(1);
    };
    for (qsizetype i = m_collapsedUpTo; i < m_runs.size(); ++i) {
        Run &run = m_runs[i];
        if (run.lineBreak) {
            trimLast();
            lastText = nullptr;
            atLineStart = true;
            afterSpace = false;
            continue;
        }
        QString collapsed;
        collapsed.reserve(run.text.size());
        for (QChar c : std::as_const(run.text)) {
            if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
                if (!atLineStart && !afterSpace)
                    collapsed += u' ';
                afterSpace = true;
            } else {
                collapsed += c;
                atLineStart = false;
                afterSpace = false;
            }
        }
        run.text = collapsed;
        if (!run.text.isEmpty())
            lastText = &run;
    }
    trimLast();
    m_collapsedUpTo = m_runs.size();
}
