#include "model/text/SubtitleMarkup.h"

#include "model/quality/QualityCheck.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'\'' || c == u'’' || c == u'-';
}

// The name of the HTML-like tag at `from` ("font" for <font color=…>, "i" for </i>) and
// whether it closes; empty for a {\an8} tag.
QStringView tagName(QStringView text, qsizetype from, bool &closes)
{
    closes = false;
    if (text[from] != u'<')
        return {};
    qsizetype k = from + 1;
    closes = text[k] == u'/';
    if (closes)
        ++k;
    qsizetype end = k;
    while (end < text.size() && text[end].isLetter())
        ++end;
    return text.sliced(k, end - k);
}

// Whether the other tags in text[from, to) close what they open, in order.
bool isBalanced(QStringView text, qsizetype from, qsizetype to)
{
    QList<QStringView> open;
    for (qsizetype k = from; k < to;) {
        const qsizetype end = QualityCheck::tagEnd(text, k);
        if (end < 0) {
            ++k;
            continue;
        }
        bool closes = false;
        const QStringView name = tagName(text, k, closes);
        if (!name.isEmpty()) {
            if (!closes)
                open.append(name);
            else if (open.isEmpty() || open.takeLast().compare(name, Qt::CaseInsensitive) != 0)
                return false;
        }
        k = end;
    }
    return open.isEmpty();
}

} // namespace

QString SubtitleMarkup::toggledItalic(const QString &text)
{
    int start = 0;
    int end = int(text.size());
    return toggledItalic(text, start, end);
}

QString SubtitleMarkup::toggledItalic(const QString &text, int &start, int &end)
{
    return toggledTag(text, u'i', start, end);
}

QString SubtitleMarkup::toggledTag(const QString &text, QChar tag, int &start, int &end)
{
    const QString open = QStringLiteral("<%1>").arg(tag);
    const QString close = QStringLiteral("</%1>").arg(tag);
    const int selectionStart = std::clamp(start, 0, int(text.size()));
    const int selectionEnd = std::clamp(end, selectionStart, int(text.size()));

    // The text without this tag's pairs, and for each of its characters whether it had the
    // formatting; the part in the same terms.
    QString plain;
    std::vector<char> formatted;
    qsizetype from = -1;
    qsizetype to = -1;
    int depth = 0;
    for (qsizetype k = 0;;) {
        if (from < 0 && k >= selectionStart)
            from = plain.size();
        if (to < 0 && k >= selectionEnd)
            to = plain.size();
        if (k >= text.size())
            break;
        const QStringView rest = QStringView(text).sliced(k);
        if (rest.startsWith(open, Qt::CaseInsensitive)) {
            ++depth;
            k += open.size();
        } else if (rest.startsWith(close, Qt::CaseInsensitive)) {
            depth = std::max(0, depth - 1);
            k += close.size();
        } else {
            plain.append(text[k++]);
            formatted.push_back(depth > 0);
        }
    }

    // Only what the viewer sees decides: not spaces, line breaks or the other tags.
    std::vector<char> visible(size_t(plain.size()), 1);
    for (qsizetype k = 0; k < plain.size();) {
        const qsizetype tagEnd = QualityCheck::tagEnd(plain, k);
        if (tagEnd < 0) {
            visible[size_t(k)] = !plain[k].isSpace();
            ++k;
        } else {
            std::fill(visible.begin() + k, visible.begin() + tagEnd, 0);
            k = tagEnd;
        }
    }

    qsizetype first = from;
    qsizetype last = to;
    if (from == to) {
        while (first > 0 && visible[size_t(first - 1)] && isWordCharacter(plain[first - 1]))
            --first;
        while (last < plain.size() && visible[size_t(last)] && isWordCharacter(plain[last]))
            ++last;
    }
    bool anyVisible = false;
    bool allFormatted = true;
    for (qsizetype k = first; k < last; ++k) {
        if (visible[size_t(k)]) {
            anyVisible = true;
            allFormatted = allFormatted && formatted[size_t(k)];
        }
    }
    if (!anyVisible)
        return text;
    for (qsizetype k = first; k < last; ++k)
        formatted[size_t(k)] = !allFormatted;

    // One pair around each run of formatted visible characters. A run takes in other tags
    // that open right before it and close right after it when that keeps the nesting
    // ("<i><b>word</b></i>", not "<b><i>word</b></i>").
    struct Insertion
    {
        qsizetype at;
        bool closes;
    };
    QList<Insertion> insertions;
    qsizetype k = 0;
    while (k < plain.size()) {
        if (!visible[size_t(k)] || !formatted[size_t(k)]) {
            ++k;
            continue;
        }
        const qsizetype runFirst = k;
        qsizetype runEnd = k + 1;
        for (; k < plain.size(); ++k) {
            if (!visible[size_t(k)])
                continue;
            if (!formatted[size_t(k)])
                break;
            runEnd = k + 1;
        }
        qsizetype openAt = runFirst;
        for (qsizetype p = openAt - 1; p >= 0 && plain[openAt - 1] == u'>'; p = openAt - 1) {
            p = plain.lastIndexOf(u'<', p);
            bool closes = false;
            if (p < 0 || QualityCheck::tagEnd(plain, p) != openAt || tagName(plain, p, closes).isEmpty() || closes)
                break;
            openAt = p;
        }
        qsizetype closeAt = runEnd;
        while (closeAt + 1 < plain.size() && plain[closeAt] == u'<' && plain[closeAt + 1] == u'/') {
            const qsizetype tagEnd = QualityCheck::tagEnd(plain, closeAt);
            if (tagEnd < 0)
                break;
            closeAt = tagEnd;
        }
        if (!isBalanced(plain, openAt, closeAt)) {
            openAt = runFirst;
            closeAt = runEnd;
        }
        insertions.append({openAt, false});
        insertions.append({closeAt, true});
        k = std::max(k, closeAt);
    }

    // The part keeps its characters: a pair opening where it starts falls inside it, one
    // closing there outside it; likewise at its end. A caret goes inside both, so that
    // typing there carries on in the formatting it meets.
    const bool caret = from == to;
    const auto moved = [&insertions, &open, &close, caret](qsizetype position) {
        qsizetype shift = 0;
        for (const Insertion &insertion : std::as_const(insertions)) {
            const bool passed = insertion.at < position
                || (insertion.at == position && insertion.closes != caret);
            if (passed)
                shift += insertion.closes ? close.size() : open.size();
        }
        return int(position + shift);
    };
    start = moved(from);
    end = moved(to);

    QString result;
    result.reserve(plain.size() + insertions.size() * close.size());
    qsizetype copied = 0;
    for (const Insertion &insertion : std::as_const(insertions)) {
        result.append(QStringView(plain).sliced(copied, insertion.at - copied));
        result.append(insertion.closes ? close : open);
        copied = insertion.at;
    }
    result.append(QStringView(plain).sliced(copied));
    return result;
}

