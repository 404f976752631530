#include "format/TtmlStyle.h"

#include <QRegularExpression>

namespace {

QString hex(int value)
{
    return QStringLiteral("%1").arg(std::clamp(value, 0, 255), 2, 16, QLatin1Char('0'));
}

} // namespace

TtmlStyle TtmlStyle::fromProperties(const QHash<QString, QString> &properties)
{
    TtmlStyle style;
    const QString fontStyle = properties.value(QStringLiteral("fontStyle")).trimmed();
    style.italic = fontStyle == u"italic" || fontStyle == u"oblique";
    style.bold = properties.value(QStringLiteral("fontWeight")).trimmed() == u"bold";
    style.underline = properties.value(QStringLiteral("textDecoration")).split(u' ', Qt::SkipEmptyParts).contains(QStringLiteral("underline"));
    style.color = colorOf(properties.value(QStringLiteral("color")));
    return style;
}

QString TtmlStyle::colorOf(QStringView value)
{
    static const QHash<QString, QString> named = {
        {QStringLiteral("black"), QStringLiteral("#000000")},   {QStringLiteral("silver"), QStringLiteral("#c0c0c0")},
        {QStringLiteral("gray"), QStringLiteral("#808080")},    {QStringLiteral("maroon"), QStringLiteral("#800000")},
        {QStringLiteral("red"), QStringLiteral("#ff0000")},     {QStringLiteral("purple"), QStringLiteral("#800080")},
        {QStringLiteral("fuchsia"), QStringLiteral("#ff00ff")}, {QStringLiteral("magenta"), QStringLiteral("#ff00ff")},
        {QStringLiteral("green"), QStringLiteral("#008000")},   {QStringLiteral("lime"), QStringLiteral("#00ff00")},
        {QStringLiteral("olive"), QStringLiteral("#808000")},   {QStringLiteral("yellow"), QStringLiteral("#ffff00")},
        {QStringLiteral("navy"), QStringLiteral("#000080")},    {QStringLiteral("blue"), QStringLiteral("#0000ff")},
        {QStringLiteral("teal"), QStringLiteral("#008080")},    {QStringLiteral("aqua"), QStringLiteral("#00ffff")},
        {QStringLiteral("cyan"), QStringLiteral("#00ffff")},
    };
    static const QRegularExpression hash(QStringLiteral(R"(^#([0-9a-fA-F]{3}|[0-9a-fA-F]{6}|[0-9a-fA-F]{8})$)"));
    static const QRegularExpression function(QStringLiteral(R"(^rgba?\(\s*(\d{1,3})\s*,\s*(\d{1,3})\s*,\s*(\d{1,3})\s*(?:,\s*\d{1,3}\s*)?\)$)"));
    const QString trimmed = value.trimmed().toString().toLower();
    QString color;
    if (const auto match = hash.match(trimmed); match.hasMatch()) {
        const QString digits = match.captured(1);
        color = digits.size() == 3 ? QStringLiteral("#%1%1%2%2%3%3").arg(digits[0]).arg(digits[1]).arg(digits[2])
                                   : u'#' + digits.first(6);
    } else if (const auto match = function.match(trimmed); match.hasMatch()) {
        color = u'#' + hex(match.captured(1).toInt()) + hex(match.captured(2).toInt()) + hex(match.captured(3).toInt());
    } else {
        color = named.value(trimmed);
    }
    return color == u"#ffffff" ? QString() : color;
}

QList<QPair<QString, QString>> TtmlStyle::attributesOver(const TtmlStyle &base) const
{
    QList<QPair<QString, QString>> attributes;
    if (italic != base.italic)
        attributes.append({QStringLiteral("tts:fontStyle"), italic ? QStringLiteral("italic") : QStringLiteral("normal")});
    if (bold != base.bold)
        attributes.append({QStringLiteral("tts:fontWeight"), bold ? QStringLiteral("bold") : QStringLiteral("normal")});
    if (underline != base.underline)
        attributes.append({QStringLiteral("tts:textDecoration"), underline ? QStringLiteral("underline") : QStringLiteral("noUnderline")});
    if (color != base.color)
        attributes.append({QStringLiteral("tts:color"), color.isEmpty() ? QStringLiteral("white") : color});
    return attributes;
}

QString TtmlStyle::encoded() const
{
    QString field;
    if (italic)
        field += u'i';
    if (bold)
        field += u'b';
    if (underline)
        field += u'u';
    return field + color;
}

TtmlStyle TtmlStyle::decoded(QStringView field)
{
    TtmlStyle style;
    const qsizetype hashAt = field.indexOf(u'#');
    const QStringView flags = hashAt < 0 ? field : field.first(hashAt);
    style.italic = flags.contains(u'i');
    style.bold = flags.contains(u'b');
    style.underline = flags.contains(u'u');
    if (hashAt >= 0)
        style.color = field.sliced(hashAt).toString();
    return style;
}
