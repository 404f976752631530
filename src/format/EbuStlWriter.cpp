#include "format/EbuStlWriter.h"

#include "format/EbuStlSyntax.h"
#include "format/EbuStlText.h"
#include "format/MarkupTokenizer.h"
#include "model/FrameTiming.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

using namespace EbuStlSyntax;

namespace {

// The language codes of the general information block, by ISO 639-1 code.
int languageCode(const QString &language)
{
    static const QHash<QString, int> codes = {
        {"sq", 0x01}, {"br", 0x02}, {"ca", 0x03}, {"hr", 0x04}, {"cy", 0x05}, {"cs", 0x06}, {"da", 0x07}, {"de", 0x08},
        {"en", 0x09}, {"es", 0x0A}, {"eo", 0x0B}, {"et", 0x0C}, {"eu", 0x0D}, {"fo", 0x0E}, {"fr", 0x0F}, {"fy", 0x10},
        {"ga", 0x11}, {"gd", 0x12}, {"gl", 0x13}, {"is", 0x14}, {"it", 0x15}, {"se", 0x16}, {"la", 0x17}, {"lv", 0x18},
        {"lb", 0x19}, {"lt", 0x1A}, {"hu", 0x1B}, {"mt", 0x1C}, {"nl", 0x1D}, {"no", 0x1E}, {"nb", 0x1E}, {"nn", 0x1E},
        {"oc", 0x1F}, {"pl", 0x20}, {"pt", 0x21}, {"ro", 0x22}, {"rm", 0x23}, {"sr", 0x24}, {"sk", 0x25}, {"sl", 0x26},
        {"fi", 0x27}, {"sv", 0x28}, {"tr", 0x29}, {"uk", 0x49}, {"th", 0x4A}, {"ru", 0x56}, {"ja", 0x69}, {"hi", 0x6B},
        {"he", 0x6C}, {"el", 0x70}, {"zh", 0x75}, {"bg", 0x77}, {"ar", 0x7E}, {"vi", 0x46}, {"ko", 0x65},
    };
    return codes.value(language.left(2).toLower(), 0);
}

// The {\anN} the text begins with, 2 when none.
int placementOf(QStringView text)
{
    static const QRegularExpression tag(QStringLiteral(R"(^\{\\an([1-9])\})"));
    const auto match = tag.match(text);
    return match.hasMatch() ? match.capturedView(1).toInt() : 2;
}

struct Target
{
    QByteArray gsi;
    int rate = 25;
    EbuStlCharacters::Table table = EbuStlCharacters::Latin;
    int rowLimit = 40;
    qint64 offset = 0; // frames the times were read from
    int rows = 23;
};

std::optional<int> rateCode(double frameRate)
{
    if (!(frameRate > 0) || std::abs(frameRate - 25) < 0.01)
        return 25;
    if (std::abs(frameRate - 30) < 0.01 || std::abs(frameRate - 30000.0 / 1001) < 0.01)
        return 30;
    return std::nullopt;
}

// The characters the subtitles show, without their tags and line breaks.
QString allText(const SubtitleList &subtitles)
{
    QString text;
    for (const SubtitlePtr &subtitle : subtitles) {
        for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(subtitle->text())) {
            if (token.kind == MarkupTokenizer::Kind::Text)
                text += token.raw;
        }
    }
    return text;
}

// The table a new file is written in: the first that holds every character.
Expected<EbuStlCharacters::Table, QString> tableFor(const SubtitleList &subtitles)
{
    const QString text = allText(subtitles);
    QString firstMissing;
    for (const EbuStlCharacters::Table table : EbuStlCharacters::all) {
        const QString unheld = EbuStlCharacters::firstUnheld(text, table);
        if (unheld.isEmpty())
            return table;
        if (table == EbuStlCharacters::Latin)
            firstMissing = unheld;
    }
    // Name a character no table has, else the one that needs a table of its own.
    QString named = firstMissing;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QString c = text.mid(at, text[at].isHighSurrogate() ? 2 : 1);
        if (std::all_of(std::begin(EbuStlCharacters::all), std::end(EbuStlCharacters::all),
                        [&](EbuStlCharacters::Table table) { return !EbuStlCharacters::firstUnheld(c, table).isEmpty(); })) {
            named = c;
            break;
        }
    }
    return EbuStlWriter::tr("The character “%1” (U+%2) cannot be written in EBU-STL: no character table of the format holds it "
                            "together with the rest of the text.")
        .arg(named)
        .arg(named.toUcs4().value(0), 4, 16, QChar(u'0'));
}

