#include "format/MicroDvdReader.h"

#include "format/BracketTimedLines.h"
#include "format/FormatRepairs.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

// The tags that control codes stand for, outermost first.
struct Tags
{
    QString color;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    QString wrap(const QString &text) const
    {
        QString open;
        QString close;
        if (!color.isEmpty()) {
            open += QStringLiteral("<font color=\"%1\">").arg(color);
            close.prepend(QStringLiteral("</font>"));
        }
        const auto add = [&](bool on, QLatin1StringView tag) {
            if (on) {
                open += u'<' + tag + u'>';
                close.prepend(QStringLiteral("</") + tag + u'>');
            }
        };
        add(bold, QLatin1StringView("b"));
        add(italic, QLatin1StringView("i"));
        add(underline, QLatin1StringView("u"));
        return open + text + close;
    }
};

// "$BBGGRR" as "#rrggbb".
QString colorOf(QStringView value)
{
    value = value.trimmed();
    if (value.startsWith(u'$'))
        value = value.sliced(1);
    if (value.size() != 6)
        return {};
    for (QChar c : value) {
        if (!isxdigit(c.unicode()) || c.unicode() > 127)
            return {};
    }
    return QStringLiteral("#%1%2%3").arg(value.sliced(4, 2), value.sliced(2, 2), value.sliced(0, 2)).toLower();
}

QString converted(QStringView text)
{
    static const QRegularExpression code(QStringLiteral(R"(\{([A-Za-z]):([^{}]*)\})"));
    Tags whole;
    QStringList lines;
    QList<Tags> lineTags;
    for (QStringView line : text.split(u'|')) {
        Tags own;
        QString plain;
        qsizetype from = 0;
        for (auto it = code.globalMatch(line); it.hasNext();) {
            const auto match = it.next();
            plain += line.sliced(from, match.capturedStart() - from);
            from = match.capturedEnd();
            const QChar kind = match.capturedView(1).at(0);
            Tags &tags = kind.isUpper() ? whole : own;
            const QStringView value = match.capturedView(2);
            switch (kind.toLower().unicode()) {
            case u'y':
                tags.italic = tags.italic || value.contains(u'i', Qt::CaseInsensitive);
                tags.bold = tags.bold || value.contains(u'b', Qt::CaseInsensitive);
                tags.underline = tags.underline || value.contains(u'u', Qt::CaseInsensitive);
                break;
            case u'c':
                tags.color = colorOf(value);
                break;
            default: // fonts, sizes, positions: nothing the other formats share
                break;
            }
        }
        plain += line.sliced(from);
        lines.append(plain.trimmed());
        lineTags.append(own);
    }
    for (qsizetype i = 0; i < lines.size(); ++i)
        lines[i] = lineTags[i].wrap(lines[i]);
    return whole.wrap(lines.join(u'\n'));
}

} // namespace

Expected<FormatReading, QString> MicroDvdReader::read(QStringView text, const FormatReadOptions &options)
{
    FormatRepairs repairs;
    auto lines = BracketTimedLines::read(text, u'{', u'}', QStringLiteral("MicroDVD"), options.repairing, repairs);
    if (!lines)
        return lines.error();
    QList<BracketTimedLines::Line> cues = std::move(lines).value();
    double frameRate = 0;
    // Players take a first line {1}{1} whose whole text is a number for the frame rate;
    // one no film has (0, -25, nan) is a broken rate line, never a subtitle.
    if (!cues.isEmpty() && cues.first().start <= 1 && cues.first().end.value_or(2) <= 1) {
        const BracketTimedLines::Line &first = cues.first();
        bool isNumber = false;
        const double given = first.text.trimmed().toDouble(&isNumber);
        if (isNumber && given > 1 && given < 1000) {
            frameRate = given;
            cues.removeFirst();
        } else if (isNumber) {
            if (!options.repairing)
                return FormatRepairs::fault(first.number, first.whole,
                                            tr("Line %1 gives the frame rate “%2”, which no film has.").arg(first.number).arg(first.text.trimmed()));
            repairs.note(first.number, first.whole, tr("Left out a frame rate no film has: read at %1 frames a second.")
                                                        .arg(QLocale().toString(options.frameRate > 0 ? options.frameRate : defaultFrameRate)));
            cues.removeFirst();
        }
    }
    if (frameRate == 0)
        frameRate = options.frameRate > 0 ? options.frameRate : defaultFrameRate;
    return BracketTimedLines::subtitles(cues, 1 / frameRate, converted, options.repairing, repairs);
}
