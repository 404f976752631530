#include "document/TextEncoding.h"

#include "document/TextPlausibility.h"

#include "format/Utf8Validator.h"
#include "model/Fatal.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <uchardet/uchardet.h>

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <memory>

namespace {

struct ConverterCloser
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openConverter(const char *name)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status))
        return nullptr;
    return converter;
}

// IANA MIBenums of the standard names ICU gives its converters. The numbers end up in
// users' settings, so they must never change.
const QHash<QString, int> &mibEnums()
{
    static const QHash<QString, int> table = [] {
        QHash<QString, int> t{
            {"UTF-8", 106}, {"UTF-16", 1015}, {"UTF-16BE", 1013}, {"UTF-16LE", 1014},
            {"UTF-32", 1017}, {"UTF-32BE", 1018}, {"UTF-32LE", 1019}, {"UTF-7", 1012},
            {"SCSU", 1011}, {"BOCU-1", 1020}, {"CESU-8", 1016},
            {"US-ASCII", 3}, {"ISO-8859-1", 4}, {"ISO-8859-2", 5}, {"ISO-8859-3", 6},
            {"ISO-8859-4", 7}, {"ISO-8859-5", 8}, {"ISO-8859-6", 9}, {"ISO-8859-7", 10},
            {"ISO-8859-8", 11}, {"ISO-8859-9", 12}, {"ISO-8859-10", 13}, {"ISO-8859-13", 109},
            {"ISO-8859-14", 110}, {"ISO-8859-15", 111}, {"GBK", 113}, {"GB18030", 114},
            {"Shift_JIS", 17}, {"EUC-JP", 18}, {"JIS_Encoding", 16}, {"ISO-2022-JP", 39},
            {"ISO-2022-JP-2", 40}, {"ISO-2022-KR", 37}, {"EUC-KR", 38}, {"KS_C_5601-1987", 36},
            {"ISO-2022-CN", 104}, {"ISO-2022-CN-EXT", 105}, {"GB_2312-80", 57},
            {"GB2312", 2025}, {"Big5", 2026}, {"Big5-HKSCS", 2101}, {"HZ-GB-2312", 2085},
            {"KOI8-R", 2084}, {"KOI8-U", 2088}, {"TIS-620", 2259}, {"macintosh", 2027},
            {"hp-roman8", 2004}, {"Adobe-Standard-Encoding", 2005}, {"IBM-Thai", 2016},
            {"IBM437", 2011}, {"IBM775", 2087}, {"IBM850", 2009}, {"IBM851", 2045},
            {"IBM852", 2010}, {"IBM855", 2046}, {"IBM857", 2047}, {"IBM00858", 2089},
            {"IBM860", 2048}, {"IBM861", 2049}, {"IBM862", 2013}, {"IBM863", 2050},
            {"IBM864", 2051}, {"IBM865", 2052}, {"IBM866", 2086}, {"IBM868", 2053},
            {"IBM869", 2054}, {"IBM037", 2028}, {"IBM273", 2030}, {"IBM277", 2033},
            {"IBM278", 2034}, {"IBM280", 2035}, {"IBM284", 2037}, {"IBM285", 2038},
            {"IBM290", 2039}, {"IBM297", 2040}, {"IBM420", 2041}, {"IBM424", 2043},
            {"IBM500", 2044}, {"IBM870", 2055}, {"IBM871", 2056}, {"IBM918", 2062},
            {"IBM1026", 2063}, {"IBM1047", 2102},
        };
        for (int codePage = 1250; codePage <= 1258; ++codePage)
            t.insert(QStringLiteral("windows-%1").arg(codePage), 1000 + codePage);
        for (int i = 0; i <= 9; ++i)
            t.insert(QStringLiteral("IBM0114%1").arg(i), 2091 + i);
        QHash<QString, int> folded;
        for (auto it = t.cbegin(); it != t.cend(); ++it)
            folded.insert(it.key().toCaseFolded(), it.value());
        return folded;
    }();
    return table;
}

