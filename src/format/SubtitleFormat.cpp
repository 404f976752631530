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
    case Scc: return tr("Scenarist Closed Captions (SCC)");
    case EbuStl: return tr("EBU subtitles (STL)");
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
    case Scc: return QStringLiteral("SCC");
    case EbuStl: return QStringLiteral("EBU-STL");
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
    case Scc: return {QStringLiteral("scc")};
    case EbuStl: return {QStringLiteral("stl")};
    }
    return {};
}

bool SubtitleFormat::isWritable(Id format)
{
    return format == Srt || format == WebVtt || format == Ass || format == Ssa || format == Ttml || format == Scc
           || format == EbuStl;
}

bool SubtitleFormat::isUtf8Only(Id format)
{
    return format == WebVtt || format == Ttml || format == Scc;
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
    case Scc: return QStringLiteral("scc");
    case EbuStl: return QStringLiteral("stl");
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

namespace {

// "WEBVTT" alone on its line or followed by a space or a tab, as the format's own rule has it.
bool isWebVttSignature(QStringView text)
{
    const QStringView word = u"WEBVTT";
    if (!text.startsWith(word))
        return false;
    return text.size() == word.size() || QStringView(u" \t\r\n").contains(text[word.size()]);
}

// Whether the first element of an XML text, past its declaration, comments and doctype, is
// a TTML document's <tt>. A prolog that runs past the text given (a long comment in the
// head of a file) is taken for TTML's: no other format begins with one.
bool isTtmlDocument(QStringView text)
{
    qsizetype at = 0;
    for (;;) {
        while (at < text.size() && text[at].isSpace())
            ++at;
        if (at == text.size())
            return false;
        const QStringView rest = text.sliced(at);
        const auto skipPast = [&](QStringView end) {
            const qsizetype found = rest.indexOf(end);
            at = found < 0 ? text.size() : at + found + end.size();
            return found >= 0;
        };
        if (rest.startsWith(u"<?")) {
            if (!skipPast(u"?>"))
                return true;
        } else if (rest.startsWith(u"<!--")) {
            if (!skipPast(u"-->"))
                return true;
        } else if (rest.startsWith(u"<!")) {
            if (!skipPast(u">"))
                return true;
        } else {
            // <tt …>, or with the namespace's prefix: <tt:tt …>
            static const QRegularExpression tt(QStringLiteral(R"(^<([\w.-]+:)?tt([\s>/]|$))"), QRegularExpression::CaseInsensitiveOption);
            return tt.match(rest).hasMatch();
        }
    }
}

// A line an SRT or WebVTT cue is timed by: it begins with a digit and holds the arrow.
bool isCueTiming(QStringView trimmedLine)
{
    return !trimmedLine.isEmpty() && trimmedLine.front().isDigit() && trimmedLine.contains(u"-->");
}

bool isScriptSection(QStringView trimmedLine)
{
    for (const QStringView name : {u"[Script Info]", u"[V4+ Styles]", u"[V4 Styles]", u"[V4 Styles+]", u"[Events]"}) {
        if (trimmedLine.startsWith(name, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// Whether the text is an ASS or SSA script: it begins with one of a script's sections (a
// script cut down to its events is still one), or has one after lines that are no
// subtitles' (comments), with a script's other marks beside it. An [Events] line in the
// text of a subtitle (which SRT and WebVTT files hold when a cue says so) is none: a
// timing line comes before it, and nothing else of a script is there.
bool isScript(QStringView head)
{
    bool first = true;
    bool sectionBeforeTiming = false;
    bool otherMark = false; // [Script Info], a styles section or a Format line
    qsizetype lineStart = 0;
    bool timed = false;
    while (lineStart < head.size()) {
        qsizetype lineEnd = head.indexOf(u'\n', lineStart);
        if (lineEnd < 0)
            lineEnd = head.size();
        const QStringView line = head.sliced(lineStart, lineEnd - lineStart).trimmed();
        lineStart = lineEnd + 1;
        if (line.isEmpty())
            continue;
        const bool section = isScriptSection(line);
        if (first && section)
            return true;
        first = false;
        timed = timed || isCueTiming(line);
        sectionBeforeTiming = sectionBeforeTiming || (section && !timed);
        otherMark = otherMark || (section && !line.startsWith(u"[Events]", Qt::CaseInsensitive))
            || line.startsWith(u"Format:", Qt::CaseInsensitive);
        if (timed && !sectionBeforeTiming)
            return false;
    }
    return sectionBeforeTiming && otherMark;
}

} // namespace

SubtitleFormat::Id SubtitleFormat::detect(QStringView text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text = text.sliced(1);
    qsizetype contentStart = 0;
    while (contentStart < text.size() && text[contentStart].isSpace())
        ++contentStart;
    const QStringView content = text.sliced(contentStart);
    if (isWebVttSignature(content))
        return WebVtt;
    if (content.startsWith(u"Scenarist_SCC"))
        return Scc;
    if (content.startsWith(u'<'))
        return isTtmlDocument(content) ? Ttml : Srt;
    // Only the beginning is looked at further: a huge SRT file is told at once.
    const QStringView head = content.first(std::min<qsizetype>(content.size(), 64 * 1024));
    if (isScript(head)) {
        static const QRegularExpression v4plus(QStringLiteral(R"(^\s*(ScriptType\s*:\s*v4\.00\+|\[V4\+ Styles\]))"),
                                               QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
        return v4plus.match(head).hasMatch() ? Ass : Ssa;
    }
    // The first line with anything on it tells the line-per-subtitle formats apart, unless
    // SRT's timing lines follow it.
    const qsizetype firstEnd = head.indexOf(u'\n');
    const QStringView line = head.first(firstEnd < 0 ? head.size() : firstEnd).trimmed();
    static const QRegularExpression microDvd(QStringLiteral(R"(^\{\d+\}\{\d*\})"));
    static const QRegularExpression mpl2(QStringLiteral(R"(^\[\d+\]\[\d*\])"));
    static const QRegularExpression subViewer(
        QStringLiteral(R"(^\d+:\d\d:\d\d[.,]\d+\s*,\s*\d+:\d\d:\d\d[.,]\d+\s*$|^\[INFORMATION\])"),
        QRegularExpression::CaseInsensitiveOption);
    const auto format = microDvd.match(line).hasMatch() ? std::optional(MicroDvd)
        : mpl2.match(line).hasMatch()                   ? std::optional(Mpl2)
        : subViewer.match(line).hasMatch()              ? std::optional(SubViewer)
                                                        : std::nullopt;
    if (!format)
        return Srt;
    static const QRegularExpression srtTiming(QStringLiteral(R"(^\s*\d[^\n]*-->)"), QRegularExpression::MultilineOption);
    return srtTiming.match(head).hasMatch() ? Srt : *format;
}
