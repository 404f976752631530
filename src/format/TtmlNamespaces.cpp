#include "format/TtmlNamespaces.h"

#include <QRegularExpression>

namespace {

const QString xmlNamespace = QStringLiteral("http://www.w3.org/XML/1998/namespace");

qsizetype lineOf(const QString &text, qsizetype offset)
{
    return QStringView(text).first(offset).count(u'\n') + 1;
}

} // namespace

QString TtmlNamespaces::mended(const QString &text, QList<Mend> &mends)
{
    // The root element: the first start tag named tt, with or without a prefix.
    static const QRegularExpression root(QStringLiteral(R"(<(?:[A-Za-z_][\w.-]*:)?tt[\s>/])"));
    const QRegularExpressionMatch rootMatch = root.match(text);
    if (!rootMatch.hasMatch())
        return text;
    const qsizetype rootStart = rootMatch.capturedStart();
    const qsizetype rootNameEnd = rootMatch.capturedEnd() - 1;
    const qsizetype rootEnd = text.indexOf(u'>', rootNameEnd);
    if (rootEnd < 0)
        return text;
    QString result = text;
    const qsizetype line = lineOf(text, rootStart);
    const qsizetype mendsBefore = mends.size();

    // Another prefix for the XML namespace: bound to a name of its own instead, so that its
    // attributes are still read by their local names. From the last, so that the earlier
    // places stay where they are.
    static const QRegularExpression xmlBinding(QStringLiteral(R"(\sxmlns:([A-Za-z_][\w.-]*)\s*=\s*(["'])http://www\.w3\.org/XML/1998/namespace\2)"));
    QList<QRegularExpressionMatch> bindings;
    for (auto it = xmlBinding.globalMatch(QStringView(text).sliced(rootStart, rootEnd - rootStart)); it.hasNext();) {
        if (QRegularExpressionMatch match = it.next(); match.capturedView(1) != u"xml")
            bindings.prepend(std::move(match));
    }
    for (const QRegularExpressionMatch &binding : std::as_const(bindings)) {
        const qsizetype uriStart = rootStart + binding.capturedEnd(2);
        result.replace(uriStart, xmlNamespace.size(), QStringLiteral("urn:x-xml-namespace:") + binding.captured(1));
        mends.append({line, tr("The prefix “%1” is declared for the XML namespace, which only “xml” may name: read it as a namespace of its own.")
                                .arg(binding.captured(1))});
    }

    // TTML's own prefixes used and declared nowhere.
    static const struct
    {
        const char16_t *prefix;
        const char16_t *uri;
    } known[] = {{u"ttm", u"http://www.w3.org/ns/ttml#metadata"},
                 {u"tts", u"http://www.w3.org/ns/ttml#styling"},
                 {u"ttp", u"http://www.w3.org/ns/ttml#parameter"}};
    QString declarations;
    for (const auto &[prefix, uri] : known) {
        const QString name = QString::fromUtf16(prefix);
        const QRegularExpression used(QStringLiteral(R"([<\s]%1:[A-Za-z_])").arg(name));
        const QRegularExpression declared(QStringLiteral(R"(\sxmlns:%1\s*=)").arg(name));
        if (!used.match(result).hasMatch() || declared.match(result).hasMatch())
            continue;
        declarations += QStringLiteral(" xmlns:%1=\"%2\"").arg(name, QString::fromUtf16(uri));
        mends.append({line, tr("The prefix “%1” is used without its declaration: declared it as TTML’s.").arg(name)});
    }
    if (!declarations.isEmpty())
        result.insert(rootNameEnd, declarations);
    return mends.size() == mendsBefore ? text : result;
}
