#include "format/AssWriter.h"

#include "format/AssSyntax.h"
#include "format/MarkupTokenizer.h"
#include "format/SpeakerText.h"

namespace {

using Kind = MarkupTokenizer::Kind;

// A colour as <font color> gives it ("#ff8000", "#f80", "yellow") in ASS's &HBBGGRR& order.
std::optional<QString> assColour(QStringView value)
{
    static const QHash<QString, QString> named{
        {QStringLiteral("white"), QStringLiteral("ffffff")},   {QStringLiteral("black"), QStringLiteral("000000")},
        {QStringLiteral("red"), QStringLiteral("ff0000")},     {QStringLiteral("lime"), QStringLiteral("00ff00")},
        {QStringLiteral("green"), QStringLiteral("008000")},   {QStringLiteral("blue"), QStringLiteral("0000ff")},
        {QStringLiteral("yellow"), QStringLiteral("ffff00")},  {QStringLiteral("cyan"), QStringLiteral("00ffff")},
        {QStringLiteral("aqua"), QStringLiteral("00ffff")},    {QStringLiteral("magenta"), QStringLiteral("ff00ff")},
        {QStringLiteral("fuchsia"), QStringLiteral("ff00ff")}, {QStringLiteral("silver"), QStringLiteral("c0c0c0")},
        {QStringLiteral("gray"), QStringLiteral("808080")},    {QStringLiteral("grey"), QStringLiteral("808080")},
        {QStringLiteral("maroon"), QStringLiteral("800000")},  {QStringLiteral("olive"), QStringLiteral("808000")},
        {QStringLiteral("navy"), QStringLiteral("000080")},    {QStringLiteral("purple"), QStringLiteral("800080")},
        {QStringLiteral("teal"), QStringLiteral("008080")},    {QStringLiteral("orange"), QStringLiteral("ffa500")},
    };
    QString rgb = value.toString().toLower();
    if (rgb.startsWith(u'#'))
        rgb.remove(0, 1);
    else
        rgb = named.value(rgb);
    if (rgb.size() == 3)
        rgb = QString(rgb[0]) + rgb[0] + rgb[1] + rgb[1] + rgb[2] + rgb[2];
    if (rgb.size() != 6 || !std::all_of(rgb.cbegin(), rgb.cend(), [](QChar c) { return std::isxdigit(c.unicode()) && c.unicode() < 128; }))
        return std::nullopt;
    return (rgb.sliced(4, 2) + rgb.sliced(2, 2) + rgb.sliced(0, 2)).toUpper();
}

QString scratchHeader(bool ssa)
{
    // 1920×1080: the frame most video is made in today, so that {\pos} and margins are
    // the video's own pixels and the 16:9 frame is not stretched from a 4:3 one.
    QString header = QStringLiteral("[Script Info]\nScriptType: %1\nWrapStyle: 0\n").arg(ssa ? u"v4.00" : u"v4.00+");
    if (!ssa)
        header += QStringLiteral("ScaledBorderAndShadow: yes\n");
    header += QStringLiteral("PlayResX: 1920\nPlayResY: 1080\n\n");
    if (ssa) {
        header += QStringLiteral("[V4 Styles]\n"
                                 "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, TertiaryColour, BackColour, "
                                 "Bold, Italic, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, AlphaLevel, Encoding\n"
                                 "Style: Default,Arial,54,16777215,255,0,0,0,0,1,3,1,2,60,60,40,0,1\n\n");
    } else {
        header += QStringLiteral("[V4+ Styles]\n"
                                 "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, "
                                 "Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, "
                                 "Alignment, MarginL, MarginR, MarginV, Encoding\n"
                                 "Style: Default,Arial,54,&H00FFFFFF,&H000000FF,&H00000000,&H80000000,0,0,0,0,100,100,0,0,1,3,1,2,60,60,40,1\n\n");
    }
    return header;
}

// The voice a WebVTT text begins with, as a field can hold it.
QString speakerField(QStringView text)
{
    return SpeakerText::voiceOf(text).replace(u',', u' ');
}

// An event in the given field order: the kept fields where there are some (only the
// edited ones replaced), the defaults of a new event where there are none.
QString eventLine(const QStringList &names, const FormatKeep::Cue *cue, const Subtitle &subtitle, bool ssa)
{
    QString prefix = QStringLiteral("Dialogue: ");
    QStringList fields;
    fields.reserve(names.size());
    if (cue) {
        qsizetype valuesStart = 0;
        const QList<QStringView> values = AssSyntax::eventValues(cue->source, names.size(), valuesStart);
        if (values.size() == names.size()) {
            prefix = cue->source.first(valuesStart);
            for (const QStringView value : values)
                fields.append(value.toString());
        } else {
            cue = nullptr;
        }
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString &name = names[i];
        if (!cue)
            fields.append(name == u"marked"                                   ? QStringLiteral("Marked=0")
                          : name == u"layer" || name.startsWith(u"margin") ? QStringLiteral("0")
                          : name == u"style"                                ? QStringLiteral("Default")
                          : name == u"name"                                 ? speakerField(subtitle.text())
                                                                            : QString());
        if (name == u"start" && (!cue || subtitle.start != cue->start))
            fields[i] = AssSyntax::formatTime(subtitle.start);
        else if (name == u"end" && (!cue || subtitle.end != cue->end))
            fields[i] = AssSyntax::formatTime(subtitle.end);
    }
    if (!cue || !cue->textUnchanged(subtitle))
        fields.last() = AssWriter::textField(subtitle.text(), ssa);
    return prefix + fields.join(u',');
}

} // namespace

