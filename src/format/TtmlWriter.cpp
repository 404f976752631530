#include "format/TtmlWriter.h"

#include "format/MarkupTokenizer.h"
#include "format/TtmlReader.h"
#include "format/TtmlStyle.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <cmath>

namespace {

const QString stylingNamespace = QStringLiteral("http://www.w3.org/ns/ttml#styling");
const QString topRegion = QStringLiteral("top");
const QString bottomRegion = QStringLiteral("bottom");

// "hh:mm:ss.mmm", to the nearest millisecond.
QString clockTime(double seconds)
{
    const qint64 ms = std::isfinite(seconds) && seconds > 0 ? qRound64(seconds * 1000) : 0;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

bool isTop(QStringView text)
{
    for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(text)) {
        if (token.kind == MarkupTokenizer::Kind::Position)
            return token.value == u"7" || token.value == u"8" || token.value == u"9";
    }
    return false;
}

// How paragraphs are written in the document at hand.
struct Dialect
{
    QString elementPrefix; // "tt:" or empty
    QString stylingPrefix = QStringLiteral("tts"); // empty: declared on each span that needs it
};

// The paragraph's content: spans for the text's tags, measured against what the
// paragraph already is, and line breaks.
QString contentOf(QStringView text, const TtmlStyle &base, const Dialect &dialect)
{
    QString content;
    QXmlStreamWriter xml(&content);
    TtmlStyle style;
    QStringList colors;
    for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(text)) {
        using Kind = MarkupTokenizer::Kind;
        switch (token.kind) {
        case Kind::Text: {
            const QString characters = TtmlWriter::heldText(token.raw);
            const auto attributes = style.attributesOver(base);
            if (attributes.isEmpty()) {
                xml.writeCharacters(characters);
                break;
            }
            xml.writeStartElement(dialect.elementPrefix + QStringLiteral("span"));
            if (dialect.stylingPrefix.isEmpty())
                xml.writeAttribute(QStringLiteral("xmlns:tts"), stylingNamespace);
            const QString prefix = dialect.stylingPrefix.isEmpty() ? QStringLiteral("tts") : dialect.stylingPrefix;
            for (const auto &[name, value] : attributes)
                xml.writeAttribute(prefix + name.sliced(3), value);
            xml.writeCharacters(characters);
            xml.writeEndElement();
            break;
        }
        case Kind::LineBreak:
            xml.writeEmptyElement(dialect.elementPrefix + QStringLiteral("br"));
            break;
        case Kind::Italic: style.italic = !token.closing; break;
        case Kind::Bold: style.bold = !token.closing; break;
        case Kind::Underline: style.underline = !token.closing; break;
        case Kind::Color:
            if (token.closing && !colors.isEmpty())
                colors.removeLast();
            else if (!token.closing)
                colors.append(TtmlStyle::colorOf(token.value));
            style.color = colors.isEmpty() ? QString() : colors.last();
            break;
        default: // placement is the region's; other formats' tags have no TTML form
            break;
        }
    }
    xml.writeCharacters(QString()); // ends a <br/> the text ends with, which the writer holds open
    return content;
}

// "p" or "tt:p" from "<tt:p begin=…>".
QString elementNameOf(QStringView startTag)
{
    qsizetype end = 1;
    while (end < startTag.size() && !startTag[end].isSpace() && startTag[end] != u'/' && startTag[end] != u'>')
        ++end;
    return startTag.sliced(1, end - 1).toString();
}

// The start tag that begins a kept paragraph, and what is between it and the end tag.
struct Paragraph
{
    QString startTag;
    QStringView content;
};

Paragraph paragraphOf(QStringView source)
{
    // The tag ends at the first '>' outside a quoted value, which may hold one.
    qsizetype tagEnd = source.size();
    QChar quote;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>') {
            tagEnd = i + 1;
            break;
        }
    }
    const qsizetype contentEnd = std::max(tagEnd, source.lastIndexOf(u'<'));
    return {source.first(tagEnd).toString(), source.sliced(tagEnd, contentEnd - tagEnd)};
}

