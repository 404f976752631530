#include "document/TextEncoding.h"

#include "document/EncodingNames.h"
#include "document/StrictConverter.h"
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
#include <memory>

namespace {

QString standardName(const char *converterName, const char *standard)
{
    UErrorCode status = U_ZERO_ERROR;
    const char *name = ucnv_getStandardName(converterName, standard, &status);
    return U_SUCCESS(status) && name ? QString::fromLatin1(name) : QString();
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
        StrictConverter converter(converterName);
        if (!converter || !converter.carriesSrt())
            continue;
        const QString iana = standardName(converterName, "IANA");
        const QString mime = standardName(converterName, "MIME");
        const QString windows = standardName(converterName, "WINDOWS");
        QString label = !mime.isEmpty() ? mime : !iana.isEmpty() ? iana : !windows.isEmpty() ? windows : QString::fromLatin1(converterName);

        int number = 0;
        for (const QString &name : {label, iana, mime}) {
            if (!name.isEmpty() && (number = EncodingNames::mibEnum(name)) != 0)
                break;
        }
        if (number == 0 || numbers.contains(number)) {
            number = EncodingNames::hashedNumber(converterName);
            while (numbers.contains(number) || number == TextEncoding::Automatic)
                ++number;
        }
        numbers.insert(number);

        const char *regionName = EncodingNames::region(label);
        const auto nameOf = [regionName](const QString &label) {
            return regionName ? TextEncoding::tr("%1 (%2)").arg(TextEncoding::tr(regionName), EncodingNames::menuLabel(label)) : label;
        };
        QString displayName = nameOf(label);
        if (displayNames.contains(displayName)) {
            label = QString::fromLatin1(converterName);
            displayName = nameOf(label);
        }
        displayNames.insert(displayName);

        const bool unicodeType = converter.isUnicode();
        const bool common = EncodingNames::isCommon(label);
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
    const StrictConverter converter(trimmed.toLatin1().constData());
    if (!converter || trimmed.contains(QChar(0)))
        return std::nullopt;
    const QByteArray canonical = converter.canonicalName();
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
    StrictConverter converter(entry->converterName.constData());
    if (!converter)
        CUEWRIGHT_FATAL("a listed converter does not open");
    return converter.toUnicode(bytes, entry->name);
}

Expected<QByteArray, TextEncoding::Error> TextEncoding::encode(QStringView text, int number, std::optional<bool> withByteOrderMark)
{
    const Entry *entry = find(number);
    if (!entry)
        return Error{tr("The text encoding number %1 is not known.").arg(number)};
    StrictConverter converter(entry->converterName.constData());
    if (!converter)
        CUEWRIGHT_FATAL("a listed converter does not open");
    QByteArray mark = converter.byteOrderMark();
    if (number == Utf8 && withByteOrderMark.value_or(false))
        mark = QByteArray("\xEF\xBB\xBF");
    else if (!withByteOrderMark.value_or(true))
        mark.clear();
    return converter.fromUnicode(text, entry->name, mark);
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
    return entry && StrictConverter(entry->converterName.constData()).maxCharSize() > 1;
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