QString AssWriter::textField(QStringView text, bool ssa)
{
    QString out;
    out.reserve(text.size() + 16);
    const auto toggle = [&](QChar letter, bool closing) {
        out += QStringLiteral("{\\") + letter + (closing ? u'0' : u'1') + u'}';
    };
    for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(text)) {
        switch (token.kind) {
        case Kind::Text:
            for (qsizetype i = 0; i < token.raw.size(); ++i) {
                const QChar c = token.raw[i];
                if (c == QChar(0x00A0))
                    out += QStringLiteral("\\h");
                else
                    out += c;
                // A backslash before N, n or h would be a break or a hard space: an empty
                // override block between them keeps both letters as they are.
                if (c == u'\\' && i + 1 < token.raw.size() && QStringView(u"Nnh").contains(token.raw[i + 1]))
                    out += QStringLiteral("{}");
            }
            break;
        case Kind::LineBreak: out += QStringLiteral("\\N"); break;
        case Kind::Italic: toggle(u'i', token.closing); break;
        case Kind::Bold: toggle(u'b', token.closing); break;
        case Kind::Underline: toggle(u'u', token.closing); break;
        case Kind::Color:
            if (token.closing)
                out += QStringLiteral("{\\c}");
            else if (const auto bgr = assColour(token.value))
                out += QStringLiteral("{\\c&H%1&}").arg(*bgr);
            break;
        case Kind::Position:
            if (ssa)
                out += QStringLiteral("{\\a%1}").arg(AssSyntax::legacyAlignment(token.value.toInt()));
            else
                out += QStringLiteral("{\\an%1}").arg(token.value);
            break;
        case Kind::AssOverride: out += token.raw; break;
        case Kind::WebVttTag: break;
        }
    }
    return out;
}

QString AssWriter::write(SubtitleFormat::Id format, const SubtitleList &subtitles, const FormatKeep *keep)
{
    const bool ssa = format == SubtitleFormat::Ssa;
    if (keep && keep->format() != format)
        keep = nullptr;
    QString out;
    QStringList names = keep ? keep->fileFields : QStringList();
    if (!keep || names.isEmpty()) {
        // No script, or one without events: events of the standard form after it.
        if (!keep)
            out = scratchHeader(ssa);
        else if (out = keep->header; !out.isEmpty() && !out.endsWith(QStringLiteral("\n\n")))
            out += out.endsWith(u'\n') ? QStringLiteral("\n") : QStringLiteral("\n\n");
        out += QStringLiteral("[Events]\n") + AssSyntax::eventFormatLine(ssa);
        names = AssSyntax::eventFieldNames(ssa);
        for (const SubtitlePtr &subtitle : subtitles)
            out += u'\n' + eventLine(names, nullptr, *subtitle, ssa);
        return out + u'\n';
    }

    // Each kept event's `before` begins with the line end of the line before it.
    out = keep->header;
    for (const SubtitlePtr &subtitle : keep->inWritingOrder(subtitles)) {
        const FormatKeep::Cue *cue = keep->cue(*subtitle);
        if (cue) {
            out += cue->before;
            // An event is written in the field order it was read in: a script may have more
            // than one Format line.
            out += cue->isUnchanged(*subtitle) ? cue->source : eventLine(cue->fields.isEmpty() ? names : cue->fields, cue, *subtitle, ssa);
        } else if (out.endsWith(u'\n')) {
            out += eventLine(names, nullptr, *subtitle, ssa) + u'\n';
        } else {
            out += u'\n' + eventLine(names, nullptr, *subtitle, ssa);
        }
    }
    if (out.endsWith(u'\n') && keep->trailer.startsWith(u'\n'))
        out.chop(1);
    return out + keep->trailer;
}
