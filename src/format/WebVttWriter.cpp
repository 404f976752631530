#include "format/WebVttWriter.h"

#include "format/MarkupTokenizer.h"

#include <QList>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace {

using Kind = MarkupTokenizer::Kind;

struct Rgb
{
    int red, green, blue;
};

// The colour a <font color> gives, as "#rrggbb", "#rgb" or a common name.
std::optional<Rgb> rgbOf(QStringView value)
{
    static const struct
    {
        const char16_t *name;
        Rgb rgb;
    } named[] = {{u"white", {255, 255, 255}}, {u"black", {0, 0, 0}},       {u"red", {255, 0, 0}},
                 {u"lime", {0, 255, 0}},      {u"green", {0, 128, 0}},     {u"blue", {0, 0, 255}},
                 {u"yellow", {255, 255, 0}},  {u"cyan", {0, 255, 255}},    {u"aqua", {0, 255, 255}},
                 {u"magenta", {255, 0, 255}}, {u"fuchsia", {255, 0, 255}}, {u"orange", {255, 165, 0}},
                 {u"gray", {128, 128, 128}},  {u"grey", {128, 128, 128}},  {u"silver", {192, 192, 192}}};
    for (const auto &colour : named) {
        if (value.compare(QStringView(colour.name), Qt::CaseInsensitive) == 0)
            return colour.rgb;
    }
    if (!value.startsWith(u'#'))
        return std::nullopt;
    bool ok = false;
    const uint hex = value.sliced(1).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    if (value.size() == 7)
        return Rgb{int(hex >> 16), int(hex >> 8 & 0xFF), int(hex & 0xFF)};
    if (value.size() == 4)
        return Rgb{int(hex >> 8) * 17, int(hex >> 4 & 0xF) * 17, int(hex & 0xF) * 17};
    return std::nullopt;
}

// The nearest of the colour classes every WebVTT player knows.
WebVttWriter::ColourClass nearestClass(Rgb rgb)
{
    static const struct
    {
        const char16_t *name;
        Rgb rgb;
    } classes[] = {{u"white", {255, 255, 255}}, {u"lime", {0, 255, 0}},     {u"cyan", {0, 255, 255}},
                   {u"red", {255, 0, 0}},       {u"yellow", {255, 255, 0}}, {u"magenta", {255, 0, 255}},
                   {u"blue", {0, 0, 255}},      {u"black", {0, 0, 0}}};
    const auto distance = [&](const Rgb &other) {
        return (rgb.red - other.red) * (rgb.red - other.red) + (rgb.green - other.green) * (rgb.green - other.green)
            + (rgb.blue - other.blue) * (rgb.blue - other.blue);
    };
    const auto *nearest = &classes[0];
    for (const auto &candidate : classes) {
        if (distance(candidate.rgb) < distance(nearest->rgb))
            nearest = &candidate;
    }
    return {QString::fromUtf16(nearest->name), distance(nearest->rgb) == 0};
}

// The {\anN} a text begins with, or 2 (WebVTT's default place) when none.
int placementOf(QStringView text)
{
    const QList<MarkupTokenizer::Token> tokens = MarkupTokenizer::tokenize(text.first(std::min<qsizetype>(text.size(), 8)));
    return !tokens.isEmpty() && tokens.first().kind == Kind::Position ? tokens.first().value.toInt() : 2;
}

bool endsWithBlankLine(QStringView text)
{
    const auto chopTerminator = [](QStringView &view) {
        if (view.endsWith(u"\r\n"))
            view.chop(2);
        else if (view.endsWith(u'\n') || view.endsWith(u'\r'))
            view.chop(1);
        else
            return false;
        return true;
    };
    return chopTerminator(text) && (text.isEmpty() || chopTerminator(text));
}

// Ends `out` with a blank line, so that a block may follow.
void separate(QString &out)
{
    if (out.isEmpty() || endsWithBlankLine(out))
        return;
    out += out.endsWith(u'\n') || out.endsWith(u'\r') ? QStringLiteral("\n") : QStringLiteral("\n\n");
}

QStringView withoutLeadingLineBreaks(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u'\n' || text[i] == u'\r'))
        ++i;
    return text.sliced(i);
}

bool hasHours(QStringView timingLine)
{
    const qsizetype dot = timingLine.indexOf(u'.');
    return timingLine.first(dot < 0 ? 0 : dot).count(u':') >= 2;
}

