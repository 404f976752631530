#include "format/TtmlReader.h"

#include "format/FormatRepairs.h"
#include "format/LineReader.h"
#include "format/TtmlNamespaces.h"
#include "format/TtmlRuns.h"
#include "format/TtmlStyle.h"
#include "format/TtmlTime.h"

#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <optional>

namespace {

using Properties = QHash<QString, QString>;

// A style or a region of the head: its own style properties and the styles it refers to.
struct Definition
{
    Properties properties;
    QStringList references;
};

// What an element of the body hands down to what it holds.
struct Context
{
    double begin = 0; // absolute, seconds
    std::optional<double> end; // absolute; none when indefinite
    Properties style; // the properties set on it and its ancestors
    QString region;
    bool preserveSpace = false;
    bool ownEnd = false; // whether its end is its own rather than its parent's
};

bool isStyling(const QXmlStreamAttribute &attribute)
{
    const QStringView ns = attribute.namespaceUri();
    return ns.endsWith(u"#styling") || ns.endsWith(u"#style") || (ns.isEmpty() && attribute.prefix() == u"tts");
}

Properties stylingOf(const QXmlStreamAttributes &attributes)
{
    Properties properties;
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (isStyling(attribute))
            properties.insert(attribute.name().toString(), attribute.value().toString());
    }
    return properties;
}

QString plainAttribute(const QXmlStreamAttributes &attributes, QStringView name)
{
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.namespaceUri().isEmpty() && attribute.prefix().isEmpty() && attribute.name() == name)
            return attribute.value().toString();
    }
    return {};
}

// The value of an attribute by local name in any namespace (ttp:frameRate, xml:id…).
QString anyAttribute(const QXmlStreamAttributes &attributes, QStringView name)
{
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.name() == name)
            return attribute.value().toString();
    }
    return {};
}

// Line `number`, counted from 1 as the messages count.
QStringView lineAt(QStringView text, qsizetype number)
{
    return LineReader::lineAt(text, number - 1).value_or(QStringView());
}

class Reader
{
public:
    Reader(const QString &text, const FormatReadOptions &options)
        : m_text(QStringView(text).sliced(text.startsWith(QChar(0xFEFF)) ? 1 : 0))
        , m_options(options)
        , m_keep(std::make_shared<FormatKeep>(SubtitleFormat::Ttml))
    {
        m_keep->fileFields = QStringList(TtmlReader::FileFieldCount);
        m_keep->holdText(text);
    }

    Expected<FormatReading, QString> read();
    void note(const TtmlNamespaces::Mend &mend) { m_repairs.note(mend.line, lineAt(m_text, mend.line), mend.description); }

private:
    QString fault(qsizetype line, const QString &reason) const
    {
        return FormatRepairs::fault(line, lineAt(m_text, line), reason);
    }
    QString xmlFault() const
    {
        const qsizetype line = m_xml.lineNumber();
        return fault(line, TtmlReader::tr("Line %1 is not well-formed XML: %2.").arg(line).arg(m_xml.errorString()));
    }
    QXmlStreamReader::TokenType next();
    void skipElement();
    Expected<void, QString> readRoot();
    Expected<void, QString> readExternalEntities();
    void readHead();
    Expected<void, QString> readParagraph(const Context &parent);
    Expected<Context, QString> timed(const Context &parent, const QXmlStreamAttributes &attributes);
    Properties resolved(const QString &styleId, int depth = 0) const;
    Properties ownStyle(const Properties &inherited, const QXmlStreamAttributes &attributes) const;
    Properties regionStyle(const QString &regionId) const;
    bool isTop(const QString &regionId) const;
    TtmlStyle lookOf(const QString &regionId, const Properties &style);
    QStringList fieldsOf(double parentBegin, const QString &baseStyle);
    std::optional<double> fraction(QStringView length, double rootPixels, double cells) const;

