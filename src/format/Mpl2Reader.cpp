#include "format/Mpl2Reader.h"

#include "format/BracketTimedLines.h"
#include "format/FormatRepairs.h"

namespace {

QString converted(QStringView text)
{
    QStringList lines;
    for (QStringView line : text.split(u'|')) {
        line = line.trimmed();
        if (line.startsWith(u'/'))
            lines.append(QStringLiteral("<i>%1</i>").arg(line.sliced(1).trimmed()));
        else
            lines.append(line.toString());
    }
    return lines.join(u'\n');
}

} // namespace

Expected<FormatReading, QString> Mpl2Reader::read(QStringView text, const FormatReadOptions &options)
{
    FormatRepairs repairs;
    auto lines = BracketTimedLines::read(text, u'[', u']', QStringLiteral("MPL2"), options.repairing, repairs);
    if (!lines)
        return lines.error();
    return BracketTimedLines::subtitles(lines.value(), 0.1, converted, options.repairing, repairs);
}