SubtitleMarkup::Rendered SubtitleMarkup::render(const QString &text)
{
    // Tags that become formatting; anything else is text.
    static const QRegularExpression tag(
        QStringLiteral(R"(<(/?)([ibu])>|<font\s+color\s*=\s*["']?(#?[0-9A-Za-z]+)["']?\s*>|</font>|\{\\an([1-9])\})"),
        QRegularExpression::CaseInsensitiveOption);

    Rendered rendered;
    QString &html = rendered.html;
    qsizetype copied = 0;
    auto appendText = [&html](QStringView plain) {
        for (const QChar c : plain) {
            if (c == u'\n')
                html += QStringLiteral("<br>");
            else if (c == u'\r')
                continue;
            else if (c == u'<')
                html += QStringLiteral("&lt;");
            else if (c == u'>')
                html += QStringLiteral("&gt;");
            else if (c == u'&')
                html += QStringLiteral("&amp;");
            else
                html += c;
        }
    };
    auto it = tag.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        appendText(QStringView(text).sliced(copied, m.capturedStart() - copied));
        copied = m.capturedEnd();
        if (m.capturedLength(2) > 0) {
            html += u'<' + m.captured(1) + m.captured(2).toLower() + u'>';
        } else if (m.capturedLength(3) > 0) {
            html += QStringLiteral("<font color=\"%1\">").arg(m.captured(3));
        } else if (m.capturedLength(4) > 0) {
            const int position = m.captured(4).toInt();
            rendered.top = position >= 7;
            const int column = (position - 1) % 3;
            rendered.horizontal = column == 0 ? Qt::AlignLeft : column == 2 ? Qt::AlignRight : Qt::AlignHCenter;
        } else {
            html += QStringLiteral("</font>");
        }
    }
    appendText(QStringView(text).sliced(copied));
    return rendered;
}

QString SubtitleMarkup::spoken(QStringView text)
{
    return QualityCheck::withoutTags(text).replace(u'\n', u' ').simplified();
}
