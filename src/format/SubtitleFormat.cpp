#include "format/SubtitleFormat.h"

#include <QFileInfo>
#include <QRegularExpression>

QString SubtitleFormat::name(Id format)
{
    switch (format) {
    case Srt: return tr("SubRip (SRT)");
    case WebVtt: return tr("WebVTT");
    case Ass: return tr("Advanced SubStation Alpha (ASS)");
    case Ssa: return tr("SubStation Alpha (SSA)");
    case Ttml: return tr("Timed Text (TTML, IMSC)");
    case MicroDvd: return tr("MicroDVD");
    case SubViewer: return tr("SubViewer (SBV)");
    case Mpl2: return tr("MPL2");
    }
    return {};
}

QString SubtitleFormat::shortName(Id format)
{
    switch (format) {
    case Srt: return QStringLiteral("SRT");
    case WebVtt: return QStringLiteral("WebVTT");
    case Ass: return QStringLiteral("ASS");
    case Ssa: return QStringLiteral("SSA");
    case Ttml: return QStringLiteral("TTML");
    case MicroDvd: return QStringLiteral("MicroDVD");
    case SubViewer: return QStringLiteral("SubViewer");
    case Mpl2: return QStringLiteral("MPL2");
    }
    return {};
}

QStringList SubtitleFormat::extensions(Id format)
{
    switch (format) {
    case Srt: return {QStringLiteral("srt")};
    case WebVtt: return {QStringLiteral("vtt")};
    case Ass: return {QStringLiteral("ass")};
    case Ssa: return {QStringLiteral("ssa")};
    case Ttml: return {QStringLiteral("ttml"), QStringLiteral("xml"), QStringLiteral("dfxp")};
    case MicroDvd: return {QStringLiteral("sub")};
    case SubViewer: return {QStringLiteral("sbv"), QStringLiteral("sub")};
    case Mpl2: return {QStringLiteral("txt")};
    }
    return {};
}

bool SubtitleFormat::isWritable(Id format)
{
    return format == Srt || format == WebVtt || format == Ass || format == Ssa || format == Ttml;
}

bool SubtitleFormat::isUtf8Only(Id format)
{
    return format == WebVtt || format == Ttml;
}

std::optional<SubtitleFormat::Id> SubtitleFormat::fromFileName(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty())
        return std::nullopt;
    // MPL2's ".txt" says nothing: any text file has it.
    for (const Id format : all) {
        if (format != Mpl2 && extensions(format).contains(suffix))
            return format;
    }
    return std::nullopt;
}

QString SubtitleFormat::key(Id format)
{
    switch (format) {
    case Srt: return QStringLiteral("srt");
    case WebVtt: return QStringLiteral("vtt");
    case Ass: return QStringLiteral("ass");
    case Ssa: return QStringLiteral("ssa");
    case Ttml: return QStringLiteral("ttml");
    case MicroDvd: return QStringLiteral("microdvd");
    case SubViewer: return QStringLiteral("subviewer");
    case Mpl2: return QStringLiteral("mpl2");
    }
    return {};
}

std::optional<SubtitleFormat::Id> SubtitleFormat::fromKey(QStringView key)
{
    for (const Id format : all) {
        if (SubtitleFormat::key(format) == key)
            return format;
    }
    return std::nullopt;
}

SubtitleFormat::Id SubtitleFormat::detect(QStringView text)
{
    // Only the beginning is looked at: a huge SRT file is told at once.
    QStringView head = text.first(std::min<qsizetype>(text.size(), 64 * 1024));
    if (head.startsWith(QChar(0xFEFF)))
        head = head.sliced(1);
    const QStringView trimmed = head.trimmed();
    if (trimmed.startsWith(u"WEBVTT"))
        return WebVtt;
    if (trimmed.startsWith(u'<')) {
        if (head.contains(u"<tt", Qt::CaseInsensitive))
            return Ttml;
        return Srt;
    }
    // A script cut down to its events is still one.
    if (trimmed.startsWith(u"[Script Info]", Qt::CaseInsensitive) || trimmed.startsWith(u"[Events]", Qt::CaseInsensitive)
        || head.contains(u"\n[Events]", Qt::CaseInsensitive)) {
        static const QRegularExpression v4plus(QStringLiteral(R"(^\s*(ScriptType\s*:\s*v4\.00\+|\[V4\+ Styles\]))"),
                                               QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
        return v4plus.match(head).hasMatch() ? Ass : Ssa;
    }
    // The first line with anything on it tells the line-per-subtitle formats apart.
    qsizetype lineStart = 0;
    while (lineStart < trimmed.size()) {
        const qsizetype lineEnd = trimmed.indexOf(u'\n', lineStart);
        const QStringView line = trimmed.sliced(lineStart, (lineEnd < 0 ? trimmed.size() : lineEnd) - lineStart).trimmed();
        lineStart = lineEnd < 0 ? trimmed.size() : lineEnd + 1;
        if (line.isEmpty())
            continue;
        static const QRegularExpression microDvd(QStringLiteral(R"(^\{\d+\}\{\d*\})"));
        static const QRegularExpression mpl2(QStringLiteral(R"(^\[\d+\]\[\d*\])"));
        static const QRegularExpression subViewer(
            QStringLiteral(R"(^\d+:\d\d:\d\d[.,]\d+\s*,\s*\d+:\d\d:\d\d[.,]\d+\s*$|^\[INFORMATION\])"),
            QRegularExpression::CaseInsensitiveOption);
        if (microDvd.match(line).hasMatch())
            return MicroDvd;
        if (mpl2.match(line).hasMatch())
            return Mpl2;
        if (subViewer.match(line).hasMatch())
            return SubViewer;
        break;
    }
    return Srt;
}
