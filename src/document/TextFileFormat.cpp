#include "document/TextFileFormat.h"

#include "document/TextEncoding.h"

TextFileFormat TextFileFormat::of(const QByteArray &bytes, QStringView text, int encoding)
{
    TextFileFormat format;
    // The first line break tells; files rarely mix them.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || text[i] == u'\r') {
            format.crlf = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
            break;
        }
    }
    format.byteOrderMark = TextEncoding::encodingOfByteOrderMark(bytes) == encoding;
    return format;
}

QString TextFileFormat::withLineEndings(QString text) const
{
    if (crlf)
        text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

TextFileFormat TextFileFormat::forWriting(std::optional<int> readEncoding, int writeEncoding) const
{
    TextFileFormat format = *this;
    if (readEncoding != writeEncoding)
        format.byteOrderMark.reset();
    return format;
}
