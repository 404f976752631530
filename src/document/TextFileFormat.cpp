#include "document/TextFileFormat.h"

#include "document/TextEncoding.h"

namespace {

// Whether the first line break of the text is CR LF; files rarely mix them.
template <typename View>
bool firstLineBreakIsCrlf(View text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || text[i] == u'\r')
            return text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
    }
    return false;
}

} // namespace

TextFileFormat TextFileFormat::of(const QByteArray &bytes, QStringView text, int encoding)
{
    TextFileFormat format;
    format.crlf = firstLineBreakIsCrlf(text);
    format.byteOrderMark = TextEncoding::encodingOfByteOrderMark(bytes) == encoding;
    return format;
}

TextFileFormat TextFileFormat::ofUtf8(const QByteArray &bytes)
{
    TextFileFormat format;
    format.crlf = firstLineBreakIsCrlf(QByteArrayView(bytes));
    format.byteOrderMark = TextEncoding::encodingOfByteOrderMark(bytes) == TextEncoding::Utf8;
    return format;
}

QString TextFileFormat::withLineEndings(QString text) const
{
    if (!crlf)
        return text;
    // What a format keeps of the file as it was already ends its lines with CR LF.
    QString out;
    out.reserve(text.size() + text.count(u'\n'));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            out += u'\r';
        out += text[i];
    }
    return out;
}

TextFileFormat TextFileFormat::forWriting(std::optional<int> readEncoding, int writeEncoding) const
{
    TextFileFormat format = *this;
    if (readEncoding != writeEncoding)
        format.byteOrderMark.reset();
    return format;
}