    // Whether the element at hand is TTML's (or in no namespace, as careless files have it).
    bool isTtml() const
    {
        const QStringView ns = m_xml.namespaceUri();
        return ns.isEmpty() || ns == u"http://www.w3.org/ns/ttml" || ns.endsWith(u"/ttaf1");
    }
    qsizetype tagStart(qsizetype tagEnd) const { return m_text.first(tagEnd).lastIndexOf(u'<'); }

    QStringView m_text;
    qsizetype m_fed = 0; // how much of the text the XML parser has been given
    FormatReadOptions m_options;
    QXmlStreamReader m_xml;
    std::shared_ptr<FormatKeep> m_keep;
    FormatRepairs m_repairs;
    SubtitleList m_subtitles;
    TtmlTime::Rates m_rates;
    QHash<QString, Definition> m_styles;
    QHash<QString, Definition> m_regions;
    // Styles and regions as the body uses them, worked out once each; cleared while the
    // head is read, whose definitions may refer to ones further on.
    mutable QHash<QString, Properties> m_resolvedStyles;
    mutable QHash<QString, Properties> m_regionStyles;
    mutable QHash<QString, bool> m_topRegions;
    QStringList m_lastFields; // shared by paragraphs that give the same
    // The last style worked out, which most text of a file shares.
    struct Look
    {
        QString region;
        Properties style;
        TtmlStyle look;
    };
    std::optional<Look> m_lastLook;
    QStringList m_regionOrder;
    QString m_rootExtent;
    QString m_cellResolution;
    qsizetype m_lastEnd = -1; // where the last paragraph kept ended; -1 before the first
    qsizetype m_order = 0;
};

// The parser is given the text a piece at a time, so that it holds no copy of all of it.
QXmlStreamReader::TokenType Reader::next()
{
    for (;;) {
        const auto token = m_xml.readNext();
        if (token != QXmlStreamReader::Invalid || m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError
            || m_fed == m_text.size())
            return token;
        qsizetype size = std::min(TtmlReader::pieceSize, m_text.size() - m_fed);
        if (size < m_text.size() - m_fed && m_text[m_fed + size - 1].isHighSurrogate())
            ++size; // a pair split between pieces would be two broken characters
        m_xml.addData(m_text.sliced(m_fed, size).toString());
        m_fed += size;
    }
}

void Reader::skipElement()
{
    for (int depth = 1; depth > 0;) {
        const auto token = next();
        if (token == QXmlStreamReader::StartElement)
            ++depth;
        else if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (token == QXmlStreamReader::Invalid)
            return;
    }
}

Properties Reader::resolved(const QString &styleId, int depth) const
{
    if (depth == 0) {
        if (const auto known = m_resolvedStyles.constFind(styleId); known != m_resolvedStyles.cend())
            return *known;
    }
    Properties properties;
    const auto found = m_styles.constFind(styleId);
    if (found == m_styles.cend() || depth > 16) // a cycle of references is not followed round
        return properties;
    for (const QString &reference : found->references)
        properties.insert(resolved(reference, depth + 1));
    properties.insert(found->properties);
    if (depth == 0)
        m_resolvedStyles.insert(styleId, properties);
    return properties;
}

Properties Reader::ownStyle(const Properties &inherited, const QXmlStreamAttributes &attributes) const
{
    Properties properties = inherited;
    for (const QString &reference : plainAttribute(attributes, u"style").split(u' ', Qt::SkipEmptyParts))
        properties.insert(resolved(reference));
    properties.insert(stylingOf(attributes));
    return properties;
}

Properties Reader::regionStyle(const QString &regionId) const
{
    if (const auto known = m_regionStyles.constFind(regionId); known != m_regionStyles.cend())
        return *known;
    Properties properties;
    if (const auto found = m_regions.constFind(regionId); found != m_regions.cend()) {
        for (const QString &reference : found->references)
            properties.insert(resolved(reference));
        properties.insert(found->properties);
    }
    m_regionStyles.insert(regionId, properties);
    return properties;
}