// The start tag with `name` set to `value`: in its place when it has one, else after the
// element's name.
QString withAttribute(QString startTag, const QString &name, const QString &value)
{
    const QRegularExpression existing(QStringLiteral(R"((\s%1\s*=\s*)("[^"]*"|'[^']*'))").arg(name));
    const QString quoted = u'"' + value.toHtmlEscaped() + u'"';
    if (const auto match = existing.match(startTag); match.hasMatch())
        return startTag.replace(match.capturedStart(2), match.capturedLength(2), quoted);
    return startTag.insert(elementNameOf(startTag).size() + 1, u' ' + name + u'=' + quoted);
}

// The start tag with new times, counted from `parentBegin`.
QString retimed(QString startTag, const Subtitle &subtitle, double parentBegin)
{
    static const QRegularExpression duration(QStringLiteral(R"(\s+dur\s*=\s*("[^"]*"|'[^']*'))"));
    startTag.remove(duration);
    startTag = withAttribute(startTag, QStringLiteral("end"), clockTime(subtitle.end - parentBegin));
    return withAttribute(startTag, QStringLiteral("begin"), clockTime(subtitle.start - parentBegin));
}

QString newParagraph(const Subtitle &subtitle, double parentBegin, const QString &region, const Dialect &dialect)
{
    const QString text = subtitle.text();
    const QString content = contentOf(text, {}, dialect);
    const QString p = dialect.elementPrefix + QStringLiteral("p");
    QString startTag = QStringLiteral("<%1 begin=\"%2\" end=\"%3\"").arg(p, clockTime(subtitle.start - parentBegin), clockTime(subtitle.end - parentBegin));
    if (!region.isEmpty())
        startTag += QStringLiteral(" region=\"%1\"").arg(region.toHtmlEscaped());
    if (TtmlWriter::needsPreservedSpace(text))
        startTag += QStringLiteral(" xml:space=\"preserve\"");
    startTag += u'>';
    return startTag + content + QStringLiteral("</%1>").arg(p);
}

// The text after the last line feed of `before`, when it is all blanks.
QString indentationOf(const QString &before)
{
    const QString last = before.sliced(before.lastIndexOf(u'\n') + 1);
    return last.trimmed().isEmpty() ? last : QString();
}

QString keptWrite(const SubtitleList &subtitles, const FormatKeep &keep)
{
    const QStringList &file = keep.fileFields;
    const auto fileField = [&](TtmlReader::FileField field) { return field < file.size() ? file[field] : QString(); };
    const QString top = fileField(TtmlReader::TopRegionField);
    const QString bottom = fileField(TtmlReader::BottomRegionField);
    Dialect dialect{fileField(TtmlReader::ElementPrefixField), fileField(TtmlReader::StylingPrefixField)};
    const QString wrap = fileField(TtmlReader::WrapField);

    const SubtitleList ordered = keep.inWritingOrder(subtitles);
    if (ordered.isEmpty() && !wrap.isEmpty())
        return keep.header + keep.trailer;
    QString out = keep.header;
    const auto cueOf = [&](const Subtitle &subtitle) {
        const FormatKeep::Cue *cue = keep.cue(subtitle);
        return cue && cue->fields.size() == TtmlReader::FieldCount ? cue : nullptr;
    };
    // New subtitles before the first kept one go beside it.
    const FormatKeep::Cue *neighbour = nullptr;
    for (const SubtitlePtr &subtitle : ordered) {
        if ((neighbour = cueOf(*subtitle)))
            break;
    }
    if (!wrap.isEmpty()) {
        if (wrap == u"body")
            out += QStringLiteral("<%1body>").arg(dialect.elementPrefix);
        out += QStringLiteral("<%1div>").arg(dialect.elementPrefix);
    }
    for (const SubtitlePtr &subtitle : ordered) {
        const FormatKeep::Cue *cue = cueOf(*subtitle);
        const QString text = subtitle->text();
        const bool wantsTop = isTop(text);
        const QString region = wantsTop ? top : bottom;
        if (!cue) {
            double parentBegin = 0;
            QString indentation;
            if (neighbour) {
                parentBegin = neighbour->fields[TtmlReader::ParentBeginField].toDouble();
                indentation = indentationOf(neighbour->before);
                dialect.elementPrefix = elementNameOf(neighbour->source).chopped(1);
            }
            out += u'\n' + indentation + newParagraph(*subtitle, parentBegin, region, dialect);
            continue;
        }
        neighbour = cue;
        out += cue->before;
        if (cue->isUnchanged(*subtitle)) {
            out += cue->source;
            continue;
        }
        const double parentBegin = cue->fields[TtmlReader::ParentBeginField].toDouble();
        const bool regionChanged = wantsTop != isTop(cue->text) && !region.isEmpty();
        const Paragraph kept = paragraphOf(cue->source);
        QString startTag = kept.startTag;
        if (!cue->timesUnchanged(*subtitle))
            startTag = retimed(startTag, *subtitle, parentBegin);
        if (regionChanged)
            startTag = withAttribute(startTag, QStringLiteral("region"), region);
        if (!cue->textUnchanged(*subtitle) && TtmlWriter::needsPreservedSpace(text))
            startTag = withAttribute(startTag, QStringLiteral("xml:space"), QStringLiteral("preserve"));
        const QString name = elementNameOf(startTag);
        Dialect own = dialect;
        own.elementPrefix = name.chopped(1);
        const QString content = cue->textUnchanged(*subtitle)
                                    ? kept.content.toString()
                                    : contentOf(text, TtmlStyle::decoded(cue->fields[TtmlReader::BaseStyleField]), own);
        if (startTag.endsWith(QStringLiteral("/>")) && !content.isEmpty())
            startTag = startTag.chopped(2).trimmed() + u'>';
        out += startTag.endsWith(QStringLiteral("/>")) ? startTag : startTag + content + QStringLiteral("</%1>").arg(name);
    }
    if (!wrap.isEmpty()) {
        out += QStringLiteral("\n</%1div>").arg(dialect.elementPrefix);
        if (wrap == u"body")
            out += QStringLiteral("</%1body>").arg(dialect.elementPrefix);
    }
    return out + keep.trailer;
}

QString newDocument(const SubtitleList &subtitles)
{
    QString out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("tt"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/ns/ttml"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/ns/ttml#parameter"), QStringLiteral("ttp"));
    xml.writeNamespace(stylingNamespace, QStringLiteral("tts"));
    xml.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("und"));
    xml.writeAttribute(QStringLiteral("ttp:timeBase"), QStringLiteral("media"));
    xml.writeAttribute(QStringLiteral("ttp:contentProfiles"), QStringLiteral("http://www.w3.org/ns/ttml/profile/imsc1.1/text"));
    xml.writeStartElement(QStringLiteral("head"));
    xml.writeStartElement(QStringLiteral("styling"));
    xml.writeEmptyElement(QStringLiteral("style"));
    xml.writeAttribute(QStringLiteral("xml:id"), QStringLiteral("default"));
    xml.writeAttribute(QStringLiteral("tts:color"), QStringLiteral("white"));
    xml.writeAttribute(QStringLiteral("tts:fontFamily"), QStringLiteral("proportionalSansSerif"));
    xml.writeAttribute(QStringLiteral("tts:textAlign"), QStringLiteral("center"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("layout"));
    for (const QString &id : {bottomRegion, topRegion}) {
        xml.writeEmptyElement(QStringLiteral("region"));
        xml.writeAttribute(QStringLiteral("xml:id"), id);
        xml.writeAttribute(QStringLiteral("tts:origin"), QStringLiteral("10% 10%"));
        xml.writeAttribute(QStringLiteral("tts:extent"), QStringLiteral("80% 80%"));
        xml.writeAttribute(QStringLiteral("tts:displayAlign"), id == topRegion ? QStringLiteral("before") : QStringLiteral("after"));
    }
    xml.writeEndElement(); // layout
    xml.writeEndElement(); // head
    xml.writeStartElement(QStringLiteral("body"));
    xml.writeAttribute(QStringLiteral("style"), QStringLiteral("default"));
    xml.writeStartElement(QStringLiteral("div"));
    // Paragraphs are written by hand: the writer's indentation inside them would be text.
    xml.writeCharacters(QString());
    QString paragraphs;
    for (const SubtitlePtr &subtitle : subtitles)
        paragraphs += QStringLiteral("\n            ") + newParagraph(*subtitle, 0, isTop(subtitle->text()) ? topRegion : bottomRegion, {});
    const qsizetype divEnd = out.size();
    xml.writeEndElement(); // div
    xml.writeEndElement(); // body
    xml.writeEndElement(); // tt
    xml.writeEndDocument();
    return out.insert(divEnd, paragraphs + QStringLiteral("\n        "));
}

// The document with the encoding its XML declaration names made UTF-8, which is what
// TTML is written in: a file read in another encoding would otherwise be refused by every
// XML reader. A declaration naming UTF-8 in any spelling is left as it was.
QString declaringUtf8(QString document)
{
    static const QRegularExpression encoding(
        QStringLiteral(R"re(^\x{FEFF}?\s*<\?xml\s[^>]*?\bencoding\s*=\s*(?:"([^"]*)"|'([^']*)'))re"));
    const auto match = encoding.match(document);
    if (!match.hasMatch())
        return document;
    const int value = match.hasCaptured(1) ? 1 : 2;
    if (match.capturedView(value).compare(u"UTF-8", Qt::CaseInsensitive) != 0)
        document.replace(match.capturedStart(value), match.capturedLength(value), QStringLiteral("UTF-8"));
    return document;
}

} // namespace

bool TtmlWriter::holds(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x20 || u == u'\t' || u == u'\n') && u != 0xFFFE && u != 0xFFFF;
}

QString TtmlWriter::heldText(QStringView text)
{
    QString held;
    held.reserve(text.size());
    for (const QChar c : text) {
        if (holds(c))
            held += c;
    }
    return held;
}

bool TtmlWriter::needsPreservedSpace(QStringView text)
{
    // What a reader collapses by default: a tab, a run of spaces, a space at either end
    // of a line, as the line shows (tags between its words left aside).
    QString line;
    const auto collapses = [&line] {
        return line.contains(u'\t') || line.contains(QStringLiteral("  ")) || line.startsWith(u' ') || line.endsWith(u' ');
    };
    for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(text)) {
        if (token.kind == MarkupTokenizer::Kind::LineBreak) {
            if (collapses())
                return true;
            line.clear();
        } else if (token.kind == MarkupTokenizer::Kind::Text) {
            line += heldText(token.raw);
        }
    }
    return collapses();
}

QString TtmlWriter::write(const SubtitleList &subtitles, const FormatKeep *keep)
{
    if (keep && keep->format() == SubtitleFormat::Ttml)
        return declaringUtf8(keptWrite(subtitles, *keep));
    return newDocument(subtitles);
}
