#include "model/SubtitleMarkup.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QString italicOpen = QStringLiteral("<i>");
const QString italicClose = QStringLiteral("</i>");

bool isWrappedInItalic(QStringView text)
{
    return text.size() >= italicOpen.size() + italicClose.size()
        && text.startsWith(italicOpen, Qt::CaseInsensitive) && text.endsWith(italicClose, Qt::CaseInsensitive);
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
    start = std::clamp(start, 0, int(text.size()));
    end = std::clamp(end, start, int(text.size()));
    const QStringView part = QStringView(text).sliced(start, end - start);
    QString result = text;
    if (isWrappedInItalic(part)) {
        result.remove(end - int(italicClose.size()), int(italicClose.size()));
        result.remove(start, int(italicOpen.size()));
        end -= int(italicOpen.size() + italicClose.size());
    } else if (start >= italicOpen.size() && QStringView(text).sliced(start - italicOpen.size()).startsWith(italicOpen, Qt::CaseInsensitive)
               && QStringView(text).sliced(end).startsWith(italicClose, Qt::CaseInsensitive)) {
        result.remove(end, int(italicClose.size()));
        result.remove(start - int(italicOpen.size()), int(italicOpen.size()));
        start -= int(italicOpen.size());
        end -= int(italicOpen.size());
    } else {
        result.insert(end, italicClose);
        result.insert(start, italicOpen);
        end += int(italicOpen.size() + italicClose.size());
    }
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