std::optional<double> Reader::fraction(QStringView length, double rootPixels, double cells) const
{
    static const QRegularExpression number(QStringLiteral(R"(^([+-]?\d+(?:\.\d+)?)(%|px|c)$)"));
    const auto match = number.match(length.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const double value = match.capturedView(1).toDouble();
    const QStringView unit = match.capturedView(2);
    if (unit == u"%")
        return value / 100;
    if (unit == u"c")
        return cells > 0 ? value / cells : std::optional<double>();
    return rootPixels > 0 ? value / rootPixels : std::optional<double>();
}

// What text with `style` in the region looks like.
TtmlStyle Reader::lookOf(const QString &regionId, const Properties &style)
{
    // Styles handed down unchanged are the same map, so that this compares little.
    if (!m_lastLook || m_lastLook->region != regionId || m_lastLook->style != style) {
        Properties properties = regionStyle(regionId);
        properties.insert(style);
        m_lastLook = Look{regionId, style, TtmlStyle::fromProperties(properties)};
    }
    return m_lastLook->look;
}

bool Reader::isTop(const QString &regionId) const
{
    if (!m_regions.contains(regionId))
        return false;
    if (const auto known = m_topRegions.constFind(regionId); known != m_topRegions.cend())
        return *known;
    const Properties style = regionStyle(regionId);
    const QStringList root = m_rootExtent.split(u' ', Qt::SkipEmptyParts);
    const double rootHeight = root.size() == 2 && root[1].endsWith(u"px") ? root[1].chopped(2).toDouble() : 0;
    const QStringList cells = m_cellResolution.split(u' ', Qt::SkipEmptyParts);
    const double rows = cells.size() == 2 ? cells[1].toDouble() : 15;
    const QStringList origin = style.value(QStringLiteral("origin")).split(u' ', Qt::SkipEmptyParts);
    const QStringList extent = style.value(QStringLiteral("extent")).split(u' ', Qt::SkipEmptyParts);
    const double top = origin.size() == 2 ? fraction(origin[1], rootHeight, rows).value_or(0) : 0;
    const double height = extent.size() == 2 ? fraction(extent[1], rootHeight, rows).value_or(1 - top) : 1 - top;
    const QString align = style.value(QStringLiteral("displayAlign")).trimmed();
    // Where the lines sit: at the region's top, middle or bottom edge.
    const double anchor = align == u"before" ? top : align == u"center" ? top + height / 2 : top + height;
    return *m_topRegions.insert(regionId, anchor < 1.0 / 3);
}

void Reader::readHead()
{
    QString region; // the region a <style> inside one belongs to
    int depth = 1;
    while (depth > 0 && !m_xml.atEnd()) {
        const auto token = next();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            if (m_xml.name() == u"region")
                region.clear();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const QString id = anyAttribute(attributes, u"id");
        Definition definition{stylingOf(attributes), plainAttribute(attributes, u"style").split(u' ', Qt::SkipEmptyParts)};
        if (m_xml.name() == u"style" && region.isEmpty()) {
            m_keep->count(FormatKeep::Part::StyleDefinitions);
            m_styles.insert(id, std::move(definition));
        } else if (m_xml.name() == u"style") {
            Definition &owner = m_regions[region];
            for (const QString &reference : definition.references)
                owner.properties.insert(resolved(reference));
            owner.properties.insert(definition.properties);
        } else if (m_xml.name() == u"region") {
            m_keep->count(FormatKeep::Part::Regions);
            region = id.isEmpty() ? QStringLiteral("\x01") : id; // a region without id holds no content, but may hold styles
            m_regions.insert(region, std::move(definition));
            m_regionOrder.append(region);
        }
    }
    m_resolvedStyles.clear();
    m_regionStyles.clear();
    m_topRegions.clear();
    m_lastLook.reset();
}

Expected<Context, QString> Reader::timed(const Context &parent, const QXmlStreamAttributes &attributes)
{
    Context context = parent;
    context.style = ownStyle(parent.style, attributes);
    if (const QString region = plainAttribute(attributes, u"region"); !region.isEmpty())
        context.region = region;
    const QString space = anyAttribute(attributes, u"space");
    if (!space.isEmpty())
        context.preserveSpace = space == u"preserve";

    std::optional<double> times[3];
    const QStringView names[] = {u"begin", u"end", u"dur"};
    for (int i = 0; i < 3; ++i) {
        const QString value = plainAttribute(attributes, names[i]);
        if (value.isEmpty())
            continue;
        times[i] = TtmlTime::of(value, m_rates);
        const qsizetype line = m_xml.lineNumber();
        if (!times[i] && m_options.repairing) {
            times[i] = TtmlTime::ofLooseClock(value, m_rates);
            if (times[i])
                m_repairs.note(line, lineAt(m_text, line),
                               TtmlReader::tr("Read “%1” as a clock time, as players do, though TTML writes hours, minutes and seconds with a point before the fraction.").arg(value));
        }
        if (!times[i])
            return fault(line, TtmlReader::tr("Line %1: “%2” is not a time.").arg(line).arg(value));
        if (!(*times[i] <= FormatRepairs::latestTime))
            return fault(line, TtmlReader::tr("Line %1 has a time past the largest the program can hold.").arg(line));
    }
    context.begin = parent.begin + times[0].value_or(0);
    std::optional<double> end;
    if (times[1])
        end = parent.begin + *times[1];
    if (times[2])
        end = std::min(end.value_or(context.begin + *times[2]), context.begin + *times[2]);
    if (end)
        context.end = end;
    context.ownEnd = end.has_value();
    return context;
}

Expected<void, QString> Reader::readParagraph(const Context &parent)
{
    const qsizetype startLine = m_xml.lineNumber();
    const qsizetype startTagEnd = m_xml.characterOffset();
    const qsizetype start = tagStart(startTagEnd);
    const QXmlStreamAttributes attributes = m_xml.attributes();
    auto timedContext = timed(parent, attributes);
    if (!timedContext)
        return timedContext.error();
    const Context context = std::move(timedContext).value();

    const auto effective = [&](const Properties &style) { return lookOf(context.region, style); };
    TtmlRuns runs;
    QList<Context> spans{context};
    std::optional<double> spanBegin;
    std::optional<double> spanEnd;
    while (!spans.isEmpty()) {
        const auto token = next();
        if (m_xml.hasError())
            return xmlFault();
        if (token == QXmlStreamReader::Characters) {
            const TtmlStyle style = effective(spans.last().style);
            if (spans.last().preserveSpace)
                runs.appendPreserved(m_xml.text().toString(), style);
            else
                runs.appendText(m_xml.text().toString(), style);
        } else if (token == QXmlStreamReader::StartElement) {
            if (m_xml.name() == u"br" && isTtml()) {
                runs.appendLineBreak();
                skipElement();
            } else if (m_xml.name() == u"span" && isTtml()) {
                auto span = timed(spans.last(), m_xml.attributes());
                if (!span)
                    return span.error();
                // A paragraph may leave its times to its spans (words shown one by one).
                if (span.value().ownEnd && !context.ownEnd) {
                    spanBegin = std::min(spanBegin.value_or(span.value().begin), span.value().begin);
                    spanEnd = std::max(spanEnd.value_or(*span.value().end), *span.value().end);
                }
                spans.append(std::move(span).value());
            } else {
                skipElement(); // metadata, animation: nothing shown as text
            }
        } else if (token == QXmlStreamReader::EndElement) {
            spans.removeLast();
        } else if (m_xml.atEnd()) {
            break;
        }
    }
    if (m_xml.hasError())
        return xmlFault();

    const qsizetype end = m_xml.characterOffset();
    std::optional<double> endTime = context.ownEnd ? context.end : spanEnd ? spanEnd : context.end;
    const double beginTime = !context.ownEnd && spanEnd ? std::max(context.begin, *spanBegin) : context.begin;
    if (!endTime) {
        if (!m_options.repairing)
            return fault(startLine, TtmlReader::tr("Line %1: the paragraph has no end time, so it would be shown for ever.").arg(startLine));
        m_repairs.note(startLine, lineAt(m_text, startLine), TtmlReader::tr("Left out a paragraph with no end time."));
        return {};
    }
    if (*endTime < beginTime) {
        if (!m_options.repairing)
            return fault(startLine, TtmlReader::tr("Line %1: the paragraph ends before it begins.").arg(startLine));
        m_repairs.note(startLine, lineAt(m_text, startLine), TtmlReader::tr("The end is before the start: set the end to the start."));
        endTime = beginTime;
    }

    QString text = runs.markup();
    if (isTop(context.region))
        text.prepend(QStringLiteral("{\\an8}"));
    text.squeeze(); // kept with the cue: the room it grew by would cost as much again
    const SubtitlePtr subtitle = Subtitle::create(text, beginTime, *endTime);
    m_subtitles.append(subtitle);

    if (m_lastEnd < 0)
        m_keep->header = m_text.first(start).toString();
    // The cue views the file's text: a copy of each paragraph would cost more than the file.
    const QString before = m_lastEnd < 0 ? QString() : m_keep->view(m_text.sliced(m_lastEnd, start - m_lastEnd));
    m_keep->keep(subtitle, {before, m_keep->view(m_text.sliced(start, end - start)), subtitle->start, subtitle->end, text,
                            fieldsOf(parent.begin, effective(context.style).encoded()), m_order++});
    m_lastEnd = end;
    if (!anyAttribute(attributes, u"id").isEmpty())
        m_keep->count(FormatKeep::Part::Identifiers);
    if (!plainAttribute(attributes, u"style").isEmpty() || !stylingOf(attributes).isEmpty())
        m_keep->count(FormatKeep::Part::Styles);
    return {};
}

QStringList Reader::fieldsOf(double parentBegin, const QString &baseStyle)
{
    const QString begin = QString::number(parentBegin, 'g', 17);
    if (m_lastFields.isEmpty() || m_lastFields.at(TtmlReader::ParentBeginField) != begin
        || m_lastFields.at(TtmlReader::BaseStyleField) != baseStyle) {
        m_lastFields = QStringList(TtmlReader::FieldCount);
        m_lastFields[TtmlReader::ParentBeginField] = begin;
        m_lastFields[TtmlReader::BaseStyleField] = baseStyle;
    }
    return m_lastFields;
}

Expected<void, QString> Reader::readRoot()
{
    const QXmlStreamAttributes attributes = m_xml.attributes();
    const auto rate = [&](QStringView name, double fallback) {
        bool ok = false;
        const double value = anyAttribute(attributes, name).toDouble(&ok);
        return ok && value > 0 && value < 1e6 ? value : fallback;
    };
    m_rates.frameRate = rate(u"frameRate", 30);
    const QStringList multiplier = anyAttribute(attributes, u"frameRateMultiplier").split(u' ', Qt::SkipEmptyParts);
    if (multiplier.size() == 2 && multiplier[0].toDouble() > 0 && multiplier[1].toDouble() > 0)
        m_rates.frameRate *= multiplier[0].toDouble() / multiplier[1].toDouble();
    m_rates.subFrameRate = rate(u"subFrameRate", 1);
    const bool framed = !anyAttribute(attributes, u"frameRate").isEmpty();
    m_rates.tickRate = rate(u"tickRate", framed ? m_rates.frameRate * m_rates.subFrameRate : 1);
    m_rootExtent = anyAttribute(attributes, u"extent");
    m_cellResolution = anyAttribute(attributes, u"cellResolution");
    if (!m_xml.prefix().isEmpty())
        m_keep->fileFields[TtmlReader::ElementPrefixField] = m_xml.prefix().toString() + u':';
    for (const QXmlStreamNamespaceDeclaration &declaration : m_xml.namespaceDeclarations()) {
        if (declaration.namespaceUri() == u"http://www.w3.org/ns/ttml#styling" && !declaration.prefix().isEmpty())
            m_keep->fileFields[TtmlReader::StylingPrefixField] = declaration.prefix().toString();
    }

    QList<Context> open{Context{}};
    QList<bool> inBody{false};
    qsizetype bodyClose = -1;
    qsizetype ttClose = -1;
    while (!m_xml.atEnd()) {
        const auto token = next();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = m_xml.name();
            if (!isTtml()) {
                skipElement();
                continue;
            }
            if (name == u"head" && open.size() == 1) {
                readHead();
                continue;
            }
            if (name == u"p" && inBody.last()) {
                if (auto read = readParagraph(open.last()); !read)
                    return read.error();
                continue;
            }
            if ((name == u"body" && open.size() == 1) || (name == u"div" && inBody.last())) {
                auto context = timed(open.last(), m_xml.attributes());
                if (!context)
                    return context.error();
                open.append(std::move(context).value());
                inBody.append(true);
                continue;
            }
            skipElement();
        } else if (token == QXmlStreamReader::EndElement) {
            const qsizetype closing = tagStart(m_xml.characterOffset());
            if (m_xml.name() == u"body")
                bodyClose = closing;
            if (open.size() == 1)
                ttClose = closing;
            if (open.size() > 1) {
                open.removeLast();
                inBody.removeLast();
            }
        }
    }
    if (m_xml.hasError())
        return xmlFault();
    if (m_lastEnd >= 0) {
        m_keep->trailer = m_text.sliced(m_lastEnd).toString();
    } else {
        // No paragraph: new subtitles go before the body's end, or the document's.
        const qsizetype at = bodyClose >= 0 ? bodyClose : std::max<qsizetype>(ttClose, 0);
        m_keep->header = m_text.first(at).toString();
        m_keep->trailer = m_text.sliced(at).toString();
        m_keep->fileFields[TtmlReader::WrapField] = bodyClose >= 0 ? QStringLiteral("div") : QStringLiteral("body");
    }
    return {};
}