const char *region(const QString &label)
{
    static const QHash<QString, const char *> table = [] {
        // Each region with the standard names of its encodings, separated by spaces.
        static const struct { const char *region; const char *labels; } groups[] = {
            {QT_TRANSLATE_NOOP("TextEncoding", "Unicode"),
             "UTF-8 UTF-16 UTF-16BE UTF-16LE UTF-32 UTF-32BE UTF-32LE UTF-7 SCSU BOCU-1 CESU-8"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Western European"),
             "US-ASCII ISO-8859-1 windows-1252 ISO-8859-15 macintosh IBM850 IBM00858 IBM437 hp-roman8"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Central European"),
             "ISO-8859-2 windows-1250 IBM852 x-mac-centraleurroman"},
            {QT_TRANSLATE_NOOP("TextEncoding", "South European"),
             "ISO-8859-3"},
            {QT_TRANSLATE_NOOP("TextEncoding", "North European"),
             "ISO-8859-4"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Nordic"),
             "ISO-8859-10"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Celtic"),
             "ISO-8859-14"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Cyrillic"),
             "ISO-8859-5 windows-1251 KOI8-R IBM866 IBM855 x-mac-cyrillic"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Ukrainian"),
             "KOI8-U"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Greek"),
             "ISO-8859-7 windows-1253 IBM869 IBM851 x-mac-greek"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Turkish"),
             "ISO-8859-9 windows-1254 IBM857 x-mac-turkish"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Hebrew"),
             "ISO-8859-8 windows-1255 IBM862 IBM424"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Arabic"),
             "ISO-8859-6 windows-1256 IBM864 IBM420"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Baltic"),
             "ISO-8859-13 windows-1257 IBM775"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Vietnamese"),
             "windows-1258"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Thai"),
             "TIS-620 windows-874 IBM-Thai"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Japanese"),
             "Shift_JIS EUC-JP ISO-2022-JP ISO-2022-JP-1 ISO-2022-JP-2"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Chinese Simplified"),
             "GBK GB2312 GB18030 GB_2312-80 HZ-GB-2312 ISO-2022-CN ISO-2022-CN-EXT"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Chinese Traditional"),
             "Big5 Big5-HKSCS"},
            {QT_TRANSLATE_NOOP("TextEncoding", "Korean"),
             "EUC-KR ISO-2022-KR KSC_5601 cp1363"},
        };
        QHash<QString, const char *> t;
        for (const auto &group : groups) {
            for (const QString &label : QString::fromLatin1(group.labels).split(u' '))
                t.insert(label.toCaseFolded(), group.region);
        }
        return t;
    }();
    return table.value(label.toCaseFolded(), nullptr);
}

