#include "document/EncodingNames.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QStringList>

namespace {

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

} // namespace

int EncodingNames::mibEnum(const QString &name)
{
    return mibEnums().value(name.toCaseFolded());
}

const char *EncodingNames::region(const QString &label)
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

// The encodings subtitle files are written in, for the main list; the rest (EBCDIC and
// DOS code pages, converter-specific variants, rare Unicode forms) come after it.
bool EncodingNames::isCommon(const QString &label)
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

QString EncodingNames::menuLabel(const QString &label)
{
    if (label.startsWith(QLatin1String("windows-")))
        return u'W' + label.mid(1);
    return label;
}

int EncodingNames::hashedNumber(const QByteArray &converterName)
{
    quint32 hash = 2166136261u;
    for (char c : converterName) {
        hash ^= uchar(c);
        hash *= 16777619u;
    }
    return 100000 + int(hash % 2000000000u);
}