// An entity whose text is in another file: the XML parser leaves its uses out without a
// word, and a subtitle file has no business making the program fetch anything.
Expected<void, QString> Reader::readExternalEntities()
{
    for (const QXmlStreamEntityDeclaration &entity : m_xml.entityDeclarations()) {
        if (entity.systemId().isEmpty() && entity.publicId().isEmpty())
            continue;
        const qsizetype use = m_text.indexOf(u'&' + entity.name().toString() + u';');
        if (use < 0)
            continue;
        const qsizetype line = m_text.first(use).count(u'\n') + 1;
        const QString why = TtmlReader::tr("Line %1 refers to the entity “%2”, whose text is outside the file; it is not fetched.")
                                .arg(line)
                                .arg(entity.name());
        if (!m_options.repairing)
            return fault(line, why);
        m_repairs.note(line, lineAt(m_text, line), why + u' ' + TtmlReader::tr("Left it out."));
    }
    return {};
}

Expected<FormatReading, QString> Reader::read()
{
    while (!m_xml.atEnd()) {
        const auto token = next();
        if (token == QXmlStreamReader::DTD) {
            if (auto external = readExternalEntities(); !external)
                return external.error();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (m_xml.name() != u"tt")
            return fault(m_xml.lineNumber(), TtmlReader::tr("Line %1: the document is <%2>, not TTML’s <tt>.").arg(m_xml.lineNumber()).arg(m_xml.qualifiedName()));
        if (auto root = readRoot(); !root)
            return root.error();
        for (const QString &id : std::as_const(m_regionOrder)) {
            QString &slot = m_keep->fileFields[isTop(id) ? TtmlReader::TopRegionField : TtmlReader::BottomRegionField];
            if (slot.isEmpty() && id != u"\x01")
                slot = id;
        }
        return m_repairs.finish(std::move(m_subtitles), m_keep);
    }
    if (m_xml.hasError())
        return xmlFault();
    return TtmlReader::tr("The file holds no TTML document (no <tt> element).");
}

} // namespace

Expected<FormatReading, QString> TtmlReader::read(const QString &text, const FormatReadOptions &options)
{
    if (!options.repairing)
        return Reader(text, options).read();
    QList<TtmlNamespaces::Mend> mends;
    Reader reader(TtmlNamespaces::mended(text, mends), options);
    for (const TtmlNamespaces::Mend &mend : std::as_const(mends))
        reader.note(mend);
    return reader.read();
}