bool isUnicode(UConverterType type)
{
    switch (type) {
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

// The byte-order mark written before text in encodings that have a byte order but do
// not write a mark themselves (ICU's "UTF-16" and "UTF-32" write their own).
QByteArray byteOrderMark(UConverterType type)
{
    switch (type) {
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

// Strict conversion to text; on failure, a message naming the offending bytes and where
// they are.
Expected<QString, TextEncoding::Error> toUnicode(UConverter *converter, const QByteArray &bytes, const QString &encodingName)
{
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
    if (isUnicode(ucnv_getType(converter)) && text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Strict conversion from text; on failure, a message naming the character.
Expected<QByteArray, TextEncoding::Error> fromUnicode(UConverter *converter, QStringView text, const QString &encodingName,
                                                     QByteArray bytes = {})
{
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

// Whether a converter can carry SRT text at all.
bool carriesSrt(UConverter *converter)
{
    const QString probe = QStringLiteral("1\n00:00:01,000 --> 00:00:02,500\nHello, world!\n\n");
    const auto bytes = fromUnicode(converter, probe, {});
    if (!bytes)
        return false;
    ucnv_reset(converter);
    const auto text = toUnicode(converter, bytes.value(), {});
    return text && text.value() == probe;
}

// The encodings subtitle files are written in, for the main list; the rest (EBCDIC and
// DOS code pages, converter-specific variants, rare Unicode forms) come after it.
bool isCommon(const QString &label)
{
    static const QSet<QString> common = [] {
        QSet<QString> set;
        const char *labels = "UTF-8 UTF-16LE UTF-16BE UTF-16 UTF-32LE UTF-32BE UTF-32 "
                             "windows-1250 windows-1251 windows-1252 windows-1253 windows-1254 windows-1255 "
                             "windows-1256 windows-1257 windows-1258 windows-874 ISO-8859-1 ISO-8859-2 ISO-8859-3 "
                             "ISO-8859-4 ISO-8859-5 ISO-8859-6 ISO-8859-7 ISO-8859-8 ISO-8859-9 ISO-8859-10 "
                             "ISO-8859-13 ISO-8859-14 ISO-8859-15 KOI8-R KOI8-U macintosh Shift_JIS EUC-JP "
                             "ISO-2022-JP GBK GB2312 GB18030 Big5 Big5-HKSCS EUC-KR TIS-620 US-ASCII";
        for (const QString &label : QString::fromLatin1(labels).split(u' '))
            set.insert(label.toCaseFolded());
        return set;
    }();
    return common.contains(label.toCaseFolded());
}

// A standard name as people write it in a menu: "Windows-1252" rather than "windows-1252".
QString menuLabel(const QString &label)
{
    if (label.startsWith(QLatin1String("windows-")))
        return u'W' + label.mid(1);
    return label;
}

QString standardName(const char *converterName, const char *standard)
{
    UErrorCode status = U_ZERO_ERROR;
    const char *name = ucnv_getStandardName(converterName, standard, &status);
    return U_SUCCESS(status) && name ? QString::fromLatin1(name) : QString();
}

// A stable number for an encoding without an IANA MIBenum: a hash of ICU's canonical
// name, far above the MIBenum range.
int hashedNumber(const QByteArray &converterName)
{
    quint32 hash = 2166136261u;
    for (char c : converterName) {
        hash ^= uchar(c);
        hash *= 16777619u;
    }
    return 100000 + int(hash % 2000000000u);
}

QList<TextEncoding::Entry> buildList()
{
    QList<TextEncoding::Entry> unicode;
    QList<TextEncoding::Entry> named;
    QList<TextEncoding::Entry> others;
    QSet<int> numbers;
    QSet<QString> displayNames;
    const int count = ucnv_countAvailable();
    for (int i = 0; i < count; ++i) {
        const char *converterName = ucnv_getAvailableName(i);
        Converter converter = openConverter(converterName);
        if (!converter || !carriesSrt(converter.get()))
            continue;
        const QString iana = standardName(converterName, "IANA");
        const QString mime = standardName(converterName, "MIME");
        const QString windows = standardName(converterName, "WINDOWS");
        QString label = !mime.isEmpty() ? mime : !iana.isEmpty() ? iana : !windows.isEmpty() ? windows : QString::fromLatin1(converterName);

        int number = 0;
        for (const QString &name : {label, iana, mime}) {
            if (!name.isEmpty() && (number = mibEnums().value(name.toCaseFolded())) != 0)
                break;
        }
        if (number == 0 || numbers.contains(number)) {
            number = hashedNumber(converterName);
            while (numbers.contains(number) || number == TextEncoding::Automatic)
                ++number;
        }
        numbers.insert(number);

        const char *regionName = region(label);
        const auto nameOf = [regionName](const QString &label) {
            return regionName ? TextEncoding::tr("%1 (%2)").arg(TextEncoding::tr(regionName), menuLabel(label)) : label;
        };
        QString displayName = nameOf(label);
        if (displayNames.contains(displayName)) {
            label = QString::fromLatin1(converterName);
            displayName = nameOf(label);
        }
        displayNames.insert(displayName);

        const bool unicodeType = isUnicode(ucnv_getType(converter.get()));
        const bool common = isCommon(label);
        TextEncoding::Entry entry{number, QByteArray(converterName), label, displayName, common};
        if (unicodeType && common)
            unicode.append(entry);
        else if (unicodeType)
            others.append(entry);
        else if (regionName)
            named.append(entry);
        else
            others.append(entry);
    }
    const auto byDisplayName = [](const TextEncoding::Entry &a, const TextEncoding::Entry &b) {
        return QString::compare(a.displayName, b.displayName, Qt::CaseInsensitive) < 0;
    };
    // UTF-8 first, as most files are; then the other Unicode forms in ICU's order.
    std::stable_partition(unicode.begin(), unicode.end(), [](const TextEncoding::Entry &e) { return e.number == TextEncoding::Utf8; });
    std::stable_sort(named.begin(), named.end(), byDisplayName);
    // The common regional encodings before the oddities (EBCDIC and the rest).
    std::stable_partition(named.begin(), named.end(), [](const TextEncoding::Entry &e) { return e.common; });
    std::stable_sort(others.begin(), others.end(), byDisplayName);
    return unicode + named + others;
}

} // namespace

const QList<TextEncoding::Entry> &TextEncoding::all()
{
    static const QList<Entry> list = buildList();
    return list;
}

const TextEncoding::Entry *TextEncoding::find(int number)
{
    static const QHash<int, qsizetype> positions = [] {
        QHash<int, qsizetype> p;
        for (qsizetype i = 0; i < all().size(); ++i)
            p.insert(all()[i].number, i);
        return p;
    }();
    const auto it = positions.constFind(number);
    return it == positions.cend() ? nullptr : &all()[*it];
}

std::optional<int> TextEncoding::numberForName(QStringView name)
{
    const QString trimmed = name.trimmed().toString();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (const Entry &entry : all()) {
        if (trimmed.compare(entry.displayName, Qt::CaseInsensitive) == 0 || trimmed.compare(entry.name, Qt::CaseInsensitive) == 0)
            return entry.number;
    }
    // Any name or alias ICU knows, through the converter it opens.
    Converter converter = openConverter(trimmed.toLatin1().constData());
    if (!converter || trimmed.contains(QChar(0)))
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray canonical = ucnv_getName(converter.get(), &status);
    for (const Entry &entry : all()) {
        if (entry.converterName == canonical)
            return entry.number;
    }
    return std::nullopt;
}

QString TextEncoding::name(int number)
{
    const Entry *entry = find(number);
    return entry ? entry->name : QString::number(number);
}

QString TextEncoding::displayName(int number)
{
    const Entry *entry = find(number);
    return entry ? entry->displayName : QString::number(number);
}

Expected<QString, TextEncoding::Error> TextEncoding::decode(const QByteArray &bytes, int number)
{
    const Entry *entry = find(number);
    if (!entry)
        return Error{tr("The text encoding number %1 is not known.").arg(number)};
    // Qt's own UTF-8 decoder is about twice as fast as ICU's on large files; ICU still
    // finds the offending bytes for the message.
    if (number == Utf8 && Utf8Validator::isValid(bytes)) {
        QString text = QString::fromUtf8(bytes);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    Converter converter = openConverter(entry->converterName.constData());
    if (!converter)
        CUEWRIGHT_FATAL("a listed converter does not open");
    return toUnicode(converter.get(), bytes, entry->name);
}

Expected<QByteArray, TextEncoding::Error> TextEncoding::encode(QStringView text, int number, std::optional<bool> withByteOrderMark)
{
    const Entry *entry = find(number);
    if (!entry)
        return Error{tr("The text encoding number %1 is not known.").arg(number)};
    Converter converter = openConverter(entry->converterName.constData());
    if (!converter)
        CUEWRIGHT_FATAL("a listed converter does not open");
    const UConverterType type = ucnv_getType(converter.get());
    QByteArray mark = byteOrderMark(type);
    if (type == UCNV_UTF8 && withByteOrderMark.value_or(false))
        mark = QByteArray("\xEF\xBB\xBF");
    else if (!withByteOrderMark.value_or(true))
        mark.clear();
    return fromUnicode(converter.get(), text, entry->name, mark);
}

std::optional<int> TextEncoding::encodingOfByteOrderMark(const QByteArray &bytes)
{
    // UTF-32LE first: its mark begins with the UTF-16LE one.
    if (bytes.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)))
        return Utf32BigEndian;
    if (bytes.startsWith(QByteArray("\xFF\xFE\x00\x00", 4)))
        return Utf32LittleEndian;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Utf8;
    if (bytes.startsWith("\xFE\xFF"))
        return Utf16BigEndian;
    if (bytes.startsWith("\xFF\xFE"))
        return Utf16LittleEndian;
    return std::nullopt;
}

namespace {

// The detectors look at the start of a file; a few megabytes are plenty to tell.
constexpr qsizetype detectionSampleSize = 4 * 1024 * 1024;

} // namespace

std::optional<int> TextEncoding::uchardetGuess(const QByteArray &bytes)
{
    uchardet_t detector = uchardet_new();
    const qsizetype length = std::min(bytes.size(), detectionSampleSize);
    std::optional<int> number;
    if (uchardet_handle_data(detector, bytes.constData(), size_t(length)) == 0) {
        uchardet_data_end(detector);
        // uchardet's own spellings that ICU does not know
        static const QHash<QString, QString> names{
            {QStringLiteral("UHC"), QStringLiteral("windows-949")},
            {QStringLiteral("MAC-CYRILLIC"), QStringLiteral("x-mac-cyrillic")},
            {QStringLiteral("MAC-CENTRALEUROPE"), QStringLiteral("x-mac-centraleurroman")},
        };
        const QString name = QString::fromLatin1(uchardet_get_charset(detector));
        number = numberForName(names.value(name, name));
    }
    uchardet_delete(detector);
    return number;
}

QList<int> TextEncoding::icuGuesses(const QByteArray &bytes)
{
    QList<int> numbers;
    UErrorCode status = U_ZERO_ERROR;
    UCharsetDetector *detector = ucsdet_open(&status);
    if (U_FAILURE(status))
        return numbers;
    ucsdet_setText(detector, bytes.constData(), int32_t(std::min(bytes.size(), detectionSampleSize)), &status);
    int32_t count = 0;
    const UCharsetMatch **matches = ucsdet_detectAll(detector, &count, &status);
    for (int32_t i = 0; U_SUCCESS(status) && i < count; ++i) {
        const char *name = ucsdet_getName(matches[i], &status);
        if (U_SUCCESS(status) && name) {
            if (const auto number = numberForName(QString::fromLatin1(name)); number && !numbers.contains(*number))
                numbers.append(*number);
        }
    }
    ucsdet_close(detector);
    return numbers;
}

namespace {

bool isMultibyte(int number)
{
    const TextEncoding::Entry *entry = TextEncoding::find(number);
    Converter converter = entry ? openConverter(entry->converterName.constData()) : nullptr;
    return converter && ucnv_getMaxCharSize(converter.get()) > 1;
}

QString undetected()
{
    return TextEncoding::tr("The text encoding of the file could not be detected.\nChoose its encoding in the Open dialog.");
}

// The legacy encodings subtitles come in, weighed beside the detectors' guesses: on a
// short file a detector's first guess is often another language's encoding.
const QList<int> &legacyEncodings()
{
    static const QList<int> numbers = [] {
        QList<int> list;
        for (const char *name : {"windows-1252", "windows-1250", "windows-1251", "KOI8-R", "KOI8-U", "ISO-8859-5", "IBM866",
                                 "windows-1253", "ISO-8859-7", "windows-1254", "windows-1255", "windows-1256", "windows-1257",
                                 "windows-874", "ISO-8859-2", "ISO-8859-15"}) {
            if (const auto number = TextEncoding::numberForName(QString::fromLatin1(name)))
                list.append(*number);
        }
        return list;
    }();
    return numbers;
}

// Readings are weighed on the start of the file, cut at a line end, so that weighing
// many encodings costs little on a large file.
constexpr qsizetype weighedSampleSize = 64 * 1024;

QByteArray weighedSample(const QByteArray &bytes)
{
    if (bytes.size() <= weighedSampleSize)
        return bytes;
    const qsizetype lineEnd = bytes.lastIndexOf('\n', weighedSampleSize - 1);
    return bytes.first(lineEnd > 0 ? lineEnd + 1 : weighedSampleSize);
}

// The detectors' first guess that decodes wins a tie: on long texts they are seldom
// wrong, and readings that score alike usually differ in a letter or two.
constexpr double detectorsChoice = 2;
// How far the best reading must stand above the next for the guess to be sure; those
// within twice that are offered beside it.
constexpr double sureMargin = 3;
constexpr qsizetype consideredCount = 6;

// The first lines a reading holds beyond ASCII: where readings differ.
QString excerpt(const QString &text)
{
    constexpr qsizetype lines = 4;
    constexpr qsizetype lineLength = 100;
    QStringList shown;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (std::any_of(line.cbegin(), line.cend(), [](QChar c) { return c.unicode() >= 0x80; }))
            shown.append(line.trimmed().left(lineLength).toString());
        if (shown.size() == lines)
            break;
    }
    return shown.join(u'\n');
}

} // namespace

Expected<TextEncoding::Detected, TextEncoding::Error> TextEncoding::mostPlausible(const QByteArray &bytes,
                                                                                 QList<int> candidates)
{
    const qsizetype detectorsCandidates = candidates.size();
    for (int number : legacyEncodings()) {
        if (!candidates.contains(number))
            candidates.append(number);
    }
    const QByteArray sample = weighedSample(bytes);
    // Encodings that read the sample as the same text are one reading, in their order.
    struct Reading
    {
        QList<int> encodings;
        QString text;
        double score;
    };
    QList<Reading> readings;
    bool detectorsChoiceTaken = false;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        auto text = decode(sample, candidates[i]);
        if (!text)
            continue;
        const bool detectorsFirst = !detectorsChoiceTaken && i < detectorsCandidates;
        detectorsChoiceTaken |= detectorsFirst;
        const auto same = std::find_if(readings.begin(), readings.end(), [&](const Reading &r) { return r.text == text.value(); });
        if (same != readings.end()) {
            same->encodings.append(candidates[i]);
            continue;
        }
        const double score = TextPlausibility::of(text.value()).value + (detectorsFirst ? detectorsChoice : 0);
        readings.append({{candidates[i]}, std::move(text).value(), score});
    }
    std::stable_sort(readings.begin(), readings.end(), [](const Reading &a, const Reading &b) { return a.score > b.score; });
    for (qsizetype i = 0; i < readings.size(); ++i) {
        for (int encoding : std::as_const(readings[i].encodings)) {
            auto text = sample.size() == bytes.size() ? Expected<QString, Error>(readings[i].text) : decode(bytes, encoding);
            if (!text)
                continue;
            Detected detected{std::move(text).value(), encoding};
            detected.sure = i + 1 >= readings.size() || readings[i].score - readings[i + 1].score >= sureMargin;
            if (!detected.sure) {
                detected.considered.append({encoding, excerpt(readings[i].text)});
                for (qsizetype j = i + 1; j < readings.size() && detected.considered.size() < consideredCount
                                          && readings[j].score > readings[i].score - 2 * sureMargin;
                     ++j)
                    detected.considered.append({readings[j].encodings.first(), excerpt(readings[j].text)});
            }
            return detected;
        }
    }
    return Error{undetected()};
}

Expected<TextEncoding::Detected, TextEncoding::Error> TextEncoding::decodeDetectingEncoding(const QByteArray &bytes)
{
    // Most files are UTF-8: settled without running the detectors over them.
    if (readsAsUtf8(bytes))
        return Detected{decode(bytes, Utf8).value(), Utf8};
    if (const auto marked = encodingOfByteOrderMark(bytes)) {
        auto text = decode(bytes, *marked);
        if (!text)
            return text.error();
        return Detected{std::move(text).value(), *marked};
    }

    const bool looksLikeIso2022 = TextEncoding::looksLikeIso2022(bytes);
    QList<int> candidates;
    if (!looksLikeIso2022)
        candidates.append(Utf8);
    // uchardet first: it was right more often on our samples, short ones above all.
    if (const auto guess = uchardetGuess(bytes))
        candidates.append(*guess);
    const QList<int> icu = icuGuesses(bytes);
    const bool utf16 = utf16WithoutByteOrderMark(bytes).has_value();
    // ICU lists every encoding it cannot rule out; weighed against the others, the
    // multi-byte ones it ranks below its first would read short single-byte text as a
    // handful of rare ideographs as plausibly as the right reading.
    for (qsizetype i = 0; i < icu.size(); ++i) {
        if (i == 0 || utf16 || looksLikeIso2022 || !isMultibyte(icu[i]))
            candidates.append(icu[i]);
    }
    candidates.append(Utf8);
    // Text full of NUL bytes is not UTF-8, whatever a detector says: UTF-16 without a mark.
    if (const auto utf16 = utf16WithoutByteOrderMark(bytes))
        candidates.prepend(*utf16);

    QList<int> ordered;
    for (int guess : std::as_const(candidates)) {
        for (int number : {widened(guess), guess}) {
            if (!ordered.contains(number))
                ordered.append(number);
        }
    }
    // A mark of UTF-16 or ISO-2022's escapes settle it; other files weigh the readings.
    if (utf16 || looksLikeIso2022) {
        for (int number : std::as_const(ordered)) {
            if (auto text = decode(bytes, number))
                return Detected{std::move(text).value(), number};
        }
        return Error{undetected()};
    }
    return mostPlausible(bytes, ordered);
}

bool TextEncoding::looksLikeIso2022(QByteArrayView bytes)
{
    // ISO-2022 text is 7-bit and so valid UTF-8 as well: its escape sequences give it away.
    // memchr finds the rare escape byte far faster than a search for the pair.
    const char *const end = bytes.constData() + bytes.size();
    for (const char *p = bytes.constData(); (p = static_cast<const char *>(std::memchr(p, '\x1B', end - p))); ++p) {
        if (p + 1 < end && p[1] == '$')
            return true;
    }
    return false;
}

bool TextEncoding::readsAsUtf8(const QByteArray &bytes)
{
    // As decodeDetectingEncoding tries them: a mark first, else UTF-16 told by its NUL
    // bytes, else UTF-8 before any detector's guess.
    if (const auto marked = encodingOfByteOrderMark(bytes); marked && *marked != Utf8)
        return false;
    if (!encodingOfByteOrderMark(bytes) && (looksLikeIso2022(bytes) || utf16WithoutByteOrderMark(bytes)))
        return false;
    return Utf8Validator::isValid(bytes);
}

std::optional<bool> TextEncoding::usualByteOrderMark(int number)
{
    switch (number) {
    case Utf8:
        return false;
    case Utf16BigEndian:
    case Utf16LittleEndian:
    case Utf32BigEndian:
    case Utf32LittleEndian:
        return true;
    default:
        return std::nullopt;
    }
}

std::optional<int> TextEncoding::utf16WithoutByteOrderMark(const QByteArray &bytes)
{
    // Latin text in UTF-16 has a NUL in every other byte: the odd ones in little-endian
    // order, the even ones in big-endian order.
    const qsizetype length = std::min<qsizetype>(bytes.size(), 4096) & ~qsizetype(1);
    if (length < 4)
        return std::nullopt;
    qsizetype evenNuls = 0;
    qsizetype oddNuls = 0;
    for (qsizetype i = 0; i < length; i += 2) {
        evenNuls += bytes[i] == '\0';
        oddNuls += bytes[i + 1] == '\0';
    }
    const qsizetype pairs = length / 2;
    if (oddNuls * 10 >= pairs * 4 && evenNuls * 10 < pairs)
        return Utf16LittleEndian;
    if (evenNuls * 10 >= pairs * 4 && oddNuls * 10 < pairs)
        return Utf16BigEndian;
    return std::nullopt;
}

int TextEncoding::widened(int number)
{
    // Detectors name the smaller of two encodings that read the same text alike; the larger
    // also reads what the smaller cannot (Ukrainian letters in KOI8-U, the euro sign in
    // windows-1252), and needs no control characters for it.
    static const QHash<int, int> supersets = [] {
        QHash<int, int> t;
        const std::pair<const char *, const char *> pairs[] = {
            {"ISO-8859-1", "windows-1252"}, {"ISO-8859-9", "windows-1254"}, {"KOI8-R", "KOI8-U"},
            {"EUC-KR", "windows-949"}, {"GB2312", "GB18030"}, {"GBK", "GB18030"}, {"US-ASCII", "UTF-8"},
        };
        for (const auto &[smaller, larger] : pairs) {
            const auto from = numberForName(QString::fromLatin1(smaller));
            const auto to = numberForName(QString::fromLatin1(larger));
            if (from && to)
                t.insert(*from, *to);
        }
        return t;
    }();
    return supersets.value(number, number);
}