Expected<Target, QString> targetFor(const SubtitleList &subtitles, const FormatKeep *keep, const EbuStlWriter::Settings &settings)
{
    Target target;
    if (keep) {
        target.gsi = keep->header.toLatin1();
        target.rate = frameRateOf(field(target.gsi, diskFormat)).value_or(25);
        const QByteArrayView table = field(target.gsi, characterTable);
        target.table = EbuStlCharacters::Table(table == "  " ? 0 : table.toByteArray().toInt());
        target.offset = keep->fileFields.value(0).toLongLong();
        const bool teletext = isTeletext(target.gsi);
        const int columns = field(target.gsi, maxCharacters).toByteArray().toInt();
        target.rowLimit = teletext ? 40 : std::max(columns, 0);
        const int rows = field(target.gsi, maxRows).toByteArray().toInt();
        target.rows = teletext || rows <= 0 ? 23 : rows;
        return target;
    }
    const std::optional<int> rate = rateCode(settings.frameRate);
    if (!rate)
        return EbuStlWriter::tr("EBU-STL files are timed at 25 or 30 frames a second; these subtitles are at %1. "
                                "Convert them to 25 or 30 frames a second first.")
            .arg(settings.frameRate, 0, 'g', 5);
    target.rate = *rate;
    auto table = tableFor(subtitles);
    if (!table)
        return table.error();
    target.table = table.value();
    QByteArray &gsi = target.gsi;
    gsi = QByteArray(gsiSize, ' ');
    const QByteArray today = QDate::currentDate().toString(QStringLiteral("yyMMdd")).toLatin1();
    setField(gsi, codePage, "850");
    setField(gsi, diskFormat, target.rate == 30 ? "STL30.01" : "STL25.01");
    setField(gsi, displayStandard, "1");
    setField(gsi, characterTable, digits(target.table, 2));
    setField(gsi, language, QByteArray::number(languageCode(settings.language), 16).toUpper().rightJustified(2, '0'));
    setField(gsi, creationDate, today);
    setField(gsi, revisionDate, today);
    setField(gsi, revisionNumber, "00");
    setField(gsi, groupCount, "001");
    setField(gsi, maxCharacters, "40");
    setField(gsi, maxRows, "23");
    setField(gsi, timecodeStatus, "1");
    setField(gsi, programmeStart, "00000000");
    setField(gsi, firstCue, "00000000");
    setField(gsi, diskCount, "1");
    setField(gsi, diskNumber, "1");
    return target;
}

// The time code of a time: on the nearest frame, after the programme's start, at most
// the last a day holds (`late` says it was past it).
qint64 frameOf(double seconds, const Target &target, bool &late)
{
    const double frames = FrameTiming::snapToFrame(std::max(seconds, 0.0), target.rate) * target.rate;
    const qint64 frame = std::llround(std::min(frames, 1e12)) + target.offset;
    late = late || frame > lastFrame(target.rate);
    return std::clamp<qint64>(frame, 0, lastFrame(target.rate));
}

// The blocks of a subtitle: the text field split into blocks of 112 bytes, each with the
// subtitle's numbers, times and placement, the last marked as such.
QByteArray blocksOf(const QByteArray &head, const QByteArray &field)
{
    QByteArray blocks;
    const qsizetype count = std::max<qsizetype>(1, (field.size() + textSize - 1) / textSize);
    for (qsizetype i = 0; i < count; ++i) {
        QByteArray block = head;
        block[extensionAt] = char(i + 1 == count ? lastExtension : i);
        QByteArray text = field.mid(i * textSize, textSize);
        text.append(textSize - text.size(), EbuStlText::unusedCode);
        blocks += block + text;
    }
    return blocks;
}

