#include "document/StrictConverter.h"

#include <QStringList>

#include <type_traits>

namespace {

QString hexBytes(const char *bytes, int length)
{
    QStringList parts;
    for (int i = 0; i < length; ++i)
        parts.append(QStringLiteral("0x") + QString::number(uchar(bytes[i]), 16).toUpper().rightJustified(2, u'0'));
    return parts.join(u' ');
}

// Runs one of ICU's streaming conversions over the whole source into `out` (from
// `written` on), growing `out` while ICU asks for room. Returns ICU's final status; on
// failure `source` points past the offending input.
template <typename Buffer, typename From, typename Convert>
UErrorCode convertAll(Buffer &out, qsizetype initialSize, qsizetype &written, const From *&source, const From *sourceEnd,
                      Convert convert)
{
    using To = std::conditional_t<std::is_same_v<Buffer, QString>, UChar, char>;
    out.resize(initialSize);
    for (;;) {
        auto *targetBegin = reinterpret_cast<To *>(out.data());
        To *target = targetBegin + written;
        UErrorCode status = U_ZERO_ERROR;
        convert(&target, targetBegin + out.size(), &source, sourceEnd, &status);
        written = target - targetBegin;
        if (status != U_BUFFER_OVERFLOW_ERROR)
            return status;
        out.resize(out.size() + out.size() / 2 + 16);
    }
}

} // namespace

StrictConverter::StrictConverter(const char *name)
{
    UErrorCode status = U_ZERO_ERROR;
    m_converter.reset(ucnv_open(name, &status));
    if (U_FAILURE(status))
        m_converter.reset();
}

QByteArray StrictConverter::canonicalName() const
{
    UErrorCode status = U_ZERO_ERROR;
    const char *name = ucnv_getName(m_converter.get(), &status);
    return U_SUCCESS(status) && name ? QByteArray(name) : QByteArray();
}

int StrictConverter::maxCharSize() const
{
    return m_converter ? ucnv_getMaxCharSize(m_converter.get()) : 0;
}

bool StrictConverter::isUnicode() const
{
    switch (ucnv_getType(m_converter.get())) {
    case UCNV_UTF8:
    case UCNV_CESU8:
    case UCNV_UTF16:
    case UCNV_UTF16_BigEndian:
    case UCNV_UTF16_LittleEndian:
    case UCNV_UTF32:
    case UCNV_UTF32_BigEndian:
    case UCNV_UTF32_LittleEndian:
    case UCNV_UTF7:
    case UCNV_SCSU:
    case UCNV_BOCU1:
        return true;
    default:
        return false;
    }
}

QByteArray StrictConverter::byteOrderMark() const
{
    switch (ucnv_getType(m_converter.get())) {
    case UCNV_UTF16_BigEndian:
        return QByteArray("\xFE\xFF", 2);
    case UCNV_UTF16_LittleEndian:
        return QByteArray("\xFF\xFE", 2);
    case UCNV_UTF32_BigEndian:
        return QByteArray("\x00\x00\xFE\xFF", 4);
    case UCNV_UTF32_LittleEndian:
        return QByteArray("\xFF\xFE\x00\x00", 4);
    default:
        return {};
    }
}

// Strict conversion to text; on failure, a message naming the offending bytes and where
// they are.
Expected<QString, TextEncoding::Error> StrictConverter::toUnicode(const QByteArray &bytes, const QString &encodingName)
{
    UConverter *converter = m_converter.get();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    QString text;
    const char *begin = bytes.constData();
    const char *source = begin;
    qsizetype written = 0;
    status = convertAll(text, bytes.size() + 16, written, source, begin + bytes.size(),
                        [converter](UChar **target, UChar *targetEnd, const char **from, const char *fromEnd, UErrorCode *s) {
                            ucnv_toUnicode(converter, target, targetEnd, from, fromEnd, nullptr, true, s);
                        });
    if (U_FAILURE(status)) {
        char invalid[32];
        int8_t length = sizeof invalid;
        UErrorCode invalidStatus = U_ZERO_ERROR;
        ucnv_getInvalidChars(converter, invalid, &length, &invalidStatus);
        if (U_FAILURE(invalidStatus))
            length = 0;
        const qsizetype offset = (source - begin) - length;
        if (status == U_TRUNCATED_CHAR_FOUND)
            return TextEncoding::Error{
                TextEncoding::tr("The text is not valid %1: it ends in the middle of a character (byte offset %2).")
                    .arg(encodingName)
                    .arg(offset)};
        if (length == 1)
            return TextEncoding::Error{
                TextEncoding::tr("The text is not valid %1: the byte %2 at byte offset %3 is not a character in this encoding.")
                    .arg(encodingName, hexBytes(invalid, length))
                    .arg(offset)};
        return TextEncoding::Error{
            TextEncoding::tr("The text is not valid %1: the bytes %2 at byte offset %3 are not a character in this encoding.")
                .arg(encodingName, hexBytes(invalid, length))
                .arg(offset)};
    }
    text.resize(written);
    if (text.capacity() - written > written / 8)
        text.squeeze();
    if (isUnicode() && text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Strict conversion from text; on failure, a message naming the character.
Expected<QByteArray, TextEncoding::Error> StrictConverter::fromUnicode(QStringView text, const QString &encodingName,
                                                                      QByteArray bytes)
{
    UConverter *converter = m_converter.get();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    qsizetype written = bytes.size();
    const auto *begin = reinterpret_cast<const UChar *>(text.data());
    const UChar *source = begin;
    status = convertAll(bytes, written + text.size() + text.size() / 4 + 16, written, source, begin + text.size(),
                        [converter](char **target, char *targetEnd, const UChar **from, const UChar *fromEnd, UErrorCode *s) {
                            ucnv_fromUnicode(converter, target, targetEnd, from, fromEnd, nullptr, true, s);
                        });
    if (U_FAILURE(status)) {
        UChar invalid[4];
        int8_t length = 4;
        UErrorCode invalidStatus = U_ZERO_ERROR;
        ucnv_getInvalidUChars(converter, invalid, &length, &invalidStatus);
        if (U_FAILURE(invalidStatus) || length <= 0)
            return TextEncoding::Error{TextEncoding::tr("The text cannot be saved in %1.").arg(encodingName)};
        char32_t codePoint = invalid[0];
        if (length == 2 && QChar::isHighSurrogate(invalid[0]) && QChar::isLowSurrogate(invalid[1]))
            codePoint = QChar::surrogateToUcs4(invalid[0], invalid[1]);
        const QString code = QStringLiteral("U+") + QString::number(uint(codePoint), 16).toUpper().rightJustified(4, u'0');
        if (QChar::isPrint(codePoint) && !QChar::isSurrogate(codePoint))
            return TextEncoding::Error{TextEncoding::tr("The character \"%1\" (%2) cannot be saved in %3.")
                .arg(QString::fromUcs4(&codePoint, 1), code, encodingName)};
        return TextEncoding::Error{TextEncoding::tr("The character %1 cannot be saved in %2.").arg(code, encodingName)};
    }
    bytes.resize(written);
    return bytes;
}

bool StrictConverter::carriesSrt()
{
    const QString probe = QStringLiteral("1\n00:00:01,000 --> 00:00:02,500\nHello, world!\n\n");
    const auto bytes = fromUnicode(probe, {});
    if (!bytes)
        return false;
    ucnv_reset(m_converter.get());
    const auto text = toUnicode(bytes.value(), {});
    return text && text.value() == probe;
}