// The line at `from` in a kept cue's source, and where the next one begins.
QStringView lineAt(QStringView source, qsizetype from, qsizetype &next)
{
    qsizetype end = from;
    while (end < source.size() && source[end] != u'\n' && source[end] != u'\r')
        ++end;
    next = end + (source.sliced(end).startsWith(u"\r\n") ? 2 : end < source.size() ? 1 : 0);
    return source.sliced(from, end - from);
}

// A cue's settings with those that place it (line, align, position) given by {\anN}.
QString withPlacement(const QString &settings, int an)
{
    QStringList kept;
    for (const QString &setting : settings.split(QRegularExpression(QStringLiteral("[ \t\f]+")), Qt::SkipEmptyParts)) {
        if (!setting.startsWith(u"line:") && !setting.startsWith(u"align:") && !setting.startsWith(u"position:"))
            kept.append(setting);
    }
    if (const QString placement = WebVttWriter::placementSettings(an); !placement.isEmpty())
        kept.append(placement);
    return kept.isEmpty() ? QString() : u' ' + kept.join(u' ');
}

// The cue's lines without the line feed that ends them. A kept cue's fields are its
// identifier and its settings as written; its timing and text lines are in its source.
QString cueLines(const Subtitle &subtitle, const FormatKeep::Cue *kept)
{
    if (kept && kept->isUnchanged(subtitle))
        return kept->source;
    const QString text = subtitle.text();
    QString settings = kept ? kept->fields.value(1) : QString();
    const bool ownSettings = !settings.trimmed().isEmpty();
    // A placement edited in the text replaces the one the cue's settings gave.
    const bool placementEdited = ownSettings && placementOf(text) != placementOf(kept->text);
    if (placementEdited)
        settings = withPlacement(settings, placementOf(text));
    QString lines;
    QStringView timingLine;
    QStringView rawText;
    if (kept) {
        qsizetype next = 0;
        if (!kept->fields.value(0).isEmpty()) {
            lines = kept->fields.value(0) + u'\n';
            lineAt(kept->source, 0, next);
        }
        timingLine = lineAt(kept->source, next, next);
        rawText = QStringView(kept->source).sliced(next);
    }
    if (kept && kept->timesUnchanged(subtitle)) {
        lines += placementEdited ? timingLine.chopped(kept->fields.value(1).size()).toString() + settings : timingLine.toString();
    } else {
        const bool withHours = !kept || hasHours(timingLine);
        lines += WebVttWriter::timestamp(subtitle.start, withHours) + QStringLiteral(" --> ")
            + WebVttWriter::timestamp(subtitle.end, withHours) + settings;
    }
    if (!ownSettings) {
        if (const QString settings = WebVttWriter::placementSettings(placementOf(text)); !settings.isEmpty())
            lines += u' ' + settings;
    }
    const QString cueText = kept && kept->textUnchanged(subtitle) ? rawText.toString() : WebVttWriter::cueText(text);
    if (!cueText.isEmpty())
        lines += u'\n' + cueText;
    return lines;
}

} // namespace