struct Written
{
    QByteArray blocks;
    bool changed = false;
    int cutRows = 0;
    bool late = false;
    QString unheld;
};

void setTimes(Written &written, const Subtitle &subtitle, const Target &target)
{
    QByteArray &blocks = written.blocks;
    for (qsizetype at = 0; at + ttiSize <= blocks.size(); at += ttiSize) {
        QByteArray block = blocks.mid(at, ttiSize);
        setFrames(block, inAt, frameOf(subtitle.start, target, written.late), target.rate);
        setFrames(block, outAt, frameOf(subtitle.end, target, written.late), target.rate);
        blocks.replace(at, ttiSize, block);
    }
}

Written blocksFor(const Subtitle &subtitle, const FormatKeep::Cue *cue, int number, const Target &target)
{
    Written written;
    const QByteArray source = cue ? cue->source.toLatin1() : QByteArray();
    if (cue && cue->isUnchanged(subtitle)) {
        written.blocks = source;
        return written;
    }
    written.changed = true;
    if (cue && cue->textUnchanged(subtitle)) {
        written.blocks = source;
        setTimes(written, subtitle, target);
        return written;
    }
    QByteArray head(textOffset, '\0');
    EbuStlText::Layout layout;
    const int an = placementOf(subtitle.text());
    if (cue) {
        head = source.first(textOffset);
        QByteArray field;
        for (qsizetype at = 0; at + ttiSize <= source.size(); at += ttiSize)
            field += source.mid(at + textOffset, textSize);
        layout = EbuStlText::decode(field, target.table).layout;
    } else {
        head[groupAt] = 0;
        head[numberAt] = char(number & 0xFF);
        head[numberAt + 1] = char((number >> 8) & 0xFF);
    }
    // A placement the text changed is written as rows and justification.
    if (!cue || placementOf(cue->text) != an) {
        const qsizetype lines = subtitle.text().count(u'\n') + 1;
        const int row = (an - 1) / 3;
        const qint64 bottom = target.rows - 1 - (lines - 1);
        head[verticalAt] = char(row == 2 ? 1 : row == 1 ? std::max<qint64>(1, target.rows / 2 - lines / 2) : std::max<qint64>(1, bottom));
        head[justificationAt] = char((an - 1) % 3 + 1);
    }
    const EbuStlText::Encoded encoded = EbuStlText::encode(subtitle.text(), target.table, layout, target.rowLimit);
    if (!encoded.unheld.isEmpty()) {
        written.unheld = encoded.unheld;
        return written;
    }
    written.cutRows = encoded.cutRows;
    written.blocks = blocksOf(head, encoded.field);
    setTimes(written, subtitle, target);
    return written;
}

struct File
{
    QByteArray bytes;
    int cutRows = 0;
    int late = 0; // subtitles past the last time code
};

Expected<File, QString> writeFile(const SubtitleList &subtitles, const FormatKeep *keep, const EbuStlWriter::Settings &settings)
{
    if (keep && keep->format() != SubtitleFormat::EbuStl)
        keep = nullptr;
    auto made = targetFor(subtitles, keep, settings);
    if (!made)
        return made.error();
    const Target &target = made.value();
    const SubtitleList ordered = keep ? keep->inWritingOrder(subtitles) : subtitles;
    File file;
    QByteArray blocks;
    bool changed = !keep || keep->cueCount() != subtitles.size();
    int number = 0;
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const Subtitle &subtitle = *ordered[i];
        const FormatKeep::Cue *cue = keep ? keep->cue(subtitle) : nullptr;
        if (cue)
            blocks += cue->before.toLatin1();
        const Written written = blocksFor(subtitle, cue, number, target);
        if (!written.unheld.isEmpty())
            return EbuStlWriter::tr("The character “%1” (U+%2) in subtitle %3 cannot be written in this EBU-STL file's character "
                                    "table.")
                .arg(written.unheld)
                .arg(written.unheld.toUcs4().value(0), 4, 16, QChar(u'0'))
                .arg(i + 1);
        changed = changed || written.changed;
        file.cutRows += written.cutRows;
        file.late += written.late;
        blocks += written.blocks;
        // The next new subtitle is numbered after this one.
        const QByteArray last = written.blocks.right(ttiSize);
        number = (uchar(last[numberAt]) | uchar(last[numberAt + 1]) << 8) + 1;
    }
    if (keep)
        blocks += keep->trailer.toLatin1();
    QByteArray gsi = target.gsi;
    if (changed) {
        setField(gsi, blockCount, digits(blocks.size() / ttiSize, 5));
        setField(gsi, subtitleCount, digits(subtitles.size(), 5));
        if (keep) {
            setField(gsi, revisionDate, QDate::currentDate().toString(QStringLiteral("yyMMdd")).toLatin1());
            const int revision = field(gsi, revisionNumber).toByteArray().trimmed().toInt();
            setField(gsi, revisionNumber, digits((revision + 1) % 100, 2));
        }
    }
    file.bytes = gsi + blocks;
    return file;
}

} // namespace

Expected<QByteArray, QString> EbuStlWriter::write(const SubtitleList &subtitles, const FormatKeep *keep, const Settings &settings)
{
    auto file = writeFile(subtitles, keep, settings);
    if (!file)
        return file.error();
    return std::move(file).value().bytes;
}

QStringList EbuStlWriter::losses(const SubtitleList &subtitles, const FormatKeep *keep, const Settings &settings)
{
    QStringList lost;
    auto file = writeFile(subtitles, keep, settings);
    if (!file)
        return {}; // the save says why it cannot be written
    if (file.value().cutRows > 0)
        lost.append(tr("%n row(s) longer than the format's row (control codes included), cut", nullptr, file.value().cutRows));
    if (file.value().late > 0)
        lost.append(tr("the times of %n subtitle(s) past 23:59:59 from the programme's start, the latest a time code holds, "
                       "written as that", nullptr, file.value().late));
    if (keep && keep->format() != SubtitleFormat::EbuStl)
        keep = nullptr;
    const int rate = keep ? frameRateOf(field(QByteArray(keep->header.toLatin1()), diskFormat)).value_or(25)
                          : rateCode(settings.frameRate).value_or(25);
    qsizetype offFrame = 0, unheldTags = 0, nearColours = 0;
    for (const SubtitlePtr &subtitle : subtitles) {
        const FormatKeep::Cue *cue = keep ? keep->cue(*subtitle) : nullptr;
        if (cue && cue->isUnchanged(*subtitle))
            continue;
        const auto off = [rate](double t) { return std::abs(t * rate - std::round(t * rate)) > 1e-6; };
        offFrame += off(subtitle->start) || off(subtitle->end);
        bool tag = false, near = false;
        for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(subtitle->text())) {
            using Kind = MarkupTokenizer::Kind;
            tag = tag || token.kind == Kind::Bold; // the other tags are listed with every format's
            if (token.kind == Kind::Color && !token.closing) {
                bool exact = false;
                near = near || EbuStlText::colourCode(token.value, &exact) < 0 || !exact;
            }
        }
        unheldTags += tag;
        nearColours += near;
    }
    if (offFrame > 0)
        lost.append(tr("the times of %n subtitle(s), moved to the nearest of %1 frames a second", nullptr, int(offFrame)).arg(rate));
    if (unheldTags > 0)
        lost.append(tr("bold, which EBU-STL has no code for, in %n subtitle(s)", nullptr, int(unheldTags)));
    if (nearColours > 0)
        lost.append(tr("the colours of %n subtitle(s), written as the nearest of Teletext's eight", nullptr, int(nearColours)));
    return lost;
}