QString WebVttWriter::timestamp(double seconds, bool withHours)
{
    const qint64 total = std::isfinite(seconds) && seconds > 0 ? qRound64(seconds * 1000) : 0;
    const qint64 hours = total / 3'600'000;
    QString minutesOn = QStringLiteral("%1:%2.%3")
                            .arg(total / 60'000 % 60, 2, 10, QChar(u'0'))
                            .arg(total / 1000 % 60, 2, 10, QChar(u'0'))
                            .arg(total % 1000, 3, 10, QChar(u'0'));
    if (!withHours && hours == 0)
        return minutesOn;
    return QStringLiteral("%1:").arg(hours, 2, 10, QChar(u'0')) + minutesOn;
}

std::optional<WebVttWriter::ColourClass> WebVttWriter::colourClass(QStringView colour)
{
    const std::optional<Rgb> rgb = rgbOf(colour);
    return rgb ? std::optional(nearestClass(*rgb)) : std::nullopt;
}

QString WebVttWriter::placementSettings(int an)
{
    if (an < 1 || an > 9)
        return {};
    const int row = (an - 1) / 3; // 0 bottom, 1 middle, 2 top
    const int column = (an - 1) % 3; // 0 left, 1 centre, 2 right
    QStringList settings;
    if (row == 2)
        settings.append(QStringLiteral("line:0"));
    else if (row == 1)
        settings.append(QStringLiteral("line:50%"));
    if (column != 1)
        settings.append(column == 0 ? QStringLiteral("align:left") : QStringLiteral("align:right"));
    return settings.join(u' ');
}

QString WebVttWriter::cueText(QStringView text)
{
    QString out;
    out.reserve(text.size() + 16);
    // The tags left open, innermost last. Every one is closed where the text closes it, or
    // at the end: WebVTT's readers want each end tag. A colour that names no class opens
    // nothing, but its end still belongs to it.
    struct Open
    {
        Kind kind;
        QString start;
        QString end;
    };
    QList<Open> open;
    const auto close = [&](Kind kind) {
        qsizetype at = open.size() - 1;
        while (at >= 0 && open[at].kind != kind)
            --at;
        if (at < 0)
            return; // an end tag with nothing to end
        for (qsizetype i = open.size() - 1; i >= at; --i)
            out += open[i].end;
        // What was opened inside it, and is still open in the text, goes on after it.
        open.removeAt(at);
        for (qsizetype i = at; i < open.size(); ++i)
            out += open[i].start;
    };
    for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(text)) {
        switch (token.kind) {
        case Kind::Text:
            for (const QChar c : token.raw) {
                if (c == u'&')
                    out += QStringLiteral("&amp;");
                else if (c == u'<')
                    out += QStringLiteral("&lt;");
                else if (c == u'>')
                    out += QStringLiteral("&gt;");
                else if (c != u'\r')
                    out += c;
            }
            break;
        case Kind::LineBreak:
            out += u'\n';
            break;
        case Kind::Italic:
        case Kind::Bold:
        case Kind::Underline: {
            const char16_t letter = token.kind == Kind::Italic ? u'i' : token.kind == Kind::Bold ? u'b' : u'u';
            if (token.closing) {
                close(token.kind);
            } else {
                open.append({token.kind, QStringLiteral("<%1>").arg(QChar(letter)), QStringLiteral("</%1>").arg(QChar(letter))});
                out += open.last().start;
            }
            break;
        }
        case Kind::Color:
            if (token.closing) {
                close(Kind::Color);
            } else {
                const std::optional<ColourClass> colour = colourClass(token.value);
                open.append(colour ? Open{Kind::Color, QStringLiteral("<c.") + colour->name + u'>', QStringLiteral("</c>")} : Open{Kind::Color, {}, {}});
                out += open.last().start;
            }
            break;
        case Kind::WebVttTag:
            out += token.raw;
            break;
        case Kind::Position:
        case Kind::AssOverride:
            break;
        }
    }
    for (qsizetype i = open.size() - 1; i >= 0; --i)
        out += open[i].end;
    // A blank line would end the cue.
    QStringList lines = out.split(u'\n');
    lines.removeIf([](const QString &line) { return line.trimmed().isEmpty(); });
    return lines.join(u'\n');
}

QString WebVttWriter::write(const SubtitleList &subtitles, const FormatKeep *keep)
{
    QString out;
    if (!keep) {
        out = QStringLiteral("WEBVTT\n");
        for (const SubtitlePtr &subtitle : subtitles)
            out += u'\n' + cueLines(*subtitle, nullptr) + u'\n';
        return out;
    }
    out = keep->header;
    // A cue that follows its neighbour in the file gets what came between them, exactly;
    // any other one a blank line and the notes that came before it.
    qsizetype previousOrder = -1;
    for (const SubtitlePtr &subtitle : keep->inWritingOrder(subtitles)) {
        const FormatKeep::Cue *kept = keep->cue(*subtitle);
        if (kept && kept->order == previousOrder + 1) {
            out += kept->before;
        } else {
            separate(out);
            if (kept)
                out += withoutLeadingLineBreaks(kept->before);
        }
        out += cueLines(*subtitle, kept);
        previousOrder = kept ? kept->order : -2;
    }
    if (previousOrder == keep->cueCount() - 1) {
        out += keep->trailer;
    } else if (const QStringView rest = withoutLeadingLineBreaks(keep->trailer); !rest.isEmpty()) {
        separate(out);
        out += rest;
    } else if (!out.isEmpty() && !out.endsWith(u'\n') && !out.endsWith(u'\r')) {
        out += u'\n';
    }
    return out;
}
